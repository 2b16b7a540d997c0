#include "app/SubsetCommandLine.h"
#include "charset/UnicodeBlockTable.h"

#include <QtTest>

using Action = SubsetCommandLine::Action;
Q_DECLARE_METATYPE(SubsetCommandLine::Action)

namespace {

// Ranges as "first-last" in hexadecimal, so that rows of expectations stay short.
QStringList rangeTexts(const QList<CodepointRange> &ranges)
{
    QStringList texts;
    for (const CodepointRange &range : ranges)
        texts.append(QString::number(range.first, 16) + QLatin1Char('-') + QString::number(range.last, 16));
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

QList<int> allRows()
{
    QList<int> rows;
    for (int row = 1; row <= unicodeBlockCount; ++row)
        rows.append(row);
    return rows;
}

} // namespace

class TestSubsetCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void subsetRequests_data();
    void subsetRequests();
    void answersWithoutSubset_data();
    void answersWithoutSubset();
    void usageErrors_data();
    void usageErrors();
    void messagesSpeakTheLastLanguage();
    void blockRows_data();
    void blockRows();
    void unicodeRanges_data();
    void unicodeRanges();
    void listingFollowsTheTable();
    void helpNamesEveryOption();
};

void TestSubsetCommandLine::subsetRequests_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("force");
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("textFiles");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QStringList>("ranges");

    QTest::newRow("values after =, Chinese by default")
        << QStringList{"a.ttf", "--output-file=out.ttf", "--text=中A"} << "a.ttf"
        << "out.ttf" << false << 0 << QStringList{"中A"} << QStringList() << QList<int>() << QStringList();
    QTest::newRow("values as the next argument")
        << QStringList{"--output-file", "o", "--text", "--lang=en", "--blocks", "2", "f.otf"} << "f.otf"
        << "o" << false << 0 << QStringList{"--lang=en"} << QStringList() << QList<int>{2} << QStringList();
    QTest::newRow("output path kept as given")
        << QStringList{"f", "--output-file= My Font!.otf", "--unicodes=41"} << "f"
        << " My Font!.otf" << false << 0 << QStringList() << QStringList() << QList<int>()
        << QStringList{"41-41"};
    QTest::newRow("every kind, repeated, adds up")
        << QStringList{"f",
                       "--text=a",
                       "--text-file=t1",
                       "--blocks=5,1",
                       "--unicodes=4E2D",
                       "--text=b",
                       "--text-file=-",
                       "--blocks=3",
                       "--unicodes=U+0041-005A",
                       "--output-file=o",
                       "--force"}
        << "f"
        << "o" << true << 0 << QStringList{"a", "b"} << QStringList{"t1", "-"} << QList<int>{1, 3, 5}
        << QStringList{"4e2d-4e2d", "41-5a"};
    QTest::newRow("an empty --text is a choice")
        << QStringList{"f", "--output-file=o", "--text="} << "f"
        << "o" << false << 0 << QStringList{""} << QStringList() << QList<int>() << QStringList();
    QTest::newRow("last --lang wins, any case")
        << QStringList{"--lang=EN", "f", "--lang=zh", "--output-file=o", "--lang", "En", "--text=x"} << "f"
        << "o" << false << 1 << QStringList{"x"} << QStringList() << QList<int>() << QStringList();
    QTest::newRow("-- makes the rest positional")
        << QStringList{"--output-file=o", "--text=x", "--", "--help.ttf"} << "--help.ttf"
        << "o" << false << 0 << QStringList{"x"} << QStringList() << QList<int>() << QStringList();
    QTest::newRow("a lone - is a font path")
        << QStringList{"-", "--output-file=o", "--blocks=all"} << "-"
        << "o" << false << 0 << QStringList() << QStringList() << allRows() << QStringList();
}

void TestSubsetCommandLine::subsetRequests()
{
    QFETCH(QStringList, arguments);
    const SubsetCommandLine line = parseSubsetCommandLine(arguments);
    QCOMPARE(line.usageError, QString());
    QCOMPARE(line.action, Action::Subset);
    QTEST(line.fontPath, "font");
    QTEST(line.outputPath, "output");
    QTEST(line.force, "force");
    QTEST(line.useEnglish, "useEnglish");
    QTEST(line.texts, "texts");
    QTEST(line.textFiles, "textFiles");
    QTEST(line.blockRows, "rows");
    QTEST(rangeTexts(line.unicodeRanges), "ranges");
}

void TestSubsetCommandLine::answersWithoutSubset_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<SubsetCommandLine::Action>("action");
    QTest::addColumn<int>("useEnglish");

    QTest::newRow("--help alone") << QStringList{"--help"} << Action::Help << 0;
    QTest::newRow("-h in English") << QStringList{"-h", "--lang=en"} << Action::Help << 1;
    QTest::newRow("help wins over a wrong line")
        << QStringList{"--bogus", "--blocks=999", "--help"} << Action::Help << 0;
    QTest::newRow("--version") << QStringList{"--version"} << Action::Version << 0;
    QTest::newRow("--version does not hide mistakes")
        << QStringList{"--version", "--bogus"} << Action::UsageError << 0;
    QTest::newRow("--list-blocks needs no font")
        << QStringList{"--list-blocks", "--lang=en"} << Action::ListBlocks << 1;
}

