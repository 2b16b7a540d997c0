#pragma once

#include <QString>

class QFileDevice;

// Why the system refused, in the chosen language. The reasons a user meets
// when saving or reading a file (no such file or folder, permission denied,
// operation not permitted, read-only file system, no space left, not a
// folder, is a folder) are given in both languages; any other errno value
// gets the system's own words, as qt_error_string() has them.
QString systemReason(int errnoValue);

// The system's words for one of the reasons above, in English or in the
// locale's language, turned into the chosen language; any other text comes
// back unchanged. For reasons that arrive as text only: a child process's
// perror(), or the errorString() of a file that failed to open, read or write.
QString systemReasonFromText(const QString &words);
QString systemReason(const QFileDevice &file);
