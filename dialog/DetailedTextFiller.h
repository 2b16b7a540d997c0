#pragma once

#include <QStringList>

class QMessageBox;

// Puts `lines` behind the box's "Show Details..." button. Laid out at once,
// fifty thousand lines (every character an all-blocks request misses) would
// hold the window for a quarter of a second as the box appears: the box
// shows with the first slice, and the rest follows a slice at a time between
// events.
void fillDetailedText(QMessageBox *box, const QStringList &lines);
