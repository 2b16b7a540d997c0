#pragma once

#include <QByteArray>

// Compresses a TrueType/OpenType font to WOFF2 the way Debian's
// woff2_compress does (brotli quality 11, glyf and loca transformed).
// False when libwoff2 refuses the font. Takes seconds for a large CJK
// subset, so it belongs on a worker thread.
bool encodeWoff2(const QByteArray &font, QByteArray *woff2);
