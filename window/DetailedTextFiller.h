#pragma once

#include <QList>

class QMessageBox;

// Puts the list of `missing` characters, one "U+4E00 一" line each, behind
// the box's "Show Details..." button. Written and laid out at once, fifty
// thousand lines (every character an all-blocks request misses) would hold
// the window for a quarter of a second as the box appears: the box shows
// with the first slice, and the rest follows a slice at a time between
// events.
void fillDetailedText(QMessageBox *box, const QList<uint> &missing);
