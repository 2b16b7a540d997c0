#pragma once

#include "charset/LegacyEncoding.h"

#include <QString>
#include <QStringList>

class QIODevice;

// Reads the whole file as text, CR LF line ends arriving as LF, into `text`:
// as UTF-8 (a byte-order mark is fine) or, when it is not UTF-8 and
// `legacyEncoding` names one, in that encoding. On failure returns false and,
// when `errorMessage` is not null, says why in the language of uiText(): the
// file could not be opened, it is not text in the encodings tried (the path
// as given is named; `wrongEncoding` is then set, so that another encoding
// may be offered) or it holds no text.
bool readTextFile(const QString &path, SourceEncoding legacyEncoding, QString *text, QString *errorMessage,
                  bool *wrongEncoding = nullptr);

// The same from a device already open in text mode; `name` stands for it in
// the messages.
bool readText(QIODevice &device, const QString &name, SourceEncoding legacyEncoding, QString *text,
              QString *errorMessage, bool *wrongEncoding = nullptr);

// Whether an import of `paths` reads one text whole, strictly as UTF-8 (one
// path that is no folder: a list of characters the user made), rather than
// collecting the characters that a product's files and folders show.
bool importsOneText(const QStringList &paths);
