#include "ModalDriver.h"
#include "charset/TextCharacters.h"
#include "dialog/VectorFontClipDialog.h"

#include <QLabel>
#include <QTextEdit>
#include <QtTest>

using CodepointSet = QSet<uint>;
Q_DECLARE_METATYPE(CodepointSet)

namespace {

QString fromUcs4(std::initializer_list<char32_t> codepoints)
{
    return QString::fromUcs4(codepoints.begin(), qsizetype(codepoints.size()));
}

QString fromUnits(std::initializer_list<char16_t> units)
{
    return QString(reinterpret_cast<const QChar *>(units.begin()), qsizetype(units.size()));
}

// `count` different CJK ideographs, each once.
QString distinctIdeographs(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text.append(QChar(char16_t(0x4E00 + i)));
    return text;
}

} // namespace

class TestCustomText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countAndCollectedSet_data();
    void countAndCollectedSet();
    void label_data();
    void label();
    void cleanup();
};

// The count leaves white space out, the collected set keeps everything from
// U+0020 up; the rows are the places where the two differ or might be
// expected to.
void TestCustomText::countAndCollectedSet_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<CodepointSet>("collected");

    QTest::newRow("empty") << QString() << 0 << CodepointSet{};
    QTest::newRow("duplicates collapse") << "aab" << 2 << CodepointSet{'a', 'b'};
    QTest::newRow("space: collected, not counted") << "a b" << 2 << CodepointSet{'a', ' ', 'b'};
    QTest::newRow("line feed and tab: neither") << "A\nA\tB" << 2 << CodepointSet{'A', 'B'};
    QTest::newRow("only spaces and line breaks") << " \r\n \n" << 0 << CodepointSet{' '};
    QTest::newRow("ideographic space U+3000") << fromUcs4({0x3000}) << 0 << CodepointSet{0x3000};
    QTest::newRow("no-break space U+00A0") << fromUcs4({0xA0}) << 0 << CodepointSet{0xA0};
    QTest::newRow("U+007F: both") << fromUcs4({0x7F}) << 1 << CodepointSet{0x7F};
    QTest::newRow("C1 control U+0080: both") << fromUcs4({0x80}) << 1 << CodepointSet{0x80};
    QTest::newRow("U+0000 and U+001F: neither") << fromUcs4({0, 0x1F, 'x'}) << 1 << CodepointSet{'x'};
    QTest::newRow("case variants") << "Aa" << 2 << CodepointSet{'A', 'a'};
    QTest::newRow("full-width variant") << fromUcs4({'A', 0xFF21}) << 2 << CodepointSet{'A', 0xFF21};
    QTest::newRow("emoji is one character") << fromUcs4({0x1F600}) << 1 << CodepointSet{0x1F600};
    QTest::newRow("U+20BB7 twice beside its BMP cousin")
        << fromUcs4({0x20BB7, 0x5409, 0x20BB7}) << 2 << CodepointSet{0x20BB7, 0x5409};
    QTest::newRow("lone high surrogate")
        << fromUnits({u'a', 0xD83D, u'b'}) << 3 << CodepointSet{'a', 0xD83D, 'b'};
    QTest::newRow("lone low surrogate") << fromUnits({0xDE00}) << 1 << CodepointSet{0xDE00};
    QTest::newRow("low before high: two units")
        << fromUnits({0xDE00, 0xD83D}) << 2 << CodepointSet{0xDE00, 0xD83D};
    QTest::newRow("high surrogate ending the text after a pair")
        << fromUnits({0xD83D, 0xDE00, 0xD83D}) << 2 << CodepointSet{0x1F600, 0xD83D};
}

void TestCustomText::countAndCollectedSet()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(CodepointSet, collected);
    QCOMPARE(countUniqueCharacters(text), count);
    QCOMPARE(collectTextCodepoints(text), collected);
}

void TestCustomText::label_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");

    QTest::newRow("en") << 1 << "aab"
                        << "Unique characters: 2";
    QTest::newRow("zh") << 0 << "aab"
                        << "唯一字符数: 2";
    QTest::newRow("zh emoji") << 0 << fromUcs4({0x1F600, 0x1F600}) << "唯一字符数: 1";
    QTest::newRow("en white space only") << 1 << " \n\t"
                                         << "Unique characters: 0";
    QTest::newRow("en four digits") << 1 << distinctIdeographs(1234) << "Unique characters: 1234";
}

void TestCustomText::label()
{
    QFETCH(int, useEnglish);
    QFETCH(QString, text);
    QFETCH(QString, label);
    VectorFontClipDialog dialog(useEnglish);
    auto *edit = dialog.findChild<QTextEdit *>(QStringLiteral("customTextEdit"));
    auto *countLabel = dialog.findChild<QLabel *>(QStringLiteral("uniqueCountLabel"));
    edit->setPlainText(text);
    QCOMPARE(countLabel->text(), label);
    // Emptying the edit brings the label back to zero rather than keeping
    // the last count.
    edit->clear();
    QCOMPARE(countLabel->text(), QString(useEnglish == 1 ? "Unique characters: 0" : "唯一字符数: 0"));
}

void TestCustomText::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestCustomText)
#include "tst_customtext.moc"
