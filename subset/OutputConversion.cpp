#include "subset/OutputConversion.h"

#include "common/SystemReason.h"
#include "common/UiText.h"
#include "subset/CArrayOutput.h"
#include "subset/CssOutput.h"
#include "subset/LvglOutput.h"
#include "subset/SizeReport.h"
#include "subset/SourceFontPath.h"
#include "subset/SubsetFontFacts.h"
#include "subset/Woff2Output.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace {

bool fail(FinishingResult *result, const QString &message)
{
    result->errorMessage = message;
    return false;
}

// Writes `bytes` to a new file at `temporaryPath`, listed first so that a
// half-written file is removed with the rest.
bool stage(FinishingResult *result, const QByteArray &bytes, const QString &temporaryPath,
           const QString &targetPath)
{
    result->files.append({temporaryPath, targetPath});
    QFile file(temporaryPath);
    errno = 0;
    bool written = file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
                   file.write(bytes) == bytes.size() && file.flush();
    if (written) {
        file.close();
        written = file.error() == QFileDevice::NoError;
    }
    if (written)
        return true;
    // A write cut short (a full disk, a size limit) leaves QFile without a
    // reason of its own; the system's is the one worth showing.
    const int code = errno;
    return fail(result, uiText("Failed to save to path: %1", "无法保存到目标路径: %1").arg(targetPath) +
                            QLatin1Char('\n') + (code ? systemReason(code) : systemReason(file)));
}

QString arrayOrigin(const SubsetRequest &request, const SubsetFontFacts &facts)
{
    return QStringLiteral("Subset of %1, face %2 (%3): %4 characters, %5 glyphs. Made by vector-font-clip.")
        .arg(QFileInfo(request.face.path).fileName())
        .arg(request.face.index)
        .arg(facts.family)
        .arg(facts.codepoints.size())
        .arg(facts.glyphs);
}

bool writeFormat(const SubsetRequest &request, const QString &subsetPath, const QByteArray &font,
                 const SubsetFontFacts &facts, FinishingResult *result, qint64 *writtenBytes,
                 const std::atomic<bool> *stop)
{
    const QString &target = request.targetPath;
    switch (request.format) {
    case OutputFormat::TrueType:
        result->files.append({subsetPath, target});
        *writtenBytes = font.size();
        return true;
    case OutputFormat::Woff2: {
        const QString woff2Path = subsetPath + outputSuffix(OutputFormat::Woff2);
        result->files.append({woff2Path, target});
        const QString reason = compressWoff2(request.toolDirectory, subsetPath, woff2Path, stop);
        if (!reason.isEmpty())
            return fail(result, uiText("The subset of %1 could not be compressed to WOFF2.",
                                       "无法将 %1 的子集压缩为 WOFF2。")
                                        .arg(request.face.path) +
                                    QLatin1Char('\n') + reason);
        *writtenBytes = QFileInfo(woff2Path).size();
        if (!request.writeCss)
            return true;
        const QString css = fontFaceCss(facts.family, QFileInfo(target).fileName(), facts.codepoints);
        return stage(result, css.toUtf8(), subsetPath + QLatin1String(".css"), cssPathBeside(target));
    }
    case OutputFormat::CArray: {
        QString name = QFileInfo(target).fileName();
        const QString suffix = outputSuffix(OutputFormat::CArray);
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            name.chop(suffix.size());
        // What the firmware carries is the font, not the text around it.
        *writtenBytes = font.size();
        return stage(result, cArrayHeader(font, cIdentifier(name), arrayOrigin(request, facts)),
                     subsetPath + suffix, target);
    }
    case OutputFormat::Lvgl:
    case OutputFormat::LvglBin: {
        const LvglOutput output = makeLvglOutput(request, font.size(), stop);
        if (!output.errorMessage.isEmpty())
            return fail(result, output.errorMessage);
        // The C source is text around the flash the firmware carries.
        *writtenBytes = request.format == OutputFormat::Lvgl ? output.flashBytes : output.bytes.size();
        result->sizeReport = output.flashReport;
        return stage(result, output.bytes, subsetPath + outputSuffix(request.format), target);
    }
    case OutputFormat::Woff2Slices: // a folder, made by web/ and never by one subset
        break;
    }
    return false;
}

} // namespace

QString emptySubsetProblem(const SubsetRequest &request, const SubsetFontFacts &facts)
{
    if (!facts.read || !facts.codepoints.isEmpty())
        return QString();
    return withSourceFont(uiText("None of the requested characters are in this font; nothing was written.",
                                 "字体中没有任何所请求的字符，未生成文件。"),
                          request.face.path);
}

FinishingResult convertSubsetOutput(const SubsetRequest &request, const QString &subsetPath,
                                    const QByteArray &font, const SubsetFontFacts &facts,
                                    const std::atomic<bool> *stop)
{
    FinishingResult result;
    if (!facts.read) {
        fail(&result,
             uiText("hb-subset produced no usable font. Please check that the source is a valid font "
                    "file.",
                    "hb-subset 未生成有效字库，请确认源文件是有效的字体文件。"));
        return result;
    }
    qint64 writtenBytes = 0;
    if (!writeFormat(request, subsetPath, font, facts, &result, &writtenBytes, stop))
        return result;
    // A format's own line (an LVGL font's flash) follows the sizes.
    const QString flash = result.sizeReport;
    result.sizeReport = sizeReportLine(QFileInfo(request.face.path).size(), writtenBytes,
                                       int(facts.codepoints.size()), facts.glyphs);
    if (!flash.isEmpty())
        result.sizeReport += QLatin1Char('\n') + flash;
    return result;
}
