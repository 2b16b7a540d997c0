#include "ModalDriver.h"
#include "TestFonts.h"
#include "dialog/VectorFontClipDialog.h"
#include "font/platform/FontFileLookup.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

// One step done by the user in the open picker; the picker's widgets are
// found by name from the modal window the driver hands over.
using PickerStep = std::function<void(QLineEdit *search, QListWidget *list)>;

ModalDriver::Answer inPicker(PickerStep step, QDialogButtonBox::StandardButton finish)
{
    return [step, finish](QWidget *window) {
        auto *search = window->findChild<QLineEdit *>(QStringLiteral("fontSearchEdit"));
        auto *list = window->findChild<QListWidget *>(QStringLiteral("fontFamilyList"));
        auto *buttons = window->findChild<QDialogButtonBox *>(QStringLiteral("fontPickerButtons"));
        if (search && list && buttons && step)
            step(search, list);
        // Whatever the step did, the picker must not stay open.
        if (!window->isVisible())
            return;
        if (buttons)
            buttons->button(finish)->click();
        else
            window->close();
    };
}

void clickFamily(QListWidget *list, const QString &family, bool doubleClick = false)
{
    const auto items = list->findItems(family, Qt::MatchExactly);
    if (items.isEmpty())
        return;
    list->scrollToItem(items.first());
    const QPoint centre = list->visualItemRect(items.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (doubleClick)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

QStringList visibleFamilies(QListWidget *list)
{
    QStringList visible;
    for (int row = 0; row < list->count(); ++row) {
        if (!list->item(row)->isHidden())
            visible.append(list->item(row)->text());
    }
    return visible;
}

} // namespace

class TestSystemFontPicker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cancelChangesNothing();
    void okTakesRowZero_data();
    void okTakesRowZero();
    void searchIgnoresCase();
    void foundFamilyFillsPathAndName_data();
    void foundFamilyFillsPathAndName();
    void familyWithoutFileWarns_data();
    void familyWithoutFileWarns();
    void cleanup();

private:
    bool openWindow(int useEnglish);
    // Opens the picker from the window and lets the driver answer; returns
    // what went wrong with the answers, empty when each came as expected.
    QString runPicker(ModalDriver &driver);
    QString text(const char *name) const
    {
        return dialog->findChild<QLineEdit *>(QLatin1String(name))->text();
    }
    void setText(const char *name, const QString &text)
    {
        dialog->findChild<QLineEdit *>(QLatin1String(name))->setText(text);
    }

    std::unique_ptr<VectorFontClipDialog> dialog;
};

bool TestSystemFontPicker::openWindow(int useEnglish)
{
    dialog = std::make_unique<VectorFontClipDialog>(useEnglish);
    dialog->show();
    return QTest::qWaitForWindowExposed(dialog.get());
}

QString TestSystemFontPicker::runPicker(ModalDriver &driver)
{
    dialog->findChild<QPushButton *>(QStringLiteral("systemFontButton"))->click();
    if (driver.pending() != 0)
        return QStringLiteral("%1 answers left").arg(driver.pending());
    return driver.unexpected().join(QLatin1Char('\n'));
}

void TestSystemFontPicker::cancelChangesNothing()
{
    QVERIFY(openWindow(1));
    ModalDriver driver;
    driver.expect(
        inPicker([](QLineEdit *, QListWidget *list) { clickFamily(list, QStringLiteral("DejaVu Sans")); },
                 QDialogButtonBox::Cancel));
    QCOMPARE(runPicker(driver), QString());
    QCOMPARE(text("fontPathEdit"), QString());
    QCOMPARE(text("outputNameEdit"), QString());
}

void TestSystemFontPicker::okTakesRowZero_data()
{
    QTest::addColumn<QString>("search");
    QTest::newRow("at once") << QString();
    // The current row stays current while the search hides it.
    QTest::newRow("after a search that hides row 0") << "WenQuanYi Micro Hei";
}

void TestSystemFontPicker::okTakesRowZero()
{
    QFETCH(QString, search);
    const QString rowZero = QFontDatabase::families(QFontDatabase::Any).value(0);
    const QString rowZeroPath = resolveFontFilePath(rowZero);
    QVERIFY2(!rowZeroPath.isEmpty() && rowZeroPath != TestFonts::wqyMicroHei(), qPrintable(rowZero));

    QVERIFY(openWindow(1));
    bool rowZeroHidden = false;
    ModalDriver driver;
    driver.expect(inPicker(
        [&](QLineEdit *searchEdit, QListWidget *list) {
            QTest::keyClicks(searchEdit, search);
            rowZeroHidden = list->item(0)->isHidden();
        },
        QDialogButtonBox::Ok));
    QCOMPARE(runPicker(driver), QString());
    QCOMPARE(rowZeroHidden, !search.isEmpty());
    QCOMPARE(text("fontPathEdit"), rowZeroPath);
}

