#include "web/WebSliceRun.h"

#include "charset/TextCharacters.h"
#include "common/UiText.h"
#include "font/FontCharacterMap.h"
#include "subset/MissingCharacters.h"
#include "subset/SizeReport.h"
#include "subset/SubsetRequest.h"
#include "subset/TargetFolders.h"
#include "web/SliceBuilder.h"
#include "web/SliceFolder.h"
#include "web/SlicePlan.h"
#include "web/SliceStyleSheet.h"
#include "web/SlicedSizes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The requested characters the face has, ascending.
QList<uint> faceCoverage(const FontFace &face, const QList<uint> &requested)
{
    const FontCharacterMap map(face);
    QList<uint> covered;
    for (uint codepoint : requested) {
        if (map.hasGlyph(codepoint))
            covered.append(codepoint);
    }
    return covered;
}

QList<uint> unionOf(const QList<QList<uint>> &sets)
{
    QList<uint> all;
    for (const QList<uint> &set : sets)
        all += set;
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

QList<uint> intersection(const QList<uint> &a, const QList<uint> &b)
{
    QList<uint> both;
    std::set_intersection(a.cbegin(), a.cend(), b.cbegin(), b.cend(), std::back_inserter(both));
    return both;
}

// Each face's part of the file names: none for one face, its style for a
// family, made unique where two styles clean up alike.
QStringList stylePartsOf(const QList<WebFaceStyle> &styles)
{
    QStringList parts;
    if (styles.size() == 1)
        return {QString()};
    for (const WebFaceStyle &style : styles) {
        QString part = styleFileNamePart(style.style);
        const QString plain = part;
        for (int n = 2; parts.contains(part); ++n)
            part = plain + QString::number(n);
        parts.append(part);
    }
    return parts;
}

QString sliceFileName(const QString &base, const QString &stylePart, int number)
{
    const QString name = stylePart.isEmpty() ? base : base + QLatin1Char('-') + stylePart;
    return QStringLiteral("%1-%2.woff2").arg(name).arg(number, 3, 10, QLatin1Char('0'));
}

bool writeText(const QString &path, const QString &text, QString *error)
{
    QFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    *error = uiText("Failed to save to path: %1", "无法保存到目标路径: %1").arg(path);
    return false;
}

void removeStaging(const QString &staging, const QStringList &createdFolders)
{
    QDir(staging).removeRecursively();
    removeCreatedFolders(createdFolders);
}

} // namespace

bool buildWebSliceRequest(const SubsetChoices &choices, const QList<FontFace> &faces, WebSliceRequest *request,
                          QString *errorMessage)
{
    SubsetRequest subset;
    if (!buildSubsetRequest(choices, &subset, errorMessage))
        return false;
    for (const FontFace &face : faces) {
        *errorMessage = sourceFontProblem(face);
        if (!errorMessage->isEmpty())
            return false;
    }
    WebSliceRequest built;
    built.faces = faces;
    built.codepoints = subset.codepoints;
    built.targetFolder = choices.targetPath;
    built.toolDirectory = choices.toolDirectory;
    built.options = choices.options;
    *request = built;
    return true;
}

QString defaultSampleText(const SubsetChoices &choices, const QList<uint> &codepoints)
{
    constexpr int length = 40;
    QList<uint> shown;
    for (const QString &text : choices.texts) {
        for (uint codepoint : textCharacters(text)) {
            if (shown.size() < length && isKeptCharacter(codepoint))
                shown.append(codepoint);
        }
    }
    if (shown.isEmpty())
        shown = codepoints.mid(0, length);
    QString sample;
    for (uint codepoint : shown)
        sample += QString::fromUcs4(reinterpret_cast<const char32_t *>(&codepoint), 1);
    return sample;
}

QString webSliceRequestProblem(const WebSliceRequest &request)
{
    const QString folderProblem = sliceFolderProblem(request.targetFolder);
    if (!folderProblem.isEmpty())
        return folderProblem;
    // Replacing the folder would take the source fonts inside it along.
    const QString folder = QFileInfo(request.targetFolder).canonicalFilePath() + QLatin1Char('/');
    for (const FontFace &face : request.faces) {
        if (folder.size() > 1 && QFileInfo(face.path).canonicalFilePath().startsWith(folder))
            return uiText("The output folder would replace the source font: %1. Choose another name or directory.",
                          "输出文件夹将覆盖源字库: %1，请更换文件名或目录。")
                .arg(face.path);
    }
    for (const FontFace &face : request.faces) {
        if (faceCoverage(face, request.codepoints).isEmpty())
            return uiText("The font has none of the requested characters: %1",
                          "该字库不含任何所请求的字符: %1")
                .arg(face.path);
    }
    return QString();
}

