#include "subset/SubsetRequest.h"

#include "charset/CodepointSet.h"
#include "charset/StandardCharsets.h"
#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "font/FontFaceList.h"
#include "font/FontFileCheck.h"
#include "subset/SourceFontPath.h"
#include "subset/UnicodesArgument.h"

#include <QFileInfo>

namespace {

bool fail(QString *errorMessage, const QString &text)
{
    if (errorMessage)
        *errorMessage = text;
    return false;
}

QString nothingToKeepMessage(const SubsetChoices &choices)
{
    if (choices.rule == SelectionRule::AddUp)
        return uiText("The chosen text holds no character to keep (none from U+0020 up).",
                      "所选文本中没有可保留的字符（U+0020 及以上）。");
    if (choices.shownPage == SelectionPage::CustomText)
        return uiText("Please input at least one valid character on the Custom text tab.",
                      "请在“自定义字符”页输入至少一个有效字符。");
    return uiText("Please check at least one block on the Unicode blocks tab.",
                  "请在“Unicode 分区”页勾选至少一个分区。");
}

// The code points the choices keep, and with `argument` hb-subset's
// --unicodes value for them. False, with the reason, for an unknown
// character set.
bool gatherCodepoints(const SubsetChoices &choices, CodepointSet *all, UnicodesArgumentWriter *argument,
                      QString *errorMessage)
{
    const bool addUp = choices.rule == SelectionRule::AddUp;
    const bool useText = addUp || choices.shownPage == SelectionPage::CustomText;
    const bool useBlocks = addUp || choices.shownPage == SelectionPage::Blocks;

    if (useBlocks) {
        for (int row : choices.blockRows) {
            if (row < 1 || row > unicodeBlockCount)
                continue;
            const UnicodeBlock &block = unicodeBlockTable[row - 1];
            for (const CodepointRange &run : keptRanges(block.first, block.last)) {
                all->insertRange(run.first, run.last);
                if (argument)
                    argument->appendRange(run.first, run.last);
            }
        }
    }
    // Code points given by number are taken as given: whoever writes them
    // means them.
    if (addUp) {
        for (const CodepointRange &range : choices.ranges) {
            all->insertRange(range.first, range.last);
            if (!argument)
                continue;
            if (range.first == range.last)
                argument->appendCodepoint(range.first);
            else
                argument->appendRange(range.first, range.last);
        }
    }
    if (useText) {
        // Text goes to hb-subset as single code points in ascending order.
        CodepointSet text;
        for (const QString &each : choices.texts) {
            for (uint codepoint : textCharacters(each)) {
                if (isKeptCharacter(codepoint))
                    text.insert(codepoint);
            }
        }
        // A standard set is text the user did not have to type.
        for (const QString &id : choices.charsets) {
            const int set = findStandardCharset(id);
            if (set < 0)
                return fail(errorMessage, uiText("Unknown character set: %1", "未知字符集: %1").arg(id));
            for (uint codepoint : standardCharsetCharacters(set))
                text.insert(codepoint);
        }
        const QList<uint> textCodepoints = text.toList();
        if (argument)
            argument->reserve(textCodepoints.size());
        for (uint codepoint : textCodepoints) {
            all->insert(codepoint);
            if (argument)
                argument->appendCodepoint(codepoint);
        }
    }
    return true;
}

} // namespace

QString sourceFontProblem(const FontFace &face)
{
    const FontFileCheck check = checkFontFile(face.path);
    switch (check) {
    case FontFileCheck::Usable: {
        const QString faceProblem = fontFaceProblem(face);
        if (!faceProblem.isEmpty())
            return faceProblem;
        const QString structureProblem = fontStructureProblem(face.path, face.index);
        if (structureProblem.isEmpty())
            return QString();
        return withSourceFont(
            uiText("The source cannot be read as a font: %1.", "源文件无法作为字体读取：%1。")
                .arg(structureProblem),
            face.path);
    }
    case FontFileCheck::Unreadable: {
        // A collection's own reading says best what is wrong with it.
        const QString collectionProblem = fontFaceProblem(face);
        if (!collectionProblem.isEmpty())
            return collectionProblem;
        return withSourceFont(uiText("Failed to read font information.", "无法读取字库信息。"), face.path);
    }
    case FontFileCheck::Missing:
    case FontFileCheck::NotAFile:
        break;
    }
    const QString message =
        uiText("Please choose a valid source TTF font file first.", "请先选择有效的源 TTF 字体文件。");
    if (face.path.isEmpty())
        return message;
    if (check == FontFileCheck::Missing)
        return message + QLatin1Char('\n') + uiText("%1: not found", "未找到：%1").arg(face.path);
    return withSourceFont(message, face.path);
}

QString targetProblem(const QString &targetPath, const FontFace &source)
{
    // The name defaults to the source's own, so the source's folder would
    // otherwise offer to overwrite the user's original font.
    if (replacesSourceFont(targetPath, source.path))
        return uiText("The output file would replace the source font: %1. Choose another name or directory.",
                      "输出文件将覆盖源字库: %1，请更换文件名或目录。")
            .arg(targetPath);
    if (QFileInfo(targetPath).isDir())
        return uiText("The target is a folder: %1", "目标是一个文件夹: %1").arg(targetPath);
    return QString();
}

bool targetExists(const QString &path)
{
    const QFileInfo target(path);
    return target.exists() || target.isSymLink();
}

bool buildSubsetRequest(const SubsetChoices &choices, SubsetRequest *request, QString *errorMessage)
{
    const QString sourceProblem = sourceFontProblem(choices.face);
    if (!sourceProblem.isEmpty())
        return fail(errorMessage, sourceProblem);

    CodepointSet all;
    UnicodesArgumentWriter argument;
    if (!gatherCodepoints(choices, &all, &argument, errorMessage))
        return false;
    if (all.isEmpty())
        return fail(errorMessage, nothingToKeepMessage(choices));
    const QString pinProblem = axisPinProblem(choices.face, choices.options.pins);
    if (!pinProblem.isEmpty())
        return fail(errorMessage, pinProblem);
    const QString lvglProblem = isLvglFormat(choices.format) ? lvglOptionsProblem(choices.lvgl) : QString();
    if (!lvglProblem.isEmpty())
        return fail(errorMessage, lvglProblem);

    SubsetRequest built;
    built.face = choices.face;
    built.sourceChecked = true;
    built.targetPath = choices.targetPath;
    built.codepoints = all.toList();
    built.unicodesArgument = argument.text();
    built.toolDirectory = choices.toolDirectory;
    built.format = choices.format;
    built.writeCss = choices.format == OutputFormat::Woff2 && choices.writeCss;
    built.options = choices.options;
    built.lvgl = choices.lvgl;
    built.createFolders = choices.createFolders;
    *request = built;
    return true;
}

qsizetype chosenCharacterCount(const SubsetChoices &choices)
{
    CodepointSet all;
    return gatherCodepoints(choices, &all, nullptr, nullptr) ? all.size() : 0;
}