void TestSubsetCommandLine::answersWithoutSubset()
{
    QFETCH(QStringList, arguments);
    const SubsetCommandLine line = parseSubsetCommandLine(arguments);
    QTEST(line.action, "action");
    QTEST(line.useEnglish, "useEnglish");
    QCOMPARE(line.usageError.isEmpty(), line.action != Action::UsageError);
}

void TestSubsetCommandLine::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    const QStringList complete = {"f.ttf", "--output-file=o.ttf", "--text=a"};
    QTest::newRow("unknown long option") << QStringList{"--bogus"} + complete << "Unknown option: --bogus";
    QTest::newRow("unknown short option") << QStringList{"-x"} + complete << "Unknown option: -x";
    QTest::newRow("a window-style language switch is no option here")
        << QStringList{"-en"} + complete << "Unknown option: -en";
    QTest::newRow("value missing at the end")
        << complete + QStringList{"--blocks"} << "Option --blocks needs a value.";
    QTest::newRow("empty output path")
        << QStringList{"f", "--output-file=", "--text=a"} << "Option --output-file needs a value.";
    QTest::newRow("flag with a value")
        << complete + QStringList{"--force=yes"} << "Option --force takes no value.";
    QTest::newRow("unknown language")
        << complete + QStringList{"--lang=fr"} << "Unknown language \"fr\": use --lang=en or --lang=zh.";
    QTest::newRow("output twice") << complete + QStringList{"--output-file=p"}
                                  << "Option --output-file may be given only once.";
    QTest::newRow("no font") << QStringList{"--output-file=o", "--text=a"} << "No font file given.";
    QTest::newRow("two fonts") << complete + QStringList{"g.ttf", "h.ttf"}
                               << "Only one font file may be given; also got: g.ttf h.ttf";
    QTest::newRow("no output") << QStringList{"f", "--text=a"}
                               << "No output file given: add --output-file=PATH.";
    QTest::newRow("no selection") << QStringList{"f", "--output-file=o"}
                                  << "No characters chosen: add --text, --text-file, --blocks or --unicodes.";
    QTest::newRow("bad block row")
        << complete + QStringList{"--blocks=116"}
        << "Invalid block row \"116\" in --blocks: rows are 1 to 115, ranges such as "
           "3-5, or all.";
    QTest::newRow("bad code point") << complete + QStringList{"--unicodes=41,G1"}
                                    << "Invalid code point \"G1\" in --unicodes: use hexadecimal code points "
                                       "or ranges such as U+4E00-9FBF, "
                                       "up to 10FFFF.";
    QTest::newRow("first mistake is reported")
        << QStringList{"--one", "--two"} + complete << "Unknown option: --one";
}

void TestSubsetCommandLine::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    SubsetCommandLine line = parseSubsetCommandLine(QStringList{"--lang=en"} + arguments);
    QCOMPARE(line.action, Action::UsageError);
    QCOMPARE(line.usageError, error);

    line = parseSubsetCommandLine(arguments);
    QCOMPARE(line.action, Action::UsageError);
    QVERIFY(!line.usageError.isEmpty());
    QVERIFY2(line.usageError != error, "Chinese is the default language");
}

void TestSubsetCommandLine::messagesSpeakTheLastLanguage()
{
    // The switch after the mistake still decides, also for messages made
    // while the list of blocks was read.
    QCOMPARE(parseSubsetCommandLine({"--blocks=0", "--lang=zh", "--lang=en"}).usageError,
             QStringLiteral(
                 "Invalid block row \"0\" in --blocks: rows are 1 to 115, ranges such as 3-5, or all."));
    QCOMPARE(parseSubsetCommandLine({"--lang=en", "--bogus", "--lang=zh"}).usageError,
             QStringLiteral("未知选项: --bogus"));
}

void TestSubsetCommandLine::blockRows_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("single rows in any order") << "102,1" << true << QList<int>{1, 102};
    QTest::newRow("ranges and repeats collapse") << "3-5,4,5-6" << true << QList<int>{3, 4, 5, 6};
    QTest::newRow("spaces and stray commas") << " 1 , 3 - 4 ,, " << true << QList<int>{1, 3, 4};
    QTest::newRow("last row") << "115" << true << QList<int>{115};
    QTest::newRow("a one-row range") << "7-7" << true << QList<int>{7};
    QTest::newRow("all, any case, with more") << "ALL,3" << true << allRows();
    QTest::newRow("row 0") << "0" << false << QList<int>();
    QTest::newRow("row 116") << "1,116" << false << QList<int>();
    QTest::newRow("range past the end") << "110-120" << false << QList<int>();
    QTest::newRow("reversed range") << "5-3" << false << QList<int>();
    QTest::newRow("negative") << "-1" << false << QList<int>();
    QTest::newRow("not a number") << "latin" << false << QList<int>();
    QTest::newRow("sign") << "+3" << false << QList<int>();
    QTest::newRow("open range") << "3-" << false << QList<int>();
    QTest::newRow("huge number") << "99999999999" << false << QList<int>();
    QTest::newRow("nothing listed") << " , " << false << QList<int>();
}

