#include "ModalDriver.h"
#include "TestFonts.h"
#include "window/VectorFontClipDialog.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

// What the window says of the requested characters a font lacks: the note in
// the done box and the full list behind "Show Details...".
class TestMissingCharacters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void noteShowsOnlyWhatCanBeSeen();
    void longMissingListArrivesWhole();

private:
    QTemporaryDir base; // made before TMPDIR points elsewhere
    std::unique_ptr<QTemporaryDir> work;
    QString chosenFolder; // what the directory dialog is answered with
};

void TestMissingCharacters::init()
{
    // Temporary files of the run go to a folder of the test's own, where
    // leftovers can be seen.
    work = std::make_unique<QTemporaryDir>(base.filePath("XXXXXX"));
    chosenFolder = work->filePath("out");
    QVERIFY(work->isValid() && QDir().mkpath(chosenFolder) && QDir().mkpath(work->filePath("tmp")));
    qputenv("TMPDIR", QFile::encodeName(work->filePath("tmp")));
}

void TestMissingCharacters::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
    const QStringList left =
        QDir(QDir::tempPath()).entryList({"vfc_*"}) + QDir(chosenFolder).entryList({"vfc_*"});
    QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
}

void TestMissingCharacters::noteShowsOnlyWhatCanBeSeen()
{
    // An emoji, a format character and an ideograph the font lacks.
    const QString text = QString::fromUtf8("A😀\u200B中");
    const QString font = work->filePath("ascii.ttf");
    QVERIFY(TestFonts::cutFont(TestFonts::dejaVuSans(), "U+0020-007E", font));
    VectorFontClipDialog dialog(1);
    dialog.findChild<QLineEdit *>("fontPathEdit")->setText(font);
    dialog.findChild<QLineEdit *>("outputNameEdit")->setText("note");
    dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText(text);
    QString note, details;
    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(chosenFolder));
    driver.expect([&](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        note = box->text();
        details = box->detailedText();
        box->accept();
    });
    dialog.findChild<QPushButton *>("generateButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0, 120000);

    QVERIFY2(note.contains("Examples: \"U+200B 中 U+1F600"), qPrintable(note));
    for (QChar c : note) {
        QVERIFY2(c == '\n' || (!c.isSurrogate() && c.category() != QChar::Other_Control &&
                               c.category() != QChar::Other_Format),
                 qPrintable(QString::number(c.unicode(), 16)));
    }
    // The full list behind "Show Details...".
    QCOMPARE(details.split('\n'), QStringList({"U+200B", "U+4E2D 中", "U+1F600 😀"}));
}

void TestMissingCharacters::longMissingListArrivesWhole()
{
    // Thousands of lines reach the box in slices; the last one must be there,
    // and characters that read as markup must stay text.
    const QString font = work->filePath("letters.ttf");
    QVERIFY(TestFonts::cutFont(TestFonts::dejaVuSans(), "U+0041-005A", font));
    QString text = "A<&";
    QStringList expected = {"U+0026 &", "U+003C <"};
    for (char16_t unit = 0x4E00; unit < 0x4E00 + 4321; ++unit) {
        text.append(QChar(unit));
        expected.append(QStringLiteral("U+%1 ").arg(unit, 4, 16, QLatin1Char('0')).toUpper() + QChar(unit));
    }
    VectorFontClipDialog dialog(1);
    dialog.findChild<QLineEdit *>("fontPathEdit")->setText(font);
    dialog.findChild<QLineEdit *>("outputNameEdit")->setText("letters");
    dialog.findChild<QTextEdit *>("customTextEdit")->setPlainText(text);
    QStringList details;
    ModalDriver driver;
    driver.expect(ModalDriver::chooseFile(chosenFolder));
    driver.expect([&](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        QTRY_COMPARE_WITH_TIMEOUT(box->detailedText().count('\n'), expected.size() - 1, 10000);
        details = box->detailedText().split('\n');
        box->accept();
    });
    dialog.findChild<QPushButton *>("generateButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(driver.pending() == 0, 120000);
    QCOMPARE(details, expected);
}

QTEST_MAIN(TestMissingCharacters)
#include "tst_missingcharacters.moc"
