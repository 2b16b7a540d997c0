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
    void charactersFoundBeforeArePassedOver_data();
    void charactersFoundBeforeArePassedOver();
    void collectsAProductTree();
    void patternsChooseTheFiles_data();
    void patternsChooseTheFiles();
    void cancelStopsTheWalk();
    void filesComeInTheOrderOfTheirNames_data();
    void filesComeInTheOrderOfTheirNames();
    void summaryWording_data();
    void summaryWording();
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
    QTest::newRow("GBK line keeps ASCII and escapes only")
        << QByteArray("ok\xC4\xA3\xD6\xD0\\u4E2D\n\xE6\x96\x87") << "ok中文" << false;
    QTest::newRow("overlong and surrogate encodings refused")
        << QByteArray("\xC0\xAF\xED\xA0\x80x\xF4\x90\x80\x80") << "x" << false;
    // Three-byte sequences are checked by a shortcut: each fault on its own.
    QTest::newRow("encoded surrogate alone") << QByteArray("\xED\xA0\x80x") << "x" << false;
    QTest::newRow("overlong three bytes alone") << QByteArray("\xE0\x80\xAFx") << "x" << false;
    QTest::newRow("third byte no continuation") << QByteArray("\xE4\xB8x") << "x" << false;
    QTest::newRow("sequence cut off at the end") << QByteArray("y\xE6\x96") << "y" << false;

    // Plain ASCII is skipped sixteen bytes at a time: the edges of a block.
    QByteArray printable;
    for (char c = 0x20; c < 0x7F; ++c)
        printable += c;
    QTest::newRow("every printable character, not DEL or tab")
        << printable + "\x7F\t" << QString::fromLatin1(printable) << true;
    QTest::newRow("escape across two blocks: its letters are no text")
        << QByteArray(14, 'a') + R"(\u4E2D)" + QByteArray(20, 'b') << "ab中" << true;
    QTest::newRow("characters right after a long ASCII run")
        << QByteArray(21, 'x') + "中" + QByteArray(9, 'y') + "é"
        << "xy中é" << true;
    QTest::newRow("ampersand ending a file") << QByteArray(16, 'c') + "&"
                                             << "c&" << true;
    QTest::newRow("backslash ending a file") << QByteArray(31, 'd') + "\\"
                                             << "d\\" << true;
    QTest::newRow("new character in a short last block") << QByteArray(16, 'e') + "0123456789Z"
                                                         << "e0123456789Z" << true;
    // Where the processor can, plain text goes by 32 bytes: the same edges.
    QTest::newRow("new characters on both sides of a 32-byte step")
        << QByteArray(31, 'a') + "YZ" + QByteArray(31, 'a') << "aYZ" << true;
    QTest::newRow("escape across two 32-byte steps")
        << QByteArray(30, 'b') + R"(\u4E2D)" + QByteArray(30, 'b') << "b中" << true;
    QTest::newRow("not UTF-8: a newline far into the file still ends the line")
        << QByteArray("\xFF") + QByteArray(40, 'x') + "\n" + QByteArray(40, 'y') + "中"
        << "xy中" << false;
    QTest::newRow("not UTF-8: a long line still ends at its newline")
        << QByteArray("\xFF"
                      "broken line\nnext line: 中, and more after it")
        << "broken line next line: 中, and more after it" << false;
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

