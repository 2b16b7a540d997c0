#include "ModalDriver.h"
#include "TestFonts.h"
#include "font/platform/FontFamilyCandidates.h"
#include "font/platform/FontFileLookup.h"
#include "font/platform/RegularFaceChoice.h"
#include "window/FontInfo.h"
#include "window/VectorFontClipDialog.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <memory>

// How the picker is left after the search and the click on a family.
enum Finish { Cancel, Ok, DoubleClick };

class TestSystemFontPicker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void regularFace_data();
    void regularFace();
    void lookup_data();
    void lookup();
    void pick_data();
    void pick();
    void outputNameFollowsTheFontUntilEdited();
    void cleanup();

private:
    std::unique_ptr<VectorFontClipDialog> dialog;
};

void TestSystemFontPicker::regularFace_data()
{
    // Each face is "width slant(u/o/i) weight [tag]", which is also its path; the
    // ranking is the order in which the faces win as the better ones are taken away.
    QTest::addColumn<QStringList>("ranking");
    QTest::newRow("weight by the CSS rule for 400")
        << QStringList{"100 u 400", "100 u 450", "100 u 500", "100 u 350",
                       "100 u 300", "100 u 100", "100 u 600", "100 u 900"};
    QTest::newRow("slant before weight") << QStringList{"100 u 700", "100 o 400", "100 i 400"};
    QTest::newRow("width before slant, narrower on a tie")
        << QStringList{"100 i 400", "87.5 u 400", "112.5 u 400", "75 u 400"};
    QTest::newRow("equal faces go by path") << QStringList{"100 u 400 a", "100 u 400 b", "100 u 400 c"};
}

void TestSystemFontPicker::regularFace()
{
    QFETCH(QStringList, ranking);
    QList<FaceTraits> faces;
    for (const QString &face : ranking) {
        const QStringList f = face.split(' ');
        faces.append(
            {face, f[0].toDouble(), FaceSlant(QStringLiteral("uoi").indexOf(f[1])), f[2].toDouble()});
    }
    const auto rank = [](QList<FaceTraits> left) {
        QStringList order;
        for (int i; (i = regularFaceIndex(left)) >= 0 && i < left.size();)
            order.append(left.takeAt(i).filePath);
        return order;
    };
    QCOMPARE(rank(faces), ranking);
    // The answer must not hang on the order the font service lists faces in.
    std::reverse(faces.begin(), faces.end());
    QCOMPARE(rank(faces), ranking);
}

void TestSystemFontPicker::lookup_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("candidates"); // checked unless empty
    QTest::addColumn<QString>("path");
    const QString dejaVu = TestFonts::dejaVuSans();
    QTest::newRow("all prefixes, longest first")
        << "W1 W2 W3 W4" << QStringList{"W1 W2 W3 W4", "W1 W2 W3", "W1 W2", "W1"} << QString();
    QTest::newRow("doubled spaces stay in the full name only")
        << "Qw  Er   Ty" << QStringList{"Qw  Er   Ty", "Qw Er", "Qw"} << QString();
    QTest::newRow("unknown one word") << "Qwzxvbnm" << QStringList{"Qwzxvbnm"} << QString();
    QTest::newRow("empty") << QString() << QStringList{QString()} << QString();
    QTest::newRow("blank") << "  " << QStringList{"  "} << QString();
    QTest::newRow("only the last bracket pair is a suffix")
        << "A [b] [c]" << QStringList{"A [b]", "A"} << QString();
    QTest::newRow("brackets alone are no suffix") << "[UKWN]" << QStringList{"[UKWN]"} << QString();
    // fontconfig's matching would substitute some font for this.
    QTest::newRow("known first word only") << "DejaVu Qwzxvbnm" << QStringList() << QString();
    // DejaVu Sans also holds Condensed, ExtraLight, Oblique and Bold faces.
    QTest::newRow("family") << "DejaVu Sans" << QStringList() << dejaVu;
    QTest::newRow("other letter case, trailing style word") << "dejavu SANS Bold" << QStringList() << dejaVu;
    QTest::newRow("longest known prefix wins") << "DejaVu Serif Condensed Italic" << QStringList()
                                               << QFileInfo(dejaVu).path() + "/DejaVuSerifCondensed.ttf";
    QTest::newRow("collection") << "WenQuanYi Micro Hei" << QStringList() << TestFonts::wqyMicroHei();
    // Type 1 copies of the Nimbus faces sort before the .otf by path.
    for (const char *foundry : {"UKWN", "urw", "URW "})
        QTest::addRow("foundry [%s]", foundry)
            << QString("Nimbus Sans [%1]").arg(foundry) << QStringList{"Nimbus Sans", "Nimbus"}
            << TestFonts::nimbusSansOtf();
}

