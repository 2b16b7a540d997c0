// Prints median timings of the font-source work that runs on the GUI
// thread: the usable-character scan of a large CJK collection, and one
// preview refresh per keystroke with that font chosen.

#include "bench/BenchFigures.h"
#include "window/FontInfo.h"
#include "window/PreviewCoverage.h"
#include "window/UsableCharacterCount.h"
#include "window/VectorFontClipDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRawFont>

#include <cstdio>

namespace {

const QString cjkCollection = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");

// One lookup per code point, each with its own string: the obvious way,
// timed to show what the single buffered lookup saves.
int countOneByOne(const QRawFont &font)
{
    int count = 0;
    for (uint codePoint = 0x20; codePoint <= 0xFFFF; ++codePoint) {
        if (QChar::isSurrogate(codePoint))
            continue;
        const QList<quint32> glyphs = font.glyphIndexesForString(QString(QChar(char16_t(codePoint))));
        if (!glyphs.isEmpty() && glyphs.first() != 0)
            ++count;
    }
    return count;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 31;

    std::printf("Font: %s\n", qPrintable(cjkCollection));
    const FontInfo info = readFontInfo({cjkCollection});
    if (info.status != FontInfo::Status::Read) {
        std::fprintf(stderr, "The CJK test font cannot be read; run scripts/setup.sh.\n");
        return 1;
    }
    std::printf("Usable characters: %d\n\n", info.usableCharacters);

    report("scan: open file and count (readFontInfo)", medianMs(runs, [] { readFontInfo({cjkCollection}); }),
           10);
    const QRawFont font(cjkCollection, 16.0, QFont::PreferDefaultHinting);
    report("  count alone, one buffered lookup", medianMs(runs, [&] { countUsableCharacters(font); }), 0);
    report("  count alone, one lookup per code point", medianMs(runs, [&] { countOneByOne(font); }), 0);

    const QString typed = QStringLiteral("永和九年 The quick brown fox 𠮷 ");
    const QFont baseFont = QApplication::font();
    report("coverage of a 30-character text (checkPreviewCoverage)",
           medianMs(runs, [&] { checkPreviewCoverage({cjkCollection}, typed, baseFont); }), 0);

    VectorFontClipDialog dialog(1);
    auto *fontPathEdit = dialog.findChild<QLineEdit *>(QStringLiteral("fontPathEdit"));
    auto *previewEdit = dialog.findChild<QLineEdit *>(QStringLiteral("previewEdit"));
    if (!fontPathEdit || !previewEdit) {
        std::fprintf(stderr, "The window has no font path or preview field.\n");
        return 1;
    }
    fontPathEdit->setText(cjkCollection);
    // Each keystroke changes the preview text, which refreshes the preview
    // through the window's own connection.
    QList<double> perKey;
    for (int round = 0; round < 3; ++round) {
        previewEdit->clear();
        for (qsizetype length = 1; length <= typed.size(); ++length) {
            QElapsedTimer timer;
            timer.start();
            previewEdit->setText(typed.left(length));
            perKey.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    report("refresh per keystroke in the window", median(perKey), 5);
    return 0;
}
