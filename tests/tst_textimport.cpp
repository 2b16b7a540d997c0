#include "ModalDriver.h"
#include "charset/TextImport.h"
#include "dialog/VectorFontClipDialog.h"

#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString deletedAfterChoosing = QStringLiteral("deleted after choosing");

struct BoxSeen
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

ModalDriver::Answer keepBox(BoxSeen *seen)
{
    return [seen](QWidget *window) {
        seen->title = window->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(window)) {
            seen->text = box->text();
            seen->icon = box->icon();
            seen->buttons = box->standardButtons();
        }
        ModalDriver::press(QMessageBox::Ok)(window);
    };
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The window with a custom text already typed, shown as the user sees it.
struct ImportWindow
{
    explicit ImportWindow(int useEnglish) : dialog(useEnglish)
    {
        edit = dialog.findChild<QTextEdit *>(QStringLiteral("customTextEdit"));
        label = dialog.findChild<QLabel *>(QStringLiteral("uniqueCountLabel"));
        importButton = dialog.findChild<QPushButton *>(QStringLiteral("importButton"));
        edit->setPlainText(QStringLiteral("typed before"));
        dialog.show();
    }

    VectorFontClipDialog dialog;
    QTextEdit *edit;
    QLabel *label;
    QPushButton *importButton;
};

} // namespace

class TestTextImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void importThroughTheDialog_data();
    void importThroughTheDialog();
    void cancelShowsNothing_data();
    void cancelShowsNothing();
    void secondImportReplacesTheFirst();
    void cleanup();
};

void TestTextImport::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("read");

    QTest::newRow("named pipe") << "fifo" << false;
    QTest::newRow("link to /dev/zero") << "link to /dev/zero" << false;
    QTest::newRow("link to a text file") << "link to a file" << true;
}

void TestTextImport::onlyRegularFilesAreRead()
{
    QFETCH(QString, kind);
    QFETCH(bool, read);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("chars.txt"));
    QProcess writer;
    if (kind == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        // A reader that opens the pipe gets this writer's text and returns,
        // so a wrong answer fails the test instead of hanging it.
        writer.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("printf x > \"$0\""), path});
        QVERIFY(writer.waitForStarted());
    } else if (kind == QLatin1String("link to /dev/zero")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("target")), "linked\n"));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("target")), path));
    }

    QString text = QStringLiteral("untouched");
    QString error;
    QCOMPARE(readUtf8Text(path, 1, &text, &error), read);
    QCOMPARE(text, read ? QStringLiteral("linked\n") : QStringLiteral("untouched"));
    QCOMPARE(error, read ? QString() : QStringLiteral("Failed to open file: ") + path);
    // No error text asked for: the failure is still reported by the result.
    QCOMPARE(readUtf8Text(path, 1, nullptr, nullptr), read);

    writer.kill();
    writer.waitForFinished();
}

void TestTextImport::importThroughTheDialog_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QString>("source"); // a file with `content`, or how the path is made
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("text");    // the custom text afterwards, when imported
    QTest::addColumn<QString>("label");   // the count label afterwards, when imported
    QTest::addColumn<QString>("message"); // the warning's text, %1 the path; empty: no warning

    const QString file = QStringLiteral("file");
    QTest::newRow("CR LF arrives as LF") << 1 << file << QByteArray("one\r\ntwo\r\n") << "one\ntwo\n"
                                         << "Unique characters: 5" << QString();
    QTest::newRow("CSV comma is a character") << 1 << file << QByteArray("a,b\r\nc,a") << "a,b\nc,a"
                                              << "Unique characters: 4" << QString();
    QTest::newRow("one line break is not empty") << 0 << file << QByteArray("\n") << "\n"
                                                 << "唯一字符数: 0" << QString();
    QTest::newRow("UTF-8 byte order mark dropped") << 0 << file << QByteArray("\xEF\xBB\xBF你好") << "你好"
                                                   << "唯一字符数: 2" << QString();
    QTest::newRow("not UTF-8: replacement characters, no warning")
        << 1 << file << QByteArray("a\xC3(\xFF") << QString::fromUtf16(u"a\uFFFD(\uFFFD")
        << "Unique characters: 3" << QString();
    QTest::newRow("zero-byte file") << 0 << file << QByteArray() << QString() << QString()
                                    << "文件内容为空。";
    QTest::newRow("byte order mark alone is empty")
        << 1 << file << QByteArray("\xEF\xBB\xBF") << QString() << QString() << "File is empty.";
    QTest::newRow("deleted after choosing") << 1 << deletedAfterChoosing << QByteArray("x") << QString()
                                            << QString() << "Failed to open file: %1";
    QTest::newRow("/dev/zero is not read")
        << 0 << "/dev/zero" << QByteArray() << QString() << QString() << "无法打开文件: %1";
}

