#include "ModalDriver.h"
#include "TestFiles.h"
#include "TestFonts.h"
#include "common/UiText.h"
#include "window/VectorFontClipDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

class TestCollectImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void importThroughTheDialogs_data();
    void importThroughTheDialogs();
    void cancelLeavesTheText();
    void dropOnTheWindow_data();
    void dropOnTheWindow();
    void cleanup()
    {
        setUiEnglish(false);
        QTRY_VERIFY(noWindowLeftOpen());
    }

private:
    QTemporaryDir directory;
    QString tree;
};

void TestCollectImport::initTestCase()
{
    QVERIFY(directory.isValid());
    const QDir root(directory.path());
    tree = root.filePath("product");
    QVERIFY(root.mkpath("product/src"));
    QVERIFY(writeFile(tree + "/src/a.c", R"(\u6C34)"));
    QVERIFY(writeFile(tree + "/src/b.json", R"(\uD83D\uDE02)"));
    QVERIFY(writeFile(tree + "/src/c.txt", QByteArray("\xD6\xD0", 2))); // GBK
    QVERIFY(writeFile(tree + "/logo.svg", QByteArray("\0<svg>", 6)));
    QVERIFY(writeFile(tree + "/src/d.bin", QByteArray("\0\1", 2)));
    QVERIFY(writeFile(tree + "/one.dat", R"(\u6C34 is taken as written)"));
}

void TestCollectImport::importThroughTheDialogs_data()
{
    QTest::addColumn<QString>("button");
    // The folder the dialog shows, then the names typed; none cancels it.
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<int>("english");
    // The legacy encoding the user picks when asked; empty when not asked.
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("summary");

    QTest::newRow("folder, legacy file declined")
        << "importFolderButton" << QStringList{"", "."} << 1 << "decline" << "水😂"
        << "Found 2 distinct characters in 2 files; skipped 1 binary, 1 not UTF-8 (e.g. src/c.txt)";
    QTest::newRow("folder, legacy file read as GB18030, Chinese")
        << "importFolderButton" << QStringList{"", "src"} << 0 << "GB18030（简体中文）" << "中水😂"
        << "从 3 个文件中找到 3 个不同字符（其中 1 个按 GB18030 读取）";
    QTest::newRow("folder dialog cancelled")
        << "importFolderButton" << QStringList{} << 1 << "" << "before" << "";
    QTest::newRow("several files") << "importButton" << QStringList{"src", "a.c", "d.bin"} << 1 << ""
                                   << "水" << "Found 1 distinct character in 1 file; skipped 1 binary";
    QTest::newRow("one file: as written")
        << "importButton" << QStringList{"", "one.dat"} << 1 << "" << "\\u6C34 is taken as written" << "";
    QTest::newRow("one legacy file read as GB18030")
        << "importButton" << QStringList{"src", "c.txt"} << 1 << "GB18030 (Simplified Chinese)" << "中" << "";
}

void TestCollectImport::importThroughTheDialogs()
{
    QFETCH(QString, button);
    QFETCH(QStringList, chosen);
    QFETCH(int, english);
    QFETCH(QString, encoding);
    QFETCH(QString, text);
    QFETCH(QString, summary);

    VectorFontClipDialog dialog(english);
    dialog.show();
    auto *edit = dialog.findChild<QTextEdit *>("customTextEdit");
    edit->setPlainText("before");
    ModalDriver driver;
    driver.expect([&](QWidget *window) {
        auto *files = qobject_cast<QFileDialog *>(window);
        QVERIFY(files);
        if (chosen.isEmpty())
            return files->reject();
        // Several names go into the name field quoted, as a user types them.
        files->setDirectory(QDir(tree).filePath(chosen.first()));
        QStringList quoted;
        for (const QString &name : chosen.mid(1))
            quoted.append(chosen.size() == 2 ? name : '"' + name + '"');
        files->findChild<QLineEdit *>("fileNameEdit")->setText(quoted.join(' '));
        static_cast<QDialog *>(files)->accept();
    });
    if (!encoding.isEmpty()) {
        driver.expect([&](QWidget *window) {
            auto *question = qobject_cast<QInputDialog *>(window);
            QVERIFY(question);
            if (encoding == "decline")
                return question->reject();
            question->setTextValue(encoding);
            question->accept();
        });
    }
    QString boxText;
    if (!summary.isEmpty())
        driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &boxText));
    dialog.findChild<QPushButton *>(button)->click();
    QTRY_COMPARE(driver.pending(), 0);
    QCOMPARE(boxText, summary);
    QCOMPARE(edit->toPlainText(), text);
    QCOMPARE(driver.unexpected(), QStringList());
    dialog.close();
}

void TestCollectImport::cancelLeavesTheText()
{
    VectorFontClipDialog dialog(1);
    dialog.show();
    auto *edit = dialog.findChild<QTextEdit *>("customTextEdit");
    edit->setPlainText("before");
    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(tree));
    dialog.findChild<QPushButton *>("importFolderButton")->click();
    // The progress dialog waits half a second before it shows; its Cancel
    // works from the start.
    auto *progress = dialog.findChild<QProgressDialog *>("collectProgress");
    QVERIFY(progress);
    progress->findChild<QPushButton *>()->click();
    QTRY_VERIFY(!dialog.findChild<QProgressDialog *>("collectProgress"));
    QCOMPARE(edit->toPlainText(), "before");
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), QStringList());
    dialog.close();
}

void TestCollectImport::dropOnTheWindow_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("fontPath");
    QTest::addColumn<QString>("text");

    const QString font = TestFonts::dejaVuSans();
    const QString folder = directory.filePath("product/src");
    QTest::newRow("font on the path field")
        << "fontPathEdit" << 0 << QStringList{font} << true << font << "before";
    QTest::newRow("font on the custom text")
        << "customTextEdit" << 0 << QStringList{font} << true << font << "before";
    QTest::newRow("folder on the custom text") << "customTextEdit" << 0 << QStringList{folder} << true << ""
                                               << "水😂";
    QTest::newRow("folder on the path field: refused")
        << "fontPathEdit" << 0 << QStringList{folder} << false << ""
        << "before";
    QTest::newRow("folder on the blocks page: refused")
        << "blockList" << 1 << QStringList{folder} << false << ""
        << "before";
}

void TestCollectImport::dropOnTheWindow()
{
    QFETCH(QString, target);
    QFETCH(int, page);
    QFETCH(QStringList, paths);
    QFETCH(bool, accepted);
    QFETCH(QString, fontPath);
    QFETCH(QString, text);

    VectorFontClipDialog dialog(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.findChild<QTabWidget *>("characterTabs")->setCurrentIndex(page);
    auto *edit = dialog.findChild<QTextEdit *>("customTextEdit");
    edit->setPlainText("before");
    QWidget *widget = dialog.findChild<QWidget *>(target);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        widget = area->viewport();

    QMimeData data;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPoint centre = widget->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    ModalDriver driver;
    if (text != "before" && fontPath.isEmpty()) {
        driver.expect(ModalDriver::cancel()); // src/c.txt is GBK: no other encoding
        driver.expect(ModalDriver::press(QMessageBox::Ok));
    }
    QApplication::sendEvent(widget, &drop);
    QTRY_COMPARE(driver.pending(), 0);
    QTRY_COMPARE(dialog.findChild<QLineEdit *>("fontPathEdit")->text(), fontPath);
    QCOMPARE(edit->toPlainText(), text);
    QCOMPARE(driver.unexpected(), QStringList());
    dialog.close();
}

QTEST_MAIN(TestCollectImport)
#include "tst_collectimport.moc"
