#include "ModalDriver.h"
#include "TestFonts.h"
#include "charset/StandardCharsets.h"
#include "window/VectorFontClipDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

namespace {

// Opens the button's real menu with a click and, once it is up, notes every
// entry's text and chooses the entry of set `id` (none: the menu is closed).
// False when no menu came up.
bool chooseFromMenu(QPushButton *button, const QString &id, QStringList *texts = nullptr)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        QAction *chosen = nullptr;
        for (QAction *action : menu->actions()) {
            if (texts)
                texts->append(action->text());
            if (action->data().toString() == id)
                chosen = action;
        }
        if (chosen)
            menu->setActiveAction(chosen);
        QTest::keyClick(menu, chosen ? Qt::Key_Return : Qt::Key_Escape);
    });
    poll.start(10);
    // The menu runs its own loop: the click returns once it is closed.
    QTest::mouseClick(button, Qt::LeftButton);
    return !poll.isActive();
}

QSet<uint> visibleCharacters(const QString &text)
{
    QSet<uint> characters;
    for (char32_t codepoint : text.toUcs4()) {
        if (!QChar::isSpace(codepoint))
            characters.insert(uint(codepoint));
    }
    return characters;
}

QString grouped(qsizetype number)
{
    return QLocale(QLocale::English).toString(number);
}

} // namespace

class TestAddCharset : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void addsThroughTheMenu_data();
    void addsThroughTheMenu();
    void cleanup() { QTRY_VERIFY(noWindowLeftOpen()); }

private:
    QTemporaryDir directory;
    QString cutCjk; // WenQuanYi Micro Hei with gaps in every set
};

void TestAddCharset::initTestCase()
{
    QVERIFY(directory.isValid());
    cutCjk = directory.filePath(QStringLiteral("cut.ttf"));
    QString error;
    QVERIFY2(TestFonts::cutFont(TestFonts::wqyMicroHei(),
                                QStringLiteral("20-5A,4E00-5FFF,AC00-AFFF,FF01-FF20"), cutCjk, &error),
             qPrintable(error));
}

void TestAddCharset::addsThroughTheMenu_data()
{
    QTest::addColumn<int>("english");
    QTest::addColumn<QString>("font"); // a cut font when "cut"
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("id");

    // clang-format off
    QTest::newRow("no font, empty text, Chinese window") << 0 << QString() << QString() << "cjk-punct";
    QTest::newRow("members already typed stay where they are, English window")
        << 1 << TestFonts::wqyMicroHei() << "你好，世界。\n  “引号”\tA" << "cjk-punct";
    QTest::newRow("the largest set after text of another script, font with gaps") << 0 << "cut" << "们中國한글" << "big5";
    QTest::newRow("a member above U+FFFF already typed, English window") << 1 << "cut" << "\U00020676亍" << "tgh3";
    // clang-format on
}

// The menu names each set, its size and, with a font chosen, how much of it
// the font holds (as an independent cmap reader counts). Choosing a set adds
// its missing characters alone, the count follows, one undo takes it back.
void TestAddCharset::addsThroughTheMenu()
{
    QFETCH(int, english);
    QFETCH(QString, font);
    QFETCH(QString, existing);
    QFETCH(QString, id);
    const int set = findStandardCharset(id);
    if (font == QLatin1String("cut"))
        font = cutCjk;

    VectorFontClipDialog dialog(english);
    dialog.show();
    auto *edit = dialog.findChild<QTextEdit *>(QStringLiteral("customTextEdit"));
    auto *count = dialog.findChild<QLabel *>(QStringLiteral("uniqueCountLabel"));
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("addCharsetButton"));
    QVERIFY(edit && count && button);
    dialog.findChild<QLineEdit *>(QStringLiteral("fontPathEdit"))->setText(font);
    edit->setPlainText(existing);
    const QString countBefore = count->text();

    QStringList texts;
    QVERIFY(chooseFromMenu(button, id, &texts));

    const QSet<uint> map = font.isEmpty() ? QSet<uint>() : TestFonts::readCharacterMap(font);
    QVERIFY(font.isEmpty() || !map.isEmpty());
    QCOMPARE(texts.size(), standardCharsetTotal());
    for (int each = 0; each < standardCharsetTotal(); ++each) {
        const QList<uint> &characters = standardCharsetCharacters(each);
        QString expected = standardCharsetName(each) + QStringLiteral(" — ") + grouped(characters.size()) +
                           (english ? "" : " 字");
        if (!font.isEmpty()) {
            qsizetype covered = 0;
            for (uint codepoint : characters)
                covered += map.contains(codepoint) ? 1 : 0;
            expected += (english ? QStringLiteral(", this font has ") : QStringLiteral("，当前字体含 ")) +
                        grouped(covered);
        }
        QCOMPARE(texts.at(each), expected);
    }

    const QString text = edit->toPlainText();
    QVERIFY(text.startsWith(existing));
    const QList<uint> held = existing.toUcs4();
    QList<uint> expected;
    QSet<uint> all = visibleCharacters(existing);
    for (uint codepoint : standardCharsetCharacters(set)) {
        if (!held.contains(codepoint))
            expected.append(codepoint);
        if (!QChar::isSpace(codepoint))
            all.insert(codepoint);
    }
    QCOMPARE(text.mid(existing.size()).toUcs4(), expected);
    const QString countText =
        english ? QStringLiteral("Unique characters: %1") : QStringLiteral("唯一字符数: %1");
    QCOMPARE(count->text(), countText.arg(all.size()));

    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->toPlainText(), existing);
    QCOMPARE(count->text(), countBefore);
    dialog.close();
}

QTEST_MAIN(TestAddCharset)
#include "tst_addcharset.moc"
