#include "cli/SelectionLists.h"

#include "charset/StandardCharsets.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "subset/CodepointRangeList.h"

#include <QRegularExpression>

bool parseBlockRows(const QString &list, QList<bool> *rows, QString *error)
{
    static const QRegularExpression rowOrRange(QStringLiteral("^(\\d+)(?:\\s*-\\s*(\\d+))?$"));
    QList<bool> chosen(unicodeBlockCount, false);
    bool any = false;
    const QStringList items = list.split(QLatin1Char(','));
    for (const QString &rawItem : items) {
        const QString item = rawItem.trimmed();
        if (item.isEmpty())
            continue; // "1,2," and "1,,2" are taken as meant
        if (item.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
            chosen.fill(true);
            any = true;
            continue;
        }
        const QRegularExpressionMatch match = rowOrRange.match(item);
        bool firstOk = false;
        bool lastOk = true;
        const int first = match.hasMatch() ? match.captured(1).toInt(&firstOk) : 0;
        const int last = match.hasMatch() && match.hasCaptured(2) ? match.captured(2).toInt(&lastOk) : first;
        if (!match.hasMatch() || !firstOk || !lastOk || first < 1 || last > unicodeBlockCount ||
            first > last) {
            if (error)
                *error = uiText("Invalid block row \"%1\" in --blocks: rows are 1 to %2, ranges such as 3-5, "
                                "or all.",
                                "--blocks 中的分区行号“%1”无效：行号为 1 到 %2，可写范围（如 3-5）或 all。")
                             .arg(item)
                             .arg(unicodeBlockCount);
            return false;
        }
        for (int row = first; row <= last; ++row)
            chosen[row - 1] = true;
        any = true;
    }
    if (!any) {
        if (error)
            *error = uiText("Option --blocks lists no row.", "选项 --blocks 未列出任何行。");
        return false;
    }
    for (int row = 0; row < unicodeBlockCount; ++row) {
        if (chosen.at(row))
            (*rows)[row] = true;
    }
    return true;
}

bool parseUnicodeRanges(const QString &list, QList<CodepointRange> *ranges, QString *error)
{
    return parseCodepointRangeList(list, QStringLiteral("--unicodes"), ranges, error);
}

bool parseCharsetIds(const QString &list, QStringList *ids, QString *error)
{
    QStringList found;
    for (const QString &rawItem : list.split(QLatin1Char(','))) {
        const QString item = rawItem.trimmed();
        if (item.isEmpty())
            continue;
        if (findStandardCharset(item) < 0) {
            if (error)
                *error = uiText("Unknown character set \"%1\" in --charset; valid ids: %2",
                                "--charset 中的字符集“%1”未知；可用的有: %2")
                             .arg(item, standardCharsetIds().join(QStringLiteral(", ")));
            return false;
        }
        found.append(item);
    }
    if (found.isEmpty()) {
        if (error)
            *error = uiText("Option --charset lists no set.", "选项 --charset 未列出任何字符集。");
        return false;
    }
    for (const QString &id : found) {
        if (!ids->contains(id))
            ids->append(id);
    }
    return true;
}

QString unicodeBlockListing()
{
    QString listing;
    for (int row = 0; row < unicodeBlockCount; ++row) {
        const UnicodeBlock &block = unicodeBlockTable[row];
        listing += QStringLiteral("%1  %2 - %3  %4\n")
                       .arg(QString::number(row + 1).rightJustified(3), codepointText(block.first),
                            codepointText(block.last), unicodeBlockName(block));
    }
    return listing;
}
