#pragma once

#include <QString>

// `message` with a line naming the source font under it. Whatever went wrong
// on the way from a source to its subset, the user is told which file it was.
QString withSourceFont(const QString &message, const QString &fontPath);

// Whether writing `targetPath` would replace the source font itself, also
// through a different spelling of the path or a symbolic link.
bool replacesSourceFont(const QString &targetPath, const QString &fontPath);
