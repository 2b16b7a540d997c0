#include "TestFiles.h"
#include "TestFonts.h"
#include "charset/StandardCharsets.h"
#include "cli/SubsetCommand.h"
#include "cli/SubsetCommandLine.h"

#include <QTemporaryDir>
#include <QtTest>

class TestStandardCharsets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void setsHoldTheirCharacters_data();
    void setsHoldTheirCharacters();
    void generatorReproducesTheTable();
    void coverageMatchesTheCharacterMap_data();
    void coverageMatchesTheCharacterMap();
    void commandLineTakesCharsets_data();
    void commandLineTakesCharsets();
    void commandLineKeepsTheSets();

private:
    QTemporaryDir directory;
    QString cutCjk; // WenQuanYi Micro Hei cut down to a few hundred ideographs and ASCII
};

void TestStandardCharsets::initTestCase()
{
    QVERIFY(directory.isValid());
    cutCjk = directory.filePath(QStringLiteral("cut.ttf"));
    QString error;
    QVERIFY2(TestFonts::cutFont(TestFonts::wqyMicroHei(), QStringLiteral("20-7E,4E00-4FFF,9F00-9FFF,3000"),
                                cutCjk, &error),
             qPrintable(error));
}

// Counts as announced; first and last in the set's own order; members and
// non-members as the Debian files list them (Unihan_OtherMappings.txt for
// kTGH, kGB0, kBigFive, kJoyoKanji; the GB2312, EUC-JP, EUC-KR charmaps).
void TestStandardCharsets::setsHoldTheirCharacters_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("count");
    QTest::addColumn<uint>("first");
    QTest::addColumn<uint>("last");
    QTest::addColumn<QList<uint>>("members");
    QTest::addColumn<QList<uint>>("nonMembers");

    QTest::newRow("tgh1: TGH 1 一 to 3500 矗; 3501 乂 is level 2")
        << "tgh1" << 3500 << 0x4E00u << 0x77D7u << QList<uint>{0x4E59} << QList<uint>{0x4E42};
    QTest::newRow("tgh2: TGH 3501 乂 to 6500 齉; 4004 is U+2C27C")
        << "tgh2" << 3000 << 0x4E42u << 0x9F49u << QList<uint>{0x2C27C} << QList<uint>{0x77D7, 0x4E8D};
    QTest::newRow("tgh3: TGH 6501 亍 to 8105 蠼; 6506 is U+20676")
        << "tgh3" << 1605 << 0x4E8Du << 0x883Cu << QList<uint>{0x20676} << QList<uint>{0x9F49};
    QTest::newRow("gb2312: A1A1 U+3000 to F7FE 齄; A1A4 is U+30FB, not U+00B7; 們 absent")
        << "gb2312" << 7445 << 0x3000u << 0x9F44u << QList<uint>{0x30FB, 0x4EEC}
        << QList<uint>{0xB7, 0x5011, 'A'};
    QTest::newRow("gb2312-1: kGB0 1601 啊 to 5589 座; 5601 亍 is level 2")
        << "gb2312-1" << 3755 << 0x554Au << 0x5EA7u << QList<uint>{0x4EEC} << QList<uint>{0x4E8D, 0x3000};
    QTest::newRow("big5-1: A440 一 to C67E 籲; C940 乂 is level 2")
        << "big5-1" << 5401 << 0x4E00u << 0x7C72u << QList<uint>{0x5011} << QList<uint>{0x4E42, 0x5159};
    QTest::newRow("big5: A440 一 to F9D5 龘; A259 兙 lies outside")
        << "big5" << 13053 << 0x4E00u << 0x9F98u << QList<uint>{0x7C72, 0x4E42} << QList<uint>{0x5159};
    QTest::newRow("joyo: official 剝 U+525D, 𠮟 U+20B9F and everyday 剥, 叱; 们 absent")
        << "joyo" << 2140 << 0x4E00u << 0x20B9Fu << QList<uint>{0x525D, 0x5265, 0x53F1, 0x20B9F}
        << QList<uint>{0x4EEC};
    QTest::newRow("jis0208: A1A1 U+3000 to F4A6 熙; half-width kana and JIS X 0212 left out")
        << "jis0208" << 6879 << 0x3000u << 0x7199u << QList<uint>{0x5265} << QList<uint>{0xFF61, 0x2D8};
    QTest::newRow("ksx1001-hangul: B0A1 가 to C8FE 힝; 갂 is not in KS X 1001")
        << "ksx1001-hangul" << 2350 << 0xAC00u << 0xD79Du << QList<uint>{0xAC01}
        << QList<uint>{0xAC02, 0x3131};
    QTest::newRow("ascii: space to tilde")
        << "ascii" << 95 << 0x20u << 0x7Eu << QList<uint>{'A'} << QList<uint>{0x1F, 0x7F};
    QTest::newRow("cjk-punct: ideographic space first, ellipsis last")
        << "cjk-punct" << 115 << 0x3000u << 0x2026u << QList<uint>{0x3011, 0xFF5E, 0xB7}
        << QList<uint>{0x3004, 0xFF5F, 0x2015};
}

