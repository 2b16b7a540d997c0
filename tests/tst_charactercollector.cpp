#include "TestFiles.h"
#include "charset/CharacterCollector.h"
#include "charset/CodepointSet.h"
#include "charset/EscapedText.h"
#include "common/UiText.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// The distinct characters of a text, in code point order.
QString distinct(const QString &text)
{
    CodepointSet set;
    for (char32_t c : text.toUcs4())
        set.insert(c);
    return collectedText(set.toList());
}

bool makeFile(const QString &path, const QByteArray &content)
{
    return QDir().mkpath(QFileInfo(path).path()) && writeFile(path, content);
}

} // namespace

class TestCharacterCollector : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodesWhatAFileShows_data();
    void decodesWhatAFileShows();
    void collectsAProductTree();
    void patternsChooseTheFiles_data();
    void patternsChooseTheFiles();
    void cancelStopsTheWalk();
    void readsLegacyEncodingsWhenAsked_data();
    void readsLegacyEncodingsWhenAsked();
    void filesComeInTheOrderOfTheirNames_data();
    void filesComeInTheOrderOfTheirNames();
};

void TestCharacterCollector::decodesWhatAFileShows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("utf8");

    QTest::newRow("C literal, UTF-8 and \\u") << QByteArray(R"("温\u5EA6")") << "\"温度" << true;
    QTest::newRow("JSON surrogate pair is one character") << QByteArray(R"(\uD83D\uDE02)") << "😂" << true;
    QTest::newRow("lone surrogates dropped") << QByteArray(R"(a\uDE02\uD83Db)") << "ab" << true;
    QTest::newRow("braced and eight-digit escapes")
        << QByteArray(R"(\u{1F600}\U0001F601\u{41})") << "A😀😁" << true;
    QTest::newRow("decimal and hexadecimal references")
        << QByteArray("&#26408;&#x706B;&#X2F;") << "/木火" << true;
    QTest::newRow("no semicolon: plain text") << QByteArray("&#x41 &amp;") << " #&14;ampx" << true;
    QTest::newRow("escaped backslash is no escape") << QByteArray(R"(\\u0041)") << "\\0u14" << true;
    QTest::newRow("malformed escapes stay text") << QByteArray(R"(\u12G \u{} \u)") << " \\12Gu{}" << true;
    QTest::newRow("escaped controls, above U+10FFFF: nothing")
        << QByteArray(R"(\u000A\u0085&#127;&#x110000;\U00110000\u{110000})") << "" << true;
    QTest::newRow("line breaks, controls, BOM: nothing") << QByteArray("\xEF\xBB\xBF"
                                                                       "a\r\n\tb\xC2\x85\xE2\x80\xA8\x7F")
                                                         << "ab" << true;
    // 中 in GBK is D6 D0; C4 A3 would decode as U+0123 on its own.
    QTest::newRow("GBK: not even its ASCII and escapes")
        << QByteArray("ok\xC4\xA3\xD6\xD0\\u4E2D\n\xE6\x96\x87") << "" << false;
    QTest::newRow("overlong and surrogate encodings refused")
        << QByteArray("\xC0\xAF\xED\xA0\x80x\xF4\x90\x80\x80") << "" << false;
    // Each fault of a three-byte sequence on its own.
    QTest::newRow("overlong three bytes alone") << QByteArray("\xE0\x80\xAFx") << "" << false;
    QTest::newRow("third byte no continuation") << QByteArray("\xE4\xB8x") << "" << false;
    QTest::newRow("sequence cut off at the end") << QByteArray("y\xE6\x96") << "" << false;
    QTest::newRow("escapes cut off at the end stay text") << QByteArray(R"(\uD83D\uDE0)") << "\\uDE0" << true;
    QTest::newRow("too many digits: plain text")
        << QByteArray(R"(&#123456789; \u{1234567})") << "&#123456789; \\u{}" << true;
    QTest::newRow("byte-order mark inside is a character")
        << QByteArray("a\xEF\xBB\xBF") << "a\uFEFF" << true;
    QByteArray printable;
    for (char c = 0x20; c < 0x7F; ++c)
        printable += c;
    QTest::newRow("every printable character, not DEL or tab")
        << printable + "\x7F\t" << QString::fromLatin1(printable) << true;
    QTest::newRow("ampersand ending a file") << QByteArray("c&") << "c&" << true;
    QTest::newRow("backslash ending a file") << QByteArray("d\\") << "d\\" << true;
}

void TestCharacterCollector::decodesWhatAFileShows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(bool, utf8);
    CodepointSet found;
    // Held in exactly their size, so that a sanitizer build catches a read
    // past their end.
    const std::vector<char> held(bytes.begin(), bytes.end());
    QCOMPARE(collectEscapedText(QByteArrayView(held.data(), qsizetype(held.size())), &found), utf8);
    QCOMPARE(collectedText(found.toList()), distinct(expected));
}

