// Prints median timings of the standard character sets on the GUI thread:
// adding the largest set to the window's custom text (the text, its count
// and its layout refreshed), and the coverage of every set that opening the
// menu computes for one font.

#include "bench/BenchFigures.h"
#include "charset/StandardCharsets.h"
#include "window/VectorFontClipDialog.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>

#include <cstdio>

namespace {

const QString cjkCollection = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString wqyCollection = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    report("decoding every set (first use only)", medianMs(1, [] { standardCharsetCharacters(0); }), 0);
    for (const QString &font : {wqyCollection, cjkCollection}) {
        const QByteArray what = "coverage of every set, " + font.section('/', -1).toUtf8();
        report(what.constData(), medianMs(21, [&] { standardCharsetCoverage(FontFace{font, 0}); }), 20);
    }

    VectorFontClipDialog dialog(0);
    dialog.show();
    dialog.findChild<QLineEdit *>(QStringLiteral("fontPathEdit"))->setText(wqyCollection);
    dialog.findChild<QLineEdit *>(QStringLiteral("previewEdit"))->setText(QStringLiteral("中文预览"));
    auto *edit = dialog.findChild<QTextEdit *>(QStringLiteral("customTextEdit"));
    auto *menu = dialog.findChild<QPushButton *>(QStringLiteral("addCharsetButton"))->menu();
    QAction *big5 = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->data().toString() == QLatin1String("big5"))
            big5 = action;
    }
    app.processEvents();

    report("menu opening: its entries with coverage (wqy-microhei)",
           medianMs(21, [&] { emit menu->aboutToShow(); }), 20);
    edit->setPlainText(QStringLiteral("已有文字"));
    report("adding big5 (13,053) to the text, count and layout shown",
           medianMs(
               11,
               [&] {
                   big5->trigger();
                   edit->viewport()->repaint();
                   app.processEvents();
               },
               [&] {
                   edit->undo();
                   app.processEvents();
               }),
           100);
    return 0;
}
