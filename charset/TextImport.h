#pragma once

#include <QString>

// Reads the whole file as UTF-8 text, CR LF line ends arriving as LF, into
// `text`. On failure returns false and, when `errorMessage` is not null, says
// why in the given language: the file could not be opened (the path as
// given is named) or it holds no text.
bool readUtf8Text(const QString &path, int useEnglish, QString *text, QString *errorMessage);
