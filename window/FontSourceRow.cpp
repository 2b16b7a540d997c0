#include "window/FontSourceRow.h"

#include "common/UiText.h"
#include "font/platform/FontFileLookup.h"
#include "window/FaceSelector.h"
#include "window/SystemFontPicker.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

FontSourceRow::FontSourceRow(QWidget *parent)
    : QWidget(parent),
      pathEdit(new QLineEdit(this)),
      faceSelector(new FaceSelector(this)),
      otherFilesLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("fontSourceRow"));
    auto *caption = new QLabel(uiText("Source TTF font:", "待裁剪矢量字库:"), this);
    caption->setBuddy(pathEdit);
    pathEdit->setObjectName(QStringLiteral("fontPathEdit"));
    pathEdit->setPlaceholderText(uiText("Select a font file...", "请选择字体文件..."));
    auto *systemFontButton = new QPushButton(uiText("System Font", "选择系统字体"), this);
    systemFontButton->setObjectName(QStringLiteral("systemFontButton"));
    systemFontButton->setToolTip(uiText("Select from system font dialog", "从系统字体对话框中选择"));
    auto *browseButton = new QPushButton(uiText("Browse...", "浏览..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setToolTip(
        uiText("Browse for a TTF/OTF/TTC/OTC file (Ctrl+O)", "浏览选择 TTF/OTF/TTC/OTC 文件（Ctrl+O）"));

    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(caption, 0);
    pathRow->addWidget(pathEdit, 1);
    pathRow->addWidget(systemFontButton, 0);
    pathRow->addWidget(browseButton, 0);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(pathRow);
    layout->addWidget(faceSelector);
    otherFilesLabel->setObjectName(QStringLiteral("otherFilesLabel"));
    otherFilesLabel->setVisible(false);
    layout->addWidget(otherFilesLabel);

    connect(systemFontButton, &QAbstractButton::clicked, this, &FontSourceRow::pickSystemFont);
    connect(browseButton, &QAbstractButton::clicked, this, &FontSourceRow::browse);
    // The selector first: whoever hears of the change reads the face it chose.
    connect(pathEdit, &QLineEdit::textChanged, faceSelector, &FaceSelector::showFacesOf);
    connect(pathEdit, &QLineEdit::textChanged, this, &FontSourceRow::faceChanged);
    connect(pathEdit, &QLineEdit::textEdited, this, [this] { setOtherFiles({}); });
    connect(faceSelector, &FaceSelector::faceChanged, this, &FontSourceRow::faceChanged);
    connect(faceSelector, &FaceSelector::faceChanged, this, [this] { Q_EMIT fontChosen(currentFace()); });
}

FontFace FontSourceRow::currentFace() const
{
    return {pathEdit->text().trimmed(), faceSelector->currentFace()};
}

QList<FontFace> FontSourceRow::otherFaces() const
{
    QList<FontFace> faces;
    for (const QString &path : otherFiles)
        faces.append({path, faceSelector->currentFace()});
    return faces;
}

void FontSourceRow::setFontPath(const QString &path)
{
    setOtherFiles({});
    pathEdit->setText(path);
}

void FontSourceRow::setOtherFiles(const QStringList &paths)
{
    otherFiles = paths;
    QStringList names;
    for (const QString &path : paths)
        names.append(QFileInfo(path).fileName());
    otherFilesLabel->setText(uiText("With %1 (for WOFF2 slices)", "另含 %1（用于网页分片）")
                                 .arg(names.join(QLatin1String(", "))));
    otherFilesLabel->setVisible(!paths.isEmpty());
}

void FontSourceRow::browse()
{
    // "*" rather than "*.*": files without a suffix must show under "All Files".
    // Several files are the styles of one family, sliced together for the web.
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, uiText("Select font file", "选择字体文件"), QString(),
                                      uiText("Font Files (*.ttf *.otf *.ttc *.otc);;All Files (*)",
                                             "字体文件 (*.ttf *.otf *.ttc *.otc);;所有文件 (*)"));
    if (paths.isEmpty())
        return;
    setOtherFiles(paths.mid(1));
    useFontFile(paths.first(), 0);
}

void FontSourceRow::pickSystemFont()
{
    const QString family = pickSystemFontFamily(this, currentFace());
    if (family.isEmpty())
        return;
    const FontFace face = resolveFontFace(family);
    if (face.path.isEmpty() || !QFileInfo::exists(face.path)) {
        QMessageBox::warning(
            this, uiText("Font Not Found", "未找到匹配字体"),
            uiText(
                "Could not get font file path for \"%1\".\n\nPossible reasons:\n1. It is a composite font or "
                "non-TrueType/OpenType format\n2. The font is in a non-standard directory\n\nPlease use "
                "\"Browse...\" button to manually select font file.",
                "所选字体 \"%1\" 未能获取到对应的字体文件路径。\n\n可能原因：\n1. 该字体是复合字体或非 "
                "TrueType/OpenType 格式\n2. 该字体位于非标准目录\n\n请使用\"浏览...\"按钮手动选择字体文件。")
                .arg(family),
            QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }
    setOtherFiles({});
    useFontFile(face.path, face.index);
}

void FontSourceRow::useFontFile(const QString &path, int face)
{
    // Before the path: its change then finds the file listed and the face chosen.
    faceSelector->showFace(path, face);
    pathEdit->setText(path);
    Q_EMIT fontChosen(currentFace());
}
