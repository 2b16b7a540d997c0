#include "ModalDriver.h"
#include "charset/UnicodeBlockTable.h"
#include "dialog/VectorFontClipDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

using Range = QPair<uint, uint>;

QListWidget *blockListOf(QWidget *dialog)
{
    return dialog->findChild<QListWidget *>(QStringLiteral("blockList"));
}

QList<Qt::CheckState> checkStates(QListWidget *list)
{
    QList<Qt::CheckState> states;
    for (int i = 0; i < list->count(); ++i)
        states.append(list->item(i)->checkState());
    return states;
}

} // namespace

class TestUnicodeBlocks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableIsOrderedWithTheKnownGaps();
    void rowsThatDifferFromUnicode_data();
    void rowsThatDifferFromUnicode();
    void itemTexts_data();
    void itemTexts();
    void itemsCarryRangeAndCheckBox();
    void selectAllAndClearAll();
    void cleanup();
};

void TestUnicodeBlocks::tableIsOrderedWithTheKnownGaps()
{
    QCOMPARE(int(std::size(unicodeBlockTable)), 115);
    QList<Range> gaps;
    uint total = 0;
    uint next = 1;
    for (const UnicodeBlock &block : unicodeBlockTable) {
        QVERIFY2(block.first <= block.last, block.name);
        QVERIFY2(block.first >= next, block.name); // ascending, no overlap
        if (block.first > next)
            gaps.append({next, block.first - 1});
        total += block.last - block.first + 1;
        next = block.last + 1;
        QVERIFY(!QString::fromUtf8(block.name).isEmpty());
    }
    QCOMPARE(next, 0x10000u);
    QCOMPARE(total, 59104u);
    const QList<Range> expected = {{0x08B0, 0x08FF}, {0x18B0, 0x18FF}, {0x1A60, 0x1AFF}, {0x1BB1, 0x1BFF},
                                   {0x1C80, 0x1CFF}, {0x2400, 0x245F}, {0x2C00, 0x2DFF}, {0x2FE0, 0x2FEF},
                                   {0x3190, 0x319F}, {0x9FC0, 0xABFF}, {0xD7B0, 0xDFFF}};
    QCOMPARE(gaps, expected);
}

void TestUnicodeBlocks::rowsThatDifferFromUnicode_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<uint>("first");
    QTest::addColumn<uint>("last");
    QTest::addColumn<QString>("name");

    QTest::newRow("1 starts at U+0001")
        << 1 << 0x0001u << 0x007Fu << "C0控制符及基本拉丁文 (C0 Control and Basic Latin)";
    QTest::newRow("18 Avestan at U+0800")
        << 18 << 0x0800u << 0x085Fu << "阿维斯塔语及巴列维语 (Avestan and Pahlavi)";
    QTest::newRow("19 Mandaic") << 19 << 0x0860u << 0x087Fu << "Mandaic";
    QTest::newRow("20 Samaritan") << 20 << 0x0880u << 0x08AFu << "撒马利亚语 (Samaritan)";
    QTest::newRow("56 ends at U+1BB0") << 56 << 0x1B80u << 0x1BB0u << "巽他语 (Sundanese)";
    QTest::newRow("102 ends at U+9FBF")
        << 102 << 0x4E00u << 0x9FBFu << "CJK 统一表意符号 (CJK Unified Ideographs)";
}

void TestUnicodeBlocks::rowsThatDifferFromUnicode()
{
    QFETCH(int, row);
    QFETCH(uint, first);
    QFETCH(uint, last);
    QFETCH(QString, name);
    const UnicodeBlock &block = unicodeBlockTable[row - 1];
    QCOMPARE(block.first, first);
    QCOMPARE(block.last, last);
    QCOMPARE(QString::fromUtf8(block.name), name);
}

