#include "app/SubsetCommand.h"
#include "app/SubsetCommandLine.h"
#include "charset/UnicodeBlockTable.h"

#include <QtTest>

namespace {

// Ranges as "first-last" in hexadecimal, to keep the rows short.
QStringList rangeTexts(const QList<CodepointRange> &ranges)
{
    QStringList texts;
    for (const CodepointRange &range : ranges)
        texts.append(QString::number(range.first, 16) + '-' + QString::number(range.last, 16));
    return texts;
}

QList<int> rowsOf(const QList<bool> &flags)
{
    QList<int> rows;
    for (int i = 0; i < flags.size(); ++i) {
        if (flags.at(i))
            rows.append(i + 1);
    }
    return rows;
}

} // namespace

class TestSubsetCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requests_data();
    void requests();
    void usageErrors_data();
    void usageErrors();
    void messagesSpeakTheLastLanguage();
    void blockRows_data();
    void blockRows();
    void unicodeRanges_data();
    void unicodeRanges();
    void selectionArgument_data();
    void selectionArgument();
};

void TestSubsetCommandLine::requests_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("summary"); // font|output|force|english|texts|files|rows|ranges

    QTest::newRow("values after =, Chinese by default")
        << QStringList{"a.ttf", "--output-file= My Font!.otf", "--text=中A"}
        << "a.ttf| My Font!.otf|0|0|中A|||";
    QTest::newRow("every kind, repeated, adds up") << QStringList{"f",
                                                                  "--text=a",
                                                                  "--text-file=t",
                                                                  "--blocks=5,1",
                                                                  "--unicodes=4E2D",
                                                                  "--text=b",
                                                                  "--text-file=-",
                                                                  "--blocks=3",
                                                                  "--unicodes=U+0041-005A",
                                                                  "--output-file=o",
                                                                  "--force"}
                                                   << "f|o|1|0|a,b|t,-|1,3,5|4e2d-4e2d,41-5a";
    QTest::newRow("last --lang wins, any case")
        << QStringList{"--lang=EN", "f", "--lang=zh", "--output-file=o", "--lang", "En", "--text="}
        << "f|o|0|1||||";
    QTest::newRow("-- ends the options")
        << QStringList{"--output-file=o", "--text=x", "--", "--help"} << "--help|o|0|0|x|||";
}

void TestSubsetCommandLine::requests()
{
    QFETCH(QStringList, arguments);
    const SubsetCommandLine line = parseSubsetCommandLine(arguments);
    QCOMPARE(line.usageError, QString());
    QCOMPARE(line.action, SubsetCommandLine::Action::Subset);
    QStringList rows;
    for (int row : line.blockRows)
        rows.append(QString::number(row));
    const QStringList summary = {line.fontPath,
                                 line.outputPath,
                                 QString::number(line.force),
                                 QString::number(line.useEnglish),
                                 line.texts.join(','),
                                 line.textFiles.join(','),
                                 rows.join(','),
                                 rangeTexts(line.unicodeRanges).join(',')};
    QTEST(summary.join('|'), "summary");
}

void TestSubsetCommandLine::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error"); // "" for --help, which wins over any mistake

    const QStringList complete = {"f.ttf", "--output-file=o.ttf", "--text=a"};
    QTest::newRow("unknown option") << QStringList{"-en"} + complete << "Unknown option: -en";
    QTest::newRow("value missing at the end")
        << complete + QStringList{"--blocks"} << "Option --blocks needs a value.";
    QTest::newRow("empty output path")
        << QStringList{"f", "--output-file=", "--text=a"} << "Option --output-file needs a value.";
    QTest::newRow("unknown language")
        << complete + QStringList{"--lang=fr"} << "Unknown language \"fr\": use --lang=en or --lang=zh.";
    QTest::newRow("two fonts") << complete + QStringList{"g", "h"}
                               << "Only one font file may be given; also got: g h";
    QTest::newRow("no selection") << QStringList{"f", "--output-file=o"}
                                  << "No characters chosen: add --text, --text-file, --blocks or --unicodes.";
    QTest::newRow("first mistake counts")
        << QStringList{"--one", "--blocks=0", "--two"} << "Unknown option: --one";
    QTest::newRow("help wins") << QStringList{"--one", "--help"} << QString();
}

void TestSubsetCommandLine::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    const SubsetCommandLine english = parseSubsetCommandLine(QStringList{"--lang=en"} + arguments);
    const SubsetCommandLine chinese = parseSubsetCommandLine(arguments);
    if (error.isEmpty()) {
        QCOMPARE(english.action, SubsetCommandLine::Action::Help);
        return;
    }
    QCOMPARE(english.action, SubsetCommandLine::Action::UsageError);
    QCOMPARE(english.usageError, error);
    QCOMPARE(chinese.action, SubsetCommandLine::Action::UsageError);
    QVERIFY2(chinese.usageError != error && !chinese.usageError.isEmpty(), qPrintable(chinese.usageError));
}

