#include "ModalDriver.h"
#include "TestFonts.h"
#include "dialog/VectorFontClipDialog.h"
#include "font/FontInfo.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The window's font-source widgets, found the way a user sees them.
struct FontSourceWidgets
{
    explicit FontSourceWidgets(QWidget *dialog)
        : fontPath(dialog->findChild<QLineEdit *>(QStringLiteral("fontPathEdit"))),
          outputName(dialog->findChild<QLineEdit *>(QStringLiteral("outputNameEdit"))),
          previewText(dialog->findChild<QLineEdit *>(QStringLiteral("previewEdit"))),
          browse(dialog->findChild<QPushButton *>(QStringLiteral("browseButton"))),
          preview(dialog->findChild<QLabel *>(QStringLiteral("previewLabel"))),
          fontInfo(dialog->findChild<QLabel *>(QStringLiteral("fontInfoLabel"))),
          status(dialog->findChild<QLabel *>(QStringLiteral("previewStatusLabel")))
    {}
    bool complete() const
    {
        return fontPath && outputName && previewText && browse && preview && fontInfo && status;
    }

    QLineEdit *fontPath;
    QLineEdit *outputName;
    QLineEdit *previewText;
    QPushButton *browse;
    QLabel *preview;
    QLabel *fontInfo;
    QLabel *status;
};

QString countText(const QString &fontPath)
{
    const FontInfo info = readFontInfo(fontPath);
    return info.status == FontInfo::Status::Read ? fontInfoText(info, 1) : QStringLiteral("(unreadable)");
}

bool replaceFile(const QString &path, const QString &source)
{
    QFile::remove(path);
    return QFile::copy(source, path);
}

// Picks `path` in the file dialog, keeping what the dialog offered.
ModalDriver::Answer chooseFileKeeping(const QString &path, QString *title, QStringList *filters)
{
    return [=](QWidget *window) {
        if (auto *dialog = qobject_cast<QFileDialog *>(window)) {
            *title = dialog->windowTitle();
            *filters = dialog->nameFilters();
        }
        ModalDriver::chooseFile(path)(window);
    };
}

} // namespace

class TestFontSourceWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startUp_data();
    void startUp();
    void typedPathAndPreview();
    void unchangedPathIsNotScannedAgain();
    void failedPathIsScannedAgain();
    void browse_data();
    void browse();
    void pickingTheSameFileAgainRefreshes();
    void cancelledBrowseChangesNothing();
    void cleanup();

private:
    QTemporaryDir dir;
    QString latinFont; // U+0020, U+0041, U+0042 only
    QString abcFont;   // U+0020, U+0041..U+0043 only
};

void TestFontSourceWindow::initTestCase()
{
    QVERIFY(dir.isValid());
    QString error;
    latinFont = dir.filePath(QStringLiteral("latin.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("U+20,U+41,U+42"), latinFont, &error),
             qPrintable(error));
    abcFont = dir.filePath(QStringLiteral("abc.ttf"));
    QVERIFY2(TestFonts::cutFont(TestFonts::dejaVuSans(), QStringLiteral("U+20,U+41-43"), abcFont, &error),
             qPrintable(error));
}

void TestFontSourceWindow::startUp_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QString>("status");
    QTest::newRow("English") << 1 << QStringLiteral("No valid font selected.");
    QTest::newRow("Chinese") << 0 << QStringLiteral("未选择有效字库。");
}

void TestFontSourceWindow::startUp()
{
    QFETCH(int, useEnglish);
    QFETCH(QString, status);
    VectorFontClipDialog dialog(useEnglish);
    FontSourceWidgets w(&dialog);
    QVERIFY(w.complete());
    QCOMPARE(w.fontInfo->text(), QString());
    QCOMPARE(w.status->text(), status);
    QCOMPARE(w.preview->text(), QString());
}

