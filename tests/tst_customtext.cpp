#include "ModalDriver.h"
#include "TestFiles.h"
#include "TestFonts.h"
#include "charset/TextCharacters.h"
#include "charset/TextImport.h"
#include "subset/SubsetRequest.h"
#include "window/VectorFontClipDialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A text made of these code points; a surrogate value goes in as a lone unit.
QString textOf(std::initializer_list<char32_t> codepoints)
{
    QString text;
    for (char32_t c : codepoints)
        text += QChar::isSurrogate(c) ? QString(QChar(char16_t(c))) : QString::fromUcs4(&c, 1);
    return text;
}

} // namespace

class TestCustomText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countAndCollectedSet_data();
    void countAndCollectedSet();
    void importThroughTheDialog_data();
    void importThroughTheDialog();
    void cleanup() { QTRY_VERIFY(noWindowLeftOpen()); }
};

// The count leaves white space and controls out; a request keeps spaces,
// but no controls, lone surrogates or line separators.
void TestCustomText::countAndCollectedSet_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QSet<uint>>("collected");

    QTest::newRow("duplicates; space collected, not counted") << "ab a" << 2 << QSet<uint>{'a', ' ', 'b'};
    QTest::newRow("line breaks, tab, controls below U+0020: neither")
        << textOf({'A', '\r', '\n', '\t', 0, 0x1F, 'B'}) << 2 << QSet<uint>{'A', 'B'};
    QTest::newRow("U+3000 and U+00A0: collected, not counted")
        << textOf({0x3000, 0xA0}) << 0 << QSet<uint>{0x3000, 0xA0};
    QTest::newRow("U+007F and U+0080 counted, not kept; case and full-width variants: both")
        << textOf({0x7F, 0x80, 'A', 'a', 0xFF21}) << 5 << QSet<uint>{'A', 'a', 0xFF21};
    QTest::newRow("line and paragraph separators: neither")
        << textOf({0x2028, 'x', 0x2029}) << 1 << QSet<uint>{'x'};
    QTest::newRow("above U+FFFF: one character each")
        << textOf({0x1F600, 0x20BB7, 0x5409, 0x20BB7}) << 3 << QSet<uint>{0x1F600, 0x20BB7, 0x5409};
    QTest::newRow("lone surrogates counted, not kept")
        << textOf({0xDE00, 0xD83D, 'b', 0x1F600, 0xD83D}) << 4 << QSet<uint>{'b', 0x1F600};
}

void TestCustomText::countAndCollectedSet()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QSet<uint>, collected);
    QCOMPARE(countUniqueCharacters(text), count);
    SubsetChoices choices;
    choices.face.path = TestFonts::dejaVuSans();
    choices.texts = {text};
    SubsetRequest request;
    QCOMPARE(buildSubsetRequest(choices, &request, nullptr), !collected.isEmpty());
    QCOMPARE(QSet<uint>(request.codepoints.cbegin(), request.codepoints.cend()), collected);
    // Typed into the window, the text shows the same count.
    VectorFontClipDialog dialog(0);
    dialog.findChild<QTextEdit *>(QStringLiteral("customTextEdit"))->setPlainText(text);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("uniqueCountLabel"))->text(),
             QStringLiteral("唯一字符数: %1").arg(count));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("selectionSummary"))->text(),
             QStringLiteral("将使用：自定义字符，%1 个字符").arg(collected.size()));
}