void TestSubsetCommandLine::blockRows()
{
    QFETCH(QString, list);
    QFETCH(bool, ok);

    QList<bool> flags(unicodeBlockCount, false);
    flags[9] = true; // chosen by an earlier --blocks; never taken away
    QString error;
    QCOMPARE(parseBlockRows(list, 1, &flags, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    if (ok) {
        QFETCH(QList<int>, rows);
        rows.append(10);
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        QCOMPARE(rowsOf(flags), rows);
    } else {
        QCOMPARE(rowsOf(flags), QList<int>{10}); // a refused list adds nothing
    }
}

void TestSubsetCommandLine::unicodeRanges_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("ranges"); // empty: refused

    QTest::newRow("hb-subset's own forms") << "61,62,63" << QStringList{"61-61", "62-62", "63-63"};
    QTest::newRow("U+ and 0x prefixes, any case")
        << "U+4E2D,u+00ff,0X1F600" << QStringList{"4e2d-4e2d", "ff-ff", "1f600-1f600"};
    QTest::newRow("ranges, prefix on either end")
        << "U+0041-005A U+4E00-U+9FBF" << QStringList{"41-5a", "4e00-9fbf"};
    QTest::newRow("spaces, tabs and line breaks separate")
        << " 20\t41\n, 42 " << QStringList{"20-20", "41-41", "42-42"};
    QTest::newRow("the whole code space") << "0-10FFFF" << QStringList{"0-10ffff"};
    QTest::newRow("above U+10FFFF") << "110000" << QStringList();
    QTest::newRow("range above U+10FFFF") << "10FFFF-110000" << QStringList();
    QTest::newRow("seven digits") << "0000041" << QStringList();
    QTest::newRow("reversed range") << "5A-41" << QStringList();
    QTest::newRow("not hexadecimal") << "41,4G" << QStringList();
    QTest::newRow("decimal-looking name") << "U+" << QStringList();
    QTest::newRow("spaced range dash") << "41 - 5A" << QStringList();
    QTest::newRow("everything") << "*" << QStringList();
    QTest::newRow("nothing") << " ,, " << QStringList();
}

void TestSubsetCommandLine::unicodeRanges()
{
    QFETCH(QString, list);
    QFETCH(QStringList, ranges);

    QList<CodepointRange> found{{0x30, 0x39}};
    QString error;
    const bool ok = parseUnicodeRanges(list, 1, &found, &error);
    QCOMPARE(ok, !ranges.isEmpty());
    QCOMPARE(error.isEmpty(), ok);
    QCOMPARE(rangeTexts(found), QStringList{"30-39"} + ranges);
    if (list == QLatin1String("*"))
        QVERIFY2(error.contains(QLatin1String("0-10FFFF")), qPrintable(error));
}

void TestSubsetCommandLine::listingFollowsTheTable()
{
    for (int useEnglish : {0, 1}) {
        const QStringList lines =
            unicodeBlockListing(useEnglish).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), unicodeBlockCount);
        for (int row = 0; row < unicodeBlockCount; ++row) {
            const UnicodeBlock &block = unicodeBlockTable[row];
            const QStringList fields = lines.at(row).trimmed().split(QLatin1String("  "));
            QCOMPARE(fields.size(), 3);
            // The number printed is the number --blocks takes for this row.
            QList<bool> flags(unicodeBlockCount, false);
            QVERIFY(parseBlockRows(fields.at(0), 1, &flags, nullptr));
            QCOMPARE(rowsOf(flags), QList<int>{row + 1});
            QCOMPARE(fields.at(1),
                     codepointText(block.first) + QLatin1String(" - ") + codepointText(block.last));
            QCOMPARE(fields.at(2), unicodeBlockName(block, useEnglish));
        }
    }
    QVERIFY(unicodeBlockListing(1).contains(QLatin1String("102  U+4E00 - U+9FBF  CJK Unified Ideographs\n")));
}

void TestSubsetCommandLine::helpNamesEveryOption()
{
    const QStringList options = {"--output-file", "--text", "--text-file", "--blocks",
                                 "--unicodes",    "--lang", "--force",     "--list-blocks",
                                 "--help",        "-h",     "--version"};
    for (int useEnglish : {0, 1}) {
        const QString help = subsetCommandHelp(useEnglish);
        for (const QString &option : options) {
            QVERIFY2(help.contains(option), qPrintable(option));
            // Every option the help names is one the parser takes.
            const SubsetCommandLine line = parseSubsetCommandLine({option, QStringLiteral("1")});
            QVERIFY2(!line.usageError.startsWith(QLatin1String("Unknown")) &&
                         !line.usageError.startsWith(QStringLiteral("未知选项")),
                     qPrintable(option));
        }
    }
    QVERIFY(subsetCommandHelp(0) != subsetCommandHelp(1));
}

QTEST_APPLESS_MAIN(TestSubsetCommandLine)
#include "tst_subsetcommandline.moc"
