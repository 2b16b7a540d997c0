#pragma once

#include <QByteArrayView>

class CodepointSet;

// Adds the characters the bytes of one file show to `found`: UTF-8 decoded,
// and the escapes that source code and markup write for a character decoded
// as that character: \uXXXX (a surrogate pair written as two of them is one
// character), \u{X...}, \UXXXXXXXX, &#NNNN; and &#xHHHH;. An escaped
// backslash ("\\u0041") is a backslash, not an escape. Only characters that
// isKeptCharacter() accepts are added.
//
// Returns false, adding nothing, when some bytes are not UTF-8: a file in
// another encoding shows characters its bytes cannot tell as UTF-8.
bool collectEscapedText(QByteArrayView bytes, CodepointSet *found);
