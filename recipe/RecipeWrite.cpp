#include "recipe/Recipe.h"

#include "common/UiText.h"
#include "subset/CodepointRangeList.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

// Relative, so that a recipe beside the sources works in every checkout;
// but a path that shares nothing with the recipe's folder but the root (an
// installed font) stays where it is on every machine.
QString relativeTo(const QDir &folder, const QString &path)
{
    const QString relative = folder.relativeFilePath(path);
    const QString firstStep = QDir::cleanPath(path).section(QLatin1Char('/'), 0, 1);
    const bool sharesMoreThanRoot = folder.absolutePath().section(QLatin1Char('/'), 0, 1) == firstStep;
    return sharesMoreThanRoot ? relative : QDir::cleanPath(path);
}

// Every setting, defaults included, so that the file shows what a build makes.
void insertLvglOptions(const LvglOptions &lvgl, QJsonObject *entry)
{
    entry->insert(QStringLiteral("size"), lvgl.size);
    entry->insert(QStringLiteral("bpp"), lvgl.bpp);
    entry->insert(QStringLiteral("hinting"), lvgl.hinting ? QStringLiteral("light") : QStringLiteral("none"));
    entry->insert(QStringLiteral("compress"), lvgl.compress);
    entry->insert(QStringLiteral("kerning"), lvgl.kerning);
    if (!lvgl.symbol.isEmpty())
        entry->insert(QStringLiteral("symbol"), lvgl.symbol);
}

} // namespace

bool recipeHoldsFormat(OutputFormat format)
{
    return format != OutputFormat::Woff2Slices;
}

bool writeRecipe(const Recipe &recipe, const QString &path, QString *errorMessage)
{
    for (const RecipeOutput &output : recipe.outputs) {
        if (!recipeHoldsFormat(output.format)) {
            *errorMessage = uiText("A recipe cannot hold the output format %1 yet.", "配方暂不支持输出格式 %1。")
                                .arg(outputFormatName(output.format));
            return false;
        }
        // A file this program would refuse to read back is no recipe.
        const QString problem = isLvglFormat(output.format) ? lvglOptionsProblem(output.lvgl) : QString();
        if (!problem.isEmpty()) {
            *errorMessage = problem;
            return false;
        }
    }
    const QDir folder = QFileInfo(path).absoluteDir();
    QJsonObject source;
    if (recipe.family.isEmpty()) {
        source.insert(QStringLiteral("file"), relativeTo(folder, recipe.fontPath));
        source.insert(QStringLiteral("face"), recipe.faceIndex);
    } else {
        source.insert(QStringLiteral("family"), recipe.family);
    }

    QJsonObject characters;
    if (!recipe.text.isEmpty())
        characters.insert(QStringLiteral("text"), recipe.text);
    QStringList files;
    for (const QString &file : recipe.files)
        files.append(relativeTo(folder, file));
    if (!files.isEmpty())
        characters.insert(QStringLiteral("files"), QJsonArray::fromStringList(files));
    if (!recipe.include.isEmpty())
        characters.insert(QStringLiteral("include"), QJsonArray::fromStringList(recipe.include));
    if (!recipe.exclude.isEmpty())
        characters.insert(QStringLiteral("exclude"), QJsonArray::fromStringList(recipe.exclude));
    if (recipe.sourceEncoding != SourceEncoding::Utf8Only)
        characters.insert(QStringLiteral("sourceEncoding"), sourceEncodingName(recipe.sourceEncoding));
    if (!recipe.charsets.isEmpty())
        characters.insert(QStringLiteral("charsets"), QJsonArray::fromStringList(recipe.charsets));
    if (!recipe.blockRows.isEmpty()) {
        QJsonArray rows;
        for (int row : recipe.blockRows)
            rows.append(row);
        characters.insert(QStringLiteral("blocks"), rows);
    }
    if (!recipe.ranges.isEmpty())
        characters.insert(QStringLiteral("unicodes"), codepointRangeListText(recipe.ranges));

    QJsonObject options;
    options.insert(QStringLiteral("layout"), layoutChoiceWords().at(int(recipe.options.layout)));
    options.insert(QStringLiteral("hinting"), !recipe.options.dropHinting);
    options.insert(QStringLiteral("names"), nameChoiceWords().at(int(recipe.options.names)));
    QStringList pins;
    for (const AxisPin &pin : recipe.options.pins)
        pins.append(pin.tag + QLatin1Char('=') + QString::number(pin.value));
    if (!pins.isEmpty())
        options.insert(QStringLiteral("instance"), pins.join(QLatin1Char(',')));

    QJsonArray outputs;
    for (const RecipeOutput &output : recipe.outputs) {
        QJsonObject entry{{QStringLiteral("path"), relativeTo(folder, output.path)},
                          {QStringLiteral("format"), outputFormatName(output.format)}};
        if (output.css)
            entry.insert(QStringLiteral("css"), true);
        if (isLvglFormat(output.format))
            insertLvglOptions(output.lvgl, &entry);
        outputs.append(entry);
    }

    const QJsonObject root{{QStringLiteral("version"), recipeVersion},
                           {QStringLiteral("source"), source},
                           {QStringLiteral("characters"), characters},
                           {QStringLiteral("options"), options},
                           {QStringLiteral("outputs"), outputs}};
    QSaveFile file(path);
    folder.mkpath(QStringLiteral("."));
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *errorMessage =
        uiText("Failed to save recipe %1: %2", "无法保存配方 %1: %2").arg(path, file.errorString());
    return false;
}
