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

void TestUnicodeBlocks::itemTexts_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    // The Chinese rows show the table as it stands, including the rows whose
    // ranges are the tool's own rather than today's Unicode.
    QTest::newRow("zh 1 from U+0001")
        << 0 << 0 << "U+0001 - U+007F：C0控制符及基本拉丁文 (C0 Control and Basic Latin)";
    QTest::newRow("zh 2 digits and hyphens")
        << 0 << 1 << "U+0080 - U+00FF：C1控制符及拉丁文补充-1 (C1 Control and Latin 1 Supplement)";
    QTest::newRow("zh 18") << 0 << 17 << "U+0800 - U+085F：阿维斯塔语及巴列维语 (Avestan and Pahlavi)";
    QTest::newRow("zh 19 English only") << 0 << 18 << "U+0860 - U+087F：Mandaic";
    QTest::newRow("zh 20") << 0 << 19 << "U+0880 - U+08AF：撒马利亚语 (Samaritan)";
    QTest::newRow("zh 56 to U+1BB0") << 0 << 55 << "U+1B80 - U+1BB0：巽他语 (Sundanese)";
    QTest::newRow("zh 102 to U+9FBF")
        << 0 << 101 << "U+4E00 - U+9FBF：CJK 统一表意符号 (CJK Unified Ideographs)";
    QTest::newRow("flag 2 is Chinese") << 2 << 114 << "U+FFF0 - U+FFFF：特殊 (Specials)";
    QTest::newRow("en 1") << 1 << 0 << "U+0001 - U+007F：C0 Control and Basic Latin";
    QTest::newRow("en apostrophe") << 1 << 16 << "U+07C0 - U+07FF：N'Ko";
    QTest::newRow("en English only") << 1 << 43 << "U+1720 - U+173F：Hanunóo";
    QTest::newRow("en hyphenated") << 1 << 78 << "U+27C0 - U+27EF：Miscellaneous Mathematical Symbols-A";
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
