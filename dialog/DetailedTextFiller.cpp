#include "dialog/DetailedTextFiller.h"

#include <QMessageBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace {

// About five milliseconds of layout each.
constexpr qsizetype linesPerSlice = 2000;

QString slice(const QStringList &lines, qsizetype from)
{
    return lines.mid(from, linesPerSlice).join(QLatin1Char('\n'));
}

} // namespace

void fillDetailedText(QMessageBox *box, const QStringList &lines)
{
    box->setDetailedText(slice(lines, 0));
    auto *edit = box->findChild<QTextEdit *>();
    if (lines.size() <= linesPerSlice)
        return;
    if (!edit) { // a box without its own text view: the whole text at once
        box->setDetailedText(lines.join(QLatin1Char('\n')));
        return;
    }
    edit->document()->setUndoRedoEnabled(false);
    // A child of the box: it ends with the box, however the box is closed.
    auto *timer = new QTimer(box);
    QObject::connect(timer, &QTimer::timeout, edit, [timer, edit, lines, next = linesPerSlice]() mutable {
        QTextCursor end(edit->document());
        end.movePosition(QTextCursor::End);
        // Plain text: "U+003C <" must not be read as markup.
        end.insertText(QLatin1Char('\n') + slice(lines, next));
        next += linesPerSlice;
        if (next >= lines.size())
            timer->stop();
    });
    timer->start(0);
}
