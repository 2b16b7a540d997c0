#pragma once

#include <QString>

class QIODevice;

// Reads the whole file as UTF-8 text, CR LF line ends arriving as LF, into
// `text`. On failure returns false and, when `errorMessage` is not null, says
// why in the given language: the file could not be opened (the path as
// given is named) or it holds no text.
bool readUtf8Text(const QString &path, int useEnglish, QString *text, QString *errorMessage);

// The same from a device already open in text mode; only an empty result is
// a failure.
bool readUtf8Text(QIODevice &device, int useEnglish, QString *text, QString *errorMessage);
