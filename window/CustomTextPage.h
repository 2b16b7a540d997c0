#pragma once

#include "charset/CharacterCollector.h"
#include "font/FontFace.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class CollectImport;
class QLabel;
class QTextEdit;

// The "Custom text" page: the characters to keep as typed, pasted or
// imported from files, with the count of different characters under them.
class CustomTextPage : public QWidget
{
    Q_OBJECT

public:
    // `window` carries the import's dialogs and boxes; `currentFace` is asked
    // whenever the character-set menu opens.
    CustomTextPage(QWidget *window, std::function<FontFace()> currentFace, QWidget *parent = nullptr);

    // Every character as typed, no-break spaces included.
    QString text() const;

    // The text without the characters the last import of folders brought in,
    // and that import's paths and patterns, while the text still holds those
    // characters as imported: what a recipe keeps of the page.
    QString typedText() const;
    QStringList importedPaths() const;
    CollectionPatterns importedPatterns() const;
    // The page as a recipe fills it: `text`, after the characters of `files`
    // (read or collected, as an import does).
    void setCharacters(const QString &text, const QStringList &files, const CollectionPatterns &patterns);

public Q_SLOTS:
    // One file is taken whole as UTF-8, or in a legacy encoding the user
    // names; several files or a folder are read for the characters they show.
    void importTextFiles(const QStringList &paths);

Q_SIGNALS:
    void textChanged();

private:
    QString importedText() const;
    void chooseTextFiles();
    void showCount();

    QWidget *window;
    QTextEdit *edit;
    QLabel *countLabel;
    CollectImport *collectImport;
};
