#include "charset/CodepointSet.h"
#include "subset/SubsetRequest.h"
#include "subset/UnicodesArgument.h"

#include <QtTest>

using Pieces = QList<CodepointRange>; // first == last: a single code point

// What hb-subset is handed and the set that feeds it, both written for speed
// with raw pointers and single appends.
class TestUnicodesArgument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writer_data();
    void writer();
    void setYieldsAscendingOnce_data();
    void setYieldsAscendingOnce();
    void wholeIdeographBlockAsText();
};

void TestUnicodesArgument::writer_data()
{
    QTest::addColumn<Pieces>("pieces");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short code points padded to four digits")
        << Pieces{{0, 0}, {0x41, 0x41}} << "U+0000,U+0041";
    QTest::newRow("five and six digits kept whole")
        << Pieces{{0x1F600, 0x1F600}, {0x10FFFF, 0x10FFFF}} << "U+1F600,U+10FFFF";
    QTest::newRow("range carries one prefix") << Pieces{{0x4E00, 0x9FA5}} << "U+4E00-9FA5";
    QTest::newRow("mixed pieces in the order given")
        << Pieces{{0x20, 0x20}, {0x100, 0x17F}, {0x10000, 0x1007F}, {0x41, 0x41}}
        << "U+0020,U+0100-017F,U+10000-1007F,U+0041";
}

void TestUnicodesArgument::writer()
{
    QFETCH(Pieces, pieces);
    QFETCH(QString, expected);
    UnicodesArgumentWriter writer;
    writer.reserve(2); // less room than needed must not cut anything off
    for (const CodepointRange &piece : pieces) {
        if (piece.first == piece.last)
            writer.appendCodepoint(piece.first);
        else
            writer.appendRange(piece.first, piece.last);
    }
    QCOMPARE(writer.text(), expected);
}

void TestUnicodesArgument::setYieldsAscendingOnce_data()
{
    QTest::addColumn<Pieces>("inserted");
    QTest::addColumn<QList<uint>>("expected");
    QTest::newRow("either side of a word edge")
        << Pieces{{128, 128}, {63, 64}, {0, 0}, {127, 127}} << QList<uint>{0, 63, 64, 127, 128};
    QTest::newRow("overlaps counted once")
        << Pieces{{0x41, 0x43}, {0x42, 0x44}, {0x41, 0x41}} << QList<uint>{0x41, 0x42, 0x43, 0x44};
    QTest::newRow("clipped at the top of Unicode")
        << Pieces{{0x10FFFE, 0x110001}, {0x110000, 0x110000}} << QList<uint>{0x10FFFE, 0x10FFFF};
}

void TestUnicodesArgument::setYieldsAscendingOnce()
{
    QFETCH(Pieces, inserted);
    QFETCH(QList<uint>, expected);
    CodepointSet set;
    for (const CodepointRange &piece : inserted) {
        if (piece.first == piece.last)
            set.insert(piece.first);
        else
            set.insertRange(piece.first, piece.last);
    }
    QCOMPARE(set.toList(), expected);
    QCOMPARE(set.size(), expected.size());
}

void TestUnicodesArgument::wholeIdeographBlockAsText()
{
    // Ranges and text share one writer and one set: the range comes first in
    // the argument, the text follows ascending and once, however it was typed.
    QString text;
    for (char16_t codepoint = 0x9FA5; codepoint >= 0x4E00; --codepoint)
        text.append(QChar(codepoint));
    SubsetChoices choices;
    choices.face.path = QCoreApplication::applicationFilePath(); // only the path is checked here
    choices.texts = QStringList{text, text};
    choices.ranges = {CodepointRange{0x41, 0x42}};
    SubsetRequest request;
    QString error;
    QVERIFY2(buildSubsetRequest(choices, &request, &error), qPrintable(error));

    const QStringList pieces = request.unicodesArgument.split(QLatin1Char(','));
    QCOMPARE(pieces.size(), 1 + 20902);
    QCOMPARE(pieces.first(), "U+0041-0042");
    QCOMPARE(pieces.at(1), "U+4E00");
    QCOMPARE(pieces.last(), "U+9FA5");
    QCOMPARE(request.codepoints.size(), 2 + 20902);
    QCOMPARE(request.codepoints.at(2), 0x4E00u);
    QCOMPARE(request.codepoints.last(), 0x9FA5u);
}

QTEST_GUILESS_MAIN(TestUnicodesArgument)
#include "tst_unicodesargument.moc"
