#include "cli/SubsetCommandLine.h"

#include "charset/StandardCharsets.h"
#include "charset/UnicodeBlockTable.h"
#include "cli/CollectOptions.h"
#include "cli/LvglCommandLine.h"
#include "cli/OptionsCommandLine.h"
#include "common/UiText.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

class Parser
{
public:
    Parser() : rows(unicodeBlockCount, false) {}

    SubsetCommandLine parse(const QStringList &arguments);

private:
    static QString text(const char *english, const char *chinese) { return uiText(english, chinese); }
    void fail(const QString &message)
    {
        // The first mistake is the one worth reading; later ones often follow from it.
        if (firstError.isEmpty())
            firstError = message;
    }
    // Options that name one thing each: a second one is a mistake.
    void takeOnce(const QString &name, bool *given)
    {
        if (*given)
            fail(text("Option %1 may be given only once.", "选项 %1 只能给出一次。").arg(name));
        *given = true;
    }
    void takeOption(const QString &name, const QString *value);
    bool takeCharsetOption(const QString &name, const QString *value);
    bool takeOutputOption(const QString &name, const QString *value);
    void takeFormatFromOutputName();
    QString sliceProblem() const;

    SubsetCommandLine result;
    QList<bool> rows;
    QStringList fonts;
    QString firstError;
    int languageSeen = -1;
    bool help = false;
    bool version = false;
    bool listBlocks = false;
    bool outputGiven = false;
    bool formatGiven = false;
    bool selectionGiven = false;
    bool faceIndexGiven = false;
    bool familyGiven = false;
    bool listFaces = false;
    bool listCharsets = false;
    QString lvglOptionGiven;
};

// --list-charsets [FONT] and --charset=IDS.
const QLatin1String listCharsetsOption("--list-charsets");
const QLatin1String charsetOption("--charset");

bool Parser::takeCharsetOption(const QString &name, const QString *value)
{
    if (name == listCharsetsOption) {
        listCharsets = true;
        return true;
    }
    if (name != charsetOption || value->isEmpty())
        return false;
    selectionGiven = true;
    QString error;
    if (!parseCharsetIds(*value, &result.charsets, &error))
        fail(error);
    return true;
}

// --css, --report and --format=FORMAT.
const QStringList outputFlags = {QStringLiteral("--css"), QStringLiteral("--report")};
const QStringList outputOptions = {QStringLiteral("--format")};

bool isFlag(const QString &name)
{
    static const QStringList flags = {
        QStringLiteral("-h"),           QStringLiteral("--help"),        QStringLiteral("--version"),
        QStringLiteral("--force"),      QStringLiteral("--list-blocks"), QStringLiteral("--list-missing"),
        QStringLiteral("--list-faces"), QStringLiteral("--check")};
    return flags.contains(name) || name == listCharsetsOption || outputFlags.contains(name) ||
           isSubsetOptionFlag(name) || isCollectFlag(name) || isLvglOptionFlag(name) || isSliceFlag(name);
}

bool takesValue(const QString &name)
{
    static const QStringList options = {QStringLiteral("--output-file"), QStringLiteral("--text"),
                                        QStringLiteral("--text-file"),   QStringLiteral("--blocks"),
                                        QStringLiteral("--unicodes"),    QStringLiteral("--lang"),
                                        QStringLiteral("--face-index"),  QStringLiteral("--family"),
                                        QStringLiteral("--recipe"),      QStringLiteral("--save-recipe")};
    return options.contains(name) || name == charsetOption || outputOptions.contains(name) ||
           isSubsetOptionWithValue(name) || takesCollectValue(name) || isLvglOptionWithValue(name) ||
           takesSliceValue(name);
}

