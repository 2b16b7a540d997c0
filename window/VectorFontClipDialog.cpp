#include "window/VectorFontClipDialog.h"

#include "common/UiText.h"
#include "font/FontFaceList.h"
#include "subset/LvglOutput.h"
#include "subset/OutputName.h"
#include "subset/SubsetRequest.h"
#include "web/WebSliceRun.h"
#include "window/BlockListPage.h"
#include "window/CustomTextPage.h"
#include "window/FacePreviewLabel.h"
#include "window/FileDropFilter.h"
#include "window/FontInfo.h"
#include "window/FontSourceRow.h"
#include "window/GenerationRunner.h"
#include "window/LvglPixelPreview.h"
#include "window/LvglSettingsRow.h"
#include "window/OutputFormatChooser.h"
#include "window/PreviewCoverage.h"
#include "window/SliceRunner.h"
#include "window/SubsetOptionsButton.h"
#include "window/TargetQuestions.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
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

// A face of a collection is a font of its own, known by its PostScript name;
// a single-face file by the file's name.
QString outputNameFor(const FontFace &face)
{
    const FontFaceList list = listFontFaces(face.path);
    if (list.collection && face.index >= 0 && face.index < list.faces.size()) {
        const QString name = list.faces.at(face.index).postScriptName;
        if (!name.isEmpty())
            return name;
    }
    return QFileInfo(face.path).completeBaseName();
}

QString selectionSummaryText(SelectionPage page, qsizetype count)
{
    const QString source = page == SelectionPage::CustomText ? uiText("Custom text", "自定义字符")
                                                             : uiText("Unicode blocks", "Unicode 分区");
    if (count == 1)
        return uiText("Will use: %1, 1 character", "将使用：%1，1 个字符").arg(source);
    return uiText("Will use: %1, %2 characters", "将使用：%1，%2 个字符").arg(source, QString::number(count));
}

} // namespace

VectorFontClipDialog::VectorFontClipDialog(int useEnglish, QWidget *parent)
    : QDialog(parent),
      useEnglish(speakLanguage(useEnglish)),
      toolDirectory(QCoreApplication::applicationDirPath()),
      generation(new GenerationRunner(this)),
      slicing(new SliceRunner(this))
{
    setWindowTitle(uiText("Corvanta - Vector Font Subset Tool", "Corvanta - 矢量字库裁剪工具"));
    resize(800, 560);
    setupUi();
}

VectorFontClipDialog::~VectorFontClipDialog() = default;

