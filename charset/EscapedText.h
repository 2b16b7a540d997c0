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
// Returns false when some bytes are not UTF-8. Those add nothing, and neither
// does the rest of their line beyond ASCII and escapes: a legacy encoding's
// pairs of bytes now and then happen to form valid UTF-8 sequences, and those
// would be characters the file never meant.
bool collectEscapedText(QByteArrayView bytes, CodepointSet *found);