namespace {

// The slice table every face shares: the strategy's, or cut to the size
// limit by measuring the first face in `staging`. False with `error` set
// when that fails, with it empty when `stop` ended it.
bool planSlices(const WebSliceRequest &request, const QList<uint> &covered, const QString &staging,
                std::atomic<bool> *stop, QList<QList<uint>> *plan, QString *error)
{
    const SlicingStrategy strategy = request.strategy.value_or(strategyForFace(request.faces.first()));
    if (request.sliceSizeKB <= 0) {
        *plan = planStrategySlices(strategySlices(strategy), covered);
        return true;
    }
    const SizedSliceRun sized{request.faces.first(), request.options, request.toolDirectory,
                              QDir(staging).filePath(QStringLiteral(".measure")),
                              qint64(request.sliceSizeKB) * 1000};
    const bool planned =
        QDir().mkdir(sized.scratchFolder) &&
        planSizedSlices(sized, prioritySliceOrder(strategySlices(strategy), covered), stop, plan, error);
    QDir(sized.scratchFolder).removeRecursively();
    return planned;
}

// Each face's part of the table, and the slices to make for it in `staging`.
QList<WrittenFace> sliceFaces(const WebSliceRequest &request, const QList<WebFaceStyle> &styles,
                              const QList<QList<uint>> &coverage, const QList<QList<uint>> &plan,
                              const QString &staging, QList<SliceTask> *tasks)
{
    const QString base = QFileInfo(QDir::cleanPath(request.targetFolder)).fileName();
    const QStringList styleParts = stylePartsOf(styles);
    QList<WrittenFace> faces;
    for (qsizetype face = 0; face < request.faces.size(); ++face) {
        WrittenFace written{styles.at(face), {}};
        for (qsizetype slice = 0; slice < plan.size(); ++slice) {
            const QList<uint> codepoints = intersection(plan.at(slice), coverage.at(face));
            if (codepoints.isEmpty())
                continue;
            const QString fileName = sliceFileName(base, styleParts.at(face), int(slice) + 1);
            written.slices.append({fileName, codepoints, 0});
            tasks->append({request.faces.at(face), codepoints, QDir(staging).filePath(fileName), request.options,
                           request.toolDirectory});
        }
        faces.append(written);
    }
    return faces;
}

} // namespace

WebSliceOutcome runWebSlices(const WebSliceRequest &request, std::atomic<bool> *stop,
                             const std::function<void(int done, int total)> &progress)
{
    WebSliceOutcome outcome;
    QString error = webSliceRequestProblem(request);
    if (!error.isEmpty()) {
        outcome.errorMessage = error;
        return outcome;
    }

    QList<WebFaceStyle> styles;
    QList<QList<uint>> coverage;
    for (const FontFace &face : request.faces) {
        styles.append(readWebFaceStyle(face));
        for (const AxisPin &pin : request.options.pins) {
            if (pin.tag == QLatin1String("wght"))
                styles.last().weight = QString::number(qRound(pin.value));
        }
        coverage.append(faceCoverage(face, request.codepoints));
    }
    const QList<uint> covered = unionOf(coverage);
    outcome.missingCodepoints = findMissingCodepoints(request.faces.first(), request.codepoints);
    outcome.missingCodepoints.removeIf([&covered](uint codepoint) {
        return std::binary_search(covered.cbegin(), covered.cend(), codepoint);
    });
    outcome.missingCharsNote = missingCharactersNote(outcome.missingCodepoints);

    QString staging;
    QStringList createdFolders;
    if (!makeStagingFolder(request.targetFolder, &staging, &createdFolders, &error)) {
        removeCreatedFolders(createdFolders);
        outcome.errorMessage = error;
        return outcome;
    }
    // Every way out from here takes the staging folder away, unless it was put in place.
    const auto endWithout = [&](const QString &reason) {
        removeStaging(staging, createdFolders);
        outcome.errorMessage = reason;
        outcome.cancelled = reason.isEmpty();
        return outcome;
    };

    QList<QList<uint>> plan;
    if (!planSlices(request, covered, staging, stop, &plan, &error) || stop->load())
        return endWithout(error);
    QList<SliceTask> tasks;
    QList<WrittenFace> faces = sliceFaces(request, styles, coverage, plan, staging, &tasks);

    std::atomic<int> done{0};
    const int total = int(tasks.size());
    if (progress)
        progress(0, total);
    QList<qint64> bytes;
    error = buildSlicesInParallel(tasks, stop, &bytes, [&] {
        const int now = ++done;
        if (progress)
            progress(now, total);
    });
    if (!error.isEmpty() || stop->load())
        return endWithout(error);
    qsizetype next = 0;
    for (WrittenFace &face : faces) {
        for (WrittenSlice &slice : face.slices) {
            slice.bytes = bytes.at(next++);
            outcome.totalBytes += slice.bytes;
        }
    }
    outcome.sliceCount = total;

    const QString family = request.cssFamily.isEmpty() ? styles.first().family : request.cssFamily;
    const QString cssName = QFileInfo(QDir::cleanPath(request.targetFolder)).fileName() + QLatin1String(".css");
    const QString sample = request.sampleText.isEmpty() ? defaultSampleText({}, plan.value(0)) : request.sampleText;
    if (!writeText(QDir(staging).filePath(cssName), sliceStyleSheet(family, faces), &error) ||
        !writeText(QDir(staging).filePath(QStringLiteral("index.html")),
                   sliceTestPage(cssName, family, faces, sample), &error) ||
        stop->load() || !placeSliceFolder(staging, request.targetFolder, &error))
        return endWithout(error);
    outcome.ok = true;
    outcome.folder = request.targetFolder;
    outcome.styleSheet = QDir(request.targetFolder).filePath(cssName);
    return outcome;
}

QString webSliceSummary(const WebSliceOutcome &outcome)
{
    return uiText("%1 slices, %2 in total", "%1 个分片，共 %2")
        .arg(outcome.sliceCount)
        .arg(byteSizeText(outcome.totalBytes));
}