// Characters the set holds already are passed over in runs; what lies
// between and after them must still count, and bad bytes still be caught.
void TestCharacterCollector::charactersFoundBeforeArePassedOver_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("added");
    QTest::addColumn<bool>("utf8");

    const QByteArray run = QByteArray(20, 'a') + "中文中";
    QTest::newRow("ASCII between and after") << run + "Z" + QByteArray(20, 'b') + "文"
                                             << "abZ" << true;
    QTest::newRow("a new character right after") << run + "字" + QByteArray(16, 'c') << "ac字" << true;
    QTest::newRow("at the very end") << run << "a" << true;
    QTest::newRow("cut off after") << run + "\xE4\xB8"
                                   << "a" << false;
    QTest::newRow("escape right after") << run + R"(\u5B57)" + QByteArray(16, 'd') << "ad字" << true;
    QTest::newRow("bad continuation byte inside")
        << run + "\xE4\x41\xAD" + "文" + QByteArray(16, 'e') << "aAe" << false;
    QTest::newRow("E0 lead inside") << run + "\xE0\xA4\x85" + "文" + QByteArray(16, 'f') << "afअ" << true;
    QTest::newRow("four-byte character inside") << run + "😀文" + QByteArray(16, 'g') << "ag😀" << true;
    // A word met in a 32-byte step is checked whole within it.
    const QByteArray after = "Z" + QByteArray(40, 'b');
    QTest::newRow("word ending on a step's last byte")
        << QByteArray(20, 'a') + "中文中文" + after << "abZ" << true;
    QTest::newRow("word ending a byte before") << QByteArray(19, 'a') + "中文中文" + after << "abZ" << true;
    QTest::newRow("new character amid a word") << QByteArray(4, 'a') + "中字文" + after << "abZ字" << true;
    // Bytes that, read as loosely as a look-up reads them, spell 中.
    QTest::newRow("no continuation byte in a word")
        << QByteArray(4, 'a') + "文\xE4\xF8\xAD" + after << "abZ" << false;
    QTest::newRow("four-byte lead in a word")
        << QByteArray(4, 'a') + "文\xF4\xB8\xAD" + after << "abZ" << false;
    // A word running past a step's end is read a character at a time.
    QTest::newRow("four-byte lead in a word across a step's end")
        << QByteArray(28, 'a') + "文\xF4\xB8\xAD" + after << "abZ" << false;
    QTest::newRow("no continuation byte in a word across a step's end")
        << QByteArray(28, 'a') + "文\xE4\xF8\xAD" + after << "abZ" << false;
    // So is the escape of a character found before: its letters are no text.
    QTest::newRow("escapes of known characters")
        << QByteArray(4, 'a') + R"(\u4E2D\uD83D\uDE00\U00004E2D\u{6587}&#20013;&#x6587;)" + after << "abZ"
        << true;
    QTest::newRow("escape across a step's end") << QByteArray(28, 'a') + R"(\u4E2D)" + after << "abZ" << true;
    QTest::newRow("new character escaped amid known ones")
        << QByteArray(4, 'a') + "&#20013;&#23383;&#x6587;" + after << "abZ字" << true;
    QTest::newRow("escaped backslash once known, then text")
        << QByteArray(4, 'a') + R"(\\ \\u0041)" + after << "a\\ u041bZ" << true;
    QTest::newRow("ampersand and backslash once known, starting nothing")
        << QByteArray(4, 'a') + R"(&x &y \q \r)" + after << "a&x y\\qrbZ" << true;
}

void TestCharacterCollector::charactersFoundBeforeArePassedOver()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, added);
    QFETCH(bool, utf8);
    CodepointSet found;
    found.insert(U'中');
    found.insert(U'文');
    found.insert(U'😀');
    // Held in exactly their size, so that a sanitizer build catches a read
    // past their end.
    const std::vector<char> held(bytes.begin(), bytes.end());
    QCOMPARE(collectEscapedText(QByteArrayView(held.data(), qsizetype(held.size())), &found), utf8);
    QCOMPARE(collectedText(found.toList()), distinct(added + "中文😀"));
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
    // The same file by two more names counts once.
    QVERIFY(QFile::link("main.c", tree.filePath("src/linked.c")));
    QCOMPARE(::link(QFile::encodeName(tree.filePath("src/main.c")).constData(),
                    QFile::encodeName(tree.filePath("src/hard.c")).constData()),
             0);
    // Named by the first of its names in list order.
    QCOMPARE(::link(QFile::encodeName(tree.filePath("src/legacy.c")).constData(),
                    QFile::encodeName(tree.filePath("src/old.c")).constData()),
             0);

    const CharacterCollection found = collectCharacters({root.path()}, CollectionPatterns());
    QCOMPARE(collectedText(found.codepoints),
             distinct("\"温度°😀/*{k:😂漢}<p>木火</p><source>Save</source><translation>保存</translation>"));
    QCOMPARE(found.filesRead, 5);
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
    // Suffixes are looked up apart from the other globs: letter case too.
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
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("UTF-16 order: characters past U+FFFF before U+FF5A")
        << QStringList{"ｚ.c", "😀.c", "z.c"} << QStringList{"z.c", "😀.c", "ｚ.c"};
    QTest::newRow("a long shared start, a name beginning another")
        << QStringList{"translation_b.c", "translation_ab.c", "translation.c", "translation_a.c", "AB.c"}
        << QStringList{"AB.c", "translation.c", "translation_a.c", "translation_ab.c", "translation_b.c"};
}

