#include "app/SubsetCommandLine.h"

#include "app/CollectOptions.h"
#include "charset/StandardCharsets.h"
#include "charset/UnicodeBlockTable.h"
#include "common/UiText.h"

#include <QRegularExpression>

namespace {

class Parser
{
public:
    explicit Parser(int useEnglish) : rows(unicodeBlockCount, false) { result.useEnglish = useEnglish; }

    SubsetCommandLine parse(const QStringList &arguments);

private:
    QString text(const char *english, const char *chinese) const
    {
        return uiText(result.useEnglish, english, chinese);
    }
    void fail(const QString &message)
    {
        // The first mistake is the one worth reading; later ones often follow from it.
        if (firstError.isEmpty())
            firstError = message;
    }
    void takeOption(const QString &name, const QString *value);
    bool takeCharsetOption(const QString &name, const QString *value);

    SubsetCommandLine result;
    QList<bool> rows;
    QStringList fonts;
    QString firstError;
    int languageSeen = -1;
    bool help = false;
    bool version = false;
    bool listBlocks = false;
    bool outputGiven = false;
    bool selectionGiven = false;
    bool faceIndexGiven = false;
    bool familyGiven = false;
    bool listFaces = false;
    bool listCharsets = false;
};

// Standard character sets: --list-charsets [FONT] and --charset=IDS.
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
    if (!parseCharsetIds(*value, result.useEnglish, &result.charsets, &error))
        fail(error);
    return true;
}

bool isFlag(const QString &name)
{
    static const QStringList flags = {
        QStringLiteral("-h"),          QStringLiteral("--help"),        QStringLiteral("--version"),
        QStringLiteral("--force"),     QStringLiteral("--list-blocks"), QStringLiteral("--list-missing"),
        QStringLiteral("--list-faces")};
    return flags.contains(name) || name == listCharsetsOption || isCollectFlag(name);
}

bool takesValue(const QString &name)
{
    static const QStringList options = {QStringLiteral("--output-file"), QStringLiteral("--text"),
                                        QStringLiteral("--text-file"),   QStringLiteral("--blocks"),
                                        QStringLiteral("--unicodes"),    QStringLiteral("--lang"),
                                        QStringLiteral("--face-index"),  QStringLiteral("--family")};
    return options.contains(name) || name == charsetOption || takesCollectValue(name);
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
        result.useEnglish = languageSeen;
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
    } else if (fonts.size() > 1) {
        result.usageError =
            text("Only one font file may be given; also got: %1", "只能指定一个字体文件，多出: %1")
                .arg(fonts.mid(1).join(QLatin1Char(' ')));
    } else if (!outputGiven) {
        result.usageError = text("No output file given: add --output-file=PATH.",
                                 "未指定输出文件：请加上 --output-file=路径。");
    } else if (!selectionGiven) {
        result.usageError =
            text("No characters chosen: add --text, --text-file, --blocks, --unicodes or --charset.",
                 "未选择字符：请加上 --text、--text-file、--blocks、--unicodes 或 --charset。");
    } else {
        result.fontPath = fonts.value(0);
        result.action = SubsetCommandLine::Action::Subset;
    }
    return result;
}

void Parser::takeOption(const QString &name, const QString *value)
{
    if (takeCharsetOption(name, value))
        return;
    if (isCollectFlag(name) || (takesCollectValue(name) && !value->isEmpty())) {
        QString error;
        if (!takeCollectOption(name, value, &result, &error))
            fail(error);
        return;
    }
    if (name == QLatin1String("-h") || name == QLatin1String("--help")) {
        help = true;
        return;
    }
    if (name == QLatin1String("--version")) {
        version = true;
        return;
    }
    if (name == QLatin1String("--force")) {
        result.force = true;
        return;
    }
    if (name == QLatin1String("--list-blocks")) {
        listBlocks = true;
        return;
    }
    if (name == QLatin1String("--list-missing")) {
        result.listMissing = true;
        return;
    }
    if (name == QLatin1String("--list-faces")) {
        listFaces = true;
        return;
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
        if (outputGiven)
            fail(text("Option --output-file may be given only once.", "选项 --output-file 只能给出一次。"));
        outputGiven = true;
        result.outputPath = *value;
    } else if (name == QLatin1String("--face-index")) {
        static const QRegularExpression digits(QStringLiteral("^\\d{1,6}$"));
        if (faceIndexGiven)
            fail(text("Option --face-index may be given only once.", "选项 --face-index 只能给出一次。"));
        faceIndexGiven = true;
        if (digits.match(*value).hasMatch())
            result.faceIndex = value->toInt();
        else
            fail(text("Invalid face index \"%1\": faces are numbered 0, 1, 2 and so on.",
                      "字体序号“%1”无效：序号为 0、1、2 等。")
                     .arg(*value));
    } else if (name == QLatin1String("--family")) {
        if (familyGiven)
            fail(text("Option --family may be given only once.", "选项 --family 只能给出一次。"));
        familyGiven = true;
        result.family = *value;
    } else if (name == QLatin1String("--text")) {
        selectionGiven = true;
        result.texts.append(*value);
    } else if (name == QLatin1String("--text-file")) {
        selectionGiven = true;
        result.textFiles.append(*value);
    } else if (name == QLatin1String("--blocks")) {
        selectionGiven = true;
        if (!parseBlockRows(*value, result.useEnglish, &rows, &error))
            fail(error);
    } else if (name == QLatin1String("--unicodes")) {
        selectionGiven = true;
        if (!parseUnicodeRanges(*value, result.useEnglish, &result.unicodeRanges, &error))
            fail(error);
    }
}

} // namespace

