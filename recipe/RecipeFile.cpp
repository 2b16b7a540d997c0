#include "recipe/Recipe.h"

#include "charset/StandardCharsets.h"
#include "charset/UnicodeBlockTable.h"
#include "common/SystemReason.h"
#include "common/UiText.h"
#include "subset/CodepointRangeList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Reads one recipe, stopping at its first fault; every message names the
// file and the key it is about.
class RecipeReader
{
public:
    explicit RecipeReader(const QString &path) : path(path), folder(QFileInfo(path).absoluteDir()) {}

    bool read(const QJsonObject &root, Recipe *recipe);
    QString error;

private:
    bool fail(const QString &place, const QString &message)
    {
        error = uiText("%1: %2: %3", "%1：%2：%3").arg(path, place, message);
        return false;
    }
    bool onlyKeys(const QJsonObject &object, const QString &place, const QStringList &keys);
    bool wrongType(const QString &place, const char *english, const char *chinese)
    {
        return fail(place, uiText("must be %1", "应为%1").arg(uiText(english, chinese)));
    }
    bool string(const QJsonObject &object, const QString &key, const QString &place, QString *value);
    bool strings(const QJsonObject &object, const QString &key, const QString &place, QStringList *values);
    QString absolute(const QString &relative) const
    {
        return QDir::cleanPath(folder.absoluteFilePath(relative));
    }
    bool readSource(const QJsonObject &source, Recipe *recipe);
    bool readCharacters(const QJsonObject &characters, Recipe *recipe);
    bool readOptions(const QJsonObject &options, SubsetOptions *chosen);
    bool readOutput(const QJsonValue &value, const QString &place, RecipeOutput *output);
    bool readLvgl(const QJsonObject &object, const QString &place, LvglOptions *lvgl);

    QString path;
    QDir folder;
};

QStringList lvglKeys();

QString key(const QString &place, const QString &name)
{
    return place.isEmpty() ? name : place + QLatin1Char('.') + name;
}

bool RecipeReader::onlyKeys(const QJsonObject &object, const QString &place, const QStringList &keys)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!keys.contains(it.key()))
            return fail(key(place, it.key()), uiText("unknown key; known here: %1", "未知的键；此处可用: %1")
                                                  .arg(keys.join(QStringLiteral(", "))));
    }
    return true;
}

bool RecipeReader::string(const QJsonObject &object, const QString &name, const QString &place,
                          QString *value)
{
    const QJsonValue item = object.value(name);
    if (item.isUndefined())
        return true;
    if (!item.isString())
        return wrongType(key(place, name), "a string", "字符串");
    *value = item.toString();
    return true;
}

bool RecipeReader::strings(const QJsonObject &object, const QString &name, const QString &place,
                           QStringList *values)
{
    const QJsonValue item = object.value(name);
    if (item.isUndefined())
        return true;
    if (!item.isArray())
        return wrongType(key(place, name), "a list of strings", "字符串列表");
    const QJsonArray array = item.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array.at(i).isString())
            return wrongType(QStringLiteral("%1[%2]").arg(key(place, name)).arg(i), "a string", "字符串");
        values->append(array.at(i).toString());
    }
    return true;
}

bool RecipeReader::read(const QJsonObject &root, Recipe *recipe)
{
    if (!onlyKeys(root, QString(),
                  {QStringLiteral("version"), QStringLiteral("source"), QStringLiteral("characters"),
                   QStringLiteral("options"), QStringLiteral("outputs")}))
        return false;
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != double(version.toInt()) || version.toInt() < 1)
        return wrongType(QStringLiteral("version"), "a whole number from 1 up", "从 1 起的整数");
    if (version.toInt() > recipeVersion)
        return fail(QStringLiteral("version"),
                    uiText("made by a newer version of vector-font-clip (format %1; this one reads up to %2)",
                           "由更新版本的 vector-font-clip 制作（格式 %1；本程序最高只能读取 %2）")
                        .arg(version.toInt())
                        .arg(recipeVersion));
    for (const char *part : {"source", "characters", "options"}) {
        const QJsonValue value = root.value(QLatin1String(part));
        if (!value.isUndefined() && !value.isObject())
            return wrongType(QLatin1String(part), "an object", "对象");
    }
    if (!root.value(QLatin1String("source")).isObject())
        return fail(QStringLiteral("source"),
                    uiText("missing: name a font file or family", "缺失：请指定字体文件或字体族"));
    if (!readSource(root.value(QLatin1String("source")).toObject(), recipe) ||
        !readCharacters(root.value(QLatin1String("characters")).toObject(), recipe) ||
        !readOptions(root.value(QLatin1String("options")).toObject(), &recipe->options))
        return false;
    const QJsonValue outputs = root.value(QLatin1String("outputs"));
    if (!outputs.isArray())
        return wrongType(QStringLiteral("outputs"), "a list of outputs", "输出列表");
    if (outputs.toArray().isEmpty())
        return fail(QStringLiteral("outputs"), uiText("lists no output", "未列出任何输出"));
    const QJsonArray list = outputs.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        RecipeOutput output;
        if (!readOutput(list.at(i), QStringLiteral("outputs[%1]").arg(i), &output))
            return false;
        recipe->outputs.append(output);
    }
    return true;
}

