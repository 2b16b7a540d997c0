#include "app/SubsetCommand.h"

#include "app/UiText.h"
#include "charset/TextCharacters.h"
#include "charset/TextImport.h"
#include "charset/UnicodeBlockTable.h"
#include "subset/SubsetGeneration.h"
#include "subset/UnicodesArgument.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

// Standard input is what a pipeline hands over; the import's own reader
// refuses anything but a regular file, so the stream is read here the same
// way: UTF-8, CR LF arriving as LF, nothing at all counting as empty.
bool readStandardInput(int useEnglish, QString *text, QString *errorMessage)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly | QIODevice::Text)) {
        if (errorMessage)
            *errorMessage =
                uiText(useEnglish, "Failed to open file: %1", "无法打开文件: %1").arg(QStringLiteral("-"));
        return false;
    }
    return readUtf8Text(input, useEnglish, text, errorMessage);
}

void writeLine(QTextStream &stream, const QString &text)
{
    stream << text;
    if (!text.endsWith(QLatin1Char('\n')))
        stream << '\n';
    stream.flush();
}

} // namespace

bool gatherSubsetSelection(const SubsetCommandLine &commandLine, SubsetSelection *selection,
                           QString *errorMessage)
{
    const int english = commandLine.useEnglish;
    QSet<uint> textCodepoints;
    for (const QString &text : commandLine.texts)
        textCodepoints.unite(collectTextCodepoints(text));
    for (const QString &path : commandLine.textFiles) {
        QString text;
        const bool read = path == QLatin1String("-") ? readStandardInput(english, &text, errorMessage)
                                                     : readUtf8Text(path, english, &text, errorMessage);
        if (!read)
            return false;
        textCodepoints.unite(collectTextCodepoints(text));
    }

    SubsetSelection gathered;
    QStringList parts;
    // Sized once up front: every block at once is some sixty thousand code
    // points, and growing the set step by step would rehash it repeatedly
    // before hb-subset can start.
    qsizetype expected = textCodepoints.size();
    for (int row : commandLine.blockRows)
        expected += unicodeBlockTable[row - 1].last - unicodeBlockTable[row - 1].first + 1;
    for (const CodepointRange &range : commandLine.unicodeRanges)
        expected += qsizetype(range.last) - range.first + 1;
    gathered.codepoints.reserve(expected);
    for (int row : commandLine.blockRows) {
        const UnicodeBlock &block = unicodeBlockTable[row - 1];
        parts.append(blockRangeText(block.first, block.last));
        for (uint codepoint = block.first; codepoint <= block.last; ++codepoint)
            gathered.codepoints.insert(codepoint);
    }
    for (const CodepointRange &range : commandLine.unicodeRanges) {
        parts.append(range.first == range.last ? codepointText(range.first)
                                               : blockRangeText(range.first, range.last));
        // A wider counter cannot wrap around, wherever the range ends.
        for (quint64 codepoint = range.first; codepoint <= range.last; ++codepoint)
            gathered.codepoints.insert(uint(codepoint));
    }
    if (!textCodepoints.isEmpty()) {
        parts.append(formatUnicodesArgument(textCodepoints));
        gathered.codepoints.unite(textCodepoints);
    }

    if (gathered.codepoints.isEmpty()) {
        if (errorMessage)
            *errorMessage =
                uiText(english, "The chosen text holds no character to keep (none from U+0020 up).",
                       "所选文本中没有可保留的字符（U+0020 及以上）。");
        return false;
    }
    gathered.unicodesArgument = parts.join(QLatin1Char(','));
    *selection = gathered;
    return true;
}

int runSubsetCommand(const SubsetCommandLine &commandLine, const QString &toolDirectory, QTextStream &out,
                     QTextStream &err)
{
    const int english = commandLine.useEnglish;
    const QString program = QStringLiteral("vfc-subset: ");
    switch (commandLine.action) {
    case SubsetCommandLine::Action::Help:
        out << subsetCommandHelp(english);
        out.flush();
        return 0;
    case SubsetCommandLine::Action::Version:
        out << "vfc-subset " VFC_VERSION "\n";
        out.flush();
        return 0;
    case SubsetCommandLine::Action::ListBlocks:
        out << unicodeBlockListing(english);
        out.flush();
        return 0;
    case SubsetCommandLine::Action::UsageError:
        writeLine(err, program + commandLine.usageError);
        writeLine(err, uiText(english, "Try 'vfc-subset --help' for more information.",
                              "运行 'vfc-subset --help' 查看用法。"));
        return 2;
    case SubsetCommandLine::Action::Subset:
        break;
    }

    SubsetSelection selection;
    QString errorMessage;
    if (!gatherSubsetSelection(commandLine, &selection, &errorMessage)) {
        writeLine(err, program + errorMessage);
        return 1;
    }
    // A dangling link is an entry too: writing through it would create a file
    // somewhere else, so it counts as existing.
    const QFileInfo target(commandLine.outputPath);
    if (!commandLine.force && (target.exists() || target.isSymLink())) {
        writeLine(err, program + uiText(english, "File %1 already exists; add --force to replace it.",
                                        "文件 %1 已存在；如需覆盖请加上 --force。")
                                     .arg(commandLine.outputPath));
        return 1;
    }

    SubsetRequest request;
    request.fontPath = commandLine.fontPath;
    request.targetPath = commandLine.outputPath;
    request.requestedCodepoints = selection.codepoints;
    request.unicodesArgument = selection.unicodesArgument;
    request.useEnglish = english;
    request.toolDirectory = toolDirectory;
    const SubsetOutcome outcome = generateSubsetFile(request);
    if (!outcome.ok) {
        writeLine(err, program + outcome.errorMessage);
        return 1;
    }
    if (!outcome.missingCharsNote.isEmpty())
        writeLine(err, outcome.missingCharsNote);
    return 0;
}