SubsetCommandLine parseSubsetCommandLine(const QStringList &arguments)
{
    // The messages speak the language of the whole line, and --lang may come
    // last, so a second pass writes them once the language is known.
    SubsetCommandLine commandLine = Parser(0).parse(arguments);
    if (commandLine.useEnglish != 0)
        commandLine = Parser(commandLine.useEnglish).parse(arguments);
    return commandLine;
}

bool parseBlockRows(const QString &list, int useEnglish, QList<bool> *rows, QString *error)
{
    static const QRegularExpression rowOrRange(QStringLiteral("^(\\d+)(?:\\s*-\\s*(\\d+))?$"));
    QList<bool> chosen(unicodeBlockCount, false);
    bool any = false;
    const QStringList items = list.split(QLatin1Char(','));
    for (const QString &rawItem : items) {
        const QString item = rawItem.trimmed();
        if (item.isEmpty())
            continue; // "1,2," and "1,,2" are taken as meant
        if (item.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
            chosen.fill(true);
            any = true;
            continue;
        }
        const QRegularExpressionMatch match = rowOrRange.match(item);
        bool firstOk = false;
        bool lastOk = true;
        const int first = match.hasMatch() ? match.captured(1).toInt(&firstOk) : 0;
        const int last = match.hasMatch() && match.hasCaptured(2) ? match.captured(2).toInt(&lastOk) : first;
        if (!match.hasMatch() || !firstOk || !lastOk || first < 1 || last > unicodeBlockCount ||
            first > last) {
            if (error)
                *error = uiText(useEnglish,
                                "Invalid block row \"%1\" in --blocks: rows are 1 to %2, ranges such as 3-5, "
                                "or all.",
                                "--blocks 中的分区行号“%1”无效：行号为 1 到 %2，可写范围（如 3-5）或 all。")
                             .arg(item)
                             .arg(unicodeBlockCount);
            return false;
        }
        for (int row = first; row <= last; ++row)
            chosen[row - 1] = true;
        any = true;
    }
    if (!any) {
        if (error)
            *error = uiText(useEnglish, "Option --blocks lists no row.", "选项 --blocks 未列出任何行。");
        return false;
    }
    for (int row = 0; row < unicodeBlockCount; ++row) {
        if (chosen.at(row))
            (*rows)[row] = true;
    }
    return true;
}

bool parseUnicodeRanges(const QString &list, int useEnglish, QList<CodepointRange> *ranges, QString *error)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    static const QRegularExpression item(
        QStringLiteral("^(?:U\\+|0X)?([0-9A-F]{1,6})(?:-(?:U\\+|0X)?([0-9A-F]{1,6}))?$"),
        QRegularExpression::CaseInsensitiveOption);
    QList<CodepointRange> found;
    const QStringList items = list.split(separators, Qt::SkipEmptyParts);
    for (const QString &text : items) {
        if (text == QLatin1String("*")) {
            // hb-subset's "everything" has no list of code points to look up
            // for the note; the font's whole repertoire is one range away.
            if (error)
                *error =
                    uiText(useEnglish,
                           "--unicodes=* is not supported: give a range such as 0-10FFFF, or --blocks=all.",
                           "不支持 --unicodes=*：请给出范围（如 0-10FFFF）或使用 --blocks=all。");
            return false;
        }
        const QRegularExpressionMatch match = item.match(text);
        const uint first = match.hasMatch() ? match.captured(1).toUInt(nullptr, 16) : 0;
        const uint last =
            match.hasMatch() && match.hasCaptured(2) ? match.captured(2).toUInt(nullptr, 16) : first;
        if (!match.hasMatch() || last > 0x10FFFF) {
            if (error)
                *error =
                    uiText(useEnglish,
                           "Invalid code point \"%1\" in --unicodes: use hexadecimal code points or ranges "
                           "such as U+4E00-9FBF, up to 10FFFF.",
                           "--unicodes 中的码位“%1”无效：请使用十六进制码位或范围（如 U+4E00-9FBF），最大 "
                           "10FFFF。")
                        .arg(text);
            return false;
        }
        if (first > last) {
            if (error)
                *error =
                    uiText(useEnglish,
                           "Invalid range \"%1\" in --unicodes: its first code point lies above its last.",
                           "--unicodes 中的范围“%1”无效：起始码位大于结束码位。")
                        .arg(text);
            return false;
        }
        found.append({first, last});
    }
    if (found.isEmpty()) {
        if (error)
            *error = uiText(useEnglish, "Option --unicodes lists no code point.",
                            "选项 --unicodes 未列出任何码位。");
        return false;
    }
    ranges->append(found);
    return true;
}

