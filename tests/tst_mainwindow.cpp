#include "ModalDriver.h"
#include "window/VectorFontClipDialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

namespace {

template <typename T = QWidget> T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

// Labels and buttons on show whose text does not fit the room they got.
QStringList clippedTexts(QWidget *window)
{
    QStringList clipped;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                            : label->width() >= label->sizeHint().width();
        if (!fits)
            clipped << label->text();
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisible() && button->width() < button->sizeHint().width())
            clipped << button->text();
    }
    return clipped;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensAtItsSizeWithNothingClipped_data();
    void opensAtItsSizeWithNothingClipped();
    void previewTextIsLimitedTo64();
    void enterInOutputNamePressesGenerate();
    void willUseFollowsTheShownTab_data();
    void willUseFollowsTheShownTab();
    void escapeKeepsTheWindow();
    void cleanup();
};

void TestMainWindow::opensAtItsSizeWithNothingClipped_data()
{
    QTest::addColumn<int>("english");
    QTest::newRow("English") << 1;
    QTest::newRow("Chinese") << 0;
}

void TestMainWindow::opensAtItsSizeWithNothingClipped()
{
    QFETCH(int, english);
    VectorFontClipDialog dialog(english);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), QSize(800, 560));
    auto *tabs = child<QTabWidget>(&dialog, "characterTabs");
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QCOMPARE(clippedTexts(&dialog), QStringList());
    }
}

void TestMainWindow::previewTextIsLimitedTo64()
{
    VectorFontClipDialog dialog(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *preview = child<QLineEdit>(&dialog, "previewEdit");
    QTest::keyClicks(preview, QString(70, QLatin1Char('x')));
    QCOMPARE(preview->text(), QString(64, QLatin1Char('x')));
}

void TestMainWindow::enterInOutputNamePressesGenerate()
{
    VectorFontClipDialog dialog(1);
    QSignalSpy generate(child<QDialogButtonBox>(&dialog, "buttonBox"), &QDialogButtonBox::accepted);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // Without a font, generating stops with an error box, which is answered.
    ModalDriver driver;
    QString message;
    driver.expect(ModalDriver::pressAndKeep(QMessageBox::Ok, &message));
    QTest::keyClick(child(&dialog, "outputNameEdit"), Qt::Key_Return);
    QCOMPARE(generate.count(), 1);
    QCOMPARE(message, QStringLiteral("Please choose a valid source TTF font file first."));
    // Generating never closes the window.
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestMainWindow::willUseFollowsTheShownTab_data()
{
    QTest::addColumn<int>("english");
    QTest::addColumn<int>("shownWhileFilling"); // the tab on show while typing and ticking
    QTest::addColumn<int>("shownAtTheEnd");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("label");

    // Rows 1 and 2 hold 127 and 128 code points, 95 and 96 of them kept; row
    // 64, General Punctuation, holds U+2028 and U+2029, which no font draws.
    // clang-format off
    QTest::newRow("typed text, spaces counted once") << 1 << 0 << 0 << "abc ABC ab" << QList<int>{1}
        << "Will use: Custom text, 7 characters";
    QTest::newRow("controls and separators left out, Chinese") << 0 << 0 << 0 << "a\tb\u0085\u2028\u00A0" << QList<int>{}
        << "将使用：自定义字符，3 个字符";
    QTest::newRow("one character") << 1 << 1 << 0 << "xx" << QList<int>{1, 2} << "Will use: Custom text, 1 character";
    QTest::newRow("ticked blocks") << 1 << 1 << 1 << "abc" << QList<int>{1, 2} << "Will use: Unicode blocks, 191 characters";
    QTest::newRow("blocks shown after typing, Chinese") << 0 << 0 << 1 << "abc" << QList<int>{64}
        << "将使用：Unicode 分区，110 个字符";
    QTest::newRow("a partial tick is none") << 1 << 1 << 1 << "" << QList<int>{-3} << "Will use: Unicode blocks, 0 characters";
    // clang-format on
}

void TestMainWindow::willUseFollowsTheShownTab()
{
    QFETCH(int, english);
    QFETCH(int, shownWhileFilling);
    QFETCH(int, shownAtTheEnd);
    QFETCH(QString, text);
    QFETCH(QList<int>, rows);
    VectorFontClipDialog dialog(english);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *tabs = child<QTabWidget>(&dialog, "characterTabs");
    tabs->setCurrentIndex(shownWhileFilling);
    auto *edit = child<QTextEdit>(&dialog, "customTextEdit");
    if (QString::fromLatin1(text.toLatin1()) == text) {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    } else {
        edit->setPlainText(text);
    }
    for (int row : rows)
        child<QListWidget>(&dialog, "blockList")
            ->item(qAbs(row) - 1)
            ->setCheckState(row > 0 ? Qt::Checked : Qt::PartiallyChecked);
    tabs->setCurrentIndex(shownAtTheEnd);
    QTEST(child<QLabel>(&dialog, "selectionSummary")->text(), "label");
}

void TestMainWindow::escapeKeepsTheWindow()
{
    VectorFontClipDialog dialog(1);
    dialog.show();
    auto *text = dialog.findChild<QTextEdit *>("customTextEdit");
    text->setPlainText("Abc");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QCOMPARE(text->toPlainText(), QStringLiteral("Abc"));
    // Its close button still closes it.
    QVERIFY(dialog.close());
}

void TestMainWindow::cleanup()
{
    QTRY_VERIFY(noWindowLeftOpen());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
