#include "window/LvglPixelPreview.h"

#include "common/UiText.h"
#include "lvgl/LvglTextLine.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

LvglPixelPreview::LvglPixelPreview(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("lvglPreview"));
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    setMinimumSize(120, 64);
    setToolTip(uiText("The device's pixels, enlarged", "设备上的像素（已放大）"));
}

void LvglPixelPreview::showText(const FontFace &face, const QString &text, const LvglOptions &options,
                                const AxisValues &axes)
{
    pixels = QImage();
    message.clear();
    if (face.path != loadedPath) {
        QFile file(face.path);
        fileBytes = QFileInfo(face.path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        loadedPath = face.path;
    }
    QList<uint> line = text.toUcs4();
    QList<uint> codes = line;
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    RasterFace raster;
    message = lvglOptionsProblem(options);
    if (fileBytes.isEmpty() || codes.isEmpty())
        message = QStringLiteral(" ");
    else if (message.isEmpty())
        rasterizeFace(fileBytes, face.index, codes, options, &raster, &message, nullptr, axes);
    if (!message.isEmpty() || raster.glyphs.isEmpty()) {
        update();
        return;
    }
    const LvglFont font = buildLvglFont(raster, options);
    const LvglTextLine laid = layOutLvglLine(font, line);
    pixels = QImage(std::max(1, laid.width), std::max(1, laid.height), QImage::Format_Grayscale8);
    pixels.fill(Qt::white);
    for (const LvglPlacedGlyph &placed : laid.glyphs) {
        const RasterGlyph &glyph = font.face.glyphs[placed.glyph];
        const QByteArray values = reduceCoverage(glyph.coverage, options.bpp);
        for (int y = 0; y < glyph.height; ++y) {
            for (int x = 0; x < glyph.width; ++x) {
                const int px = placed.left + x, py = placed.top + y;
                if (px < 0 || py < 0 || px >= pixels.width() || py >= pixels.height())
                    continue;
                const int opacity = lvglOpacity(uchar(values[y * glyph.width + x]), options.bpp);
                uchar *pixel = pixels.scanLine(py) + px;
                *pixel = uchar(std::min<int>(*pixel, 255 - opacity));
            }
        }
    }
    scale = laid.height <= 32 ? 3 : 2;
    // The whole line, descenders included, up to a height the window can
    // spare; only the largest sizes are cut.
    setMinimumHeight(std::max(64, std::min(pixels.height() * scale, 240) + 2 * frameWidth()));
    update();
}

void LvglPixelPreview::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    if (pixels.isNull()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, message.trimmed());
        return;
    }
    const QSize shown = pixels.size() * scale;
    // Nearest neighbour: each device pixel a square of `scale` screen pixels.
    painter.drawImage(QRect(area.left() + std::max(0, (area.width() - shown.width()) / 2),
                            area.top() + std::max(0, (area.height() - shown.height()) / 2), shown.width(),
                            shown.height()),
                      pixels);
}
