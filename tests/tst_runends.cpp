#include "ModalDriver.h"
#include "TestFiles.h"
#include "TestFonts.h"
#include "window/VectorFontClipDialog.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <csignal>

namespace {

// A progress dialog that a person would see now.
bool progressShowing()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QProgressDialog *>(widget) && widget->isVisible())
            return true;
    }
    return false;
}

} // namespace

// How a run in the window ends: cancelled, done or failed, nothing of it
// stays behind or shows over its result.
class TestRunEnds : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void openUrl(const QUrl &url) { openedUrls.append(url); }

private Q_SLOTS:
    void init();
    void cleanup();
    void cancelOrCloseStopsTheRun_data();
    void cancelOrCloseStopsTheRun();
    void progressIsGoneWhileTheResultShows_data();
    void progressIsGoneWhileTheResultShows();

private:
    // A stand-in for one of the tools the run starts: it notes its process
    // id in `name`.pid and then runs `body`.
    bool writeTool(const QString &name, const QString &body)
    {
        const QString path = tools->filePath(name);
        return writeFile(path, ("#!/bin/sh\necho $$ > \"$0.pid\"\n" + body).toUtf8()) &&
               QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    bool linkTool(const QString &name, const QString &real)
    {
        return QFile::link(real, tools->filePath(name));
    }
    std::unique_ptr<VectorFontClipDialog> makeDialog(const QString &name, int format)
    {
        auto dialog = std::make_unique<VectorFontClipDialog>(1);
        dialog->setToolDirectory(tools->path());
        dialog->findChild<QLineEdit *>("fontPathEdit")->setText(TestFonts::dejaVuSans());
        dialog->findChild<QLineEdit *>("outputNameEdit")->setText(name);
        dialog->findChild<QTextEdit *>("customTextEdit")->setPlainText("Abc");
        dialog->findChild<QComboBox *>("outputFormatCombo")->setCurrentIndex(format);
        dialog->show();
        return dialog;
    }

    std::unique_ptr<QTemporaryDir> work, tools;
    QList<QUrl> openedUrls;
};

void TestRunEnds::init()
{
    work = std::make_unique<QTemporaryDir>();
    tools = std::make_unique<QTemporaryDir>();
    QVERIFY(work->isValid() && tools->isValid());
    openedUrls.clear();
}

void TestRunEnds::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    QCOMPARE(QDir(work->path()).entryList({"vfc_*"}), QStringList());
}

void TestRunEnds::cancelOrCloseStopsTheRun_data()
{
    QTest::addColumn<QString>("slowTool");
    QTest::addColumn<bool>("closeWindow");
    QTest::newRow("Cancel while hb-subset works") << "hb-subset" << false;
    QTest::newRow("window closed while hb-subset works") << "hb-subset" << true;
    QTest::newRow("Cancel while compressing to WOFF2, then generate again") << "vfc-woff2" << false;
}