void TestSubsetCommandLine::messagesSpeakTheLastLanguage()
{
    // Decided for the whole line, also when the switch follows the mistake
    // or the message was made while a list was read.
    QCOMPARE(parseSubsetCommandLine({"--blocks=0", "--lang=zh", "--lang=en"}).usageError,
             QStringLiteral(
                 "Invalid block row \"0\" in --blocks: rows are 1 to 115, ranges such as 3-5, or all."));
    QCOMPARE(parseSubsetCommandLine({"--lang=en", "--bogus", "--lang=zh"}).usageError,
             QStringLiteral("未知选项: --bogus"));
}

void TestSubsetCommandLine::blockRows_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QList<int>>("rows"); // empty: refused

    QList<int> all;
    for (int row = 1; row <= unicodeBlockCount; ++row)
        all.append(row);
    QTest::newRow("rows, ranges and repeats, spaced") << " 102,3 - 5,4,, 1" << QList<int>{1, 3, 4, 5, 102};
    QTest::newRow("first and last rows") << "1-1,115" << QList<int>{1, 115};
    QTest::newRow("all, any case") << "ALL,3" << all;
    QTest::newRow("row 0") << "0" << QList<int>();
    QTest::newRow("past the end") << "1,110-116" << QList<int>();
    QTest::newRow("nothing") << " , " << QList<int>();
}

void TestSubsetCommandLine::blockRows()
{
    QFETCH(QString, list);
    QFETCH(QList<int>, rows);

    QList<bool> flags(unicodeBlockCount, false);
    flags[9] = true; // from an earlier --blocks; never taken away, and a refused list adds nothing
    QString error;
    QCOMPARE(parseBlockRows(list, 1, &flags, &error), !rows.isEmpty());
    QCOMPARE(error.isEmpty(), !rows.isEmpty());
    if (!rows.contains(10)) {
        rows.append(10);
        std::sort(rows.begin(), rows.end());
    }
    QCOMPARE(rowsOf(flags), rows);
}

void TestSubsetCommandLine::unicodeRanges_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("ranges"); // empty: refused

    QTest::newRow("hb-subset's forms, any separators")
        << " U+4E2D,u+00ff\t0X1F600\n41-5A, U+4E00-U+9FBF "
        << QStringList{"4e2d-4e2d", "ff-ff", "1f600-1f600", "41-5a", "4e00-9fbf"};
    QTest::newRow("the whole code space") << "0-10FFFF" << QStringList{"0-10ffff"};
    QTest::newRow("above U+10FFFF") << "10FFFF-110000" << QStringList();
    QTest::newRow("reversed") << "5A-41" << QStringList();
    QTest::newRow("not hexadecimal") << "41,4G" << QStringList();
    QTest::newRow("spaced dash") << "41 - 5A" << QStringList();
    QTest::newRow("everything") << "*" << QStringList();
    QTest::newRow("nothing") << " ,, " << QStringList();
}

void TestSubsetCommandLine::unicodeRanges()
{
    QFETCH(QString, list);
    QFETCH(QStringList, ranges);

    QList<CodepointRange> found{{0x30, 0x39}};
    QString error;
    QCOMPARE(parseUnicodeRanges(list, 1, &found, &error), !ranges.isEmpty());
    QCOMPARE(error.isEmpty(), !ranges.isEmpty());
    QCOMPARE(rangeTexts(found), QStringList{"30-39"} + ranges);
}

void TestSubsetCommandLine::selectionArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("codepoints");

    // Each kind alone gives the value the window gives for the same choice.
    QTest::newRow("texts: single code points, ascending, once each")
        << QStringList{"--text=中A a", "--text=\tAa"} << "U+0020,U+0041,U+0061,U+4E2D" << 4;
    QTest::newRow("blocks: one range each, table order, neighbours apart")
        << QStringList{"--blocks=102,3,4"} << "U+0100-017F,U+0180-024F,U+4E00-9FBF" << 128 + 208 + 20928;
    QTest::newRow("blocks, then unicodes, then text")
        << QStringList{"--text=a", "--unicodes=10FFFE-10FFFF 41", "--blocks=115"}
        << "U+FFF0-FFFF,U+10FFFE-10FFFF,U+0041,U+0061" << 16 + 2 + 2;
}

void TestSubsetCommandLine::selectionArgument()
{
    QFETCH(QStringList, arguments);
    const SubsetCommandLine line = parseSubsetCommandLine(QStringList{"f", "--output-file=o"} + arguments);
    QCOMPARE(line.action, SubsetCommandLine::Action::Subset);
    SubsetSelection selection;
    QString error;
    QVERIFY2(gatherSubsetSelection(line, &selection, &error), qPrintable(error));
    QTEST(selection.unicodesArgument, "argument");
    QTEST(int(selection.codepoints.size()), "codepoints");
}

QTEST_APPLESS_MAIN(TestSubsetCommandLine)
#include "tst_subsetcommandline.moc"
