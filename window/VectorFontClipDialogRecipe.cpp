// The window's setup as a recipe file, and as what it remembers between
// sessions: both read and fill the same controls.
#include "window/VectorFontClipDialog.h"

#include "charset/CharacterCollector.h"
#include "charset/StandardCharsets.h"
#include "charset/TextCharacters.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"
#include "recipe/RecipeChoices.h"
#include "subset/OutputName.h"
#include "subset/SubsetRequest.h"
#include "window/BlockListPage.h"
#include "window/CustomTextPage.h"
#include "window/FontSourceRow.h"
#include "window/LvglSettingsRow.h"
#include "window/OutputFormatChooser.h"
#include "window/SubsetOptionsButton.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTabWidget>

namespace {

// The window has one text where a recipe adds up several selections: those
// beyond the text follow it as characters.
QString recipeCharactersAsText(const Recipe &recipe)
{
    QString text = recipe.text;
    for (const QString &id : recipe.charsets)
        text += standardCharsetAddition(findStandardCharset(id), text);
    QList<uint> codepoints;
    for (int row : recipe.blockRows) {
        for (const CodepointRange &range :
             keptRanges(unicodeBlockTable[row - 1].first, unicodeBlockTable[row - 1].last))
            for (uint codepoint = range.first; codepoint <= range.last; ++codepoint)
                codepoints.append(codepoint);
    }
    for (const CodepointRange &range : recipe.ranges)
        for (uint codepoint = range.first; codepoint <= range.last; ++codepoint)
            codepoints.append(codepoint);
    return text + collectedText(codepoints);
}

QString recipeFilter()
{
    return uiText("Recipes (*.json);;All Files (*)", "配方 (*.json);;所有文件 (*)");
}

} // namespace

bool VectorFontClipDialog::saveRecipe(const QString &path, QString *errorMessage) const
{
    // A setup that Generate would refuse makes no recipe either, for the same reason.
    const SubsetChoices choices = currentChoices();
    SubsetRequest request;
    if (!buildSubsetRequest(choices, &request, errorMessage))
        return false;
    const QString fileName = outputFileName(outputNameEdit->text(), outputSuffix(choices.format));
    if (fileName.isEmpty()) {
        *errorMessage = uiText("Output name must not be empty.", "输出文件名不能为空。");
        return false;
    }
    Recipe recipe;
    recipe.fontPath = QFileInfo(choices.face.path).absoluteFilePath();
    recipe.faceIndex = choices.face.index;
    if (choices.shownPage == SelectionPage::Blocks) {
        recipe.blockRows = choices.blockRows;
    } else {
        recipe.text = customTextPage->typedText();
        recipe.files = customTextPage->importedPaths();
        const CollectionPatterns patterns = customTextPage->importedPatterns();
        if (patterns.include != CollectionPatterns::defaultIncludePatterns())
            recipe.include = patterns.include;
        recipe.exclude = patterns.exclude;
        recipe.sourceEncoding = patterns.legacyEncoding;
    }
    recipe.options = choices.options;
    const QString folder = lastOutputFolder.isEmpty() ? QFileInfo(path).absolutePath() : lastOutputFolder;
    recipe.outputs.append({choices.format, choices.writeCss, QDir(folder).filePath(fileName),
                           isLvglFormat(choices.format) ? choices.lvgl : LvglOptions()});
    // Saving over an opened recipe must not lose the outputs the window has no room for.
    for (const RecipeOutput &other : otherRecipeOutputs) {
        if (other.path != recipe.outputs.first().path)
            recipe.outputs.append(other);
    }
    return writeRecipe(recipe, path, errorMessage);
}

bool VectorFontClipDialog::openRecipe(const QString &path, QString *errorMessage)
{
    Recipe recipe;
    FontFace face;
    if (!readRecipe(path, &recipe, errorMessage) || !recipeFace(recipe, &face, errorMessage))
        return false;
    fontSource->setFontFace(face);
    optionsButton->setOptions(face, recipe.options);
    const RecipeOutput &output = recipe.outputs.first();
    otherRecipeOutputs = recipe.outputs.mid(1);
    outputFormat->setFormat(output.format, output.css);
    if (isLvglFormat(output.format))
        lvglSettings->setOptions(output.lvgl);
    outputNameEdit->setText(QFileInfo(output.path).completeBaseName());
    proposedOutputName.clear();
    lastOutputFolder = QFileInfo(output.path).absolutePath();
    const bool blocksOnly = !recipe.blockRows.isEmpty() && recipe.text.isEmpty() && recipe.files.isEmpty() &&
                            recipe.charsets.isEmpty() && recipe.ranges.isEmpty();
    if (blocksOnly) {
        blocksPage->setCheckedRows(recipe.blockRows);
        characterTabs->setCurrentWidget(blocksPage);
    } else {
        customTextPage->setCharacters(recipeCharactersAsText(recipe), recipe.files, recipePatterns(recipe));
        characterTabs->setCurrentWidget(customTextPage);
    }
    return true;
}

void VectorFontClipDialog::onSaveRecipeClicked()
{
    const QString start = lastOutputFolder.isEmpty() ? QDir::currentPath() : lastOutputFolder;
    const QString path =
        QFileDialog::getSaveFileName(this, uiText("Save recipe", "保存配方"),
                                     QDir(start).filePath(QStringLiteral("fonts.json")), recipeFilter());
    QString errorMessage;
    if (!path.isEmpty() && !saveRecipe(path, &errorMessage))
        QMessageBox::warning(this, uiText("Error", "错误"), errorMessage);
}