void TestRunEnds::cancelOrCloseStopsTheRun()
{
    QFETCH(QString, slowTool);
    QFETCH(bool, closeWindow);

    // The slow stand-in takes its time only while `slow` exists; then it
    // hands over to the real tool, so a second run can finish.
    const QString slow = tools->filePath("slow");
    QVERIFY(writeFile(slow, ""));
    const QString real = slowTool == "hb-subset" ? VFC_HB_SUBSET : VFC_BIN_DIR "/vfc-woff2";
    QVERIFY(writeTool(slowTool,
                      QString("while [ -e '%1' ]; do sleep 0.1; done\nexec '%2' \"$@\"\n").arg(slow, real)));
    if (slowTool != "hb-subset")
        QVERIFY(linkTool("hb-subset", VFC_HB_SUBSET));
    else
        QVERIFY(linkTool("vfc-woff2", VFC_BIN_DIR "/vfc-woff2"));
    const bool woff2 = slowTool == "vfc-woff2";
    const QString target = work->filePath(woff2 ? "font.woff2" : "font.ttf");
    QVERIFY(writeFile(target, "previous subset"));

    auto dialog = makeDialog("font", woff2 ? 1 : 0);
    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(work->path()));
    driver.expect(ModalDriver::press(QMessageBox::Yes));
    driver.expectProgress([&](QWidget *window) {
        auto *progress = qobject_cast<QProgressDialog *>(window);
        QVERIFY(progress);
        // Not before the slow tool runs: the cancel must stop that tool.
        QVERIFY(
            QTest::qWaitFor([&] { return QFileInfo(tools->filePath(slowTool + ".pid")).size() > 0; }, 20000));
        // The label says which tool is being waited for.
        QTRY_COMPARE(progress->labelText(),
                     woff2 ? QStringLiteral("Compressing…") : QStringLiteral("Subsetting…"));
        if (closeWindow)
            dialog->close();
        else
            QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    });
    dialog->findChild<QPushButton *>("generateButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0, 30000);
    const pid_t standIn = pid_t(readFile(tools->filePath(slowTool + ".pid")).trimmed().toInt());
    QVERIFY(standIn > 0);
    QTRY_VERIFY_WITH_TIMEOUT(::kill(standIn, 0) != 0, 1000); // stopped within a second
    QCOMPARE(readFile(target), QByteArray("previous subset"));
    QCOMPARE(dialog->isVisible(), !closeWindow);
    QVERIFY(dialog->findChild<QDialogButtonBox *>("buttonBox")->isEnabled());
    // A cancel is silent: no box comes.
    QTest::qWait(300);
    QCOMPARE(driver.unexpected(), QStringList());
    if (closeWindow)
        return;

    // At once a second run, which must report a file that is there.
    QVERIFY(QFile::remove(slow));
    QString shown;
    driver.expect(ModalDriver::chooseFile(work->path()));
    driver.expect(ModalDriver::press(QMessageBox::Yes));
    // The done box opens the folder of what it wrote, through the handler
    // that stands in for the file manager here.
    driver.expect([&shown](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        shown = box->text();
        box->findChild<QPushButton *>("openFolderButton")->click();
    });
    QDesktopServices::setUrlHandler("file", this, "openUrl");
    dialog->findChild<QPushButton *>("generateButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0, 60000);
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(openedUrls, QList<QUrl>{QUrl::fromLocalFile(work->path())});
    QVERIFY2(shown.contains(target), qPrintable(shown));
    QVERIFY(readFile(target).size() > 100);
    QCOMPARE(driver.unexpected(), QStringList());
}

void TestRunEnds::progressIsGoneWhileTheResultShows_data()
{
    QTest::addColumn<QString>("hbSubset"); // a stand-in's body, or the real one
    QTest::addColumn<QString>("boxTitle");
    QTest::newRow("done box") << QString() << "Done";
    QTest::newRow("error box") << "echo broken >&2; exit 1\n"
                               << "Error";
}

void TestRunEnds::progressIsGoneWhileTheResultShows()
{
    QFETCH(QString, hbSubset);
    QFETCH(QString, boxTitle);
    QVERIFY(hbSubset.isEmpty() ? linkTool("hb-subset", VFC_HB_SUBSET) : writeTool("hb-subset", hbSubset));
    QVERIFY(linkTool("vfc-woff2", VFC_BIN_DIR "/vfc-woff2"));

    auto dialog = makeDialog("quick", 0);
    ModalDriver driver;
    QString title;
    bool progressOverTheBox = false;
    driver.expect(ModalDriver::chooseFile(work->path()));
    driver.expect([&](QWidget *box) {
        // The progress dialog would show itself half a second after the
        // run started; the box stays open well past that.
        QTest::qWait(1200);
        progressOverTheBox = progressShowing();
        ModalDriver::pressAndKeep(QMessageBox::Ok, nullptr, &title)(box);
    });
    dialog->findChild<QPushButton *>("generateButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0, 30000);
    QCOMPARE(title, boxTitle);
    QVERIFY(!progressOverTheBox);
    QVERIFY(!progressShowing());
    QCOMPARE(driver.unexpected(), QStringList());
}

QTEST_MAIN(TestRunEnds)
#include "tst_runends.moc"
