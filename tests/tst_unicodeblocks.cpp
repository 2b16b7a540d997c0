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
    void tableIsOrderedWithTheKnownGaps();
    void selectAllAndClearAll();
    void cleanup() { QTRY_VERIFY(noWindowLeftOpen()); }
};

void TestUnicodeBlocks::tableIsOrderedWithTheKnownGaps()
{
    QCOMPARE(int(std::size(unicodeBlockTable)), 115);
    QList<QPair<uint, uint>> gaps;
    uint total = 0;
    uint next = 1;
    for (const UnicodeBlock &block : unicodeBlockTable) {
        QVERIFY2(block.first >= next && block.first <= block.last, block.name); // ascending, no overlap
        if (block.first > next)
            gaps.append({next, block.first - 1});
        total += block.last - block.first + 1;
        next = block.last + 1;
    }
    QCOMPARE(total, 59104u);
    const QList<QPair<uint, uint>> expected = {{0x08B0, 0x08FF}, {0x18B0, 0x18FF}, {0x1A60, 0x1AFF},
                                               {0x1BB1, 0x1BFF}, {0x1C80, 0x1CFF}, {0x2400, 0x245F},
                                               {0x2C00, 0x2DFF}, {0x2FE0, 0x2FEF}, {0x3190, 0x319F},
                                               {0x9FC0, 0xABFF}, {0xD7B0, 0xDFFF}};
    QCOMPARE(gaps, expected);
}

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