void TestSystemFontPicker::searchIgnoresCase()
{
    const QStringList families = QFontDatabase::families(QFontDatabase::Any);
    QVERIFY(openWindow(1));
    QStringList lowerCaseHits, upperCaseHits, afterClearing;
    ModalDriver driver;
    driver.expect(inPicker(
        [&](QLineEdit *search, QListWidget *list) {
            QTest::keyClicks(search, QStringLiteral("dejavu serif"));
            lowerCaseHits = visibleFamilies(list);
            search->clear();
            afterClearing = visibleFamilies(list);
            QTest::keyClicks(search, QStringLiteral("DEJAVU SERIF"));
            upperCaseHits = visibleFamilies(list);
            clickFamily(list, QStringLiteral("DejaVu Serif"));
        },
        QDialogButtonBox::Ok));
    QCOMPARE(runPicker(driver), QString());
    const QStringList serifFamilies{"DejaVu Serif", "DejaVu Serif Condensed"};
    QCOMPARE(lowerCaseHits, serifFamilies);
    QCOMPARE(upperCaseHits, serifFamilies);
    QCOMPARE(afterClearing, families);
    QCOMPARE(text("fontPathEdit"),
             QFileInfo(TestFonts::dejaVuSans()).path() + QStringLiteral("/DejaVuSerif.ttf"));
}

void TestSystemFontPicker::foundFamilyFillsPathAndName_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<QString>("expectedPath");
    QTest::addColumn<QString>("expectedName");

    const QString dejaVu = TestFonts::dejaVuSans();
    QTest::newRow("empty name") << "DejaVu Sans" << false << "" << dejaVu << "DejaVuSans";
    QTest::newRow("blank name") << "DejaVu Sans" << false << " \t " << dejaVu << "DejaVuSans";
    QTest::newRow("name kept") << "DejaVu Sans" << false << " Mine " << dejaVu << " Mine ";
    QTest::newRow("double click, no OK")
        << "WenQuanYi Micro Hei" << true << "" << TestFonts::wqyMicroHei() << "wqy-microhei";
    QTest::newRow("listed with a foundry")
        << "Nimbus Sans [UKWN]" << false << "" << TestFonts::nimbusSansOtf() << "NimbusSans-Regular";
}

void TestSystemFontPicker::foundFamilyFillsPathAndName()
{
    QFETCH(QString, family);
    QFETCH(bool, doubleClick);
    QFETCH(QString, outputName);
    QFETCH(QString, expectedPath);
    QFETCH(QString, expectedName);

    QVERIFY(openWindow(1));
    setText("outputNameEdit", outputName);
    ModalDriver driver;
    // A double click must close the picker by itself; Cancel would undo it.
    driver.expect(inPicker([&](QLineEdit *, QListWidget *list) { clickFamily(list, family, doubleClick); },
                           doubleClick ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok));
    QCOMPARE(runPicker(driver), QString());
    QCOMPARE(text("fontPathEdit"), expectedPath);
    QCOMPARE(text("outputNameEdit"), expectedName);

    // The font information follows the new path.
    int usable = 0;
    for (uint codePoint : TestFonts::readCharacterMap(expectedPath))
        usable += codePoint >= 0x20 && codePoint <= 0xFFFF && !QChar::isSurrogate(codePoint);
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("fontInfoLabel"))->text(),
             QStringLiteral("Current font contains %1 usable Unicode characters.").arg(usable));
}

void TestSystemFontPicker::familyWithoutFileWarns_data()
{
    QTest::addColumn<int>("english");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("English")
        << 1 << "Font Not Found"
        << "Could not get font file path for \"%1\".\n\nPossible reasons:\n1. It is a composite "
           "font or non-TrueType/OpenType format\n2. The font is in a non-standard "
           "directory\n\nPlease use \"Browse...\" button to manually select font file.";
    QTest::newRow("Chinese") << 0 << "未找到匹配字体"
                             << "所选字体 \"%1\" 未能获取到对应的字体文件路径。\n\n可能原因：\n1. "
                                "该字体是复合字体或非 TrueType/OpenType 格式\n2. "
                                "该字体位于非标准目录\n\n请使用\"浏览...\"按钮手动选择字体文件。";
}

void TestSystemFontPicker::familyWithoutFileWarns()
{
    QFETCH(int, english);
    QFETCH(QString, title);
    QFETCH(QString, message);

    // Qt lists families whose file the lookup cannot give: generic aliases
    // such as "Sans Serif", Type 1 or bitmap-only families.
    QString family;
    for (const QString &listed : QFontDatabase::families(QFontDatabase::Any)) {
        if (family.isEmpty() && resolveFontFilePath(listed).isEmpty())
            family = listed;
    }
    if (family.isEmpty())
        QSKIP("Every family Qt lists here has a TrueType or CFF file");

    QVERIFY(openWindow(english));
    setText("fontPathEdit", TestFonts::dejaVuSans());
    QString shownTitle, shownText;
    ModalDriver driver;
    driver.expect(
        inPicker([&](QLineEdit *, QListWidget *list) { clickFamily(list, family); }, QDialogButtonBox::Ok));
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &shownText, &shownTitle));
    QCOMPARE(runPicker(driver), QString());
    QCOMPARE(shownTitle, title);
    QCOMPARE(shownText, message.arg(family));
    QCOMPARE(text("fontPathEdit"), TestFonts::dejaVuSans());
    QCOMPARE(text("outputNameEdit"), QString());
}

void TestSystemFontPicker::cleanup()
{
    dialog.reset();
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestSystemFontPicker)
#include "tst_systemfontpicker.moc"