// The summary names the first of the files not in UTF-8.
void TestCharacterCollector::filesComeInTheOrderOfTheirNames()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    QTemporaryDir root;
    for (const QString &name : names)
        QVERIFY(makeFile(QDir(root.path()).filePath(name), "\xD6\xD0"));
    QCOMPARE(collectCharacters({root.path()}, CollectionPatterns()).notUtf8, expected);
}

void TestCharacterCollector::summaryWording_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<int>("characters");
    QTest::addColumn<int>("files");
    QTest::addColumn<QList<int>>("skipped"); // binary, over 64 MiB, not regular, unreadable, loops
    QTest::addColumn<QStringList>("notUtf8");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing found") << true << 0 << 0 << QList<int>{0, 0, 0, 0, 0} << QStringList()
                                   << "Found 0 distinct characters in 0 files";
    QTest::newRow("one of each kind")
        << true << 1 << 1 << QList<int>{1, 1, 1, 1, 1} << QStringList{"a.c", "b.c"}
        << "Found 1 distinct character in 1 file; skipped 1 binary, 1 over 64 MiB, 1 not a regular file, "
           "1 unreadable (e.g. locked), 1 symbolic-link loop, 2 not UTF-8 (e.g. a.c)";
    QTest::newRow("several of each kind, digits grouped")
        << true << 2413 << 1318 << QList<int>{2, 3, 2, 1200, 2} << QStringList()
        << "Found 2,413 distinct characters in 1,318 files; skipped 2 binary, 3 over 64 MiB, 2 not regular "
           "files, 1,200 unreadable (e.g. locked), 2 symbolic-link loops";
    QTest::newRow("Chinese, one of each kind")
        << false << 2413 << 1 << QList<int>{1, 1, 1, 1, 1} << QStringList{"a.c"}
        << "从 1 个文件中找到 2,413 个不同字符；跳过 1 个二进制文件、1 个超过 64 MiB 的文件、1 个非普通文件、"
           "1 个无法读取（例如 locked）、1 个符号链接循环、1 个非 UTF-8 文件（例如 a.c）";
}

void TestCharacterCollector::summaryWording()
{
    QFETCH(bool, english);
    QFETCH(int, characters);
    QFETCH(int, files);
    QFETCH(QList<int>, skipped);
    QFETCH(QStringList, notUtf8);
    QFETCH(QString, expected);
    CharacterCollection collection;
    for (int i = 0; i < characters; ++i)
        collection.codepoints.append(uint(0x4E00 + i));
    collection.filesRead = files;
    collection.notUtf8 = notUtf8;
    for (int kind = 0; kind < CharacterCollection::SkipKinds; ++kind) {
        collection.skipped[kind] = skipped.at(kind);
        collection.skippedExample[kind] = skipped.at(kind) > 0 ? "locked" : QString();
    }
    setUiEnglish(english);
    const QString summary = collectionSummary(collection);
    setUiEnglish(false);
    QCOMPARE(summary, expected);
}

QTEST_GUILESS_MAIN(TestCharacterCollector)
#include "tst_charactercollector.moc"