bool RecipeReader::readSource(const QJsonObject &source, Recipe *recipe)
{
    const QString place = QStringLiteral("source");
    QString file;
    if (!onlyKeys(source, place,
                  {QStringLiteral("file"), QStringLiteral("family"), QStringLiteral("face")}) ||
        !string(source, QStringLiteral("file"), place, &file) ||
        !string(source, QStringLiteral("family"), place, &recipe->family))
        return false;
    const QJsonValue face = source.value(QLatin1String("face"));
    if (!face.isUndefined() &&
        (!face.isDouble() || face.toDouble() != double(face.toInt()) || face.toInt() < 0))
        return wrongType(key(place, QStringLiteral("face")), "a face index (0, 1, 2, ...)",
                         "字体序号（0、1、2 等）");
    recipe->faceIndex = face.toInt();
    if (file.isEmpty() == recipe->family.isEmpty())
        return fail(place, uiText("name either a font \"file\" or an installed \"family\"",
                                  "请指定字体文件 \"file\" 或已安装的字体族 \"family\"，二者取一"));
    if (!recipe->family.isEmpty() && !face.isUndefined())
        return fail(key(place, QStringLiteral("face")),
                    uiText("cannot go with \"family\": the family brings its own face",
                           "不能与 \"family\" 同用：该字体族自带其字体序号"));
    if (!file.isEmpty()) {
        recipe->fontPath = absolute(file);
        if (!QFileInfo::exists(recipe->fontPath))
            return fail(key(place, QStringLiteral("file")),
                        uiText("font file not found: %1", "找不到字体文件: %1").arg(recipe->fontPath));
    }
    return true;
}

bool RecipeReader::readCharacters(const QJsonObject &characters, Recipe *recipe)
{
    const QString place = QStringLiteral("characters");
    QStringList files;
    QString unicodes;
    QString encoding;
    if (!onlyKeys(characters, place,
                  {QStringLiteral("text"), QStringLiteral("files"), QStringLiteral("include"),
                   QStringLiteral("exclude"), QStringLiteral("sourceEncoding"), QStringLiteral("charsets"),
                   QStringLiteral("blocks"), QStringLiteral("unicodes")}) ||
        !string(characters, QStringLiteral("sourceEncoding"), place, &encoding) ||
        !string(characters, QStringLiteral("text"), place, &recipe->text) ||
        !strings(characters, QStringLiteral("files"), place, &files) ||
        !strings(characters, QStringLiteral("include"), place, &recipe->include) ||
        !strings(characters, QStringLiteral("exclude"), place, &recipe->exclude) ||
        !strings(characters, QStringLiteral("charsets"), place, &recipe->charsets) ||
        !string(characters, QStringLiteral("unicodes"), place, &unicodes))
        return false;
    for (const QString &file : std::as_const(files)) {
        recipe->files.append(absolute(file));
    }
    if (!encoding.isEmpty() && !sourceEncodingFromName(encoding, &recipe->sourceEncoding))
        return fail(key(place, QStringLiteral("sourceEncoding")),
                    uiText("unknown encoding \"%1\"; valid: gb18030, big5, shift_jis, euc-kr",
                           "未知编码“%1”；可用的有: gb18030、big5、shift_jis、euc-kr")
                        .arg(encoding));
    for (const QString &id : std::as_const(recipe->charsets)) {
        if (findStandardCharset(id) < 0)
            return fail(key(place, QStringLiteral("charsets")),
                        uiText("unknown character set \"%1\"; valid ids: %2", "未知字符集“%1”；可用的有: %2")
                            .arg(id, standardCharsetIds().join(QStringLiteral(", "))));
    }
    const QJsonValue blocks = characters.value(QLatin1String("blocks"));
    const QString blocksPlace = key(place, QStringLiteral("blocks"));
    if (!blocks.isUndefined() && !blocks.isArray())
        return wrongType(blocksPlace, "a list of block rows", "分区行号列表");
    QList<bool> rows(unicodeBlockCount, false);
    for (const QJsonValue &row : blocks.toArray()) {
        if (!row.isDouble() || row.toDouble() != double(row.toInt()) || row.toInt() < 1 ||
            row.toInt() > unicodeBlockCount)
            return fail(blocksPlace,
                        uiText("invalid block row %1: rows are 1 to %2", "分区行号 %1 无效：行号为 1 到 %2")
                            .arg(row.toVariant().toString())
                            .arg(unicodeBlockCount));
        rows[row.toInt() - 1] = true;
    }
    for (int row = 0; row < unicodeBlockCount; ++row) {
        if (rows.at(row))
            recipe->blockRows.append(row + 1);
    }
    QString error;
    if (!unicodes.trimmed().isEmpty() &&
        !parseCodepointRangeList(unicodes, key(place, QStringLiteral("unicodes")), &recipe->ranges, &error))
        return fail(key(place, QStringLiteral("unicodes")), error);
    return true;
}

