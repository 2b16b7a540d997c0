#pragma once

#include <QSet>
#include <QStringList>

class QListWidget;

// Walks the block list in row order: every fully checked row (Qt::Checked;
// a partial check does not count) adds its blockRangeText to the result and
// every code point from its first (Qt::UserRole) to its last
// (Qt::UserRole + 1) to `requestedCodepoints`. A row whose first lies above
// its last adds its range text but no code point.
QStringList gatherCheckedBlocks(const QListWidget *blockList, QSet<uint> &requestedCodepoints);
