#pragma once

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

public Q_SLOTS:
    // One file is taken whole as UTF-8, or in a legacy encoding the user
    // names; several files or a folder are read for the characters they show.
    void importTextFiles(const QStringList &paths);

Q_SIGNALS:
    void textChanged();

private:
    void chooseTextFiles();
    void showCount();

    QWidget *window;
    QTextEdit *edit;
    QLabel *countLabel;
    CollectImport *collectImport;
};
