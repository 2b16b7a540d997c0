#include "charset/LegacyEncoding.h"

#include "common/UiText.h"

#include <QStringDecoder>

namespace {

struct EncodingEntry
{
    SourceEncoding encoding;
    const char *name;
    // The converter's name. Files written on Windows use Microsoft's
    // supersets (code pages 950, 932 and 949), and the plain standards would
    // refuse their extra characters; 0x5C must stay a backslash in Shift_JIS
    // sources, where escapes are written with it.
    const char *converter;
    const char *title;
    const char *english;
    const char *chinese;
};

const EncodingEntry entries[] = {
    {SourceEncoding::Gb18030, "gb18030", "GB18030", "GB18030", "GB18030 (Simplified Chinese)", "GB18030（简体中文）"},
    {SourceEncoding::Big5, "big5", "windows-950", "Big5", "Big5 (Traditional Chinese)", "Big5（繁体中文）"},
    {SourceEncoding::ShiftJis, "shift_jis", "windows-31j", "Shift_JIS", "Shift_JIS (Japanese)", "Shift_JIS（日文）"},
    {SourceEncoding::EucKr, "euc-kr", "windows-949", "EUC-KR", "EUC-KR (Korean)", "EUC-KR（韩文）"},
};

const EncodingEntry *entryFor(SourceEncoding encoding)
{
    for (const EncodingEntry &entry : entries) {
        if (entry.encoding == encoding)
            return &entry;
    }
    return nullptr;
}

} // namespace

QList<SourceEncoding> legacyEncodings()
{
    QList<SourceEncoding> encodings;
    for (const EncodingEntry &entry : entries)
        encodings.append(entry.encoding);
    return encodings;
}

bool sourceEncodingFromName(const QString &name, SourceEncoding *encoding)
{
    for (const EncodingEntry &entry : entries) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            *encoding = entry.encoding;
            return true;
        }
    }
    return false;
}

QString sourceEncodingName(SourceEncoding encoding)
{
    const EncodingEntry *entry = entryFor(encoding);
    return entry ? QLatin1String(entry->name) : QStringLiteral("utf-8");
}

QString sourceEncodingTitle(SourceEncoding encoding)
{
    const EncodingEntry *entry = entryFor(encoding);
    return QLatin1String(entry ? entry->title : "UTF-8");
}

QString sourceEncodingLabel(SourceEncoding encoding)
{
    const EncodingEntry *entry = entryFor(encoding);
    return entry ? uiText(entry->english, entry->chinese) : QStringLiteral("UTF-8");
}

bool decodeLegacyText(QByteArrayView bytes, SourceEncoding encoding, QString *text)
{
    const EncodingEntry *entry = entryFor(encoding);
    if (!entry)
        return false;
    QStringDecoder decoder(entry->converter, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return false;
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}
