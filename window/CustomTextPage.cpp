#include "window/CustomTextPage.h"

#include "charset/TextCharacters.h"
#include "charset/TextImport.h"
#include "common/UiText.h"
#include "window/AddCharsetButton.h"
#include "window/CollectImport.h"
#include "window/EncodingQuestion.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

CustomTextPage::CustomTextPage(QWidget *window, std::function<FontFace()> currentFace, QWidget *parent)
    : QWidget(parent),
      window(window),
      edit(new QTextEdit(this)),
      countLabel(new QLabel(this)),
      collectImport(new CollectImport(edit, window))
{
    setObjectName(QStringLiteral("customTextPage"));
    auto *hint = new QLabel(
        uiText("Input all characters to keep (Chinese, English, digits, symbols, etc.). Import from "
               "file only supports UTF-8 encoded text.",
               "在此输入要保留的所有字符（支持中英文、数字、符号等）。从文件导入时仅支持 UTF-8 编码文本。"),
        this);
    hint->setObjectName(QStringLiteral("customTextHint"));
    // One line of English hint would widen the window past its size.
    hint->setWordWrap(true);
    auto *addCharset = new AddCharsetButton(edit, std::move(currentFace), this);
    addCharset->setToolTip(uiText("Append a standard character set such as GB 2312 to the text",
                                  "向文本追加 GB 2312 等标准字符集"));
    auto *importButton = new QPushButton(uiText("Import from file...", "从文件导入..."), this);
    importButton->setObjectName(QStringLiteral("importButton"));
    auto *importFolderButton = new QPushButton(uiText("Import from folder...", "从文件夹导入..."), this);
    importFolderButton->setObjectName(QStringLiteral("importFolderButton"));
    edit->setObjectName(QStringLiteral("customTextEdit"));
    countLabel->setObjectName(QStringLiteral("uniqueCountLabel"));

    auto *hintRow = new QHBoxLayout;
    hintRow->addWidget(hint, 1);
    hintRow->addWidget(addCharset, 0);
    hintRow->addWidget(importButton, 0);
    hintRow->addWidget(importFolderButton, 0);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(hintRow);
    layout->addWidget(edit, 1);
    layout->addWidget(countLabel, 0);

    connect(edit, &QTextEdit::textChanged, this, &CustomTextPage::showCount);
    connect(edit, &QTextEdit::textChanged, this, &CustomTextPage::textChanged);
    connect(importButton, &QAbstractButton::clicked, this, &CustomTextPage::chooseTextFiles);
    connect(importFolderButton, &QAbstractButton::clicked, collectImport, &CollectImport::chooseFolder);
    showCount();
}

QString CustomTextPage::text() const
{
    // toPlainText() would turn every no-break space into a plain space, and the
    // subset would then lack the U+00A0 the user typed or pasted.
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    // The document's own frame markers are not the user's text.
    text.remove(QChar(0xFDD0));
    text.remove(QChar(0xFDD1));
    return text;
}

void CustomTextPage::importTextFiles(const QStringList &paths)
{
    if (!importsOneText(paths)) {
        collectImport->start(paths);
        return;
    }
    QString text;
    QString errorMessage;
    bool wrongEncoding = false;
    bool read = readTextFile(paths.first(), SourceEncoding::Utf8Only, &text, &errorMessage, &wrongEncoding);
    if (!read && wrongEncoding) {
        SourceEncoding encoding;
        if (!askLegacyEncoding(window, errorMessage, &encoding))
            return;
        read = readTextFile(paths.first(), encoding, &text, &errorMessage);
    }
    if (read)
        edit->setPlainText(text);
    else if (!errorMessage.isEmpty())
        QMessageBox::warning(window, uiText("Import failed", "导入失败"), errorMessage, QMessageBox::Ok,
                             QMessageBox::NoButton);
}

void CustomTextPage::chooseTextFiles()
{
    // "*" rather than "*.*": the latter hides files whose names have no dot.
    importTextFiles(QFileDialog::getOpenFileNames(
        window,
        uiText("Import character set from file (UTF-8 only)", "从文件导入字符集（仅支持 UTF-8 编码文本）"),
        QString(), QStringLiteral("UTF-8 Text/CSV (*.txt *.csv);;All Files (*)")));
}

void CustomTextPage::showCount()
{
    countLabel->setText(uiText("Unique characters: %1", "唯一字符数: %1").arg(countUniqueCharacters(text())));
}