SubsetCommandLine Parser::parse(const QStringList &arguments)
{
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || argument == QLatin1String("-") || !argument.startsWith(QLatin1Char('-'))) {
            fonts.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }

        const qsizetype equals =
            argument.startsWith(QLatin1String("--")) ? argument.indexOf(QLatin1Char('=')) : -1;
        const QString name = equals < 0 ? argument : argument.left(equals);
        if (isFlag(name)) {
            if (equals >= 0)
                fail(text("Option %1 takes no value.", "选项 %1 不带值。").arg(name));
            else
                takeOption(name, nullptr);
        } else if (takesValue(name)) {
            if (equals >= 0) {
                const QString value = argument.mid(equals + 1);
                takeOption(name, &value);
            } else if (i + 1 < arguments.size()) {
                takeOption(name, &arguments.at(i + 1));
                ++i;
            } else {
                fail(text("Option %1 needs a value.", "选项 %1 需要一个值。").arg(name));
            }
        } else {
            fail(text("Unknown option: %1", "未知选项: %1").arg(argument));
        }
    }

    if (languageSeen >= 0)
        result.english = languageSeen == 1;
    takeFormatFromOutputName();
    for (int row = 0; row < rows.size(); ++row) {
        if (rows.at(row))
            result.blockRows.append(row + 1);
    }

    if (help) {
        result.action = SubsetCommandLine::Action::Help;
    } else if (!firstError.isEmpty()) {
        result.usageError = firstError;
    } else if (version) {
        result.action = SubsetCommandLine::Action::Version;
    } else if (listBlocks) {
        result.action = SubsetCommandLine::Action::ListBlocks;
    } else if (!result.recipePath.isEmpty() && (!fonts.isEmpty() || familyGiven || outputGiven ||
                                                selectionGiven || !result.saveRecipePath.isEmpty())) {
        result.usageError = text("--recipe takes no font, characters or output: the recipe holds them.",
                                 "--recipe 不带字体、字符或输出：这些都在配方中。");
    } else if (!result.recipePath.isEmpty()) {
        result.action = SubsetCommandLine::Action::Recipe;
    } else if (result.check) {
        result.usageError = text("--check needs --recipe=FILE.", "--check 需要 --recipe=文件。");
    } else if (result.collectOnly && fonts.isEmpty() && result.textFiles.isEmpty()) {
        result.usageError = text("--collect-only needs files or folders to read.",
                                 "--collect-only 需要指定要读取的文件或文件夹。");
    } else if (result.collectOnly) {
        result.textFiles += fonts;
        result.action = SubsetCommandLine::Action::CollectOnly;
    } else if (listCharsets && fonts.size() > 1) {
        result.usageError = text("--list-charsets takes at most one font file; also got: %1",
                                 "--list-charsets 最多只能指定一个字体文件，多出: %1")
                                .arg(fonts.mid(1).join(QLatin1Char(' ')));
    } else if (listCharsets) {
        result.fontPath = fonts.value(0);
        result.action = SubsetCommandLine::Action::ListCharsets;
    } else if (!sliceProblem().isEmpty()) {
        result.usageError = sliceProblem();
    } else if (familyGiven && !fonts.isEmpty()) {
        result.usageError =
            text("Give either a font file or --family, not both.", "字体文件与 --family 只能给出其一。");
    } else if (familyGiven && faceIndexGiven) {
        result.usageError = text("--face-index cannot go with --family: the family brings its own face.",
                                 "--face-index 不能与 --family 同用：该字体族自带其字体序号。");
    } else if (listFaces && fonts.size() <= 1 && (familyGiven || !fonts.isEmpty())) {
        result.fontPath = fonts.value(0);
        result.action = SubsetCommandLine::Action::ListFaces;
    } else if (fonts.isEmpty() && !familyGiven) {
        result.usageError = text("No font file given.", "未指定字体文件。");
    } else if (fonts.size() > 1 && result.format != OutputFormat::Woff2Slices) {
        result.usageError =
            text("Only one font file may be given; also got: %1", "只能指定一个字体文件，多出: %1")
                .arg(fonts.mid(1).join(QLatin1Char(' ')));
    } else if (!outputGiven) {
        result.usageError = text("No output file given: add --output-file=PATH.",
                                 "未指定输出文件：请加上 --output-file=路径。");
    } else if (result.writeCss && result.format != OutputFormat::Woff2) {
        result.usageError = text("Option --css needs --format=woff2.", "选项 --css 需要 --format=woff2。");
    } else if (!lvglOptionGiven.isEmpty() && !isLvglFormat(result.format)) {
        result.usageError = text("Option %1 needs --format=lvgl or --format=lvgl-bin.",
                                 "选项 %1 需要 --format=lvgl 或 --format=lvgl-bin。")
                                .arg(lvglOptionGiven);
    } else if (isLvglFormat(result.format) && result.lvgl.size == 0) {
        result.usageError = text("--format=%1 needs the pixel size: add --size=PX.",
                                 "--format=%1 需要像素大小：请加上 --size=PX。")
                                .arg(outputFormatName(result.format));
    } else if (isLvglFormat(result.format) && !lvglOptionsProblem(result.lvgl).isEmpty()) {
        result.usageError = lvglOptionsProblem(result.lvgl);
    } else if (!selectionGiven) {
        result.usageError =
            text("No characters chosen: add --text, --text-file, --blocks, --unicodes or --charset.",
                 "未选择字符：请加上 --text、--text-file、--blocks、--unicodes 或 --charset。");
    } else {
        result.fontPath = fonts.value(0);
        result.fontPaths = fonts;
        result.action = SubsetCommandLine::Action::Subset;
    }
    return result;
}

// The slice options belong to a slice folder, and --all-styles to a family.
QString Parser::sliceProblem() const
{
    if (result.slicing.given && result.format != OutputFormat::Woff2Slices)
        return text("Options --slicing, --slice-size, --css-family and --all-styles need --format=woff2-slices.",
                    "选项 --slicing、--slice-size、--css-family 与 --all-styles 需要 --format=woff2-slices。");
    if (result.slicing.allStyles && !familyGiven)
        return text("Option --all-styles needs --family=NAME.", "选项 --all-styles 需要 --family=名称。");
    return QString();
}