void TestCharacterCollector::collectsAProductTree()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir tree(root.path());
    // What each file adds; the files adding nothing are skipped.
    const QList<std::pair<QString, QByteArray>> files = {
        {"src/main.c", R"("温度\u00B0\U0001F600")"},
        {"src/legacy.c", "/*\xD6\xD0"},
        {"i18n/zh.json", R"({"k":"\uD83D\uDE02漢"})"},
        {"web/index.html", "<p>&#26408;&#x706B;</p>"},
        {"i18n/app_zh.ts", "<source>Save</source><translation>保存</translation>"},
        {"src/data.txt", QByteArray("skipped\0as binary", 17)},
        {".git/notes.txt", "隐"},
        {"node_modules/pkg/index.js", "模"},
        {"assets/logo.bin", "外"},
    };
    for (const auto &[name, content] : files)
        QVERIFY(makeFile(tree.filePath(name), content));
    QFile huge(tree.filePath("src/huge.txt"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(64 * 1024 * 1024 + 1));
    huge.close();
    QCOMPARE(::mkfifo(QFile::encodeName(tree.filePath("src/pipe.txt")).constData(), 0600), 0);
    QVERIFY(QFile::link(".", tree.filePath("src/again")));
    QVERIFY(QFile::link("self.txt", tree.filePath("web/self.txt")));
    QVERIFY(QFile::link("gone.txt", tree.filePath("web/stale.txt"))); // merely stale: not counted
    const auto hardLink = [&tree](const char *from, const char *to) {
        return ::link(QFile::encodeName(tree.filePath(from)), QFile::encodeName(tree.filePath(to))) == 0;
    };
    // The same file by two more names counts once.
    QVERIFY(QFile::link("main.c", tree.filePath("src/linked.c")));
    QVERIFY(hardLink("src/main.c", "src/hard.c"));
    // Named by the first of its names in list order.
    QVERIFY(hardLink("src/legacy.c", "src/old.c"));

    const CharacterCollection found = collectCharacters({root.path()}, CollectionPatterns());
    QCOMPARE(collectedText(found.codepoints),
             distinct("\"温度°😀{k:😂漢}<p>木火</p><source>Save</source><translation>保存</translation>"));
    QCOMPARE(found.filesRead, 4);
    QCOMPARE(found.notUtf8, QStringList{"src/legacy.c"});
    const int skipped[] = {1, 1, 1, 0, 2};
    for (int kind = 0; kind < CharacterCollection::SkipKinds; ++kind)
        QCOMPARE(found.skipped[kind], skipped[kind]);
    QCOMPARE(found.skippedExample[CharacterCollection::SymlinkLoop], "src/again");
    QVERIFY(!found.cancelled);
}

void TestCharacterCollector::patternsChooseTheFiles_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("include");
    QTest::addColumn<QStringList>("exclude");
    QTest::addColumn<QString>("expected");

    const QStringList all = CollectionPatterns::defaultIncludePatterns();
    QTest::newRow("defaults") << QStringList{"."} << all << QStringList() << "Habcd";
    QTest::newRow("folder excluded by name") << QStringList{"."} << all << QStringList{"BUILD"} << "Habd";
    QTest::newRow("files excluded by glob")
        << QStringList{"."} << all << QStringList{"*.min.*", "b.*"} << "Hac";
    QTest::newRow("include replaces the defaults, in capitals")
        << QStringList{"."} << QStringList{"*.DAT"} << QStringList() << "e";
    QTest::newRow("suffix excluded in other letter case")
        << QStringList{"."} << all << QStringList{"*.mD", "*.TXT"} << "d";
    QTest::newRow("hidden folder and node_modules named explicitly")
        << QStringList{".hidden", "node_modules"} << all << QStringList() << "fg";
    QTest::newRow("a named file is read whatever its name")
        << QStringList{"e.dat"} << all << QStringList() << "e";
}

void TestCharacterCollector::patternsChooseTheFiles()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, include);
    QFETCH(QStringList, exclude);
    QFETCH(QString, expected);
    QTemporaryDir root;
    const QDir tree(root.path());
    for (const char *name :
         {"a.txt", "b.md", "build/c.txt", "d.min.js", "e.dat", ".hidden/f.txt", "node_modules/g.txt", "H.Md"})
        QVERIFY(makeFile(tree.filePath(name), QByteArray(1, QFileInfo(name).baseName().at(0).toLatin1())));
    for (QString &path : paths)
        path = tree.filePath(path);
    const CharacterCollection found = collectCharacters(paths, CollectionPatterns{include, exclude});
    QCOMPARE(collectedText(found.codepoints), expected);
}

void TestCharacterCollector::cancelStopsTheWalk()
{
    QTemporaryDir root;
    for (int i = 0; i < 100; ++i)
        QVERIFY(makeFile(QDir(root.path()).filePath(QStringLiteral("%1.txt").arg(i)), "x"));
    // Several threads read at once: each may finish the file it has begun.
    std::atomic<bool> cancel = false;
    std::atomic<qint64> reportedBytes = 0;
    const CharacterCollection found =
        collectCharacters({root.path()}, CollectionPatterns(), &cancel, [&](int, qint64 bytes) {
            reportedBytes = bytes;
            cancel = true;
        });
    QVERIFY(found.cancelled);
    QVERIFY2(found.filesRead >= 1 && found.filesRead <= QThread::idealThreadCount(),
             qPrintable(QString::number(found.filesRead)));
    QVERIFY(reportedBytes > 0);
}