bool RecipeReader::readOptions(const QJsonObject &options, SubsetOptions *chosen)
{
    const QString place = QStringLiteral("options");
    QString layout, names, instance;
    if (!onlyKeys(options, place,
                  {QStringLiteral("layout"), QStringLiteral("hinting"), QStringLiteral("names"),
                   QStringLiteral("instance")}) ||
        !string(options, QStringLiteral("layout"), place, &layout) ||
        !string(options, QStringLiteral("names"), place, &names) ||
        !string(options, QStringLiteral("instance"), place, &instance))
        return false;
    const QJsonValue hinting = options.value(QLatin1String("hinting"));
    if (!hinting.isUndefined() && !hinting.isBool())
        return wrongType(key(place, QStringLiteral("hinting")), "true or false", "true 或 false");
    chosen->dropHinting = !hinting.toBool(true);
    const QStringList layouts = layoutChoiceWords(), nameWords = nameChoiceWords();
    if (!layout.isEmpty() && !layouts.contains(layout))
        return fail(key(place, QStringLiteral("layout")),
                    uiText("must be one of %1", "应为以下之一: %1").arg(layouts.join(QStringLiteral(", "))));
    if (!names.isEmpty() && !nameWords.contains(names))
        return fail(
            key(place, QStringLiteral("names")),
            uiText("must be one of %1", "应为以下之一: %1").arg(nameWords.join(QStringLiteral(", "))));
    if (!layout.isEmpty())
        chosen->layout = LayoutChoice(layouts.indexOf(layout));
    if (!names.isEmpty())
        chosen->names = NameChoice(nameWords.indexOf(names));
    QString error;
    if (!instance.trimmed().isEmpty() && !parseAxisPins(instance, &chosen->pins, &error))
        return fail(key(place, QStringLiteral("instance")), error);
    return true;
}

bool RecipeReader::readOutput(const QJsonValue &value, const QString &place, RecipeOutput *output)
{
    if (!value.isObject())
        return wrongType(place, "an object", "对象");
    const QJsonObject object = value.toObject();
    QString path, format;
    if (!string(object, QStringLiteral("path"), place, &path) ||
        !string(object, QStringLiteral("format"), place, &format))
        return false;
    const QJsonValue css = object.value(QLatin1String("css"));
    if (!css.isUndefined() && !css.isBool())
        return wrongType(key(place, QStringLiteral("css")), "true or false", "true 或 false");
    output->css = css.toBool(false);
    const QString pathPlace = key(place, QStringLiteral("path"));
    if (path.isEmpty())
        return fail(pathPlace, uiText("missing: name the file to write", "缺失：请指定要写入的文件"));
    output->path = absolute(path);
    // An output named after a format is that format, as on the command line.
    OutputFormat named;
    const bool suffixNames = outputFormatFromSuffix(output->path, &named);
    if (format.isEmpty())
        output->format = suffixNames ? named : OutputFormat::TrueType;
    else if (!outputFormatFromName(format.toLower(), &output->format))
        return fail(key(place, QStringLiteral("format")),
                    uiText("unknown output format \"%1\"", "未知输出格式“%1”").arg(format));
    else if (suffixNames && named != output->format)
        return fail(pathPlace,
                    uiText("ends in .%1, which does not fit format \"%2\"", "扩展名 .%1 与格式“%2”不符")
                        .arg(QFileInfo(path).suffix(), format));
    if (!recipeHoldsFormat(output->format))
        return fail(key(place, QStringLiteral("format")),
                    uiText("output format \"%1\" cannot be built from a recipe yet", "配方暂不支持输出格式“%1”")
                        .arg(format));
    QStringList keys{QStringLiteral("path"), QStringLiteral("format"), QStringLiteral("css")};
    if (isLvglFormat(output->format))
        keys += lvglKeys();
    if (!onlyKeys(object, place, keys) ||
        (isLvglFormat(output->format) && !readLvgl(object, place, &output->lvgl)))
        return false;
    if (output->css && output->format != OutputFormat::Woff2)
        return fail(key(place, QStringLiteral("css")),
                    uiText("needs format \"woff2\"", "需要格式 \"woff2\""));
    if (QFileInfo(output->path).isDir() || path.endsWith(QLatin1Char('/')))
        return fail(pathPlace,
                    uiText("%1 is a folder; name the file to write", "%1 是文件夹；请指定要写入的文件")
                        .arg(output->path));
    return true;
}