bool parseCharsetIds(const QString &list, int useEnglish, QStringList *ids, QString *error)
{
    QStringList found;
    for (const QString &rawItem : list.split(QLatin1Char(','))) {
        const QString item = rawItem.trimmed();
        if (item.isEmpty())
            continue;
        if (findStandardCharset(item) < 0) {
            if (error)
                *error = uiText(useEnglish, "Unknown character set \"%1\" in --charset; valid ids: %2",
                                "--charset 中的字符集“%1”未知；可用的有: %2")
                             .arg(item, standardCharsetIds().join(QStringLiteral(", ")));
            return false;
        }
        found.append(item);
    }
    if (found.isEmpty()) {
        if (error)
            *error =
                uiText(useEnglish, "Option --charset lists no set.", "选项 --charset 未列出任何字符集。");
        return false;
    }
    for (const QString &id : found) {
        if (!ids->contains(id))
            ids->append(id);
    }
    return true;
}

QString subsetCommandHelp(int useEnglish)
{
    return uiText(useEnglish,
                  "Usage: vfc-subset FONT --output-file=PATH SELECTION... [--lang=en|zh] [--force]\n"
                  "       vfc-subset --family=NAME --output-file=PATH SELECTION...\n"
                  "       vfc-subset --list-faces FONT\n"
                  "       vfc-subset --collect-only [--include=GLOBS] [--exclude=GLOBS] PATH...\n"
                  "\n"
                  "Cuts FONT (.ttf, .otf, .ttc) down to the chosen characters with hb-subset and\n"
                  "writes the result to PATH, exactly as named.\n"
                  "\n"
                  "Font faces:\n"
                  "  --face-index=N      the face of a collection (.ttc, .otc) to cut; 0 by default\n"
                  "  --family=NAME       an installed font family instead of FONT, found the way\n"
                  "                      the window's system font picker finds it, face included\n"
                  "  --list-faces        print the faces of FONT (or --family) and exit: index,\n"
                  "                      family and style, separated by tabs\n"
                  "\n"
                  "Selections (at least one; several add up):\n"
                  "  --text=TEXT         the characters of TEXT\n"
                  "  --text-file=FILE    the characters of a UTF-8 text file (- for standard input);\n"
                  "                      repeatable, and a folder is read with all its source and\n"
                  "                      text files, escapes such as \\u4E2D and &#x4E2D; decoded\n"
                  "  --blocks=LIST       rows of the Unicode block table: numbers, ranges such as\n"
                  "                      3-5, or all, separated by commas (see --list-blocks)\n"
                  "  --unicodes=LIST     code points in hexadecimal and ranges of them, separated\n"
                  "                      by commas or spaces, as hb-subset takes them: U+4E2D,41-5A\n"
                  "  --charset=IDS       standard character sets such as gb2312 or tgh1, separated\n"
                  "                      by commas (see --list-charsets)\n"
                  "\n"
                  "Collecting from several files and folders:\n"
                  "  --include=GLOBS     the files a folder is read for, replacing the usual kinds\n"
                  "                      of source and text file: *.c,*.json (commas between)\n"
                  "  --exclude=GLOBS     files and folders to leave out: build,*.min.js\n"
                  "  --collect-only      print the distinct characters of the PATHs (files and\n"
                  "                      folders) in code point order and exit, without a font\n"
                  "A summary of what was read and skipped goes to standard error.\n"
                  "\n"
                  "Options:\n"
                  "  --output-file=PATH  where the subset font goes (required)\n"
                  "  --force             replace PATH if it exists; otherwise it is kept\n"
                  "  --list-missing      print every requested character the font lacks, one a\n"
                  "                      line, to standard output\n"
                  "  --lang=en|zh        language of the messages (Chinese unless --lang=en)\n"
                  "  --list-blocks       print the Unicode block table and exit\n"
                  "  --list-charsets [FONT]\n"
                  "                      print each character set's id, size and name (and how\n"
                  "                      many of its characters FONT has) and exit\n"
                  "  -h, --help          print this help and exit\n"
                  "  --version           print the version and exit\n"
                  "\n"
                  "Each option also takes its value as the next argument (--text TEXT).\n"
                  "Requested characters that the font lacks are listed on standard error.\n"
                  "Exit status: 0 when the subset was written, 1 when that failed,\n"
                  "2 when the command line is wrong, 130 or 143 when SIGINT or SIGTERM stopped it.\n",
                  "用法: vfc-subset 字体 --output-file=路径 字符选择... [--lang=en|zh] [--force]\n"
                  "      vfc-subset --family=名称 --output-file=路径 字符选择...\n"
                  "      vfc-subset --list-faces 字体\n"
                  "      vfc-subset --collect-only [--include=通配符] [--exclude=通配符] 路径...\n"
                  "\n"
                  "用 hb-subset 将字体（.ttf、.otf、.ttc）裁剪为所选字符，结果按原样写入“路径”。\n"
                  "\n"
                  "字体:\n"
                  "  --face-index=N      要裁剪的字体集合（.ttc、.otc）中的字体序号，默认为 0\n"
                  "  --family=名称       用已安装的字体族代替“字体”，查找方式与窗口的系统字体\n"
                  "                      选择相同，包括其字体序号\n"
                  "  --list-faces        列出“字体”（或 --family）中的各个字体后退出：序号、\n"
                  "                      字体族和样式，以制表符分隔\n"
                  "\n"
                  "字符选择（至少一项；多项合并）:\n"
                  "  --text=文本         文本中的字符\n"
                  "  --text-file=文件    UTF-8 文本文件中的字符（- 表示标准输入）；可多次给出，\n"
                  "                      也可给出文件夹，读取其中全部源代码和文本文件，\n"
                  "                      并解码 \\u4E2D、&#x4E2D; 等转义\n"
                  "  --blocks=列表       Unicode 分区表的行号：数字、范围（如 3-5）或 all，\n"
                  "                      以逗号分隔（见 --list-blocks）\n"
                  "  --unicodes=列表     十六进制码位及其范围，以逗号或空格分隔，\n"
                  "                      与 hb-subset 的写法相同：U+4E2D,41-5A\n"
                  "  --charset=编号      标准字符集，如 gb2312 或 tgh1，以逗号分隔\n"
                  "                      （见 --list-charsets）\n"
                  "\n"
                  "从多个文件和文件夹收集:\n"
                  "  --include=通配符    文件夹中要读取的文件，代替默认的源代码和文本文件类型：\n"
                  "                      *.c,*.json（以逗号分隔）\n"
                  "  --exclude=通配符    要排除的文件和文件夹：build,*.min.js\n"
                  "  --collect-only      按码位顺序列出“路径”（文件和文件夹）中的不同字符后\n"
                  "                      退出，不裁剪字体\n"
                  "读取和跳过情况的摘要写到标准错误输出。\n"
                  "\n"
                  "选项:\n"
                  "  --output-file=路径  生成的字库文件（必需）\n"
                  "  --force             覆盖已存在的文件；否则保留原文件\n"
                  "  --list-missing      将字体缺少的全部请求字符逐行写到标准输出\n"
                  "  --lang=en|zh        提示信息的语言（默认中文，--lang=en 为英文）\n"
                  "  --list-blocks       列出 Unicode 分区表后退出\n"
                  "  --list-charsets [字体]\n"
                  "                      列出各字符集的编号、字数和名称（给出字体时另列\n"
                  "                      该字体含有的字数）后退出\n"
                  "  -h, --help          显示本帮助后退出\n"
                  "  --version           显示版本后退出\n"
                  "\n"
                  "每个选项的值也可作为下一个参数给出（--text 文本）。\n"
                  "源字库中缺少的请求字符列在标准错误输出中。\n"
                  "退出码: 0 表示已生成，1 表示生成失败，2 表示命令行有误，\n"
                  "130 或 143 表示被 SIGINT 或 SIGTERM 中止。\n");
}

QString unicodeBlockListing(int useEnglish)
{
    QString listing;
    for (int row = 0; row < unicodeBlockCount; ++row) {
        const UnicodeBlock &block = unicodeBlockTable[row];
        listing += QStringLiteral("%1  %2 - %3  %4\n")
                       .arg(QString::number(row + 1).rightJustified(3), codepointText(block.first),
                            codepointText(block.last), unicodeBlockName(block, useEnglish));
    }
    return listing;
}
