#pragma once

#include "font/FontFace.h"
#include "lvgl/GlyphRaster.h"

#include <QByteArray>
#include <QFrame>
#include <QImage>

// The preview text as a device shows it with the LVGL font: the glyphs
// rasterized at the font's size and bit depth, set as LVGL sets a line, and
// drawn enlarged 2x or 3x pixel for pixel.
class LvglPixelPreview : public QFrame
{
    Q_OBJECT

public:
    explicit LvglPixelPreview(QWidget *parent = nullptr);

    // `axes` pins a variable face's instance, as the subset does.
    void showText(const FontFace &face, const QString &text, const LvglOptions &options, const AxisValues &axes);
    // The line in device pixels, white on nothing, black for full coverage.
    const QImage &devicePixels() const { return pixels; }
    int zoom() const { return scale; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString loadedPath; // the file `fileBytes` holds, read once per font
    QByteArray fileBytes;
    QImage pixels;
    int scale = 3;
    QString message; // why there is nothing to show
};