bool Parser::takeOutputOption(const QString &name, const QString *value)
{
    if (name == QLatin1String("--css")) {
        result.writeCss = true;
        return true;
    }
    if (name == QLatin1String("--report")) {
        result.report = true;
        return true;
    }
    if (name != QLatin1String("--format"))
        return false;
    formatGiven = true;
    if (!outputFormatFromName(value->toLower(), &result.format))
        fail(text("Unknown output format \"%1\": use --format=ttf, woff2, c, woff2-slices, lvgl or lvgl-bin.",
                  "未知输出格式“%1”：请使用 --format=ttf、woff2、c、woff2-slices、lvgl 或 lvgl-bin。")
                 .arg(*value));
    return true;
}

// A name that ends in .woff2 or .h asks for that format as plainly as
// --format does, and a file whose name says otherwise would mislead whoever
// finds it.
void Parser::takeFormatFromOutputName()
{
    OutputFormat named;
    if (!outputGiven || !outputFormatFromSuffix(result.outputPath, &named))
        return;
    if (!formatGiven)
        result.format = named;
    else if (named != result.format)
        fail(text("--output-file=%1 ends in .%2, which does not fit --format=%3.",
                  "--output-file=%1 的扩展名 .%2 与 --format=%3 不符。")
                 .arg(result.outputPath, QFileInfo(result.outputPath).suffix(),
                      outputFormatName(result.format)));
}

void Parser::takeOption(const QString &name, const QString *value)
{
    if (takeCharsetOption(name, value) || takeOutputOption(name, value))
        return;
    if (isSliceFlag(name) || takesSliceValue(name)) {
        QString error;
        if (!takeSliceOption(name, value, &result.slicing, &error))
            fail(error);
        return;
    }
    if (isSubsetOptionFlag(name) || isSubsetOptionWithValue(name)) {
        QString error;
        if (!takeSubsetOption(name, value, &result.options, &error))
            fail(error);
        return;
    }
    if (isLvglOptionFlag(name) || isLvglOptionWithValue(name)) {
        lvglOptionGiven = name;
        QString error;
        if (!takeLvglOption(name, value, &result.lvgl, &error))
            fail(error);
        return;
    }
    if (isCollectFlag(name) || (takesCollectValue(name) && !value->isEmpty())) {
        QString error;
        if (!takeCollectOption(name, value, &result, &error))
            fail(error);
        return;
    }
    const std::pair<const char *, bool *> flags[] = {
        {"-h", &help},
        {"--help", &help},
        {"--version", &version},
        {"--force", &result.force},
        {"--list-blocks", &listBlocks},
        {"--list-missing", &result.listMissing},
        {"--list-faces", &listFaces},
        {"--check", &result.check},
    };
    for (const auto &[flag, set] : flags) {
        if (name == QLatin1String(flag)) {
            *set = true;
            return;
        }
    }

    // A selection that is empty on purpose is only possible as --text=""; an
    // empty path, list or language is a slip.
    if (value->isEmpty() && name != QLatin1String("--text")) {
        fail(text("Option %1 needs a value.", "选项 %1 需要一个值。").arg(name));
        return;
    }
    QString error;
    if (name == QLatin1String("--lang")) {
        const QString language = value->toLower();
        if (language == QLatin1String("en"))
            languageSeen = 1;
        else if (language == QLatin1String("zh"))
            languageSeen = 0;
        else
            fail(text("Unknown language \"%1\": use --lang=en or --lang=zh.",
                      "未知语言“%1”：请使用 --lang=en 或 --lang=zh。")
                     .arg(*value));
    } else if (name == QLatin1String("--output-file")) {
        takeOnce(name, &outputGiven);
        result.outputPath = *value;
    } else if (name == QLatin1String("--face-index")) {
        static const QRegularExpression digits(QStringLiteral("^\\d{1,6}$"));
        takeOnce(name, &faceIndexGiven);
        if (digits.match(*value).hasMatch())
            result.faceIndex = value->toInt();
        else
            fail(text("Invalid face index \"%1\": faces are numbered 0, 1, 2 and so on.",
                      "字体序号“%1”无效：序号为 0、1、2 等。")
                     .arg(*value));
    } else if (name == QLatin1String("--recipe")) {
        result.recipePath = *value;
    } else if (name == QLatin1String("--save-recipe")) {
        result.saveRecipePath = *value;
    } else if (name == QLatin1String("--family")) {
        takeOnce(name, &familyGiven);
        result.family = *value;
    } else if (name == QLatin1String("--text")) {
        selectionGiven = true;
        result.texts.append(*value);
    } else if (name == QLatin1String("--text-file")) {
        selectionGiven = true;
        result.textFiles.append(*value);
    } else if (name == QLatin1String("--blocks")) {
        selectionGiven = true;
        if (!parseBlockRows(*value, &rows, &error))
            fail(error);
    } else if (name == QLatin1String("--unicodes")) {
        selectionGiven = true;
        if (!parseUnicodeRanges(*value, &result.unicodeRanges, &error))
            fail(error);
    }
}

} // namespace

SubsetCommandLine parseSubsetCommandLine(const QStringList &arguments)
{
    // The messages speak the language of the whole line, and --lang may come
    // last: a first pass finds it, the second writes them in it.
    setUiEnglish(Parser().parse(arguments).english);
    return Parser().parse(arguments);
}
