#include "window/FaceRawFont.h"

#include "font/FaceFontData.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {

// The last face opened and its file's bytes. Switching between the faces of
// one collection, and the count and preview of one face, then read the file
// only once: a CJK collection is some 20 MB. A changed size or time of
// change reads it anew.
struct LastFace
{
    QString path;
    qint64 size = -1;
    QDateTime modified;
    QByteArray file;
    int index = -1;
    QRawFont font;
};

std::unique_ptr<LastFace> lastFace;

// Font objects must not outlive Qt's font engines, so the application
// takes the cache with it.
LastFace &cachedFace()
{
    if (!lastFace) {
        lastFace = std::make_unique<LastFace>();
        qAddPostRoutine([] { lastFace.reset(); });
    }
    return *lastFace;
}

} // namespace

// GUI thread only, like every user of QRawFont here.
QRawFont openFaceRawFont(const FontFace &face, qreal pixelSize)
{
    LastFace &last = cachedFace();
    const QFileInfo info(face.path);
    const bool sameFile =
        face.path == last.path && info.size() == last.size && info.lastModified() == last.modified;
    if (!sameFile) {
        last = LastFace();
        QFile file(face.path);
        if (!file.open(QIODevice::ReadOnly))
            return QRawFont();
        last.path = face.path;
        last.size = info.size();
        last.modified = info.lastModified();
        last.file = file.readAll();
    }
    if (face.index != last.index) {
        const QByteArray data = faceFontData(last.file, face.index);
        last.index = face.index;
        last.font = data.isEmpty() ? QRawFont() : QRawFont(data, pixelSize, QFont::PreferDefaultHinting);
    }
    QRawFont font = last.font;
    if (font.isValid())
        font.setPixelSize(pixelSize);
    return font;
}
