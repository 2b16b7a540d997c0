#include "charset/CodepointStream.h"

namespace {

int digitValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'Z')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'z')
        return digit - 'a' + 36;
    return digit == '+' ? 62 : 63;
}

} // namespace

QList<uint> decodeCodepointStream(const char *encoded, int count)
{
    QList<uint> codepoints;
    codepoints.reserve(count);
    qint64 previous = 0;
    quint64 value = 0;
    int shift = 0;
    for (const char *digit = encoded; *digit; ++digit) {
        const int number = digitValue(*digit);
        value |= quint64(number & 31) << shift;
        if (number >= 32) {
            shift += 5;
            continue;
        }
        const qint64 delta = (value & 1) ? -qint64(value >> 1) - 1 : qint64(value >> 1);
        previous += delta;
        codepoints.append(uint(previous));
        value = 0;
        shift = 0;
    }
    return codepoints;
}
