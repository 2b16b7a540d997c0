#pragma once

#include <QString>

// Whether a generation may start from this font path: it must name a regular
// file or a directory (a directory is left for hb-subset to refuse). A named
// pipe or a device is refused, since reading one may never end.
bool isUsableFontPath(const QString &fontPath);

// Whether writing `targetPath` would replace the source font itself, also
// through a different spelling of the path or a symbolic link.
bool replacesSourceFont(const QString &targetPath, const QString &fontPath);