void TestCharacterCollector::filesComeInTheOrderOfTheirNames_data()
{
    QTest::addColumn<QByteArrayList>("names"); // as the system takes them
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("UTF-16 order: characters past U+FFFF before U+FF5A")
        << QByteArrayList{"ｚ.c", "😀.c", "z.c"} << QStringList{"z.c", "😀.c", "ｚ.c"};
    QTest::newRow("a long shared start, a name beginning another")
        << QByteArrayList{"translation_b.c", "translation_ab.c", "translation.c", "translation_a.c", "AB.c"}
        << QStringList{"AB.c", "translation.c", "translation_a.c", "translation_ab.c", "translation_b.c"};
    const QString unknown = QFile::decodeName("\xFF");
    QTest::newRow("a name not in UTF-8")
        << QByteArrayList{"\xFF\xFE.txt"} << QStringList{unknown + unknown + ".txt"};
    QTest::newRow("a folder's name in GBK")
        << QByteArrayList{"\xB2\xE2/a.txt"} << QStringList{QFile::decodeName("\xB2\xE2") + "/a.txt"};
    QTest::newRow("two names alike once decoded")
        << QByteArrayList{"\xFF.txt", "\xFE.txt"} << QStringList{unknown + ".txt", unknown + ".txt"};
}

// Each file has a valid line, its number, and a broken one: it adds nothing,
// and the summary names the first of the files not in UTF-8.
void TestCharacterCollector::filesComeInTheOrderOfTheirNames()
{
    QFETCH(QByteArrayList, names);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    // Neither QFile nor QTemporaryDir can reach names that are not UTF-8.
    const std::string folder = QFile::encodeName(root.path()).toStdString();
    const auto removal = qScopeGuard([&folder] { std::filesystem::remove_all(folder); });
    QString numbers;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const std::filesystem::path path = folder + "/" + names[i].toStdString();
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << i << "\n\xFF";
        numbers += QString::number(i);
    }
    const CharacterCollection found = collectCharacters({root.path()}, CollectionPatterns());
    QCOMPARE(found.notUtf8, expected);
    QCOMPARE(collectedText(found.codepoints), "");
}

void TestCharacterCollector::readsLegacyEncodingsWhenAsked_data()
{
    QTest::addColumn<QString>("encoding"); // empty: none
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("summary");

    // The bytes as iconv writes 温度 / 溫度, then an escape of 中 written with a backslash.
    const QByteArray escape = R"( "\u4E2D")";
    const QString found = "Found %1 distinct characters in 2 files";
    QTest::newRow("GB18030") << "gb18030" << QByteArray("\xCE\xC2\xB6\xC8") + escape << "温度 \"中木"
                             << found.arg(6) + " (1 read as GB18030)";
    QTest::newRow("Big5") << "BIG5" << QByteArray("\xB7\xC5\xAB\xD7") + escape << "溫度 \"中木"
                          << found.arg(6) + " (1 read as Big5)";
    QTest::newRow("Shift_JIS keeps its backslash")
        << "shift_jis" << QByteArray("\x89\xB7\x93\x78") + escape << "温度 \"中木"
        << found.arg(6) + " (1 read as Shift_JIS)";
    QTest::newRow("none: named, adds nothing")
        << "" << QByteArray("\xCE\xC2\xB6\xC8") + escape << "木"
        << "Found 1 distinct character in 1 file; skipped 1 not UTF-8 (e.g. legacy.c)";
    QTest::newRow("not text in the one asked for either")
        << "gb18030" << QByteArray("ok \xFF") << "木"
        << "Found 1 distinct character in 1 file; skipped 1 neither UTF-8 nor GB18030 (e.g. legacy.c)";
}

void TestCharacterCollector::readsLegacyEncodingsWhenAsked()
{
    QFETCH(QString, encoding);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(QString, summary);
    QTemporaryDir root;
    QVERIFY(makeFile(root.filePath("legacy.c"), bytes));
    // UTF-8 stays UTF-8 whatever the fallback: 木 in GB18030 bytes would be another character.
    QVERIFY(makeFile(root.filePath("utf8.txt"), "木"));
    CollectionPatterns patterns;
    QVERIFY(encoding.isEmpty() || sourceEncodingFromName(encoding, &patterns.legacyEncoding));
    setUiEnglish(true);
    const CharacterCollection collection = collectCharacters({root.path()}, patterns);
    QCOMPARE(collectedText(collection.codepoints), distinct(expected));
    QCOMPARE(collectionSummary(collection), summary);
    setUiEnglish(false);
}

QTEST_GUILESS_MAIN(TestCharacterCollector)
#include "tst_charactercollector.moc"
