#include "window/VectorFontClipDialog.h"

#include "charset/TextCharacters.h"
#include "charset/TextImport.h"
#include "common/UiText.h"
#include "font/platform/FontFileLookup.h"
#include "subset/OutputName.h"
#include "subset/SubsetRequest.h"
#include "window/AddCharsetButton.h"
#include "window/BlockListPage.h"
#include "window/CollectImport.h"
#include "window/FacePreviewLabel.h"
#include "window/FaceSelector.h"
#include "window/FileDropFilter.h"
#include "window/FontInfo.h"
#include "window/GenerationRunner.h"
#include "window/OutputFormatChooser.h"
#include "window/PreviewCoverage.h"
#include "window/SubsetOptionsButton.h"
#include "window/SystemFontPicker.h"
#include "window/TargetQuestions.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The two status lines under the preview share one quieter look.
void makeSecondaryLabel(QLabel *label)
{
    QFont font = label->font();
    font.setPointSize(font.pointSize() - 1);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: gray;"));
}

// The window speaks the language it is made with, and so does everything it
// builds; set before any member makes its first text.
int speakLanguage(int useEnglish)
{
    setUiEnglish(useEnglish == 1);
    return useEnglish;
}

} // namespace

VectorFontClipDialog::VectorFontClipDialog(int useEnglish, QWidget *parent)
    : QDialog(parent),
      useEnglish(speakLanguage(useEnglish)),
      characterTabs(nullptr),
      fontPathEdit(nullptr),
      systemFontButton(nullptr),
      browseButton(nullptr),
      outputNameEdit(nullptr),
      customTextEdit(nullptr),
      uniqueCountLabel(nullptr),
      importButton(nullptr),
      previewEdit(nullptr),
      previewLabel(nullptr),
      fontInfoLabel(nullptr),
      previewStatusLabel(nullptr),
      buttonBox(nullptr),
      toolDirectory(QCoreApplication::applicationDirPath()),
      generation(new GenerationRunner(this)),
      faceSelector(new FaceSelector(this))
{
    setWindowTitle(uiText("Corvanta - Vector Font Subset Tool", "Corvanta - 矢量字库裁剪工具"));
    resize(800, 560);
    setupUi();
}

VectorFontClipDialog::~VectorFontClipDialog() = default;

