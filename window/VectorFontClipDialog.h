#pragma once

#include "font/FontFace.h"

#include <QDialog>
#include <QList>
#include <QString>

struct SubsetRequest;
class GenerationRunner;
class CollectImport;
class FacePreviewLabel;
class FaceSelector;
class OutputFormatChooser;
class SubsetOptionsButton;

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class BlockListPage;
class QPushButton;
class QTabWidget;
class QTextEdit;

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
    void onBrowseTtf();
    void onSelectFontDialog();
    void onCustomTextChanged();
    void onExportClicked();
    void onImportCustomFile();
    void onPreviewChanged();

private:
    void setupUi();
    void updateFontInfo(const FontFace &face);
    void refreshPreview();
    void useFontFile(const QString &path, int face = 0);
    QString currentFontPath() const;
    QString customText() const;
    bool readUtf8TextFile(const QString &path, QString *errorMessage);
    void importTextFiles(const QStringList &paths);
    bool prepareSubsetRequest(SubsetRequest *request, QString *errorMessage);

    int useEnglish; // 1: English, as the start-up switch decided
    QTabWidget *characterTabs;
    QLineEdit *fontPathEdit;
    QPushButton *systemFontButton;
    QPushButton *browseButton;
    QLineEdit *outputNameEdit;
    QTextEdit *customTextEdit;
    QLabel *uniqueCountLabel;
    QPushButton *importButton;
    BlockListPage *blocksPage = nullptr;
    QLineEdit *previewEdit;
    FacePreviewLabel *previewLabel;
    QLabel *fontInfoLabel;
    QLabel *previewStatusLabel;
    QDialogButtonBox *buttonBox;
    FontFace loadedFontFace;
    QString proposedOutputName; // what the last chosen font proposed, until the user edits it
    QString toolDirectory;
    GenerationRunner *generation;
    FaceSelector *faceSelector;
    OutputFormatChooser *outputFormat = nullptr;
    SubsetOptionsButton *optionsButton = nullptr;
    CollectImport *collectImport = nullptr;
};
