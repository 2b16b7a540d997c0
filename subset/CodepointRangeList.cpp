#include "subset/CodepointRangeList.h"

#include "common/UiText.h"
#include "subset/UnicodesArgument.h"

#include <QRegularExpression>
#include <QStringList>

bool parseCodepointRangeList(const QString &list, const QString &where, QList<CodepointRange> *ranges,
                             QString *error)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    static const QRegularExpression item(
        QStringLiteral("^(?:U\\+|0X)?([0-9A-F]{1,6})(?:-(?:U\\+|0X)?([0-9A-F]{1,6}))?$"),
        QRegularExpression::CaseInsensitiveOption);
    QList<CodepointRange> found;
    const QStringList items = list.split(separators, Qt::SkipEmptyParts);
    for (const QString &text : items) {
        if (text == QLatin1String("*")) {
            // hb-subset's "everything" has no list of code points to look up
            // for the note; the font's whole repertoire is one range away.
            if (error)
                *error = uiText("%1=* is not supported: give a range such as 0-10FFFF, or --blocks=all.",
                                "不支持 %1=*：请给出范围（如 0-10FFFF）或使用 --blocks=all。")
                             .arg(where);
            return false;
        }
        const QRegularExpressionMatch match = item.match(text);
        const uint first = match.hasMatch() ? match.captured(1).toUInt(nullptr, 16) : 0;
        const uint last =
            match.hasMatch() && match.hasCaptured(2) ? match.captured(2).toUInt(nullptr, 16) : first;
        if (!match.hasMatch() || last > 0x10FFFF) {
            if (error)
                *error = uiText("Invalid code point \"%1\" in %2: use hexadecimal code points or ranges "
                                "such as U+4E00-9FBF, up to 10FFFF.",
                                "%2 中的码位“%1”无效：请使用十六进制码位或范围（如 U+4E00-9FBF），最大 "
                                "10FFFF。")
                             .arg(text, where);
            return false;
        }
        if (first > last) {
            if (error)
                *error = uiText("Invalid range \"%1\" in %2: its first code point lies above its last.",
                                "%2 中的范围“%1”无效：起始码位大于结束码位。")
                             .arg(text, where);
            return false;
        }
        found.append({first, last});
    }
    if (found.isEmpty()) {
        if (error)
            *error = uiText("Option %1 lists no code point.", "选项 %1 未列出任何码位。").arg(where);
        return false;
    }
    ranges->append(found);
    return true;
}

QString codepointRangeListText(const QList<CodepointRange> &ranges)
{
    UnicodesArgumentWriter writer;
    for (const CodepointRange &range : ranges) {
        if (range.first == range.last)
            writer.appendCodepoint(range.first);
        else
            writer.appendRange(range.first, range.last);
    }
    return writer.text();
}
