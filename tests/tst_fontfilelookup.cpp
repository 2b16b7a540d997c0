#include "TestFonts.h"
#include "font/platform/FontFamilyCandidates.h"
#include "font/platform/FontFileLookup.h"
#include "font/platform/RegularFaceChoice.h"

#include <QFileInfo>
#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(QList<FaceTraits>)

class TestFontFileLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void candidates_data();
    void candidates();
    void regularFace_data();
    void regularFace();
    void installedFamilies_data();
    void installedFamilies();
};

void TestFontFileLookup::candidates_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("four words give all prefixes, longest first")
        << "W1 W2 W3 W4" << QStringList{"W1 W2 W3 W4", "W1 W2 W3", "W1 W2", "W1"};
    QTest::newRow("doubled spaces stay in the full name only")
        << "Noto  Sans   Mono" << QStringList{"Noto  Sans   Mono", "Noto Sans", "Noto"};
    QTest::newRow("leading and trailing spaces make no empty word") << " A B " << QStringList{" A B ", "A"};
    QTest::newRow("one word") << "Monospace" << QStringList{"Monospace"};
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("foundry suffix") << "Nimbus Sans [UKWN]" << QStringList{"Nimbus Sans", "Nimbus"};
    QTest::newRow("foundry suffix with a space inside")
        << "Nimbus Sans [URW ]" << QStringList{"Nimbus Sans", "Nimbus"};
    QTest::newRow("brackets inside the name are no suffix")
        << "A [b] C" << QStringList{"A [b] C", "A [b]", "A"};
    QTest::newRow("brackets alone are no suffix") << "[UKWN]" << QStringList{"[UKWN]"};
    QTest::newRow("only the last bracket pair is a suffix") << "A [b] [c]" << QStringList{"A [b]", "A"};
}

void TestFontFileLookup::candidates()
{
    QFETCH(QString, family);
    QFETCH(QStringList, expected);
    QCOMPARE(fontFamilyCandidates(family), expected);
}

void TestFontFileLookup::regularFace_data()
{
    QTest::addColumn<QList<FaceTraits>>("faces");
    QTest::addColumn<QString>("expected");

    const auto face = [](const char *path, double width, FaceSlant slant, double weight) {
        return FaceTraits{QString::fromLatin1(path), width, slant, weight};
    };
    const FaceSlant up = FaceSlant::Upright;

    QTest::newRow("none") << QList<FaceTraits>{} << QString();
    QTest::newRow("one") << QList<FaceTraits>{face("a", 75, FaceSlant::Italic, 900)} << "a";

    // The expected face's path sorts last, so that only its traits can win.
    QTest::newRow("400 before 500") << QList<FaceTraits>{face("a-500", 100, up, 500),
                                                         face("z-400", 100, up, 400)}
                                    << "z-400";
    QTest::newRow("500 before lighter")
        << QList<FaceTraits>{face("a-300", 100, up, 300), face("z-500", 100, up, 500)} << "z-500";
    QTest::newRow("between 400 and 500 ascending")
        << QList<FaceTraits>{face("a-500", 100, up, 500), face("z-450", 100, up, 450)} << "z-450";
    QTest::newRow("lighter before heavier")
        << QList<FaceTraits>{face("a-600", 100, up, 600), face("z-300", 100, up, 300)} << "z-300";
    QTest::newRow("lighter descending")
        << QList<FaceTraits>{face("a-200", 100, up, 200), face("z-350", 100, up, 350),
                             face("a-100", 100, up, 100)}
        << "z-350";
    QTest::newRow("heavier ascending")
        << QList<FaceTraits>{face("a-900", 100, up, 900), face("z-600", 100, up, 600),
                             face("a-700", 100, up, 700)}
        << "z-600";

    QTest::newRow("oblique before italic")
        << QList<FaceTraits>{face("a-italic", 100, FaceSlant::Italic, 400),
                             face("z-oblique", 100, FaceSlant::Oblique, 400)}
        << "z-oblique";
    QTest::newRow("upright bold before regular italic")
        << QList<FaceTraits>{face("a-italic", 100, FaceSlant::Italic, 400), face("z-bold", 100, up, 700)}
        << "z-bold";

    QTest::newRow("normal width italic before condensed upright")
        << QList<FaceTraits>{face("a-condensed", 87.5, up, 400),
                             face("z-italic", 100, FaceSlant::Italic, 400)}
        << "z-italic";
    QTest::newRow("closest width wins")
        << QList<FaceTraits>{face("a-condensed", 75, up, 400), face("z-semiexpanded", 112.5, up, 400)}
        << "z-semiexpanded";
    QTest::newRow("narrower wins an equal distance")
        << QList<FaceTraits>{face("a-semiexpanded", 112.5, up, 400), face("z-semicondensed", 87.5, up, 400)}
        << "z-semicondensed";

    QTest::newRow("equal faces go by path")
        << QList<FaceTraits>{face("/b/x.ttf", 100, up, 400), face("/a/y.otf", 100, up, 400),
                             face("/c/z.ttf", 100, up, 400)}
        << "/a/y.otf";
}

