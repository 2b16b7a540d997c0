// Prints the output size of one CJK request (the 3,500 characters of level 1
// of the General Standard Chinese Characters) under each subset option, for
// a TrueType and a CFF font, so that the README can show what each switch buys.

#include "common/UiText.h"
#include "subset/SubsetJob.h"
#include "subset/SubsetRequest.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Font
{
    const char *label;
    FontFace face;
};

struct Variant
{
    const char *label;
    SubsetOptions options;
};

SubsetOptions with(LayoutChoice layout, bool dropHinting = false,
                   NameChoice names = NameChoice::Identification)
{
    return {layout, dropHinting, names, {}};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir directory;
    const QList<Font> fonts = {
        {"wqy-microhei (glyf)", {QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"), 0}},
        {"Noto Sans CJK SC (CFF)",
         {QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"), 2}}};
    const QList<Variant> variants = {
        {"every feature (default)", SubsetOptions()},
        {"--layout=common", with(LayoutChoice::CommonFeatures)},
        {"--layout=none", with(LayoutChoice::NoLayout)},
        {"--no-hinting", with(LayoutChoice::AllFeatures, true)},
        {"--layout=none --no-hinting", with(LayoutChoice::NoLayout, true)},
        {"--names=licence", with(LayoutChoice::AllFeatures, false, NameChoice::WithLicence)},
        {"--names=all", with(LayoutChoice::AllFeatures, false, NameChoice::AllNames)}};

    std::printf("%-28s", "tgh1, 3,500 characters");
    for (const Font &font : fonts)
        std::printf("  %24s", font.label);
    std::printf("\n");
    for (const Variant &variant : variants) {
        std::printf("%-28s", variant.label);
        for (const Font &font : fonts) {
            SubsetChoices choices;
            choices.face = font.face;
            choices.targetPath = directory.filePath(QStringLiteral("out.font"));
            choices.charsets = {QStringLiteral("tgh1")};
            setUiEnglish(true);
            choices.toolDirectory = QCoreApplication::applicationDirPath();
            choices.options = variant.options;
            SubsetRequest request;
            QString error;
            const bool built = buildSubsetRequest(choices, &request, &error);
            const SubsetOutcome outcome = built ? runSubsetJob(request) : SubsetOutcome();
            if (!outcome.ok) {
                std::fprintf(stderr, "%s: %s\n", font.label,
                             qPrintable(built ? outcome.errorMessage : error));
                return 1;
            }
            std::printf("  %21.1f KB", QFileInfo(request.targetPath).size() / 1024.0);
        }
        std::printf("\n");
    }
    return 0;
}
