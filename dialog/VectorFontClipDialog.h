#pragma once

#include <QDialog>
#include <QList>
#include <QString>

struct SubsetOutcome;
struct SubsetRequest;
class SubsetJob;
class QProgressDialog;
class OutputFormatChooser;

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
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

public Q_SLOTS:
    void reject() override;

private Q_SLOTS:
    void onBrowseTtf();
    void onSelectFontDialog();
    void onCustomTextChanged();
    void onExportClicked();
    void onImportCustomFile();
    void onSelectAllPartitions();
    void onClearAllPartitions();
    void onPreviewChanged();
    void onGenerationFinished(const SubsetOutcome &outcome);

private:
    void setupUi();
    void initUnicodeBlocks();
    void updateFontInfo(const QString &fontPath);
    void refreshPreview();
    void useFontFile(const QString &path);
    QString currentFontPath() const;
    QString customText() const;
    bool readUtf8TextFile(const QString &path, QString *errorMessage);
    QList<int> checkedBlockRows() const;
    bool prepareSubsetRequest(SubsetRequest *request, QString *errorMessage);
    QString uiText(const char *english, const char *chinese) const;

    int useEnglish;
    QTabWidget *characterTabs;
    QLineEdit *fontPathEdit;
    QPushButton *systemFontButton;
    QPushButton *browseButton;
    QLineEdit *outputNameEdit;
    QTextEdit *customTextEdit;
    QLabel *uniqueCountLabel;
    QPushButton *importButton;
    QListWidget *blockList;
    QLineEdit *previewEdit;
    QLabel *previewLabel;
    QLabel *fontInfoLabel;
    QLabel *previewStatusLabel;
    QDialogButtonBox *buttonBox;
    QString loadedFontPath;
    QString missingCharsNote;
    QString proposedOutputName; // what the last chosen font proposed, until the user edits it
    SubsetJob *job;
    QProgressDialog *progressDialog = nullptr;
    OutputFormatChooser *outputFormat = nullptr;
};