void VectorFontClipDialog::setupUi()
{
    auto *mainLayout = new QVBoxLayout(this);

    auto *fontRow = new QHBoxLayout;
    auto *fontCaption = new QLabel(uiText("Source TTF font:", "待裁剪矢量字库:"), this);
    fontPathEdit = new QLineEdit(this);
    fontPathEdit->setObjectName(QStringLiteral("fontPathEdit"));
    fontPathEdit->setPlaceholderText(uiText("Select a font file...", "请选择字体文件..."));
    systemFontButton = new QPushButton(uiText("System Font", "选择系统字体"), this);
    systemFontButton->setObjectName(QStringLiteral("systemFontButton"));
    systemFontButton->setToolTip(uiText("Select from system font dialog", "从系统字体对话框中选择"));
    connect(systemFontButton, &QAbstractButton::clicked, this, &VectorFontClipDialog::onSelectFontDialog);
    browseButton = new QPushButton(uiText("Browse...", "浏览..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setToolTip(uiText("Browse for TTF/OTF/TTC file", "浏览选择 TTF/OTF/TTC 文件"));
    connect(browseButton, &QAbstractButton::clicked, this, &VectorFontClipDialog::onBrowseTtf);
    fontRow->addWidget(fontCaption, 0);
    fontRow->addWidget(fontPathEdit, 1);
    fontRow->addWidget(faceSelector, 0);
    fontRow->addWidget(systemFontButton, 0);
    fontRow->addWidget(browseButton, 0);
    mainLayout->addLayout(fontRow);

    auto *outputRow = new QHBoxLayout;
    auto *outputCaption = new QLabel(uiText("Output name:", "输出文件名:"), this);
    outputNameEdit = new QLineEdit(this);
    outputNameEdit->setObjectName(QStringLiteral("outputNameEdit"));
    outputNameEdit->setPlaceholderText(
        uiText("Name without path, e.g. 12MyFont", "不含路径，示例: 12MyFont"));
    outputRow->addWidget(outputCaption, 0);
    outputRow->addWidget(outputNameEdit, 1);
    outputFormat = new OutputFormatChooser(this);
    outputRow->addWidget(outputFormat, 0);
    mainLayout->addLayout(outputRow);

    auto *previewRow = new QHBoxLayout;
    auto *previewCaption = new QLabel(uiText("Preview text:", "预览字符:"), this);
    previewEdit = new QLineEdit(this);
    previewEdit->setObjectName(QStringLiteral("previewEdit"));
    previewEdit->setMaxLength(64);
    previewLabel = new FacePreviewLabel(this);
    previewLabel->setObjectName(QStringLiteral("previewLabel"));
    previewLabel->setMinimumSize(120, 64);
    previewLabel->setAlignment(Qt::AlignCenter);
    previewLabel->setFrameShape(QFrame::Box);
    previewLabel->setFrameShadow(QFrame::Sunken);
    previewRow->addWidget(previewCaption, 0);
    previewRow->addWidget(previewEdit, 0);
    previewRow->addWidget(previewLabel, 1);
    mainLayout->addLayout(previewRow);

    fontInfoLabel = new QLabel(this);
    fontInfoLabel->setObjectName(QStringLiteral("fontInfoLabel"));
    makeSecondaryLabel(fontInfoLabel);
    mainLayout->addWidget(fontInfoLabel, 0);

    previewStatusLabel = new QLabel(this);
    previewStatusLabel->setObjectName(QStringLiteral("previewStatusLabel"));
    makeSecondaryLabel(previewStatusLabel);
    mainLayout->addWidget(previewStatusLabel, 0);

    characterTabs = new QTabWidget(this);
    characterTabs->setObjectName(QStringLiteral("characterTabs"));

    auto *customTextPage = new QWidget(characterTabs);
    customTextPage->setObjectName(QStringLiteral("customTextPage"));
    auto *customLayout = new QVBoxLayout(customTextPage);
    auto *hintRow = new QHBoxLayout;
    auto *hintCaption = new QLabel(
        uiText("Input all characters to keep (Chinese, English, digits, symbols, etc.). Import from "
               "file only supports UTF-8 encoded text.",
               "在此输入要保留的所有字符（支持中英文、数字、符号等）。从文件导入时仅支持 UTF-8 编码文本。"),
        customTextPage);
    hintCaption->setObjectName(QStringLiteral("customTextHint"));
    // One line of English hint would widen the window past its size.
    hintCaption->setWordWrap(true);
    importButton = new QPushButton(uiText("Import from file...", "从文件导入..."), customTextPage);
    importButton->setObjectName(QStringLiteral("importButton"));
    hintRow->addWidget(hintCaption, 1);
    hintRow->addWidget(importButton, 0);
    auto *importFolderButton =
        new QPushButton(uiText("Import from folder...", "从文件夹导入..."), customTextPage);
    importFolderButton->setObjectName(QStringLiteral("importFolderButton"));
    hintRow->addWidget(importFolderButton, 0);
    customLayout->addLayout(hintRow);
    customTextEdit = new QTextEdit(customTextPage);
    customTextEdit->setObjectName(QStringLiteral("customTextEdit"));
    customLayout->addWidget(customTextEdit, 1);
    const auto currentFace = [this] { return FontFace{currentFontPath(), faceSelector->currentFace()}; };
    hintRow->insertWidget(hintRow->indexOf(importButton),
                          new AddCharsetButton(customTextEdit, currentFace, customTextPage));
    uniqueCountLabel = new QLabel(uiText("Unique characters: 0", "唯一字符数: 0"), customTextPage);
    uniqueCountLabel->setObjectName(QStringLiteral("uniqueCountLabel"));
    customLayout->addWidget(uniqueCountLabel, 0);
    connect(customTextEdit, &QTextEdit::textChanged, this, &VectorFontClipDialog::onCustomTextChanged);
    connect(importButton, &QAbstractButton::clicked, this, &VectorFontClipDialog::onImportCustomFile);
    collectImport = new CollectImport(customTextEdit, this);
    connect(importFolderButton, &QAbstractButton::clicked, collectImport, &CollectImport::chooseFolder);
    characterTabs->addTab(customTextPage, uiText("Custom text", "自定义字符"));

    blocksPage = new BlockListPage(characterTabs);
    characterTabs->addTab(blocksPage, uiText("Unicode blocks", "Unicode 分区"));

    mainLayout->addWidget(characterTabs, 1);

    buttonBox = new QDialogButtonBox(Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    QPushButton *generateButton =
        buttonBox->addButton(uiText("Generate subset", "生成字库"), QDialogButtonBox::AcceptRole);
    generateButton->setObjectName(QStringLiteral("generateButton"));
    generateButton->setDefault(true);
    optionsButton = new SubsetOptionsButton(currentFace, this);
    buttonBox->addButton(optionsButton, QDialogButtonBox::ActionRole);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &VectorFontClipDialog::onExportClicked);
    connect(generation, &GenerationRunner::runningChanged, buttonBox, &QWidget::setDisabled);
    mainLayout->addWidget(buttonBox, 0);

    connect(outputNameEdit, &QLineEdit::textEdited, this, [this] { proposedOutputName.clear(); });
    connect(previewEdit, &QLineEdit::textChanged, this, &VectorFontClipDialog::onPreviewChanged);
    // The selector first: the refresh reads the face it chose.
    connect(fontPathEdit, &QLineEdit::textChanged, faceSelector, &FaceSelector::showFacesOf);
    connect(fontPathEdit, &QLineEdit::textChanged, this, &VectorFontClipDialog::onPreviewChanged);
    connect(faceSelector, &FaceSelector::faceChanged, this, &VectorFontClipDialog::onPreviewChanged);

    auto *drops = new FileDropFilter(this, customTextPage);
    connect(drops, &FileDropFilter::fontDropped, fontPathEdit, &QLineEdit::setText);
    connect(drops, &FileDropFilter::textDropped, this, &VectorFontClipDialog::importTextFiles);

    onCustomTextChanged();
    refreshPreview();
}

QString VectorFontClipDialog::currentFontPath() const
{
    return fontPathEdit ? fontPathEdit->text().trimmed() : QString();
}

void VectorFontClipDialog::onBrowseTtf()
{
    // "*" rather than "*.*": files without a suffix must show under "All Files".
    const QString path =
        QFileDialog::getOpenFileName(this, uiText("Select font file", "选择字体文件"), QString(),
                                     uiText("Font Files (*.ttf *.otf *.ttc);;All Files (*)",
                                            "字体文件 (*.ttf *.otf *.ttc);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    useFontFile(path);
}

void VectorFontClipDialog::onSelectFontDialog()
{
    const QString family = pickSystemFontFamily(this);
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
    useFontFile(face.path, face.index);
}

void VectorFontClipDialog::useFontFile(const QString &path, int face)
{
    // Before the path: its change then finds the file listed and the face chosen.
    faceSelector->showFace(path, face);
    if (fontPathEdit)
        fontPathEdit->setText(path);
    // The name follows the font for as long as it is the one proposed for
    // the previous font; a name the user typed is never replaced.
    const QString current = outputNameEdit->text().trimmed();
    if (current.isEmpty() || current == proposedOutputName) {
        proposedOutputName = QFileInfo(path).completeBaseName();
        outputNameEdit->setText(proposedOutputName);
    }
    // Choosing the same file again changes no text, yet should still refresh.
    refreshPreview();
}

void VectorFontClipDialog::onPreviewChanged()
{
    refreshPreview();
}

void VectorFontClipDialog::updateFontInfo(const FontFace &face)
{
    if (!fontInfoLabel)
        return;
    // Every keystroke in the preview text lands here; only a new face, or one
    // that failed last time, is worth the scan.
    if (face == loadedFontFace)
        return;
    const FontInfo info = readFontInfo(face);
    loadedFontFace = info.status == FontInfo::Status::Read ? face : FontFace();
    fontInfoLabel->setText(fontInfoText(info));
}

void VectorFontClipDialog::refreshPreview()
{
    if (!previewLabel || !previewEdit)
        return;
    const FontFace face{currentFontPath(), faceSelector->currentFace()};
    updateFontInfo(face);
    const PreviewCoverage coverage = checkPreviewCoverage(face, previewEdit->text(), font());
    previewLabel->showCoverage(coverage);
    if (previewStatusLabel)
        previewStatusLabel->setText(previewStatusText(coverage));
}

void VectorFontClipDialog::onCustomTextChanged()
{
    if (!customTextEdit || !uniqueCountLabel)
        return;
    const int count = countUniqueCharacters(customText());
    uniqueCountLabel->setText(uiText("Unique characters: %1", "唯一字符数: %1").arg(count));
}

QString VectorFontClipDialog::customText() const
{
    if (!customTextEdit)
        return QString();
    // toPlainText() would turn every no-break space into a plain space, and the
    // subset would then lack the U+00A0 the user typed or pasted.
    QString text = customTextEdit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    // The document's own frame markers are not the user's text.
    text.remove(QChar(0xFDD0));
    text.remove(QChar(0xFDD1));
    return text;
}

void VectorFontClipDialog::onImportCustomFile()
{
    // "*" rather than "*.*": the latter hides files whose names have no dot.
    importTextFiles(QFileDialog::getOpenFileNames(
        this,
        uiText("Import character set from file (UTF-8 only)", "从文件导入字符集（仅支持 UTF-8 编码文本）"),
        QString(), QStringLiteral("UTF-8 Text/CSV (*.txt *.csv);;All Files (*)")));
}

void VectorFontClipDialog::importTextFiles(const QStringList &paths)
{
    if (!importsOneText(paths)) {
        collectImport->start(paths);
        return;
    }
    QString errorMessage;
    if (!readUtf8TextFile(paths.first(), &errorMessage) && !errorMessage.isEmpty())
        QMessageBox::warning(this, uiText("Import failed", "导入失败"), errorMessage, QMessageBox::Ok,
                             QMessageBox::NoButton);
}

bool VectorFontClipDialog::readUtf8TextFile(const QString &path, QString *errorMessage)
{
    QString text;
    if (!readUtf8Text(path, &text, errorMessage))
        return false;
    if (customTextEdit)
        customTextEdit->setPlainText(text);
    onCustomTextChanged();
    return true;
}

void VectorFontClipDialog::onExportClicked()
{
    if (generation->isRunning())
        return;
    SubsetRequest request;
    QString errorMessage;
    if (prepareSubsetRequest(&request, &errorMessage))
        generation->start(request);
    else if (!errorMessage.isEmpty())
        QMessageBox::warning(this, uiText("Error", "错误"), errorMessage);
}

void VectorFontClipDialog::reject()
{
    // Closing the window stops a run: nothing half-written stays behind.
    generation->cancel();
    QDialog::reject();
}

void VectorFontClipDialog::keyPressEvent(QKeyEvent *event)
{
    // A dialog closes on Esc, but this is the main window: one stray key
    // would throw away everything typed or imported. Only its close button
    // closes it.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool VectorFontClipDialog::prepareSubsetRequest(SubsetRequest *request, QString *errorMessage)
{
    auto fail = [errorMessage](const QString &text) {
        if (errorMessage)
            *errorMessage = text;
        return false;
    };

    SubsetChoices choices;
    choices.face = {currentFontPath(), faceSelector->currentFace()};
    const QString sourceProblem = sourceFontProblem(choices.face);
    if (!sourceProblem.isEmpty())
        return fail(sourceProblem);
    choices.format = outputFormat->format();
    choices.writeCss = outputFormat->writeCss();
    const QString fileName = outputFileName(outputNameEdit->text(), outputSuffix(choices.format));
    if (fileName.isEmpty())
        return fail(uiText("Output name must not be empty.", "输出文件名不能为空。"));

    choices.targetPath =
        askTargetPath(this, choices.face, fileName, choices.format, choices.writeCss, errorMessage);
    if (choices.targetPath.isEmpty())
        return false;

    choices.rule = SelectionRule::ShownPageOnly;
    choices.shownPage =
        characterTabs->currentIndex() == 0 ? SelectionPage::CustomText : SelectionPage::Blocks;
    choices.texts = QStringList{customText()};
    choices.blockRows = blocksPage->checkedRows();
    choices.toolDirectory = toolDirectory;
    choices.options = optionsButton->optionsFor(choices.face);
    return buildSubsetRequest(choices, request, errorMessage);
}
