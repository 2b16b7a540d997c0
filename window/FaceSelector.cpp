#include "window/FaceSelector.h"

#include "common/UiText.h"
#include "font/FontFaceList.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

FaceSelector::FaceSelector(QWidget *parent)
    : QWidget(parent),
      caption(new QLabel(uiText("Face in collection:", "集合内字体:"), this)),
      problem(new QLabel(this)),
      faces(new QComboBox(this))
{
    setObjectName(QStringLiteral("faceSelector"));
    faces->setObjectName(QStringLiteral("faceList"));
    faces->setEditable(false);
    faces->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    caption->setBuddy(faces);
    problem->setObjectName(QStringLiteral("faceProblem"));
    problem->setWordWrap(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption, 0);
    layout->addWidget(faces, 0);
    layout->addWidget(problem, 1);
    layout->addStretch(1);
    connect(faces, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!filling && index >= 0)
            Q_EMIT faceChanged(index);
    });
    hide();
}

int FaceSelector::currentFace() const
{
    return qMax(0, faces->currentIndex());
}

void FaceSelector::showFacesOf(const QString &path)
{
    if (path.trimmed() != listedPath)
        showFace(path, 0);
}

void FaceSelector::showFace(const QString &path, int face)
{
    listedPath = path.trimmed();
    const FontFaceList list = listFontFaces(listedPath);
    filling = true;
    faces->clear();
    for (qsizetype index = 0; index < list.faces.size(); ++index)
        faces->addItem(fontFaceLabel(int(index), list.faces.at(index)));
    faces->setCurrentIndex(face >= 0 && face < faces->count() ? face : 0);
    filling = false;

    const bool refused = list.status == FontFaceList::Status::DamagedCollection ||
                         list.status == FontFaceList::Status::TooManyFaces;
    problem->setText(refused ? fontFaceProblem({listedPath, 0}) : QString());
    caption->setVisible(!refused);
    faces->setVisible(!refused);
    problem->setVisible(refused);
    setVisible(refused || faces->count() > 1);
}
