#include "ModalDriver.h"
#include "charset/UnicodeBlockTable.h"
#include "window/VectorFontClipDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using ItemTexts = QMap<int, QString>; // list row -> its text

class TestUnicodeBlocks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selectAllAndClearAll();
    void cleanup() { QTRY_VERIFY(noWindowLeftOpen()); }
};

void TestUnicodeBlocks::selectAllAndClearAll()
{
    VectorFontClipDialog dialog(0);
    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("blockList"));
    const auto states = [list] {
        QList<Qt::CheckState> states;
        for (int i = 0; i < list->count(); ++i)
            states.append(list->item(i)->checkState());
        return states;
    };
    // A mixed list each time, so that flipping every box would be caught.
    list->item(7)->setCheckState(Qt::Checked);
    dialog.findChild<QPushButton *>(QStringLiteral("selectAllButton"))->click();
    QCOMPARE(states(), QList<Qt::CheckState>(115, Qt::Checked));
    list->item(3)->setCheckState(Qt::Unchecked);
    dialog.findChild<QPushButton *>(QStringLiteral("clearAllButton"))->click();
    QCOMPARE(states(), QList<Qt::CheckState>(115, Qt::Unchecked));
}

QTEST_MAIN(TestUnicodeBlocks)
#include "tst_unicodeblocks.moc"
