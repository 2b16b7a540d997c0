#pragma once

#include "font/FontFace.h"

#include <QString>
#include <QWidget>

class FaceSelector;
class QLabel;
class QLineEdit;
class QPushButton;

// The source font: its path, the system font picker and the file dialog,
// and under them the face of a collection, on a row of its own so that the
// path stays readable.
class FontSourceRow : public QWidget
{
    Q_OBJECT

public:
    explicit FontSourceRow(QWidget *parent = nullptr);

    FontFace currentFace() const;
    // The files picked together with the source in the file dialog, at the
    // source's face: the rest of a family, which only WOFF2 slices use.
    QList<FontFace> otherFaces() const;

public Q_SLOTS:
    void setFontPath(const QString &path);
    // A file and its face, as if chosen.
    void setFontFace(const FontFace &face) { useFontFile(face.path, face.index); }
    // The file dialog for a font file (Ctrl+O).
    void browse();
    void pickSystemFont();

Q_SIGNALS:
    // The path or the face changed, however that came about.
    void faceChanged();
    // The user chose a font: a file, a system font or another face of the
    // collection. Also for the font already shown, which is then read again.
    void fontChosen(const FontFace &face);

private:
    void useFontFile(const QString &path, int face);
    void setOtherFiles(const QStringList &paths);

    QLineEdit *pathEdit;
    FaceSelector *faceSelector;
    QLabel *otherFilesLabel;
    QStringList otherFiles;
};
