#include "subset/HbSubsetRunner.h"

#include "common/UiText.h"
#include "subset/SourceFontPath.h"
#include "subset/SubsetOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

// Linux refuses a single argument over 128 KiB and Windows a command line
// over 32,767 characters; a long custom text reaches both, so from here on
// the list travels in a file.
constexpr qsizetype longestCommandLine = 32000;

qsizetype commandLineLength(const QString &program, const QStringList &arguments)
{
    qsizetype length = program.size();
    for (const QString &argument : arguments)
        length += 1 + argument.size();
    return length;
}

} // namespace

QString findHbSubsetExecutable(const QString &toolDirectory)
{
    const QDir directory(toolDirectory);
    for (const char *candidate : {"hb-subset", "harfbuzz/hb-subset"}) {
        const QString path = directory.filePath(QLatin1String(candidate));
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

bool hbSubsetArguments(const QString &executable, const QString &fontPath, int faceIndex,
                       const QString &unicodesArgument, const QString &outputPath, QTemporaryFile *listFile,
                       QStringList *arguments, const SubsetOptions &options)
{
    QStringList list{QFileInfo(fontPath).absoluteFilePath(), QStringLiteral("--output-file=") + outputPath,
                     QStringLiteral("--unicodes=") + unicodesArgument};
    // Without --layout-features hb-subset keeps its own common set.
    if (options.layout == LayoutChoice::AllFeatures)
        list.append(QStringLiteral("--layout-features=*"));
    // Face 0 is hb-subset's own default; leaving it out keeps the plain run's
    // command line exactly as it always was.
    if (faceIndex > 0)
        list.append(QStringLiteral("--face-index=%1").arg(faceIndex));
    // "+=" adds to hb-subset's own list of tables to drop; "=" would replace it.
    if (options.layout == LayoutChoice::NoLayout)
        list.append(QStringLiteral("--drop-tables+=") + layoutTableTags().join(QLatin1Char(',')));
    if (options.dropHinting)
        list.append(QStringLiteral("--no-hinting"));
    if (options.names == NameChoice::WithLicence)
        list.append(QStringLiteral("--name-IDs=0,1,2,3,4,5,6,13,14"));
    else if (options.names == NameChoice::AllNames) // in every language and platform, too
        list.append({QStringLiteral("--name-IDs=*"), QStringLiteral("--name-languages=*"),
                     QStringLiteral("--name-legacy")});
    if (!options.pins.isEmpty()) {
        QStringList locations;
        for (const AxisPin &pin : options.pins)
            locations.append(pin.tag + QLatin1Char('=') + QString::number(pin.value, 'g', 10));
        list.append(QStringLiteral("--instance=") + locations.join(QLatin1Char(',')));
    }
    if (commandLineLength(executable, list) >= longestCommandLine) {
        const QByteArray bytes = unicodesArgument.toLatin1();
        if (!listFile->open() || listFile->write(bytes) != bytes.size() || !listFile->flush())
            return false;
        listFile->close();
        list[2] = QStringLiteral("--unicodes-file=") + listFile->fileName();
    }
    *arguments = list;
    return true;
}

QString hbSubsetFailureMessage(QProcess::ExitStatus status, int exitCode, const QByteArray &standardError,
                               const QString &fontPath)
{
    QString message = status == QProcess::NormalExit
                          ? uiText("hb-subset exited with code %1", "hb-subset 退出码: %1").arg(exitCode)
                          : uiText("hb-subset stopped unexpectedly.", "hb-subset 意外终止。");
    // Its own words, where it says any, tell the most.
    const QString said = QString::fromLocal8Bit(standardError).trimmed();
    if (!said.isEmpty())
        message += QLatin1Char('\n') + said;
    // hb-subset's own words rarely say which file it could not read.
    return withSourceFont(message, fontPath);
}