void TestStandardCharsets::setsHoldTheirCharacters()
{
    QFETCH(QString, id);
    QFETCH(int, count);
    QFETCH(QList<uint>, members);
    QFETCH(QList<uint>, nonMembers);

    const int set = findStandardCharset(id);
    QVERIFY(set >= 0);
    const QList<uint> &characters = standardCharsetCharacters(set);
    QCOMPARE(characters.size(), count);
    QTEST(characters.first(), "first");
    QTEST(characters.last(), "last");
    const QSet<uint> unique(characters.cbegin(), characters.cend());
    QCOMPARE(unique.size(), count);
    for (uint member : members)
        QVERIFY2(unique.contains(member), qPrintable(QString::number(member, 16)));
    for (uint nonMember : nonMembers)
        QVERIFY2(!unique.contains(nonMember), qPrintable(QString::number(nonMember, 16)));
}

void TestStandardCharsets::generatorReproducesTheTable()
{
    for (const char *source :
         {"/usr/share/unicode/Unihan_OtherMappings.txt.bz2", "/usr/share/i18n/charmaps/GB2312.gz",
          "/usr/share/i18n/charmaps/EUC-JP.gz", "/usr/share/i18n/charmaps/EUC-KR.gz", "/usr/bin/python3"}) {
        if (!QFile::exists(source))
            QSKIP(qPrintable(source + QStringLiteral(" is not installed (unicode-data, locales, python3)")));
    }
    const QString output = directory.filePath(QStringLiteral("StandardCharsetData.cpp"));
    const ProgramRun generator =
        runProgram("/usr/bin/python3", {VFC_SOURCE_DIR "/charset/generate_charsets.py", "--output", output});
    QVERIFY2(generator.exitCode == 0, qPrintable(generator.err));
    QVERIFY2(readFile(output) == readFile(VFC_SOURCE_DIR "/charset/StandardCharsetData.cpp"),
             "the checked-in table differs from the generator's");
}

void TestStandardCharsets::coverageMatchesTheCharacterMap_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("face");

    QTest::newRow("WenQuanYi Micro Hei, first face") << TestFonts::wqyMicroHei() << 0;
    QTest::newRow("WenQuanYi Micro Hei, second face") << TestFonts::wqyMicroHei() << 1;
    QTest::newRow("cut with gaps") << cutCjk << 0;
    QTest::newRow("no CJK at all (CFF)") << TestFonts::nimbusSansOtf() << 0;
    QTest::newRow("no font") << QStringLiteral(VFC_SOURCE_DIR "/charset/StandardCharsets.h") << 0;
    QTest::newRow("nothing there") << directory.filePath(QStringLiteral("absent.ttf")) << 0;
}

void TestStandardCharsets::coverageMatchesTheCharacterMap()
{
    QFETCH(QString, path);
    QFETCH(int, face);
    const QSet<uint> map = TestFonts::readCharacterMap(path, face);
    QList<int> expected;
    for (int set = 0; !map.isEmpty() && set < standardCharsetTotal(); ++set) {
        int covered = 0;
        for (uint codepoint : standardCharsetCharacters(set))
            covered += map.contains(codepoint) ? 1 : 0;
        expected.append(covered);
    }
    QCOMPARE(standardCharsetCoverage(FontFace{path, face}), expected);
}

