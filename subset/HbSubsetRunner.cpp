#include "subset/HbSubsetRunner.h"

#include "app/UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
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

// hb-subset exits 0 even for a source that is no font and then writes a bare
// 12-byte header; such a file is of no use to anyone.
bool holdsFontTables(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(12);
    if (header.size() < 12)
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    const int tables = (bytes[4] << 8) | bytes[5];
    return tables > 0 && file.size() >= 12 + 16 * qint64(tables);
}

void setMessage(QString *errorMessage, const QString &text)
{
    if (errorMessage)
        *errorMessage = text;
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

bool runHbSubset(const QString &fontPath, const QString &unicodesArgument, const QString &outputPath,
                 const QString &toolDirectory, int startTimeoutMs, int finishTimeoutMs, int useEnglish,
                 QString *errorMessage)
{
    const QString executable = findHbSubsetExecutable(toolDirectory);
    if (executable.isEmpty()) {
        setMessage(errorMessage,
                   uiText(useEnglish, "hb-subset not found. Please place it beside this executable.",
                          "未找到 hb-subset，请将其放在程序同目录下。"));
        return false;
    }

    // An absolute path never starts with "-", which hb-subset would take for
    // an option ("-" alone makes it wait for a font on standard input).
    QStringList arguments{
        QFileInfo(fontPath).absoluteFilePath(), QStringLiteral("--output-file=%1").arg(outputPath),
        QStringLiteral("--unicodes=%1").arg(unicodesArgument), QStringLiteral("--layout-features=*")};
    // Lives until the run is over and takes the list file with it, whatever
    // the outcome.
    QTemporaryFile listFile(QDir(QDir::tempPath()).filePath(QStringLiteral("vfc_unicodes_XXXXXX.txt")));
    if (commandLineLength(executable, arguments) >= longestCommandLine) {
        if (!listFile.open() || listFile.write(unicodesArgument.toLatin1()) != unicodesArgument.size() ||
            !listFile.flush()) {
            setMessage(errorMessage,
                       uiText(useEnglish, "Failed to start hb-subset process.", "无法启动 hb-subset 进程。"));
            return false;
        }
        listFile.close();
        arguments[2] = QStringLiteral("--unicodes-file=%1").arg(listFile.fileName());
    }

    QProcess process;
    process.start(executable, arguments, QIODevice::ReadWrite);
    if (!process.waitForStarted(startTimeoutMs)) {
        setMessage(errorMessage,
                   uiText(useEnglish, "Failed to start hb-subset process.", "无法启动 hb-subset 进程。"));
        return false;
    }
    process.closeWriteChannel();

    if (!process.waitForFinished(finishTimeoutMs) && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(startTimeoutMs);
        setMessage(errorMessage,
                   uiText(useEnglish, "hb-subset did not finish within %1 seconds and was stopped.",
                          "hb-subset 未在 %1 秒内完成，已被终止。")
                       .arg(finishTimeoutMs / 1000));
        return false;
    }

    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString standardError = QString::fromLocal8Bit(process.readAllStandardError());
        setMessage(errorMessage,
                   !standardError.isEmpty()
                       ? standardError
                       : uiText(useEnglish, "hb-subset exited with code %1", "hb-subset 退出码: %1")
                             .arg(process.exitCode()));
        return false;
    }

    if (!QFileInfo::exists(outputPath))
        return false;
    if (!holdsFontTables(outputPath)) {
        setMessage(
            errorMessage,
            uiText(useEnglish,
                   "hb-subset produced no usable font. Please check that the source is a valid font file.",
                   "hb-subset 未生成有效字库，请确认源文件是有效的字体文件。"));
        return false;
    }
    return true;
}
