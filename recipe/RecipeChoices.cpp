#include "recipe/RecipeChoices.h"

#include "charset/TextImport.h"
#include "common/UiText.h"
#include "font/platform/FontFileLookup.h"

#include <QFileInfo>

bool recipeFace(const Recipe &recipe, FontFace *face, QString *errorMessage)
{
    if (recipe.family.isEmpty()) {
        *face = {recipe.fontPath, recipe.faceIndex};
        return true;
    }
    *face = resolveFontFace(recipe.family);
    if (!face->path.isEmpty())
        return true;
    *errorMessage =
        uiText("%1: source.family: no installed font family \"%2\" with a TrueType or OpenType "
               "file was found.",
               "%1：source.family：未找到已安装的字体族“%2”对应的 TrueType 或 OpenType 字体文件。")
            .arg(recipe.file, recipe.family);
    return false;
}

CollectionPatterns recipePatterns(const Recipe &recipe)
{
    return CollectionPatterns::chosen(recipe.include, recipe.exclude, recipe.sourceEncoding);
}

bool recipeChoices(const Recipe &recipe, const FontFace &face, const QString &toolDirectory,
                   SubsetChoices *choices, QString *errorMessage, QString *summary)
{
    SubsetChoices chosen;
    chosen.face = face;
    chosen.rule = SelectionRule::AddUp;
    chosen.toolDirectory = toolDirectory;
    chosen.createFolders = true;
    if (!recipe.text.isEmpty())
        chosen.texts.append(recipe.text);
    for (const QString &path : recipe.files) {
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
            *errorMessage = uiText("Failed to open file: %1", "无法打开文件: %1").arg(path);
            return false;
        }
    }
    if (importsOneText(recipe.files)) {
        QString text;
        if (!readTextFile(recipe.files.first(), recipe.sourceEncoding, &text, errorMessage))
            return false;
        chosen.texts.append(text);
    } else if (!recipe.files.isEmpty()) {
        const CharacterCollection collection = collectCharacters(recipe.files, recipePatterns(recipe));
        chosen.texts.append(collectedText(collection.codepoints));
        if (summary)
            *summary = collectionSummary(collection);
    }
    chosen.charsets = recipe.charsets;
    chosen.blockRows = recipe.blockRows;
    chosen.ranges = recipe.ranges;
    chosen.options = recipe.options;
    if (!recipe.outputs.isEmpty()) {
        chosen.targetPath = recipe.outputs.first().path;
        chosen.format = recipe.outputs.first().format;
        chosen.writeCss = recipe.outputs.first().css;
        chosen.lvgl = recipe.outputs.first().lvgl;
    }
    *choices = chosen;
    return true;
}