void TestSystemFontPicker::lookup()
{
    QFETCH(QString, family);
    QFETCH(QStringList, candidates);
    QFETCH(QString, path);
    if (!candidates.isEmpty())
        QCOMPARE(fontFamilyCandidates(family), candidates);
    QCOMPARE(resolveFontFilePath(family), path);
}

void TestSystemFontPicker::pick_data()
{
    QTest::addColumn<int>("english");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("family"); // clicked when not empty
    QTest::addColumn<int>("finish");
    // Whose file the font path holds afterwards, empty for the DejaVu Sans
    // the path started with, and the output name then proposed.
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("name");

    const QString wqy = QStringLiteral("WenQuanYi Micro Hei"), wqyChinese = QStringLiteral("文泉驿微米黑");
    QTest::newRow("cancel") << 1 << QString() << wqy << int(Cancel) << QString() << QString();
    QTest::newRow("OK at once takes the current font's family")
        << 0 << QString() << QString() << int(Ok) << "DejaVu Sans"
        << "DejaVuSans";
    // The issue that made the rule: row 0 (say AR PL UMing) stayed current
    // while hidden, and OK returned it.
    QTest::newRow("search hiding the current row: first visible row")
        << 0 << "dejavu serif" << QString() << int(Ok) << "DejaVu Serif"
        << "DejaVuSerif";
    QTest::newRow("search ignores case, click") << 1 << "DEJAVU serif"
                                                << "DejaVu Serif" << int(Ok) << "DejaVu Serif"
                                                << "DejaVuSerif";
    QTest::newRow("search showing nothing: OK disabled")
        << 1 << "qwzxvbnm" << QString() << int(Ok) << QString() << QString();
    // A family shows by its name in the window's language, and is found by any.
    QTest::newRow("Chinese name in Chinese, double click")
        << 0 << QString() << wqyChinese << int(DoubleClick) << wqy << "WenQuanYiMicroHei";
    QTest::newRow("found by its Chinese name, shown in English")
        << 1 << wqyChinese << wqy << int(Ok) << wqy << "WenQuanYiMicroHei";
}