QStringList lvglKeys()
{
    return {QStringLiteral("size"),     QStringLiteral("bpp"),     QStringLiteral("hinting"),
            QStringLiteral("compress"), QStringLiteral("kerning"), QStringLiteral("symbol")};
}

bool RecipeReader::readLvgl(const QJsonObject &object, const QString &place, LvglOptions *lvgl)
{
    if (object.value(QLatin1String("size")).isUndefined())
        return fail(key(place, QStringLiteral("size")),
                    uiText("missing: the pixel size of the bitmap font", "缺失：点阵字库的像素大小"));
    for (const char *name : {"size", "bpp"}) {
        const QJsonValue value = object.value(QLatin1String(name));
        if (!value.isUndefined() && (!value.isDouble() || value.toDouble() != double(value.toInt())))
            return wrongType(key(place, QLatin1String(name)), "a whole number", "整数");
    }
    lvgl->size = object.value(QLatin1String("size")).toInt();
    lvgl->bpp = object.value(QLatin1String("bpp")).toInt(lvgl->bpp);
    QString hinting;
    if (!string(object, QStringLiteral("hinting"), place, &hinting) ||
        !string(object, QStringLiteral("symbol"), place, &lvgl->symbol))
        return false;
    if (!hinting.isEmpty() && hinting != QLatin1String("light") && hinting != QLatin1String("none"))
        return fail(key(place, QStringLiteral("hinting")),
                    uiText("must be one of %1", "应为以下之一: %1").arg(QStringLiteral("light, none")));
    lvgl->hinting = hinting != QLatin1String("none");
    for (auto [name, flag] : {std::pair{"compress", &lvgl->compress}, std::pair{"kerning", &lvgl->kerning}}) {
        const QJsonValue value = object.value(QLatin1String(name));
        if (!value.isUndefined() && !value.isBool())
            return wrongType(key(place, QLatin1String(name)), "true or false", "true 或 false");
        *flag = value.toBool(*flag);
    }
    const QString problem = lvglOptionsProblem(*lvgl);
    if (problem.isEmpty())
        return true;
    // The one rule says what is wrong; the place is the first value it refuses.
    const char *bad = lvgl->size < lvglMinimumSize || lvgl->size > lvglMaximumSize ? "size"
                      : !isLvglBpp(lvgl->bpp)                                      ? "bpp"
                                                                                   : "symbol";
    return fail(key(place, QLatin1String(bad)), problem);
}

// Where Qt's parser stopped, as the line and column an editor shows.
QString jsonErrorPlace(const QByteArray &bytes, int offset)
{
    const QByteArray before = bytes.left(offset);
    const int line = int(before.count('\n')) + 1;
    const int column = int(QString::fromUtf8(before.mid(before.lastIndexOf('\n') + 1)).size()) + 1;
    return uiText("line %1, column %2", "第 %1 行第 %2 列").arg(line).arg(column);
}

} // namespace

bool readRecipe(const QString &path, Recipe *recipe, QString *errorMessage)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *errorMessage =
            uiText("Failed to open recipe %1: %2", "无法打开配方 %1: %2").arg(path, systemReason(file));
        return false;
    }
    const QByteArray bytes = file.readAll();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *errorMessage = uiText("%1: %2: not JSON: %3", "%1：%2：不是 JSON: %3")
                            .arg(path, jsonErrorPlace(bytes, parseError.offset), parseError.errorString());
        return false;
    }
    if (!document.isObject()) {
        *errorMessage = uiText("%1: not a recipe: the file must hold one JSON object",
                               "%1：不是配方：文件应包含一个 JSON 对象")
                            .arg(path);
        return false;
    }
    Recipe read;
    RecipeReader reader(path);
    if (!reader.read(document.object(), &read)) {
        *errorMessage = reader.error;
        return false;
    }
    read.file = path;
    *recipe = read;
    return true;
}
