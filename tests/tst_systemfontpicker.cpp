#include "ModalDriver.h"
#include "TestFonts.h"
#include "dialog/VectorFontClipDialog.h"
#include "font/platform/FontFamilyCandidates.h"
#include "font/platform/FontFileLookup.h"
#include "font/platform/RegularFaceChoice.h"

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
    QTest::addColumn<QStringList>("shown"); // checked after a search only
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("finish");
    // The font path and output name after the pick, which start as DejaVu Sans and
    // blank; then the title and text of a warning, if one came.
    QTest::addColumn<QStringList>("expected");

    const QStringList families = QFontDatabase::families(QFontDatabase::Any);
    const QString rowZeroPath = resolveFontFilePath(families.value(0));
    const QStringList rowZero{rowZeroPath, QFileInfo(rowZeroPath).completeBaseName()};
    const QStringList wqy{"WenQuanYi Micro Hei", "WenQuanYi Micro Hei Mono"};
    const QStringList unchanged{TestFonts::dejaVuSans(), " \t "};
    const QString serifPath = QFileInfo(TestFonts::dejaVuSans()).path() + "/DejaVuSerif.ttf";
    // Qt lists generic aliases, whose file the lookup cannot give.
    const QString noFile = QStringLiteral("Sans Serif");
    QVERIFY2(!rowZeroPath.isEmpty() && !wqy.contains(families.value(0)) && families.contains(noFile),
             qPrintable(families.value(0)));

    QTest::newRow("cancel") << 1 << QString() << QStringList() << wqy[0] << int(Cancel) << unchanged;
    QTest::newRow("OK at once takes row 0")
        << 1 << QString() << QStringList() << QString() << int(Ok) << rowZero;
    // The current row stays current while the search hides it.
    QTest::newRow("search hiding row 0") << 1 << "wenquanyi" << wqy << QString() << int(Ok) << rowZero;
    QTest::newRow("search ignores case")
        << 1 << "DEJAVU serif" << QStringList{"DejaVu Serif", "DejaVu Serif Condensed"} << "DejaVu Serif"
        << int(Ok) << QStringList{serifPath, "DejaVuSerif"};
    QTest::newRow("double click") << 1 << QString() << QStringList() << wqy[0] << int(DoubleClick)
                                  << QStringList{TestFonts::wqyMicroHei(), "wqy-microhei"};
    const QString englishText =
        "Could not get font file path for \"Sans Serif\".\n\nPossible reasons:\n1. It is a composite font or "
        "non-TrueType/OpenType format\n2. The font is in a non-standard directory\n\nPlease use "
        "\"Browse...\" button to manually select font file.";
    const QString chineseText =
        "所选字体 \"Sans Serif\" 未能获取到对应的字体文件路径。\n\n可能原因：\n1. 该字体是复合字体或非 "
        "TrueType/OpenType 格式\n2. 该字体位于非标准目录\n\n请使用\"浏览...\"按钮手动选择字体文件。";
    QTest::newRow("no file, English") << 1 << QString() << QStringList() << noFile << int(Ok)
                                      << unchanged + QStringList{"Font Not Found", englishText};
    QTest::newRow("no file, Chinese") << 0 << QString() << QStringList() << noFile << int(Ok)
                                      << unchanged + QStringList{"未找到匹配字体", chineseText};
}

void TestSystemFontPicker::pick()
{
    QFETCH(int, english);
    QFETCH(QString, search);
    QFETCH(QStringList, shown);
    QFETCH(QString, family);
    QFETCH(int, finish);
    QFETCH(QStringList, expected);

    dialog = std::make_unique<VectorFontClipDialog>(english);
    auto *path = dialog->findChild<QLineEdit *>(QStringLiteral("fontPathEdit"));
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("outputNameEdit"));
    path->setText(TestFonts::dejaVuSans());
    name->setText(" \t ");
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    QStringList visible;
    QString title, text;
    ModalDriver driver;
    driver.expect([&](QWidget *picker) {
        QTest::keyClicks(picker->findChild<QLineEdit *>(QStringLiteral("fontSearchEdit")), search);
        auto *list = picker->findChild<QListWidget *>(QStringLiteral("fontFamilyList"));
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
        if (picker->isVisible())
            picker->findChild<QDialogButtonBox *>(QStringLiteral("fontPickerButtons"))
                ->button(finish == Ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                ->click();
    });
    if (expected.size() > 2)
        driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &text, &title));
    dialog->findChild<QPushButton *>(QStringLiteral("systemFontButton"))->click();
    QCOMPARE(driver.pending(), 0);
    QCOMPARE(driver.unexpected(), QStringList());
    if (!search.isEmpty())
        QCOMPARE(visible, shown);
    QStringList fields{path->text(), name->text()};
    if (!title.isEmpty())
        fields << title << text;
    QCOMPARE(fields, expected);

    // The font information follows the path.
    int usable = 0;
    for (uint codePoint : TestFonts::readCharacterMap(expected[0]))
        usable += codePoint >= 0x20 && codePoint <= 0xFFFF && !QChar::isSurrogate(codePoint);
    const QString info = dialog->findChild<QLabel *>(QStringLiteral("fontInfoLabel"))->text();
    QVERIFY2(info.contains(QStringLiteral(" %1 ").arg(usable)), qPrintable(info));
}

void TestSystemFontPicker::cleanup()
{
    dialog.reset();
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestSystemFontPicker)
#include "tst_systemfontpicker.moc"