void VectorFontClipDialog::setupUi()
{
    auto *mainLayout = new QVBoxLayout(this);
    fontSource = new FontSourceRow(this);
    mainLayout->addWidget(fontSource);
    const auto currentFace = [this] { return fontSource->currentFace(); };

    auto *outputRow = new QHBoxLayout;
    auto *outputCaption = new QLabel(uiText("Output name:", "输出文件名:"), this);
    outputNameEdit = new QLineEdit(this);
    outputNameEdit->setObjectName(QStringLiteral("outputNameEdit"));
    outputNameEdit->setPlaceholderText(
        uiText("Name without path, e.g. 12MyFont", "不含路径，示例: 12MyFont"));
    outputCaption->setBuddy(outputNameEdit);
    outputRow->addWidget(outputCaption, 0);
    outputRow->addWidget(outputNameEdit, 1);
    outputFormat = new OutputFormatChooser(this);
    outputRow->addWidget(outputFormat, 0);
    mainLayout->addLayout(outputRow);
    lvglSettings = new LvglSettingsRow(this);
    mainLayout->addWidget(lvglSettings);

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
    lvglPreview = new LvglPixelPreview(this);
    previewRow->addWidget(lvglPreview, 1);
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
    customTextPage = new CustomTextPage(this, currentFace, characterTabs);
    characterTabs->addTab(customTextPage, uiText("Custom text", "自定义字符"));
    blocksPage = new BlockListPage(characterTabs);
    characterTabs->addTab(blocksPage, uiText("Unicode blocks", "Unicode 分区"));
    mainLayout->addWidget(characterTabs, 1);

    auto *generateRow = new QHBoxLayout;
    selectionSummary = new QLabel(this);
    selectionSummary->setObjectName(QStringLiteral("selectionSummary"));
    generateRow->addWidget(selectionSummary, 1);
    buttonBox = new QDialogButtonBox(Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    QPushButton *generateButton =
        buttonBox->addButton(uiText("Generate subset", "生成字库"), QDialogButtonBox::AcceptRole);
    generateButton->setObjectName(QStringLiteral("generateButton"));
    generateButton->setDefault(true);
    generateButton->setToolTip(uiText("Cut the font down to the characters of the shown tab and save it "
                                      "(Ctrl+Enter)",
                                      "将字库裁剪为当前标签页中的字符并保存（Ctrl+Enter）"));
    optionsButton = new SubsetOptionsButton(currentFace, this);
    buttonBox->addButton(optionsButton, QDialogButtonBox::ActionRole);
    QPushButton *saveRecipeButton =
        buttonBox->addButton(uiText("Save recipe...", "保存配方..."), QDialogButtonBox::ActionRole);
    saveRecipeButton->setObjectName(QStringLiteral("saveRecipeButton"));
    saveRecipeButton->setToolTip(uiText("Save this setup as a file that vfc-subset --recipe builds",
                                        "将当前设置保存为 vfc-subset --recipe 可生成的文件"));
    QPushButton *openRecipeButton =
        buttonBox->addButton(uiText("Open recipe...", "打开配方..."), QDialogButtonBox::ActionRole);
    openRecipeButton->setObjectName(QStringLiteral("openRecipeButton"));
    openRecipeButton->setToolTip(uiText("Fill the window from a saved recipe", "用已保存的配方填写窗口"));
    connect(saveRecipeButton, &QAbstractButton::clicked, this, &VectorFontClipDialog::onSaveRecipeClicked);
    connect(openRecipeButton, &QAbstractButton::clicked, this, &VectorFontClipDialog::onOpenRecipeClicked);
    generateRow->addWidget(buttonBox, 0);
    mainLayout->addLayout(generateRow);

    // Through the buttons, so that neither works while a run disables them.
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, generateButton, &QAbstractButton::click);
    auto *browseButton = fontSource->findChild<QPushButton *>(QStringLiteral("browseButton"));
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, browseButton,
            &QAbstractButton::click);

    connect(buttonBox, &QDialogButtonBox::accepted, this, &VectorFontClipDialog::onExportClicked);
    connect(generation, &GenerationRunner::runningChanged, buttonBox, &QWidget::setDisabled);
    connect(slicing, &SliceRunner::runningChanged, buttonBox, &QWidget::setDisabled);
    connect(outputNameEdit, &QLineEdit::textEdited, this, [this] { proposedOutputName.clear(); });
    connect(previewEdit, &QLineEdit::textChanged, this, &VectorFontClipDialog::refreshPreview);
    connect(outputFormat, &OutputFormatChooser::formatChanged, this, &VectorFontClipDialog::refreshPreview);
    connect(lvglSettings, &LvglSettingsRow::optionsChanged, this, &VectorFontClipDialog::refreshPreview);
    connect(fontSource, &FontSourceRow::faceChanged, this, &VectorFontClipDialog::onFaceChanged);
    connect(fontSource, &FontSourceRow::fontChosen, this, &VectorFontClipDialog::onFontChosen);
    connect(customTextPage, &CustomTextPage::textChanged, this, &VectorFontClipDialog::onSelectionChanged);
    connect(blocksPage, &BlockListPage::selectionChanged, this, &VectorFontClipDialog::onSelectionChanged);
    connect(characterTabs, &QTabWidget::currentChanged, this, &VectorFontClipDialog::onSelectionChanged);

    auto *drops = new FileDropFilter(this, customTextPage);
    connect(drops, &FileDropFilter::fontDropped, fontSource, &FontSourceRow::setFontPath);
    connect(drops, &FileDropFilter::textDropped, customTextPage, &CustomTextPage::importTextFiles);

    onSelectionChanged();
    refreshPreview();
}

void VectorFontClipDialog::onFaceChanged()
{
    refreshPreview();
    optionsButton->showOptionsFor(fontSource->currentFace());
}

