#pragma once

#include "font/FontFace.h"

#include <QDialog>
#include <QString>

struct SubsetChoices;
struct SubsetRequest;
class BlockListPage;
class CustomTextPage;
class FacePreviewLabel;
class FontSourceRow;
class GenerationRunner;
class SliceRunner;
class OutputFormatChooser;
class SubsetOptionsButton;

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QTabWidget;

// The tool's one window. Slots read the widgets, hand the work to the plain
// functions of the font, charset and subset folders and show what comes back.
class VectorFontClipDialog : public QDialog
{
    Q_OBJECT

public:
    explicit VectorFontClipDialog(int useEnglish, QWidget *parent = nullptr);
    ~VectorFontClipDialog() override;

    // Where hb-subset is looked for; the program's own folder unless set.
    void setToolDirectory(const QString &directory) { toolDirectory = directory; }

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private Q_SLOTS:
    void onFaceChanged();
    void onFontChosen(const FontFace &face);
    void onSelectionChanged();
    void onExportClicked();

private:
    void setupUi();
    void updateFontInfo(const FontFace &face);
    void refreshPreview();
    SubsetChoices currentChoices() const;
    bool prepareSubsetRequest(SubsetRequest *request, QString *errorMessage);

    int useEnglish; // 1: English, as the start-up switch decided
    FontSourceRow *fontSource = nullptr;
    QLineEdit *outputNameEdit = nullptr;
    OutputFormatChooser *outputFormat = nullptr;
    QLineEdit *previewEdit = nullptr;
    FacePreviewLabel *previewLabel = nullptr;
    QLabel *fontInfoLabel = nullptr;
    QLabel *previewStatusLabel = nullptr;
    QTabWidget *characterTabs = nullptr;
    CustomTextPage *customTextPage = nullptr;
    BlockListPage *blocksPage = nullptr;
    QLabel *selectionSummary = nullptr;
    QDialogButtonBox *buttonBox = nullptr;
    SubsetOptionsButton *optionsButton = nullptr;
    FontFace loadedFontFace;
    QString proposedOutputName; // what the last chosen font proposed, until the user edits it
    QString toolDirectory;
    GenerationRunner *generation;
    SliceRunner *slicing;
};
