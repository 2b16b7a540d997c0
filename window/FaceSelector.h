#pragma once

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;

// The face of a collection (.ttc/.otc) to work on: "Face in collection:"
// with a list of every face by its own names. Hidden for a file with a
// single face. A damaged or oversized collection shows why instead.
class FaceSelector : public QWidget
{
    Q_OBJECT

public:
    explicit FaceSelector(QWidget *parent = nullptr);

    // The chosen face; 0 whenever nothing is listed.
    int currentFace() const;

public Q_SLOTS:
    // Lists the faces of `path` and chooses face 0, unless `path` is the
    // file already listed: then the choice stays.
    void showFacesOf(const QString &path);
    // Lists `path` if needed and chooses `face`.
    void showFace(const QString &path, int face);

Q_SIGNALS:
    // Only for a choice the user made in the list.
    void faceChanged(int face);

private:
    QLabel *caption;
    QLabel *problem;
    QComboBox *faces;
    QString listedPath;
    bool filling = false;
};
