#include "cli/CollectOptions.h"

#include "charset/CharacterCollector.h"
#include "charset/CodepointSet.h"
#include "charset/TextCharacters.h"
#include "charset/TextImport.h"
#include "cli/StandardInput.h"
#include "cli/SubsetCommandLine.h"
#include "common/UiText.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

const QLatin1String collectOnlyOption("--collect-only");
const QLatin1String includeOption("--include");
const QLatin1String excludeOption("--exclude");
const QLatin1String encodingOption("--source-encoding");

bool splitPatterns(const QString &list, QStringList *patterns)
{
    for (const QString &item : list.split(QLatin1Char(','))) {
        if (!item.trimmed().isEmpty())
            patterns->append(item.trimmed());
    }
    return !patterns->isEmpty();
}

CollectionPatterns commandLinePatterns(const SubsetCommandLine &commandLine)
{
    return CollectionPatterns::chosen(commandLine.includePatterns, commandLine.excludePatterns,
                                      commandLine.legacyEncoding);
}

// A path that is not there is a slip worth stopping for, unlike the
// unreadable corners of a tree the walk merely counts.
bool allPathsExist(const QStringList &paths, QString *errorMessage)
{
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) {
            if (errorMessage)
                *errorMessage = uiText("Failed to open file: %1", "无法打开文件: %1").arg(path);
            return false;
        }
    }
    return true;
}

// Standard input is text as typed, as with --text-file=- for a subset: a
// "\\u4E2D" there stands for itself, not for 中. Only the characters a
// subset would keep count, as in files.
bool standardInputCharacters(SourceEncoding legacyEncoding, CodepointSet *found, QString *errorMessage)
{
    QString text;
    if (!readStandardInput(legacyEncoding, &text, errorMessage))
        return false;
    for (uint codepoint : textCharacters(text)) {
        if (isKeptCharacter(codepoint))
            found->insert(codepoint);
    }
    return true;
}

} // namespace

bool isCollectFlag(const QString &name)
{
    return name == collectOnlyOption;
}

bool takesCollectValue(const QString &name)
{
    return name == includeOption || name == excludeOption || name == encodingOption;
}

bool takeCollectOption(const QString &name, const QString *value, SubsetCommandLine *commandLine,
                       QString *error)
{
    if (name == collectOnlyOption) {
        commandLine->collectOnly = true;
        return true;
    }
    if (name == encodingOption) {
        if (sourceEncodingFromName(*value, &commandLine->legacyEncoding))
            return true;
        if (error)
            *error = uiText("Unknown source encoding: %1 (gb18030, big5, shift_jis or euc-kr)",
                            "未知的源文件编码: %1（可用 gb18030、big5、shift_jis、euc-kr）")
                         .arg(*value);
        return false;
    }
    QStringList *patterns =
        name == includeOption ? &commandLine->includePatterns : &commandLine->excludePatterns;
    if (splitPatterns(*value, patterns))
        return true;
    if (error)
        *error = uiText("Option %1 lists no pattern.", "选项 %1 未列出任何模式。").arg(name);
    return false;
}

bool readCommandLineTextFiles(const SubsetCommandLine &commandLine, QStringList *texts, QString *summary,
                              QString *errorMessage)
{
    QStringList paths = commandLine.textFiles;
    paths.removeAll(QStringLiteral("-"));
    if (paths.isEmpty())
        return true;
    if (importsOneText(paths)) {
        QString text;
        if (!readTextFile(paths.first(), commandLine.legacyEncoding, &text, errorMessage))
            return false;
        texts->append(text);
        return true;
    }
    if (!allPathsExist(paths, errorMessage))
        return false;
    const CharacterCollection collection = collectCharacters(paths, commandLinePatterns(commandLine));
    texts->append(collectedText(collection.codepoints));
    if (summary)
        *summary = collectionSummary(collection);
    return true;
}

int collectOnlyCommand(const SubsetCommandLine &commandLine, QTextStream &out, QTextStream &err)
{
    QStringList paths = commandLine.textFiles;
    const bool readsInput = paths.removeAll(QStringLiteral("-")) > 0;
    QString problem;
    CodepointSet found;
    // A mistyped path is told before standard input is waited for.
    if (!allPathsExist(paths, &problem) || (readsInput && !standardInputCharacters(commandLine.legacyEncoding, &found, &problem))) {
        err << "vfc-subset: " << problem << '\n';
        err.flush();
        return 1;
    }
    // Standard input alone is no walk through files, and a summary of none would only puzzle.
    if (!paths.isEmpty()) {
        const CharacterCollection collection = collectCharacters(paths, commandLinePatterns(commandLine));
        for (uint codepoint : collection.codepoints)
            found.insert(codepoint);
        err << collectionSummary(collection) << '\n';
        err.flush();
    }
    // No line break is ever collected, so the last one cannot be mistaken
    // for a character.
    out << collectedText(found.toList()) << '\n';
    out.flush();
    return 0;
}