void TestFontSourceWindow::typedPathAndPreview()
{
    VectorFontClipDialog dialog(1);
    FontSourceWidgets w(&dialog);
    QVERIFY(w.complete());

    w.previewText->setText(QStringLiteral("A Z"));
    w.fontPath->setText(latinFont);
    QCOMPARE(w.fontInfo->text(), countText(latinFont));
    QCOMPARE(w.preview->text(), QStringLiteral("A "));
    QCOMPARE(w.preview->font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(w.preview->font().pointSize(), 32);
    QCOMPARE(w.status->text(), QStringLiteral("Current font supports 1/3 preview characters."));

    w.previewText->setText(QStringLiteral("Z"));
    QCOMPARE(w.preview->text(), QString());
    QCOMPARE(w.preview->font(), dialog.font());
    QCOMPARE(w.status->text(), QStringLiteral("Selected font does not contain the preview characters."));

    w.previewText->setText(QStringLiteral("  "));
    QCOMPARE(w.status->text(), QStringLiteral("Please input characters to preview."));
}

void TestFontSourceWindow::unchangedPathIsNotScannedAgain()
{
    const QString path = dir.filePath(QStringLiteral("changing.ttf"));
    QVERIFY(replaceFile(path, latinFont));
    VectorFontClipDialog dialog(1);
    FontSourceWidgets w(&dialog);
    QVERIFY(w.complete());

    w.fontPath->setText(path);
    const QString first = w.fontInfo->text();
    QCOMPARE(first, countText(latinFont));

    // A different font under the same path shows only once the path changes.
    QVERIFY(replaceFile(path, abcFont));
    w.previewText->setText(QStringLiteral("A"));
    QCOMPARE(w.fontInfo->text(), first);

    w.fontPath->clear();
    QCOMPARE(w.fontInfo->text(), QStringLiteral("No valid font selected."));
    QCOMPARE(w.status->text(), QStringLiteral("No valid font selected."));
    QCOMPARE(w.preview->text(), QString());
    w.previewText->setText(QStringLiteral("B"));
    QCOMPARE(w.fontInfo->text(), QStringLiteral("No valid font selected."));

    w.fontPath->setText(path);
    QCOMPARE(w.fontInfo->text(), countText(abcFont));
    QVERIFY(w.fontInfo->text() != first);
}

void TestFontSourceWindow::failedPathIsScannedAgain()
{
    const QString path = dir.filePath(QStringLiteral("later.ttf"));
    QFile garbage(path);
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a font at all");
    garbage.close();
    VectorFontClipDialog dialog(0);
    FontSourceWidgets w(&dialog);
    QVERIFY(w.complete());

    w.fontPath->setText(path);
    QCOMPARE(w.fontInfo->text(), QStringLiteral("无法读取字库信息。"));
    w.previewText->setText(QStringLiteral("A"));
    QCOMPARE(w.status->text(), QStringLiteral("无法读取字库信息。"));
    QCOMPARE(w.preview->text(), QString());

    QVERIFY(replaceFile(path, latinFont));
    w.previewText->setText(QStringLiteral("AB"));
    QCOMPARE(w.fontInfo->text(), fontInfoText(readFontInfo(latinFont), 0));
    QCOMPARE(w.status->text(), QStringLiteral("当前字库支持全部预览字符（2 个）。"));
}

void TestFontSourceWindow::browse_data()
{
    QTest::addColumn<int>("useEnglish");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expectedName");

    QTest::newRow("empty name takes the base name") << 1 << QString() << "My.Font.ttf"
                                                    << "My.Font";
    QTest::newRow("blank name is replaced") << 1 << " \t "
                                            << "My.Font.ttf"
                                            << "My.Font";
    QTest::newRow("a given name is kept") << 1 << " keep "
                                          << "My.Font.ttf"
                                          << " keep ";
    QTest::newRow("file without suffix") << 1 << QString() << "fontfile"
                                         << "fontfile";
    QTest::newRow("Chinese, spaces and non-ASCII in the path") << 0 << QString() << "字体 目录/思源 黑体.ttf"
                                                               << "思源 黑体";
}

void TestFontSourceWindow::browse()
{
    QFETCH(int, useEnglish);
    QFETCH(QString, outputName);
    QFETCH(QString, fileName);
    QFETCH(QString, expectedName);

    const QString path = dir.filePath(QStringLiteral("browse/") + fileName);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QVERIFY(replaceFile(path, latinFont));
    VectorFontClipDialog dialog(useEnglish);
    FontSourceWidgets w(&dialog);
    QVERIFY(w.complete());
    w.outputName->setText(outputName);
    w.previewText->setText(QStringLiteral("AB"));

    ModalDriver driver;
    QString title;
    QStringList filters;
    driver.expect(chooseFileKeeping(path, &title, &filters));
    w.browse->click();
    QCOMPARE(driver.pending(), 0);
    QVERIFY2(driver.unexpected().isEmpty(), qPrintable(driver.unexpected().join(", ")));

    if (useEnglish == 1) {
        QCOMPARE(title, QStringLiteral("Select font file"));
        QCOMPARE(filters, (QStringList{"Font Files (*.ttf *.otf *.ttc)", "All Files (*)"}));
    } else {
        QCOMPARE(title, QStringLiteral("选择字体文件"));
        QCOMPARE(filters, (QStringList{"字体文件 (*.ttf *.otf *.ttc)", "所有文件 (*)"}));
    }
    QCOMPARE(w.fontPath->text(), path);
    QCOMPARE(w.outputName->text(), expectedName);
    QCOMPARE(w.fontInfo->text(), fontInfoText(readFontInfo(latinFont), useEnglish));
    QCOMPARE(w.preview->text(), QStringLiteral("AB"));
}

void TestFontSourceWindow::pickingTheSameFileAgainRefreshes()
{
    const QString path = dir.filePath(QStringLiteral("again.ttf"));
    QVERIFY(replaceFile(path, latinFont));
    VectorFontClipDialog dialog(1);
    FontSourceWidgets w(&dialog);
    QVERIFY(w.complete());
    w.previewText->setText(QStringLiteral("AC"));

    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(path));
    w.browse->click();
    QCOMPARE(w.preview->text(), QStringLiteral("A"));

    // The path text stays the same, so only the explicit refresh can see
    // the new file.
    QVERIFY(replaceFile(path, abcFont));
    driver.expect(ModalDriver::chooseFile(path));
    w.browse->click();
    QCOMPARE(driver.pending(), 0);
    QVERIFY(driver.unexpected().isEmpty());
    QCOMPARE(w.preview->text(), QStringLiteral("AC"));
    QCOMPARE(w.status->text(), QStringLiteral("Current font supports all preview characters (2)."));
}

void TestFontSourceWindow::cancelledBrowseChangesNothing()
{
    VectorFontClipDialog dialog(1);
    FontSourceWidgets w(&dialog);
    QVERIFY(w.complete());
    w.fontPath->setText(latinFont);
    w.outputName->clear();
    w.previewText->setText(QStringLiteral("A"));
    const QString info = w.fontInfo->text();

    ModalDriver driver;
    driver.expect(ModalDriver::cancel());
    w.browse->click();
    QCOMPARE(driver.pending(), 0);
    QVERIFY(driver.unexpected().isEmpty());
    QCOMPARE(w.fontPath->text(), latinFont);
    QCOMPARE(w.outputName->text(), QString());
    QCOMPARE(w.fontInfo->text(), info);
    QCOMPARE(w.preview->text(), QStringLiteral("A"));
}

void TestFontSourceWindow::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    QCOMPARE(TestFonts::registeredApplicationFonts(), 0);
}

QTEST_MAIN(TestFontSourceWindow)
#include "tst_fontsourcewindow.moc"