void VectorFontClipDialog::onOpenRecipeClicked()
{
    const QString path = QFileDialog::getOpenFileName(this, uiText("Open recipe", "打开配方"),
                                                      lastOutputFolder, recipeFilter());
    QString errorMessage;
    if (path.isEmpty())
        return;
    if (!openRecipe(path, &errorMessage)) {
        QMessageBox::warning(this, uiText("Error", "错误"), errorMessage);
    } else if (!otherRecipeOutputs.isEmpty()) {
        QStringList others;
        for (const RecipeOutput &other : std::as_const(otherRecipeOutputs))
            others.append(QDir::toNativeSeparators(other.path));
        QMessageBox::information(
            this, uiText("Open recipe", "打开配方"),
            uiText("The window generates the recipe's first output. vfc-subset --recipe builds the others too, "
                   "and saving the recipe keeps them:\n%1",
                   "窗口只生成配方的第一个输出。vfc-subset --recipe 会生成全部输出，保存配方时其余输出保留：\n%1")
                .arg(others.join(QLatin1Char('\n'))));
    }
}

void VectorFontClipDialog::restoreSettings(QSettings &settings)
{
    const QSize size = settings.value(QStringLiteral("window/size")).toSize();
    if (size.isValid())
        resize(size);
    const QString font = settings.value(QStringLiteral("source/path")).toString();
    if (!font.isEmpty() && QFileInfo(font).isFile())
        fontSource->setFontFace({font, settings.value(QStringLiteral("source/face")).toInt()});
    const QString folder = settings.value(QStringLiteral("output/folder")).toString();
    if (QFileInfo(folder).isDir())
        lastOutputFolder = folder;
    OutputFormat format;
    if (outputFormatFromName(settings.value(QStringLiteral("output/format")).toString(), &format))
        outputFormat->setFormat(format, settings.value(QStringLiteral("output/css")).toBool());
    SubsetOptions options;
    const qsizetype layout =
        layoutChoiceWords().indexOf(settings.value(QStringLiteral("options/layout")).toString());
    const qsizetype names =
        nameChoiceWords().indexOf(settings.value(QStringLiteral("options/names")).toString());
    options.layout = layout < 0 ? options.layout : LayoutChoice(layout);
    options.names = names < 0 ? options.names : NameChoice(names);
    options.dropHinting = !settings.value(QStringLiteral("options/hinting"), true).toBool();
    optionsButton->setOptions(fontSource->currentFace(), options);
    LvglOptions bitmap = lvglSettings->options();
    bitmap.size = settings.value(QStringLiteral("lvgl/size"), bitmap.size).toInt();
    bitmap.bpp = settings.value(QStringLiteral("lvgl/bpp"), bitmap.bpp).toInt();
    bitmap.hinting = settings.value(QStringLiteral("lvgl/hinting"), bitmap.hinting).toBool();
    bitmap.compress = settings.value(QStringLiteral("lvgl/compress"), bitmap.compress).toBool();
    bitmap.kerning = settings.value(QStringLiteral("lvgl/kerning"), bitmap.kerning).toBool();
    // Values edited by hand into something no font can have are forgotten.
    if (lvglOptionsProblem(bitmap).isEmpty())
        lvglSettings->setOptions(bitmap);
    const int tab = settings.value(QStringLiteral("window/tab"), 0).toInt();
    if (tab >= 0 && tab < characterTabs->count())
        characterTabs->setCurrentIndex(tab);
}

void VectorFontClipDialog::saveSettings(QSettings &settings) const
{
    const FontFace face = fontSource->currentFace();
    settings.setValue(QStringLiteral("window/size"), size());
    settings.setValue(QStringLiteral("window/tab"), characterTabs->currentIndex());
    settings.setValue(QStringLiteral("source/path"),
                      face.path.isEmpty() ? QString() : QFileInfo(face.path).absoluteFilePath());
    settings.setValue(QStringLiteral("source/face"), face.index);
    settings.setValue(QStringLiteral("output/folder"), lastOutputFolder);
    settings.setValue(QStringLiteral("output/format"), outputFormatName(outputFormat->format()));
    settings.setValue(QStringLiteral("output/css"), outputFormat->writeCss());
    // Pinned axes belong to one face: they are a recipe's, not the window's.
    const SubsetOptions options = optionsButton->optionsFor(face);
    settings.setValue(QStringLiteral("options/layout"), layoutChoiceWords().at(int(options.layout)));
    settings.setValue(QStringLiteral("options/names"), nameChoiceWords().at(int(options.names)));
    settings.setValue(QStringLiteral("options/hinting"), !options.dropHinting);
    // The C name belongs to one output, not to the window.
    const LvglOptions bitmap = lvglSettings->options();
    settings.setValue(QStringLiteral("lvgl/size"), bitmap.size);
    settings.setValue(QStringLiteral("lvgl/bpp"), bitmap.bpp);
    settings.setValue(QStringLiteral("lvgl/hinting"), bitmap.hinting);
    settings.setValue(QStringLiteral("lvgl/compress"), bitmap.compress);
    settings.setValue(QStringLiteral("lvgl/kerning"), bitmap.kerning);
}
