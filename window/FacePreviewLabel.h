#pragma once

#include <QLabel>
#include <QRawFont>

struct PreviewCoverage;

// The preview area. Its text is drawn with the chosen face itself: the label
// font only names a family, and Qt would draw that name with whatever
// installed font carries it, another face of the same file, or a fallback
// once the file's registration is gone.
class FacePreviewLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FacePreviewLabel(QWidget *parent = nullptr);

    void showCoverage(const PreviewCoverage &coverage);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRawFont face;
};
