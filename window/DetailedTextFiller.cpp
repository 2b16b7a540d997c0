#include "window/DetailedTextFiller.h"

#include "subset/MissingCharacters.h"

#include <QMessageBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace {

// About five milliseconds of layout each.
constexpr qsizetype linesPerSlice = 2000;

QString slice(const QList<uint> &missing, qsizetype from, qsizetype count = linesPerSlice)
{
    return missingCharactersList(missing.mid(from, count)).join(QLatin1Char('\n'));
}

} // namespace

void fillDetailedText(QMessageBox *box, const QList<uint> &missing)
{
    box->setDetailedText(slice(missing, 0));
    auto *edit = box->findChild<QTextEdit *>();
    if (missing.size() <= linesPerSlice)
        return;
    if (!edit) { // a box without its own text view: the whole text at once
        box->setDetailedText(slice(missing, 0, missing.size()));
        return;
    }
    edit->document()->setUndoRedoEnabled(false);
    // A child of the box: it ends with the box, however the box is closed.
    auto *timer = new QTimer(box);
    QObject::connect(timer, &QTimer::timeout, edit, [timer, edit, missing, next = linesPerSlice]() mutable {
        QTextCursor end(edit->document());
        end.movePosition(QTextCursor::End);
        // Plain text: "U+003C <" must not be read as markup.
        end.insertText(QLatin1Char('\n') + slice(missing, next));
        next += linesPerSlice;
        if (next >= missing.size())
            timer->stop();
    });
    timer->start(0);
}
