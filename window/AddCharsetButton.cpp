#include "window/AddCharsetButton.h"

#include "charset/StandardCharsets.h"
#include "common/UiText.h"

#include <QMenu>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <utility>

AddCharsetButton::AddCharsetButton(QTextEdit *target, std::function<FontFace()> currentFace, QWidget *parent)
    : QPushButton(uiText("Add character set", "添加字符集"), parent),
      target(target),
      currentFace(std::move(currentFace)),
      charsetMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("addCharsetButton"));
    charsetMenu->setObjectName(QStringLiteral("addCharsetMenu"));
    for (int set = 0; set < standardCharsetTotal(); ++set) {
        QAction *action = charsetMenu->addAction(standardCharsetName(set));
        action->setData(standardCharsetId(set));
        connect(action, &QAction::triggered, this, [this, set] { addCharset(set); });
    }
    // The font may change at any time; the figures are only needed when shown.
    connect(charsetMenu, &QMenu::aboutToShow, this, &AddCharsetButton::fillMenu);
    setMenu(charsetMenu);
}

void AddCharsetButton::fillMenu()
{
    const FontFace face = currentFace ? currentFace() : FontFace();
    const QList<int> coverage = face.path.isEmpty() ? QList<int>() : standardCharsetCoverage(face);
    const QList<QAction *> actions = charsetMenu->actions();
    for (int set = 0; set < actions.size(); ++set)
        actions.at(set)->setText(standardCharsetMenuText(set, coverage.value(set, -1)));
}

void AddCharsetButton::addCharset(int set)
{
    // The raw text keeps every character the user typed (toPlainText() turns
    // a no-break space into a space); its block separators are in no set.
    const QString addition = standardCharsetAddition(set, target->document()->toRawText());
    if (addition.isEmpty())
        return;
    QTextCursor cursor(target->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    cursor.insertText(addition);
    cursor.endEditBlock();
}
