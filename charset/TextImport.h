#pragma once

#include <QString>
#include <QStringList>

class QIODevice;

// Reads the whole file as UTF-8 text, CR LF line ends arriving as LF, into
// `text`. On failure returns false and, when `errorMessage` is not null, says
// why in the given language: the file could not be opened, it is not UTF-8
// (a byte-order mark is fine; the path as given is named in both) or it
// holds no text.
bool readUtf8Text(const QString &path, QString *text, QString *errorMessage);

// The same from a device already open in text mode; `name` stands for it in
// the messages.
bool readUtf8Text(QIODevice &device, const QString &name, QString *text, QString *errorMessage);

// Whether an import of `paths` reads one text whole, strictly as UTF-8 (one
// path that is no folder: a list of characters the user made), rather than
// collecting the characters that a product's files and folders show.
bool importsOneText(const QStringList &paths);
