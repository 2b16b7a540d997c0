#include "window/FacePreviewLabel.h"

#include "window/PreviewCoverage.h"

#include <QFontInfo>
#include <QPainter>
#include <QTextLayout>

FacePreviewLabel::FacePreviewLabel(QWidget *parent) : QLabel(parent)
{}

void FacePreviewLabel::showCoverage(const PreviewCoverage &coverage)
{
    face = coverage.rawFont;
    setFont(coverage.font);
    setText(coverage.shownText);
    update();
}

void FacePreviewLabel::paintEvent(QPaintEvent *event)
{
    if (!face.isValid() || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event); // the frame only

    // The label font's size in pixels, so the face is as large as 32 points;
    // the layout shapes the text with the face as Qt would with a font.
    QRawFont sized = face;
    sized.setPixelSize(QFontInfo(font()).pixelSize());
    QTextLayout layout(text());
    layout.setRawFont(sized);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();

    const QRectF area = contentsRect();
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, QPointF(area.left() + (area.width() - line.naturalTextWidth()) / 2,
                                  area.top() + (area.height() - line.height()) / 2));
}
