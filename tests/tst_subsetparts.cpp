#include "TestFonts.h"
#include "charset/TextCharacters.h"
#include "dialog/VectorFontClipDialog.h"
#include "subset/CheckedBlocks.h"
#include "subset/MissingCharacters.h"
#include "subset/OutputName.h"
#include "subset/TemporarySubsetPath.h"
#include "subset/UnicodesArgument.h"

#include <QListWidget>
#include <QRawFont>
#include <QRegularExpression>
#include <QtTest>

class TestSubsetParts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textArgument_data();
    void textArgument();
    void blockArgument();
    void outputName_data();
    void outputName();
    void temporaryNamesDiffer();
    void missingLookupAgreesWithOneByOne_data();
    void missingLookupAgreesWithOneByOne();
};

void TestSubsetParts::textArgument_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("argument");
    // clang-format off
    QTest::newRow("sorted by value, space kept") << "中A a" << "U+0020,U+0041,U+0061,U+4E2D";
    QTest::newRow("repeats collapse, neighbours not merged") << "CABBA" << "U+0041,U+0042,U+0043";
    QTest::newRow("upper-case hex digits") << "ÿ" << "U+00FF";
    QTest::newRow("above U+FFFF: five digits") << "😀z" << "U+007A,U+1F600";
    QTest::newRow("controls only: nothing") << "\t\r\n" << "";
    // clang-format on
}

void TestSubsetParts::textArgument()
{
    QFETCH(QString, text);
    QFETCH(QString, argument);
    QCOMPARE(formatUnicodesArgument(collectTextCodepoints(text)), argument);
}

void TestSubsetParts::blockArgument()
{
    VectorFontClipDialog dialog(1);
    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("blockList"));
    list->item(101)->setCheckState(Qt::Checked);
    list->item(3)->setCheckState(Qt::PartiallyChecked);
    list->item(0)->setCheckState(Qt::Checked);
    QSet<uint> requested;
    QCOMPARE(gatherCheckedBlocks(list, requested), QStringList({"U+0001-007F", "U+4E00-9FBF"}));
    QCOMPARE(requested.size(), 127 + 20928);
    QVERIFY(requested.contains(0x01) && requested.contains(0x9FBF) && !requested.contains(0x0180));

    // Rows the built-in table never has: reversed, and one ending at the top
    // of the unsigned range, where a careless loop would never stop.
    QListWidget odd;
    for (auto [first, last] : {std::pair<uint, uint>{0x50, 0x40}, {0xFFFFFFFEu, 0xFFFFFFFFu}}) {
        auto *item = new QListWidgetItem(&odd);
        item->setData(Qt::UserRole, first);
        item->setData(Qt::UserRole + 1, last);
        item->setCheckState(Qt::Checked);
    }
    requested.clear();
    QCOMPARE(gatherCheckedBlocks(&odd, requested), QStringList({"U+0050-0040", "U+FFFFFFFE-FFFFFFFF"}));
    QCOMPARE(requested, QSet<uint>({0xFFFFFFFEu, 0xFFFFFFFFu}));
}

void TestSubsetParts::outputName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fileName");
    // clang-format off
    QTest::newRow("spaces and punctuation go") << "  My Font!  " << "MyFont.ttf";
    QTest::newRow("suffix in any case kept") << "Font.TTF" << "Font.TTF";
    QTest::newRow("other suffix gets .ttf") << "Font.otf" << "Font.otf.ttf";
    QTest::newRow("doubled suffix reduced") << "Font.ttf.TTF" << "Font.ttf";
    QTest::newRow("Chinese kept") << "思源 黑体" << "思源黑体.ttf";
    QTest::newRow("no way out of the folder") << "../x\\y:z" << "..xyz.ttf";
    QTest::newRow("underscore, hyphen, digits; no emoji") << "12_my-font😀" << "12_my-font.ttf";
    QTest::newRow("punctuation only") << "!!!" << "";
    // clang-format on
}

void TestSubsetParts::outputName()
{
    QFETCH(QString, typed);
    QFETCH(QString, fileName);
    QCOMPARE(outputFileName(typed), fileName);
}

void TestSubsetParts::temporaryNamesDiffer()
{
    const QRegularExpression pattern(QStringLiteral("/vfc_subset_\\d{14}_[0-9a-f]{8}\\.ttf$"));
    QSet<QString> names;
    for (int i = 0; i < 20; ++i) {
        const QString path = temporarySubsetPath();
        QVERIFY2(path.startsWith(QDir::tempPath()) && pattern.match(path).hasMatch(), qPrintable(path));
        names.insert(path);
    }
    QCOMPARE(names.size(), 20); // all within a second or so
}

void TestSubsetParts::missingLookupAgreesWithOneByOne_data()
{
    QTest::addColumn<QString>("font");
    QTest::newRow("TrueType") << TestFonts::dejaVuSans();
    QTest::newRow("CFF") << TestFonts::nimbusSansOtf();
    QTest::newRow("collection") << TestFonts::wqyMicroHei();
}

void TestSubsetParts::missingLookupAgreesWithOneByOne()
{
    QFETCH(QString, font);
    // Every BMP value (surrogates and U+FEFF included) and some beyond.
    QSet<uint> requested{0x1F600, 0x20BB7, 0x10FFFF, 0x110000};
    for (uint codepoint = 1; codepoint <= 0xFFFF; ++codepoint)
        requested.insert(codepoint);

    // The plain way: one lookup per code point, each in a string of its own.
    const QRawFont raw(font, 16.0, QFont::PreferDefaultHinting);
    QSet<uint> expected;
    for (uint codepoint : requested) {
        const char32_t single = codepoint;
        const QString text =
            codepoint <= 0xFFFF ? QString(QChar(char16_t(codepoint))) : QString::fromUcs4(&single, 1);
        const QList<quint32> glyphs = raw.glyphIndexesForString(text);
        if (codepoint >= 0x20 && (glyphs.isEmpty() || glyphs.first() == 0))
            expected.insert(codepoint);
    }
    QVERIFY(!expected.isEmpty() && !expected.contains('A'));
    const QSet<uint> missing = findMissingCodepoints(font, requested);
    QCOMPARE(missing, expected);
    // A font that maps U+FEFF has it; no byte-order-mark handling may lose it.
    if (TestFonts::readCharacterMap(font).contains(0xFEFF))
        QVERIFY(!missing.contains(0xFEFF));
}

QTEST_MAIN(TestSubsetParts)
#include "tst_subsetparts.moc"
