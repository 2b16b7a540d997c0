#include "app/CollectOptions.h"

#include "app/SubsetCommandLine.h"
#include "charset/CharacterCollector.h"
#include "charset/TextImport.h"
#include "common/UiText.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

const QLatin1String collectOnlyOption("--collect-only");
const QLatin1String includeOption("--include");
const QLatin1String excludeOption("--exclude");

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
    CollectionPatterns patterns;
    if (!commandLine.includePatterns.isEmpty())
        patterns.include = commandLine.includePatterns;
    patterns.exclude = commandLine.excludePatterns;
    return patterns;
}

// A path that is not there is a slip worth stopping for, unlike the
// unreadable corners of a tree the walk merely counts.
bool allPathsExist(const QStringList &paths, int useEnglish, QString *errorMessage)
{
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) {
            if (errorMessage)
                *errorMessage = uiText(useEnglish, "Failed to open file: %1", "无法打开文件: %1").arg(path);
            return false;
        }
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
    return name == includeOption || name == excludeOption;
}

bool takeCollectOption(const QString &name, const QString *value, SubsetCommandLine *commandLine,
                       QString *error)
{
    if (name == collectOnlyOption) {
        commandLine->collectOnly = true;
        return true;
    }
    QStringList *patterns =
        name == includeOption ? &commandLine->includePatterns : &commandLine->excludePatterns;
    if (splitPatterns(*value, patterns))
        return true;
    if (error)
        *error = uiText(commandLine->useEnglish, "Option %1 lists no pattern.", "选项 %1 未列出任何模式。")
                     .arg(name);
    return false;
}

bool readCommandLineTextFiles(const SubsetCommandLine &commandLine, QStringList *texts, QString *summary,
                              QString *errorMessage)
{
    const int english = commandLine.useEnglish;
    QStringList paths = commandLine.textFiles;
    paths.removeAll(QStringLiteral("-"));
    if (paths.isEmpty())
        return true;
    if (paths.size() == 1 && !QFileInfo(paths.first()).isDir()) {
        QString text;
        if (!readUtf8Text(paths.first(), english, &text, errorMessage))
            return false;
        texts->append(text);
        return true;
    }
    if (!allPathsExist(paths, english, errorMessage))
        return false;
    const CharacterCollection collection = collectCharacters(paths, commandLinePatterns(commandLine));
    texts->append(collectedText(collection.codepoints));
    if (summary)
        *summary = collectionSummary(collection);
    return true;
}

int collectOnlyCommand(const SubsetCommandLine &commandLine, QTextStream &out, QTextStream &err)
{
    QString problem;
    if (!allPathsExist(commandLine.textFiles, commandLine.useEnglish, &problem)) {
        err << "vfc-subset: " << problem << '\n';
        err.flush();
        return 1;
    }
    const CharacterCollection collection =
        collectCharacters(commandLine.textFiles, commandLinePatterns(commandLine));
    err << collectionSummary(collection) << '\n';
    err.flush();
    // No line break is ever collected, so the last one cannot be mistaken
    // for a character.
    out << collectedText(collection.codepoints) << '\n';
    out.flush();
    return 0;
}