void TestUnicodeBlocks::itemTexts_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("zh first") << 0 << 0
                              << "U+0001 - U+007F：C0控制符及基本拉丁文 (C0 Control and Basic Latin)";
    QTest::newRow("en first") << 1 << 0 << "U+0001 - U+007F：C0 Control and Basic Latin";
    QTest::newRow("zh digits and hyphens")
        << 0 << 1 << "U+0080 - U+00FF：C1控制符及拉丁文补充-1 (C1 Control and Latin 1 Supplement)";
    QTest::newRow("en apostrophe") << 1 << 16 << "U+07C0 - U+07FF：N'Ko";
    QTest::newRow("zh English-only name") << 0 << 18 << "U+0860 - U+087F：Mandaic";
    QTest::newRow("en English-only name") << 1 << 43 << "U+1720 - U+173F：Hanunóo";
    QTest::newRow("en hyphenated") << 1 << 78 << "U+27C0 - U+27EF：Miscellaneous Mathematical Symbols-A";
    QTest::newRow("zh CJK") << 0 << 101 << "U+4E00 - U+9FBF：CJK 统一表意符号 (CJK Unified Ideographs)";
    QTest::newRow("en space inside name") << 1 << 97 << "U+3200 - U+32FF：Enclosed CJK Letters and Months";
    QTest::newRow("zh last") << 0 << 114 << "U+FFF0 - U+FFFF：特殊 (Specials)";
    QTest::newRow("flag 2 is Chinese") << 2 << 114 << "U+FFF0 - U+FFFF：特殊 (Specials)";
}

void TestUnicodeBlocks::itemTexts()
{
    QFETCH(int, useEnglish);
    QFETCH(int, index);
    QFETCH(QString, text);
    VectorFontClipDialog dialog(useEnglish);
    QListWidget *list = blockListOf(&dialog);
    QCOMPARE(list->count(), 115);
    QCOMPARE(list->item(index)->text(), text);
}

void TestUnicodeBlocks::itemsCarryRangeAndCheckBox()
{
    VectorFontClipDialog dialog(1);
    QListWidget *list = blockListOf(&dialog);
    QCOMPARE(list->count(), 115);
    const Qt::ItemFlags flags = QListWidgetItem().flags() | Qt::ItemIsUserCheckable;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem *item = list->item(i);
        const QVariant first = item->data(Qt::UserRole);
        const QVariant last = item->data(Qt::UserRole + 1);
        QCOMPARE(first.metaType(), QMetaType::fromType<uint>());
        QCOMPARE(last.metaType(), QMetaType::fromType<uint>());
        QCOMPARE(first.toUInt(), unicodeBlockTable[i].first);
        QCOMPARE(last.toUInt(), unicodeBlockTable[i].last);
        QCOMPARE(item->type(), int(QListWidgetItem::Type));
        QCOMPARE(item->flags(), flags);
        QCOMPARE(item->checkState(), Qt::Unchecked);
        QCOMPARE(item->foreground(), QBrush(Qt::black, Qt::SolidPattern));
    }
    QCOMPARE(list->item(101)->data(Qt::UserRole).toUInt(), 0x4E00u);
    QCOMPARE(list->item(101)->data(Qt::UserRole + 1).toUInt(), 0x9FBFu);
}

void TestUnicodeBlocks::selectAllAndClearAll()
{
    VectorFontClipDialog dialog(0);
    QListWidget *list = blockListOf(&dialog);
    auto *selectAll = dialog.findChild<QPushButton *>(QStringLiteral("selectAllButton"));
    auto *clearAll = dialog.findChild<QPushButton *>(QStringLiteral("clearAllButton"));
    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("characterTabs"));
    const QList<Qt::CheckState> allChecked(115, Qt::Checked);
    const QList<Qt::CheckState> allUnchecked(115, Qt::Unchecked);

    // A block the user ticked by hand is kept by "select all" and dropped by
    // "clear all" like every other; neither touches the tab or the list size.
    list->item(7)->setCheckState(Qt::Checked);
    selectAll->click();
    QCOMPARE(checkStates(list), allChecked);
    list->item(3)->setCheckState(Qt::Unchecked);
    selectAll->click();
    QCOMPARE(checkStates(list), allChecked);
    clearAll->click();
    QCOMPARE(checkStates(list), allUnchecked);
    list->item(114)->setCheckState(Qt::Checked);
    clearAll->click();
    QCOMPARE(checkStates(list), allUnchecked);
    QCOMPARE(tabs->currentIndex(), 0);
}

void TestUnicodeBlocks::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestUnicodeBlocks)
#include "tst_unicodeblocks.moc"