// Each row starts from a window whose text came from an earlier import of
// "xyx": a successful import replaces it, a failed or cancelled one keeps it.
void TestCustomText::importThroughTheDialog_data()
{
    QTest::addColumn<int>("english");
    // How the chosen path is made: "file" holding `content`, "gone" (deleted
    // after choosing), a "fifo" with a writer, "cancel" (nothing chosen), or a path.
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("text");    // the custom text afterwards
    QTest::addColumn<int>("count");       // the count label afterwards
    QTest::addColumn<QString>("message"); // the warning, %1 the path; empty: none

    const QString earlier = QStringLiteral("xyx");
    QTest::newRow("CR LF arrives as LF") << 1 << "file" << QByteArray("a\r\nb\r\n") << "a\nb\n" << 2 << "";
    QTest::newRow("one line break is not empty") << 0 << "file" << QByteArray("\n") << "\n" << 0 << "";
    QTest::newRow("UTF-8 byte order mark dropped")
        << 0 << "file" << QByteArray("\xEF\xBB\xBF你好") << "你好" << 2 << "";
    // "你好" in GBK: an encoding is asked for; declined, the text stays as it was.
    QTest::newRow("GBK, another encoding declined, English")
        << 1 << "file" << QByteArray("\xC4\xE3\xBA\xC3") << earlier << 2 << "The file is not UTF-8 text: %1";
    QTest::newRow("GBK, another encoding declined, Chinese")
        << 0 << "file" << QByteArray("\xC4\xE3\xBA\xC3") << earlier << 2 << "文件不是 UTF-8 文本: %1";
    QTest::newRow("zero-byte file") << 0 << "file" << QByteArray() << earlier << 2 << "文件内容为空。";
    QTest::newRow("byte order mark alone is empty")
        << 1 << "file" << QByteArray("\xEF\xBB\xBF") << earlier << 2 << "File is empty.";
    QTest::newRow("file gone") << 1 << "gone" << QByteArray() << earlier << 2 << "Failed to open file: %1";
    QTest::newRow("named pipe") << 1 << "fifo" << QByteArray() << earlier << 2 << "Failed to open file: %1";
    QTest::newRow("/dev/zero") << 0 << "/dev/zero" << QByteArray() << earlier << 2 << "无法打开文件: %1";
    QTest::newRow("cancel: no message") << 1 << "cancel" << QByteArray() << earlier << 2 << "";
}

void TestCustomText::importThroughTheDialog()
{
    QFETCH(int, english);
    QFETCH(QString, source);
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString earlier = dir.filePath(QStringLiteral("earlier.csv"));
    const QString path = source.startsWith(QLatin1Char('/')) ? source : dir.filePath(QStringLiteral("chars"));
    QVERIFY(writeFile(earlier, "xyx"));
    QProcess writer; // a reader that opens the pipe gets "x" rather than hanging
    if (source == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        writer.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("printf x > \"$0\""), path});
        QVERIFY(writer.waitForStarted());
    } else if (path != source) {
        QVERIFY(writeFile(path, content));
    }

    VectorFontClipDialog dialog(english);
    dialog.show();
    auto *edit = dialog.findChild<QTextEdit *>(QStringLiteral("customTextEdit"));
    auto *importButton = dialog.findChild<QPushButton *>(QStringLiteral("importButton"));
    ModalDriver driver(1000);
    driver.expect(ModalDriver::chooseFile(earlier));
    importButton->click();
    QCOMPARE(edit->toPlainText(), QStringLiteral("xyx"));

    driver.expect([&](QWidget *window) {
        (source == QLatin1String("cancel") ? ModalDriver::cancel() : ModalDriver::chooseFile(path))(window);
        if (source == QLatin1String("gone"))
            QFile::remove(path);
    });
    QString boxTitle, boxText;
    if (message.contains(QLatin1String("UTF-8"))) {
        driver.expect([&boxText](QWidget *window) {
            auto *question = qobject_cast<QInputDialog *>(window);
            QVERIFY(question);
            boxText = question->labelText().section(QLatin1Char('\n'), 0, 0);
            question->reject();
        });
    } else if (!message.isEmpty()) {
        driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &boxText, &boxTitle));
    }
    importButton->click();

    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), QStringList());
    if (!message.isEmpty())
        QCOMPARE(boxText, QString(message).replace(QLatin1String("%1"), path));
    QCOMPARE(edit->toPlainText(), text);
    const QString countText = dialog.findChild<QLabel *>(QStringLiteral("uniqueCountLabel"))->text();
    QVERIFY2(countText.endsWith(QStringLiteral(" %1").arg(count)), qPrintable(countText));
    dialog.close();
    writer.kill();
    writer.waitForFinished();
}

QTEST_MAIN(TestCustomText)
#include "tst_customtext.moc"