void VectorFontClipDialog::onFontChosen(const FontFace &face)
{
    // The name follows the font for as long as it is the one proposed for
    // the previous font; a name the user typed is never replaced.
    const QString current = outputNameEdit->text().trimmed();
    if (current.isEmpty() || current == proposedOutputName) {
        proposedOutputName = outputNameFor(face);
        outputNameEdit->setText(proposedOutputName);
    }
    // Choosing the same file again changes no text, yet should still refresh.
    onFaceChanged();
}

void VectorFontClipDialog::updateFontInfo(const FontFace &face)
{
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
    const FontFace face = fontSource->currentFace();
    updateFontInfo(face);
    const PreviewCoverage coverage = checkPreviewCoverage(face, previewEdit->text(), font());
    previewLabel->showCoverage(coverage);
    previewStatusLabel->setText(previewStatusText(coverage));
    // A bitmap font shows the device's pixels in place of the outlines.
    const bool bitmapFont = isLvglFormat(outputFormat->format());
    lvglSettings->setVisible(bitmapFont);
    previewLabel->setVisible(!bitmapFont);
    lvglPreview->setVisible(bitmapFont);
    if (bitmapFont)
        lvglPreview->showText(face, previewEdit->text(), lvglSettings->options(),
                              rasterAxes(optionsButton->optionsFor(face).pins));
}

void VectorFontClipDialog::onSelectionChanged()
{
    const SubsetChoices choices = currentChoices();
    selectionSummary->setText(selectionSummaryText(choices.shownPage, chosenCharacterCount(choices)));
}

SubsetChoices VectorFontClipDialog::currentChoices() const
{
    SubsetChoices choices;
    choices.face = fontSource->currentFace();
    // The tab on show decides what a run takes.
    choices.rule = SelectionRule::ShownPageOnly;
    choices.shownPage =
        characterTabs->currentWidget() == blocksPage ? SelectionPage::Blocks : SelectionPage::CustomText;
    choices.texts = QStringList{customTextPage->text()};
    choices.blockRows = blocksPage->checkedRows();
    choices.format = outputFormat->format();
    choices.writeCss = outputFormat->writeCss();
    choices.toolDirectory = toolDirectory;
    choices.options = optionsButton->optionsFor(choices.face);
    choices.lvgl = lvglSettings->options();
    return choices;
}

void VectorFontClipDialog::onExportClicked()
{
    if (generation->isRunning() || slicing->isRunning())
        return;
    QString errorMessage;
    if (outputFormat->format() == OutputFormat::Woff2Slices) {
        WebSliceRequest slices;
        if (prepareSliceRequest(this, currentChoices(), fontSource->otherFaces(), outputFormat->allStyles(),
                                outputNameEdit->text(), previewEdit->text(), &slices, &errorMessage))
            slicing->start(slices);
        else if (!errorMessage.isEmpty())
            QMessageBox::warning(this, uiText("Error", "错误"), errorMessage);
        return;
    }
    SubsetRequest request;
    if (prepareSubsetRequest(&request, &errorMessage))
        generation->start(request);
    else if (!errorMessage.isEmpty())
        QMessageBox::warning(this, uiText("Error", "错误"), errorMessage);
}

void VectorFontClipDialog::reject()
{
    // Closing the window stops a run: nothing half-written stays behind.
    generation->cancel();
    slicing->cancel();
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
    // Whatever needs no folder is checked before the folder is asked for,
    // the source font among it, and only here.
    const SubsetChoices choices = currentChoices();
    if (!buildSubsetRequest(choices, request, errorMessage))
        return false;
    const QString fileName = outputFileName(outputNameEdit->text(), outputSuffix(request->format));
    if (fileName.isEmpty()) {
        *errorMessage = uiText("Output name must not be empty.", "输出文件名不能为空。");
        return false;
    }
    request->targetPath = askTargetPath(this, request->face, fileName, request->format, request->writeCss,
                                        errorMessage, lastOutputFolder);
    if (request->targetPath.isEmpty())
        return false;
    lastOutputFolder = QFileInfo(request->targetPath).absolutePath();
    return true;
}
