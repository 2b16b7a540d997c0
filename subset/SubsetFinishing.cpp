#include "subset/SubsetFinishing.h"

#include "common/UiText.h"
#include "subset/OutputConversion.h"
#include "subset/SubsetCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

FinishingResult finishSubsetOutput(const SubsetRequest &request, const QString &subsetPath,
                                   const std::atomic<bool> *stop)
{
    FinishingResult result;
    // A subset that keeps nothing is no damage: it is said so before the checks.
    result.errorMessage = emptySubsetProblem(request, subsetPath);
    if (result.errorMessage.isEmpty())
        result.errorMessage = subsetOutputProblem(request, subsetPath, stop);
    if (!result.errorMessage.isEmpty())
        return result;
    return convertSubsetOutput(request, subsetPath);
}

namespace {

// A copy for when the temporary folder lies on another file system. Written
// as a new file only, so nothing that is already there is ever touched.
bool copyAcross(const QString &from, const QString &to, QString *reason)
{
    QFile source(from);
    QFile copy(to);
    if (!source.open(QIODevice::ReadOnly)) {
        *reason = source.errorString();
        return false;
    }
    if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *reason = copy.errorString();
        return false;
    }
    const QByteArray bytes = source.readAll();
    const bool written = copy.write(bytes) == bytes.size() && copy.flush();
    if (written) {
        copy.close();
        if (copy.error() == QFileDevice::NoError)
            return true;
    }
    *reason = copy.errorString();
    copy.close();
    QFile::remove(to);
    return false;
}

} // namespace

bool placeStagedFile(const StagedFile &file, int useEnglish, QString *errorMessage)
{
    // The file first moves beside the target (a plain rename when both
    // folders share a file system, a copy otherwise), then replaces it with
    // one rename(2), which swaps the file in atomically; QFile::rename never
    // replaces. Until that last step the previous target stays as it was, and
    // a failure removes the staged copy.
    const QString staged =
        QFileInfo(file.targetPath).dir().filePath(QFileInfo(file.temporaryPath).fileName());
    const QByteArray from = QFile::encodeName(file.temporaryPath);
    const QByteArray besideTarget = QFile::encodeName(staged);
    QString reason;
    bool placed = true;
    if (staged != file.temporaryPath && std::rename(from.constData(), besideTarget.constData()) != 0) {
        if (errno == EXDEV) {
            placed = copyAcross(file.temporaryPath, staged, &reason);
        } else {
            reason = qt_error_string(errno);
            placed = false;
        }
    }
    if (placed &&
        std::rename(besideTarget.constData(), QFile::encodeName(file.targetPath).constData()) != 0) {
        reason = qt_error_string(errno);
        QFile::remove(staged);
        placed = false;
    }
    if (!placed && errorMessage)
        *errorMessage =
            uiText(useEnglish, "Failed to save to path: %1", "无法保存到目标路径: %1").arg(file.targetPath) +
            QLatin1Char('\n') + reason;
    return placed;
}