void TestFontFileLookup::regularFace()
{
    QFETCH(QList<FaceTraits>, faces);
    QFETCH(QString, expected);

    // The answer must not hang on the order the font service lists faces in.
    for (int turn = 0; turn < 2; ++turn) {
        const int index = regularFaceIndex(faces);
        QCOMPARE(index >= 0 ? faces.at(index).filePath : QString(), expected);
        std::reverse(faces.begin(), faces.end());
    }
}

void TestFontFileLookup::installedFamilies_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("expected");

    const QString dejaVuDir = QFileInfo(TestFonts::dejaVuSans()).path() + QLatin1Char('/');

    // The family also holds Condensed, ExtraLight, Oblique and Bold faces.
    QTest::newRow("family") << "DejaVu Sans" << TestFonts::dejaVuSans();
    QTest::newRow("other letter case") << "dejavu SANS" << TestFonts::dejaVuSans();
    QTest::newRow("trailing style word") << "DejaVu Sans Bold" << TestFonts::dejaVuSans();
    QTest::newRow("longest known prefix wins")
        << "DejaVu Serif Condensed Italic" << dejaVuDir + "DejaVuSerifCondensed.ttf";
    QTest::newRow("full name first even when it looks like a style")
        << "DejaVu Sans Light" << dejaVuDir + "DejaVuSans-ExtraLight.ttf";
    QTest::newRow("collection") << "WenQuanYi Micro Hei" << TestFonts::wqyMicroHei();

    // Type 1 copies of the same faces sort before the .otf by path.
    QTest::newRow("foundry UKWN") << "Nimbus Sans [UKWN]" << TestFonts::nimbusSansOtf();
    QTest::newRow("foundry urw, whose faces are Type 1") << "Nimbus Sans [urw]" << TestFonts::nimbusSansOtf();
    QTest::newRow("foundry with a space") << "Nimbus Sans [URW ]" << TestFonts::nimbusSansOtf();
    QTest::newRow("style word and foundry") << "Nimbus Sans Italic [URW ]" << TestFonts::nimbusSansOtf();

    // fontconfig's matching would substitute some font for all of these.
    QTest::newRow("unknown one word") << "Qwzxvbnm" << QString();
    QTest::newRow("generic alias") << "Sans Serif" << QString();
    QTest::newRow("generic one-word alias") << "Monospace" << QString();
    QTest::newRow("known first word only") << "DejaVu Qwzxvbnm" << QString();
    QTest::newRow("empty") << "" << QString();
    QTest::newRow("blank") << "  " << QString();
}

void TestFontFileLookup::installedFamilies()
{
    QFETCH(QString, family);
    QFETCH(QString, expected);
    QCOMPARE(resolveFontFilePath(family), expected);
}

QTEST_GUILESS_MAIN(TestFontFileLookup)
#include "tst_fontfilelookup.moc"