void TestStandardCharsets::commandLineTakesCharsets_data()
{
    QTest::addColumn<QStringList>("arguments"); // after --lang=en
    QTest::addColumn<QString>("outcome");       // font|charsets, or the error

    QTest::newRow("several options add up, each set once, in the order given")
        << QStringList{"f", "--output-file=o", "--charset=gb2312, ascii", "--charset", "ascii,tgh1,"}
        << "f|gb2312,ascii,tgh1";
    QTest::newRow("a set alone is a selection")
        << QStringList{"f", "--output-file=o", "--charset=joyo"} << "f|joyo";
    QTest::newRow("unknown id names it and the valid ones")
        << QStringList{"f", "--output-file=o", "--charset=ascii,GB2312"}
        << "Unknown character set \"GB2312\" in --charset; valid ids: tgh1, tgh2, tgh3, gb2312, gb2312-1, "
           "big5-1, big5, joyo, jis0208, ksx1001-hangul, ascii, cjk-punct";
    QTest::newRow("no id") << QStringList{"--charset= , "} << "Option --charset lists no set.";
    QTest::newRow("empty value") << QStringList{"--charset="} << "Option --charset needs a value.";
    QTest::newRow("listing without a font") << QStringList{"--list-charsets"} << "|";
    QTest::newRow("listing with a font") << QStringList{"--list-charsets", "f"} << "f|";
    QTest::newRow("listing takes one font") << QStringList{"f", "--list-charsets", "g"}
                                            << "--list-charsets takes at most one font file; also got: g";
}

void TestStandardCharsets::commandLineTakesCharsets()
{
    QFETCH(QStringList, arguments);
    const SubsetCommandLine line = parseSubsetCommandLine(QStringList{"--lang=en"} + arguments);
    const bool parsed = line.action == SubsetCommandLine::Action::Subset ||
                        line.action == SubsetCommandLine::Action::ListCharsets;
    QTEST(parsed ? line.fontPath + '|' + line.charsets.join(',') : line.usageError, "outcome");
}

// What --list-charsets reports is what the font holds, and a run keeps each
// set's characters that the font has, added up with the other selections.
void TestStandardCharsets::commandLineKeepsTheSets()
{
    const QSet<uint> source = TestFonts::readCharacterMap(cutCjk);
    const QStringList lines = QString::fromUtf8(runProgram("vfc-subset", {"--list-charsets", cutCjk}).out)
                                  .split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), standardCharsetTotal());
    for (const QString &line : lines) {
        const QStringList columns = line.split(' ', Qt::SkipEmptyParts);
        const QList<uint> &characters = standardCharsetCharacters(findStandardCharset(columns.value(0)));
        int covered = 0;
        for (uint codepoint : characters)
            covered += source.contains(codepoint) ? 1 : 0;
        QCOMPARE(columns.value(1).toInt(), characters.size());
        QCOMPARE(columns.value(2).toInt(), covered);
    }

    const QString notAFont = QStringLiteral(VFC_SOURCE_DIR "/README.md");
    const ProgramRun refused = runProgram("vfc-subset", {"--list-charsets", notAFont, "--lang=en"});
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(refused.err, "vfc-subset: Cannot read a font from " + notAFont + '\n');

    const QString output = directory.filePath(QStringLiteral("kept.ttf"));
    const ProgramRun run =
        runProgram("vfc-subset", {cutCjk, "--output-file=" + output, "--charset=gb2312-1,cjk-punct",
                                  "--unicodes=41", "--lang=en"});
    const QString &note = run.err;
    QCOMPARE(run.exitCode, 0);
    QSet<uint> requested{'A'};
    for (const QString &id : {QStringLiteral("gb2312-1"), QStringLiteral("cjk-punct")}) {
        for (uint codepoint : standardCharsetCharacters(findStandardCharset(id)))
            requested.insert(codepoint);
    }
    QCOMPARE(TestFonts::readCharacterMap(output), requested & source);
    // The user asked for whole sets and learns how much of them the font lacks.
    QVERIFY2(
        note.startsWith(QStringLiteral("Note: %1 requested characters").arg((requested - source).size())),
        qPrintable(note));
}

QTEST_GUILESS_MAIN(TestStandardCharsets)
#include "tst_standardcharsets.moc"