void TestTextImport::importThroughTheDialog()
{
    QFETCH(int, useEnglish);
    QFETCH(QString, source);
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QFETCH(QString, label);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = source;
    if (source == QLatin1String("file") || source == deletedAfterChoosing) {
        path = dir.filePath(QStringLiteral("chars.txt"));
        QVERIFY(writeFile(path, content));
    }

    ImportWindow window(useEnglish);
    const QString labelBefore = window.label->text();
    ModalDriver driver(1000);
    if (source == deletedAfterChoosing) {
        driver.expect([path](QWidget *fileDialog) {
            ModalDriver::chooseFile(path)(fileDialog);
            QFile::remove(path);
        });
    } else {
        driver.expect(ModalDriver::chooseFile(path));
    }
    BoxSeen box;
    if (!message.isEmpty())
        driver.expect(keepBox(&box));

    window.importButton->click();

    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), QStringList());
    if (message.isEmpty()) {
        QCOMPARE(window.edit->toPlainText(), text);
        QCOMPARE(window.label->text(), label);
    } else {
        QCOMPARE(box.title, QString(useEnglish == 1 ? "Import failed" : "导入失败"));
        QCOMPARE(box.text, QString(message).replace(QLatin1String("%1"), path));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(window.edit->toPlainText(), QStringLiteral("typed before"));
        QCOMPARE(window.label->text(), labelBefore);
    }
    window.dialog.close();
}

void TestTextImport::cancelShowsNothing_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QString>("title");

    QTest::newRow("en") << 1 << "Import character set from file (UTF-8 only)";
    QTest::newRow("zh") << 0 << "从文件导入字符集（仅支持 UTF-8 编码文本）";
}

void TestTextImport::cancelShowsNothing()
{
    QFETCH(int, useEnglish);
    QFETCH(QString, title);

    ImportWindow window(useEnglish);
    QString seenTitle;
    QStringList filters;
    QString initialFilter;
    ModalDriver driver(1000);
    driver.expect([&](QWidget *window) {
        seenTitle = window->windowTitle();
        if (auto *fileDialog = qobject_cast<QFileDialog *>(window)) {
            filters = fileDialog->nameFilters();
            initialFilter = fileDialog->selectedNameFilter();
        }
        ModalDriver::cancel()(window);
    });

    window.importButton->click();

    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(seenTitle, title);
    // "*", not "*.*": files without a dot in their name stay visible.
    QCOMPARE(filters, (QStringList{"UTF-8 Text/CSV (*.txt *.csv)", "All Files (*)"}));
    QCOMPARE(initialFilter, filters.value(0));
    QCOMPARE(window.edit->toPlainText(), QStringLiteral("typed before"));
    window.dialog.close();
}

void TestTextImport::secondImportReplacesTheFirst()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = dir.filePath(QStringLiteral("first.csv"));
    const QString second = dir.filePath(QStringLiteral("second"));
    QVERIFY(writeFile(first, "abcdef"));
    QVERIFY(writeFile(second, "xyx"));

    ImportWindow window(1);
    ModalDriver driver(1000);
    driver.expect(ModalDriver::chooseFile(first));
    window.importButton->click();
    QCOMPARE(window.edit->toPlainText(), QStringLiteral("abcdef"));
    driver.expect(ModalDriver::chooseFile(second));
    window.importButton->click();

    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), QStringList());
    QCOMPARE(window.edit->toPlainText(), QStringLiteral("xyx"));
    QCOMPARE(window.label->text(), QStringLiteral("Unique characters: 2"));
    window.dialog.close();
}

void TestTextImport::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestTextImport)
#include "tst_textimport.moc"
