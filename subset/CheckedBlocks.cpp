#include "subset/CheckedBlocks.h"

#include "subset/UnicodesArgument.h"

#include <QListWidget>

QStringList gatherCheckedBlocks(const QListWidget *blockList, QSet<uint> &requestedCodepoints)
{
    QStringList ranges;
    if (!blockList)
        return ranges;
    for (int i = 0; i < blockList->count(); ++i) {
        const QListWidgetItem *item = blockList->item(i);
        if (!item || item->checkState() != Qt::Checked)
            continue;
        const uint first = item->data(Qt::UserRole).toUInt();
        const uint last = item->data(Qt::UserRole + 1).toUInt();
        ranges.append(blockRangeText(first, last));
        if (first > last)
            continue;
        // Stops on equality rather than counting past `last`, so a range that
        // ends at 0xFFFFFFFF cannot wrap around and run forever.
        for (uint codepoint = first;; ++codepoint) {
            requestedCodepoints.insert(codepoint);
            if (codepoint == last)
                break;
        }
    }
    return ranges;
}
