#pragma once

#include "font/FontFace.h"

#include <QPushButton>

#include <functional>

class QMenu;
class QTextEdit;

// "Add character set": a menu of the standard sets, each with its size and
// how much of it the current face covers. Choosing one appends to the text
// the set's characters it lacks, as one step that one undo takes back.
class AddCharsetButton : public QPushButton
{
    Q_OBJECT

public:
    // `currentFace` is asked each time the menu opens; a face that cannot be
    // read leaves the coverage out.
    AddCharsetButton(QTextEdit *target, std::function<FontFace()> currentFace, QWidget *parent = nullptr);

private:
    void fillMenu();
    void addCharset(int set);

    QTextEdit *target;
    std::function<FontFace()> currentFace;
    QMenu *charsetMenu;
};
