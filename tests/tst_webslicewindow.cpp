#include "ModalDriver.h"
#include "TestFiles.h"
#include "charset/StandardCharsets.h"
#include "window/VectorFontClipDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

namespace {

const QString notoRegular = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString notoBold = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc");

} // namespace

class WebSliceWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QTRY_VERIFY(noWindowLeftOpen()); }
    void windowSlicesTheWholeFamily_data();
    void windowSlicesTheWholeFamily();
    void windowCancelLeavesTheOldFolder();

private:
    // Fills in the window for slices of face 2 and presses "Generate subset";
    // the font comes from the file dialog when the driver is to answer it.
    bool generate(ModalDriver *driver, const QString &text, bool allStyles, bool browse = false)
    {
        VectorFontClipDialog dialog(1);
        dialog.setToolDirectory(VFC_BIN_DIR);
        if (browse)
            dialog.findChild<QPushButton *>("browseButton")->click();
        else
            dialog.findChild<QLineEdit *>("fontPathEdit")->setText(notoRegular);
        auto *faces = dialog.findChild<QComboBox *>("faceList");
        if (!QTest::qWaitFor([faces] { return faces->count() > 2; }, 10000))
            return false;
        faces->setCurrentIndex(2);
        dialog.findChild<QLineEdit *>("outputNameEdit")->setText("web");
        dialog.findChild<QLineEdit *>("previewEdit")->setText("中文");
        dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText(text);
        auto *formats = dialog.findChild<QComboBox *>("outputFormatCombo");
        formats->setCurrentIndex(formats->findText("WOFF2 slices for the web"));
        dialog.findChild<QCheckBox *>("allStylesCheck")->setChecked(allStyles);
        dialog.findChild<QPushButton *>("generateButton")->click();
        const auto *buttons = dialog.findChild<QDialogButtonBox *>("buttonBox");
        return QTest::qWaitFor([&] { return driver->pending() == 0 && buttons->isEnabled(); }, 120000);
    }

    QTemporaryDir work;
};

void WebSliceWindowTest::windowSlicesTheWholeFamily_data()
{
    QTest::addColumn<bool>("browse");
    QTest::newRow("all installed styles") << false;
    QTest::newRow("two files picked together") << true;
}

void WebSliceWindowTest::windowSlicesTheWholeFamily()
{
    QFETCH(bool, browse);
    const QString folder = work.filePath(QString("family%1/web").arg(browse));
    QVERIFY(QDir().mkpath(folder) && writeFile(folder + "/old.css", "previous"));
    QString question, done;
    ModalDriver driver;
    if (browse)
        driver.expect(ModalDriver::chooseFile(QString("\"%1\" \"%2\"").arg(notoRegular, notoBold)));
    driver.expect(ModalDriver::chooseFile(QFileInfo(folder).path()));
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Yes, &question));
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &done));
    QVERIFY(generate(&driver, "中文，字体。", !browse, browse));
    QCOMPARE(question, "Folder " + folder + " already exists, replace it?");
    QVERIFY2(done.contains(folder + "/web.css\n") && done.contains(" slices, "), qPrintable(done));
    const QStringList files = folderTree(folder);
    QVERIFY2(files.contains("web-Bold-001.woff2") && files.contains("web-Regular-001.woff2") &&
                 !files.contains("old.css") && files.contains("index.html"),
             qPrintable(files.join(' ')));
    QVERIFY(readFile(folder + "/index.html").contains("中文"));
    QCOMPARE(driver.unexpected(), QStringList());
}

void WebSliceWindowTest::windowCancelLeavesTheOldFolder()
{
    const QString folder = work.filePath("cancel/web");
    QVERIFY(QDir().mkpath(folder) && writeFile(folder + "/old.css", "previous"));
    QString text;
    for (uint codepoint : standardCharsetCharacters(findStandardCharset("gb2312")))
        text += QString::fromUcs4(reinterpret_cast<const char32_t *>(&codepoint), 1);
    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(work.filePath("cancel")));
    driver.expect(ModalDriver::press(QMessageBox::Yes));
    driver.expectProgress([](QWidget *progress) {
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    });
    QVERIFY(generate(&driver, text, false));
    QCOMPARE(folderTree(work.filePath("cancel")), (QStringList{"web/", "web/old.css"}));
    QCOMPARE(driver.unexpected(), QStringList());
}

QTEST_MAIN(WebSliceWindowTest)
#include "tst_webslicewindow.moc"
