#include "charset/NameGlobs.h"

#include <algorithm>
#include <optional>

namespace {

constexpr qsizetype longestSuffix = 16;

bool isPlainSuffixLetter(QChar c)
{
    return c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('_') || c == QLatin1Char('-');
}

// The key of a suffix of plain ASCII letters only: a regular expression
// ignores case beyond ASCII by rules of its own.
std::optional<std::pair<quint64, quint64>> suffixKey(QStringView suffix)
{
    if (suffix.isEmpty() || suffix.size() > longestSuffix ||
        !std::all_of(suffix.cbegin(), suffix.cend(), isPlainSuffixLetter))
        return std::nullopt;
    quint64 halves[2] = {};
    for (qsizetype i = 0; i < suffix.size(); ++i) {
        const char16_t c = suffix[i].unicode();
        const quint64 lower = c >= u'A' && c <= u'Z' ? c | 0x20 : c;
        halves[i / 8] |= lower << (56 - 8 * (i % 8));
    }
    return std::make_pair(halves[0], halves[1]);
}

} // namespace

NameGlobs::NameGlobs(const QStringList &globs)
{
    QStringList parts;
    for (const QString &untrimmed : globs) {
        const QString glob = untrimmed.trimmed();
        if (glob.isEmpty())
            continue;
        const auto key =
            glob.startsWith(QLatin1String("*.")) ? suffixKey(QStringView(glob).mid(2)) : std::nullopt;
        if (key)
            suffixes.push_back(*key);
        else
            parts.append(QRegularExpression::wildcardToRegularExpression(glob));
    }
    std::sort(suffixes.begin(), suffixes.end());
    anyOthers = !parts.isEmpty();
    if (anyOthers) {
        others = QRegularExpression(parts.join(QLatin1Char('|')), QRegularExpression::CaseInsensitiveOption);
        others.optimize();
    }
}

bool NameGlobs::matches(const QString &name) const
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && !suffixes.empty()) {
        const auto key = suffixKey(QStringView(name).mid(dot + 1));
        if (key && std::binary_search(suffixes.cbegin(), suffixes.cend(), *key))
            return true;
    }
    return anyOthers && others.match(name).hasMatch();
}
