#include "font/FontFileState.h"

#include <QFileInfo>

FontFileState fontFileState(const QString &path)
{
    if (path.isEmpty())
        return FontFileState::Missing;
    const QFileInfo info(path);
    if (!info.exists())
        return FontFileState::Missing;
    return info.isFile() ? FontFileState::RegularFile : FontFileState::NotAFile;
}
