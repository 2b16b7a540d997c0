#include "dialog/FacePreviewLabel.h"

#include "font/PreviewCoverage.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QPainter>

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

    // The label font's size in pixels, so the face is as large as 32 points.
    QRawFont sized = face;
    sized.setPixelSize(QFontInfo(font()).pixelSize());
    QList<quint32> glyphs = sized.glyphIndexesForString(text());
    QList<QPointF> advances = sized.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    QList<QPointF> positions;
    QPointF pen;
    for (const QPointF &advance : advances) {
        positions.append(pen);
        pen += advance;
    }
    QGlyphRun run;
    run.setRawFont(sized);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);

    const QRectF area = contentsRect();
    const qreal height = sized.ascent() + sized.descent();
    const QPointF origin(area.left() + (area.width() - pen.x()) / 2,
                         area.top() + (area.height() - height) / 2 + sized.ascent());
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawGlyphRun(origin, run);
}
