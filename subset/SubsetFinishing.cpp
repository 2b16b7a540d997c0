#include "subset/SubsetFinishing.h"

#include "common/SystemReason.h"
#include "common/UiText.h"
#include "subset/OtsSanitizer.h"
#include "subset/OutputConversion.h"
#include "subset/SubsetCheck.h"
#include "subset/TargetFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

FinishingResult finishSubsetOutput(const SubsetRequest &request, const QString &subsetPath,
                                   const std::atomic<bool> *stop,
                                   const std::function<void(SubsetStage)> &reportStage)
{
    const auto report = [&reportStage](SubsetStage stage) {
        if (reportStage)
            reportStage(stage);
    };
    report(SubsetStage::Checking);
    // The sanitizer reads the file in a process of its own while the checks
    // and the conversion run here: on a whole CJK font it takes about as long
    // as all the rest.
    SanitizerRun sanitizer(subsetPath);

    // Read once, and mapped rather than copied where the system allows: the
    // empty test, the conversion and the size report share it while the
    // sanitizer runs on the other core. Nothing else writes to this file any
    // more, and the mapping lives until `file` goes out of scope at the end.
    QFile file(subsetPath);
    QByteArray font;
    if (file.open(QIODevice::ReadOnly)) {
        const uchar *mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr;
        font = mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file.size())
                      : file.readAll();
    }
    const SubsetFontFacts facts = readSubsetFontFacts(font);

    FinishingResult result;
    // A subset that keeps nothing is no damage: it is said so before the checks.
    result.errorMessage = emptySubsetProblem(request, facts);
    if (!result.errorMessage.isEmpty())
        return result;
    QString defect = subsetFontDefect(request.face, request.codepoints, subsetPath);
    if (defect.isEmpty()) {
        if (request.format == OutputFormat::Woff2)
            report(SubsetStage::Compressing);
        else if (isLvglFormat(request.format))
            report(SubsetStage::Rasterizing);
        result = convertSubsetOutput(request, subsetPath, font, facts, stop);
    }
    // Damage outranks a failed conversion: it is what the user must act on.
    if (defect.isEmpty())
        defect = sanitizer.defect(sanitizerTimeoutMs, stop);
    if (!defect.isEmpty())
        result.errorMessage = subsetDamageMessage(request, defect);
    return result;
}

namespace {

// A copy for when the temporary folder lies on another file system. Written
// as a new file only, so nothing that is already there is ever touched.
bool copyAcross(const QString &from, const QString &to, QString *reason)
{
    QFile source(from);
    QFile copy(to);
    if (!source.open(QIODevice::ReadOnly)) {
        *reason = systemReason(source);
        return false;
    }
    if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *reason = systemReason(copy);
        return false;
    }
    const QByteArray bytes = source.readAll();
    const bool written = copy.write(bytes) == bytes.size() && copy.flush();
    if (written) {
        copy.close();
        if (copy.error() == QFileDevice::NoError)
            return true;
    }
    *reason = systemReason(copy);
    copy.close();
    QFile::remove(to);
    return false;
}

} // namespace

bool placeStagedFiles(const QList<StagedFile> &files, QString *errorMessage, bool createFolders)
{
    // Each file first moves beside its target (a plain rename when both
    // folders share a file system, a copy otherwise); only when all of them
    // are there does each replace its target with one rename(2), which swaps
    // the file in atomically (QFile::rename never replaces). So a full disk
    // or a missing folder leaves every previous target as it was, and a
    // failure removes the copies already made.
    QStringList besideTargets, createdFolders;
    QString failedTarget, reason;
    for (const StagedFile &file : files) {
        if (createFolders &&
            !createMissingFolders(QFileInfo(file.targetPath).path(), &createdFolders, &reason)) {
            failedTarget = file.targetPath;
            break;
        }
        const QString staged =
            QFileInfo(file.targetPath).dir().filePath(QFileInfo(file.temporaryPath).fileName());
        if (staged != file.temporaryPath && std::rename(QFile::encodeName(file.temporaryPath).constData(),
                                                        QFile::encodeName(staged).constData()) != 0) {
            const bool moved = errno == EXDEV && copyAcross(file.temporaryPath, staged, &reason);
            if (!moved && reason.isEmpty())
                reason = systemReason(errno);
            if (!moved) {
                failedTarget = file.targetPath;
                break;
            }
        }
        besideTargets.append(staged);
    }
    for (qsizetype i = 0; failedTarget.isEmpty() && i < besideTargets.size(); ++i) {
        const QString &target = files.at(i).targetPath;
        if (std::rename(QFile::encodeName(besideTargets.at(i)).constData(),
                        QFile::encodeName(target).constData()) != 0) {
            reason = systemReason(errno);
            failedTarget = target;
        }
    }
    if (failedTarget.isEmpty())
        return true;
    for (const QString &staged : besideTargets)
        QFile::remove(staged);
    removeCreatedFolders(createdFolders);
    if (errorMessage)
        *errorMessage = uiText("Failed to save to path: %1", "无法保存到目标路径: %1").arg(failedTarget) +
                        QLatin1Char('\n') + reason;
    return false;
}
