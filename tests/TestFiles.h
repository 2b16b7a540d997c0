#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QString>

// Writes `content` as the whole file; false when that fails.
inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The whole file; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything below `folder`, as paths inside it, sorted; folders end in "/".
inline QStringList folderTree(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        entries.append(QDir(folder).relativeFilePath(entry.filePath()) + (entry.isDir() ? "/" : ""));
    }
    entries.sort();
    return entries;
}

struct ProgramRun
{
    int exitCode = -1; // -1: crashed or did not end in time
    QByteArray out;
    QString err;
    QString printed() const { return QString::fromUtf8(out) + err; }
};

// Runs a program to its end, with `input` on its standard input;
// "vfc-subset" is the one just built.
inline ProgramRun runProgram(const QString &program, const QStringList &arguments,
                             const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(program == QLatin1String("vfc-subset") ? QStringLiteral(VFC_BIN_DIR "/vfc-subset")
                                                         : program,
                  arguments);
    process.write(input);
    process.closeWriteChannel();
    ProgramRun run;
    if (process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
