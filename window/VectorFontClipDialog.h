#pragma once

#include "font/FontFace.h"
#include "recipe/Recipe.h"

#include <QDialog>
#include <QString>

struct SubsetChoices;
struct SubsetRequest;
class BlockListPage;
class CustomTextPage;
class FacePreviewLabel;
class FontSourceRow;
class GenerationRunner;
class LvglPixelPreview;
class LvglSettingsRow;
class SliceRunner;
class OutputFormatChooser;
class SubsetOptionsButton;

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSettings;
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

    // The setup a run would take now, as a recipe file: the font and face,
    // the shown tab's characters (folders imported as folders), the options,
    // and the output name in the folder last chosen, followed by the other
    // outputs of a recipe opened earlier. False, with the reason.
    bool saveRecipe(const QString &path, QString *errorMessage) const;
    // Fills the window from a recipe; a generation then writes its first
    // output as vfc-subset --recipe writes it. False, with the reason naming
    // the file.
    bool openRecipe(const QString &path, QString *errorMessage);

    // What the window remembers between sessions: font, face, output folder,
    // format, options, shown tab and size. A font no longer there is dropped.
    void restoreSettings(QSettings &settings);
    void saveSettings(QSettings &settings) const;

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private Q_SLOTS:
    void onFaceChanged();
    void onFontChosen(const FontFace &face);
    void onSelectionChanged();
    void onExportClicked();
    void onSaveRecipeClicked();
    void onOpenRecipeClicked();

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
    LvglSettingsRow *lvglSettings = nullptr;
    LvglPixelPreview *lvglPreview = nullptr;
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
    QString lastOutputFolder; // where the folder dialog starts, and a saved recipe's output goes
    QList<RecipeOutput> otherRecipeOutputs; // of the recipe opened last, beyond the one the window shows
    GenerationRunner *generation;
    SliceRunner *slicing;
};
