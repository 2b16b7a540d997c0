#include "ModalDriver.h"
#include "charset/UnicodeBlockTable.h"
#include "dialog/VectorFontClipDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using ItemTexts = QMap<int, QString>; // list row -> its text

class TestUnicodeBlocks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableIsOrderedWithTheKnownGaps();
    void listItems_data();
    void listItems();
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

void TestUnicodeBlocks::listItems_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<ItemTexts>("texts");

    // Chinese shows the table's names and its own ranges (rows 1, 18-20, 56
    // and 102 differ from today's Unicode); English the part in parentheses.
    QTest::newRow("zh: the rows that differ from Unicode")
        << 0
        << ItemTexts{{0, "U+0001 - U+007F：C0控制符及基本拉丁文 (C0 Control and Basic Latin)"},
                     {17, "U+0800 - U+085F：阿维斯塔语及巴列维语 (Avestan and Pahlavi)"},
                     {18, "U+0860 - U+087F：Mandaic"},
                     {19, "U+0880 - U+08AF：撒马利亚语 (Samaritan)"},
                     {55, "U+1B80 - U+1BB0：巽他语 (Sundanese)"},
                     {101, "U+4E00 - U+9FBF：CJK 统一表意符号 (CJK Unified Ideographs)"}};
    QTest::newRow("en: parenthesised or English-only name")
        << 1
        << ItemTexts{{0, "U+0001 - U+007F：C0 Control and Basic Latin"}, {43, "U+1720 - U+173F：Hanunóo"}};
    QTest::newRow("any flag but 1 is Chinese") << 2 << ItemTexts{{114, "U+FFF0 - U+FFFF：特殊 (Specials)"}};
}

void TestUnicodeBlocks::listItems()
{
    QFETCH(int, useEnglish);
    QFETCH(ItemTexts, texts);
    VectorFontClipDialog dialog(useEnglish);
    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("blockList"));
    QCOMPARE(list->count(), 115);
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(list->item(it.key())->text(), it.value());
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem *item = list->item(i);
        QCOMPARE(item->data(Qt::UserRole).toUInt(), unicodeBlockTable[i].first);
        QCOMPARE(item->data(Qt::UserRole + 1).toUInt(), unicodeBlockTable[i].last);
        QVERIFY(item->flags().testFlag(Qt::ItemIsUserCheckable));
        QCOMPARE(item->checkState(), Qt::Unchecked);
        QCOMPARE(item->foreground(), QBrush(Qt::black, Qt::SolidPattern));
    }
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
