#include "font/FaceRawFont.h"

#include "font/FaceFontData.h"

QRawFont openFaceRawFont(const FontFace &face, qreal pixelSize)
{
    if (face.index == 0)
        return QRawFont(face.path, pixelSize, QFont::PreferDefaultHinting);
    const QByteArray data = faceFontData(face);
    if (data.isEmpty())
        return QRawFont();
    return QRawFont(data, pixelSize, QFont::PreferDefaultHinting);
}
