#include "font/FontFileCheck.h"

#include "common/RegularFile.h"
#include "font/FontFileState.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr qint64 collectionHeaderSize = 12;
constexpr qint64 faceHeaderSize = 12;

quint32 bigEndian32(const QByteArray &bytes, qint64 at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

} // namespace

bool collectionHeaderFits(const QByteArray &head, qint64 fileSize)
{
    if (head.size() < collectionHeaderSize || !head.startsWith("ttcf"))
        return true;
    const quint32 faces = bigEndian32(head, 8);
    if (faces == 0 || faces > mostCollectionFaces)
        return false;
    const qint64 offsetsEnd = collectionHeaderSize + 4 * qint64(faces);
    if (head.size() < offsetsEnd || fileSize < offsetsEnd)
        return false;
    for (quint32 face = 0; face < faces; ++face) {
        if (qint64(bigEndian32(head, collectionHeaderSize + 4 * face)) + faceHeaderSize > fileSize)
            return false;
    }
    return true;
}

FontFileCheck checkFontFile(const QString &path)
{
    switch (fontFileState(path)) {
    case FontFileState::Missing:
        return FontFileCheck::Missing;
    case FontFileState::NotAFile:
        return FontFileCheck::NotAFile;
    case FontFileState::RegularFile:
        break;
    }
    QFile file;
    if (!openRegularFile(path, &file))
        return FontFileCheck::Unreadable;
    QByteArray head = file.read(collectionHeaderSize);
    if (head.startsWith("ttcf") && head.size() == collectionHeaderSize) {
        const quint32 faces = qMin(bigEndian32(head, 8), mostCollectionFaces + 1);
        head += file.read(4 * qint64(faces));
    }
    return collectionHeaderFits(head, file.size()) ? FontFileCheck::Usable : FontFileCheck::Unreadable;
}
