// Prints median timings of the work a font collection adds on the GUI
// thread: listing the faces of a ten-face collection, and switching the
// window to another face (count and preview refresh).
//   bench_collection_faces [collection]   (default: Noto Sans CJK, ten faces)

#include "bench/BenchFigures.h"
#include "common/UiText.h"
#include "font/FontFaceList.h"
#include "window/VectorFontClipDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString collection = argc > 1
                                   ? QString::fromLocal8Bit(argv[1])
                                   : QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
    setUiEnglish(true);
    const FontFaceList list = listFontFaces(collection);
    if (list.faces.size() < 2) {
        std::fprintf(stderr, "%s is no collection; run scripts/setup.sh.\n", qPrintable(collection));
        return 1;
    }
    std::printf("Collection: %s, %d faces\n\n", qPrintable(collection), int(list.faces.size()));

    QList<double> listing;
    for (int run = 0; run < 31; ++run) {
        QElapsedTimer timer;
        timer.start();
        listFontFaces(collection);
        listing.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("list the faces (listFontFaces)", median(listing), 5);

    VectorFontClipDialog dialog(1);
    auto *fontPathEdit = dialog.findChild<QLineEdit *>(QStringLiteral("fontPathEdit"));
    auto *previewEdit = dialog.findChild<QLineEdit *>(QStringLiteral("previewEdit"));
    auto *faces = dialog.findChild<QComboBox *>(QStringLiteral("faceList"));
    if (!fontPathEdit || !previewEdit || !faces) {
        std::fprintf(stderr, "The window has no font path, preview or face list.\n");
        return 1;
    }
    previewEdit->setText(QStringLiteral("直骨写角画 The quick brown fox"));
    fontPathEdit->setText(collection);
    // Each change of the list refreshes count and preview through the
    // window's own connection, as a choice of the user's does.
    QList<double> switching;
    for (int run = 0; run < 3 * faces->count(); ++run) {
        QElapsedTimer timer;
        timer.start();
        faces->setCurrentIndex((faces->currentIndex() + 1) % faces->count());
        switching.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("switch face in the window (count + preview)", median(switching), 10);
    return 0;
}