void TestSystemFontPicker::pick()
{
    QFETCH(int, english);
    QFETCH(QString, search);
    QFETCH(QString, family);
    QFETCH(int, finish);
    QFETCH(QString, picked);
    QFETCH(QString, name);
    if (picked.startsWith("WenQuanYi") && !QFileInfo::exists(TestFonts::wqyMicroHei()))
        QSKIP("fonts-wqy-microhei is not installed");

    dialog = std::make_unique<VectorFontClipDialog>(english);
    auto *path = dialog->findChild<QLineEdit *>(QStringLiteral("fontPathEdit"));
    auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("outputNameEdit"));
    path->setText(TestFonts::dejaVuSans());
    nameEdit->setText(" \t ");
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    QStringList rows, visible;
    bool okEnabled = false;
    ModalDriver driver;
    driver.expect([&](QWidget *picker) {
        auto *list = picker->findChild<QListWidget *>(QStringLiteral("fontFamilyList"));
        for (int row = 0; row < list->count(); ++row)
            rows.append(list->item(row)->text());
        auto *searchEdit = picker->findChild<QLineEdit *>(QStringLiteral("fontSearchEdit"));
        QInputMethodEvent typed; // Chinese comes from an input method
        typed.setCommitString(search);
        if (QString::fromLatin1(search.toLatin1()) == search)
            QTest::keyClicks(searchEdit, search);
        else
            QApplication::sendEvent(searchEdit, &typed);
        for (int row = 0; row < list->count(); ++row) {
            if (!list->item(row)->isHidden())
                visible.append(list->item(row)->text());
        }
        if (const auto items = list->findItems(family, Qt::MatchExactly); !items.isEmpty()) {
            list->scrollToItem(items.first());
            const QPoint centre = list->visualItemRect(items.first()).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
            if (finish == DoubleClick)
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        }
        if (!picker->isVisible())
            return;
        auto *buttons = picker->findChild<QDialogButtonBox *>(QStringLiteral("fontPickerButtons"));
        okEnabled = buttons->button(QDialogButtonBox::Ok)->isEnabled();
        if (finish == Ok)
            QTest::keyClick(picker, Qt::Key_Return);
        if (picker->isVisible())
            buttons->button(QDialogButtonBox::Cancel)->click();
    });
    dialog->findChild<QPushButton *>(QStringLiteral("systemFontButton"))->click();
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), QStringList());

    // Only families with a file, each once, whatever else the machine has.
    QSet<QString> folded;
    for (const QString &row : rows) {
        QVERIFY2(!resolveFontFilePath(row).isEmpty(), qPrintable(row));
        QVERIFY2(!folded.contains(row.toCaseFolded()), qPrintable(row));
        folded.insert(row.toCaseFolded());
    }
    for (const char *alias : {"Sans Serif", "Serif", "Monospace"})
        QVERIFY(!rows.contains(QLatin1String(alias)));
    // What the search shows has the text in its name, or is the very font
    // the text names.
    for (const QString &row : visible)
        QVERIFY2(row.contains(search, Qt::CaseInsensitive) || resolveFontFace(row) == resolveFontFace(search),
                 qPrintable(row));
    if (finish == Ok)
        QCOMPARE(okEnabled, !visible.isEmpty());

    const QString expectedPath = picked.isEmpty() ? TestFonts::dejaVuSans() : resolveFontFilePath(picked);
    QCOMPARE(path->text(), expectedPath);
    QCOMPARE(nameEdit->text(), picked.isEmpty() ? QStringLiteral(" \t ") : name);

    // The font information follows the path.
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("fontInfoLabel"))->text(),
             fontInfoText(readFontInfo(picked.isEmpty() ? FontFace{expectedPath, 0} : resolveFontFace(picked))));
}

void TestSystemFontPicker::outputNameFollowsTheFontUntilEdited()
{
    const QString serif = QFileInfo(TestFonts::dejaVuSans()).path() + "/DejaVuSerif.ttf";
    const QString notoCjk = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
    dialog = std::make_unique<VectorFontClipDialog>(1);
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("outputNameEdit"));
    auto *browse = dialog->findChild<QPushButton *>(QStringLiteral("browseButton"));
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    ModalDriver driver;
    const auto browseTo = [&](const QString &font) {
        driver.expect(ModalDriver::chooseFile(font));
        browse->click();
        return name->text();
    };

    // A face of a collection is proposed by its PostScript name, also when
    // another face is chosen; a single face by the file's name.
    auto *faces = dialog->findChild<QComboBox *>(QStringLiteral("faceList"));
    QCOMPARE(browseTo(notoCjk), QStringLiteral("NotoSansCJKjp-Regular"));
    faces->setCurrentIndex(2);
    QCOMPARE(name->text(), QStringLiteral("NotoSansCJKsc-Regular"));
    QCOMPARE(browseTo(TestFonts::wqyMicroHei()), QStringLiteral("WenQuanYiMicroHei"));
    QCOMPARE(browseTo(TestFonts::dejaVuSans()), QStringLiteral("DejaVuSans"));
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(browseTo(serif), QStringLiteral("DejaVuSan"));
    // Typed back to what was proposed is still the user's name, whichever face.
    QTest::keyClicks(name, QStringLiteral("s"));
    QCOMPARE(browseTo(notoCjk), QStringLiteral("DejaVuSans"));
    faces->setCurrentIndex(3);
    QCOMPARE(name->text(), QStringLiteral("DejaVuSans"));
    QCOMPARE(driver.unexpected(), QStringList());
}

void TestSystemFontPicker::cleanup()
{
    dialog.reset();
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestSystemFontPicker)
#include "tst_systemfontpicker.moc"
