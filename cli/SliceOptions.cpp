#include "cli/SliceOptions.h"

#include "cli/SubsetCommandLine.h"
#include "cli/RunEnding.h"
#include "cli/TerminationSignals.h"
#include "common/UiText.h"
#include "font/platform/FontFileLookup.h"
#include "subset/SubsetRequest.h"
#include "web/WebSliceJob.h"

#include <QRegularExpression>

#include <unistd.h>

namespace {

const QLatin1String allStylesOption("--all-styles");
const QLatin1String slicingOption("--slicing");
const QLatin1String sliceSizeOption("--slice-size");
const QLatin1String cssFamilyOption("--css-family");


// The faces the command line names: every font file given (each at
// --face-index), or every installed face of --family with --all-styles.
bool commandLineFaces(const SubsetCommandLine &commandLine, const FontFace &first, QList<FontFace> *faces,
                      QString *error)
{
    if (commandLine.slicing.allStyles) {
        *faces = resolveFamilyFaces(commandLine.family);
        if (faces->isEmpty())
            *error = uiText("No installed font family \"%1\" with a TrueType or OpenType file was found.",
                            "未找到已安装的字体族“%1”对应的 TrueType 或 OpenType 字体文件。")
                         .arg(commandLine.family);
        return !faces->isEmpty();
    }
    faces->append(first);
    for (const QString &path : commandLine.fontPaths.mid(1))
        faces->append({path, commandLine.faceIndex});
    return true;
}

} // namespace

bool isSliceFlag(const QString &name)
{
    return name == allStylesOption;
}

bool takesSliceValue(const QString &name)
{
    return name == slicingOption || name == sliceSizeOption || name == cssFamilyOption;
}

bool takeSliceOption(const QString &name, const QString *value, SliceCommandLine *slicing, QString *error)
{
    slicing->given = true;
    if (name == allStylesOption) {
        slicing->allStyles = true;
        return true;
    }
    if (name == slicingOption) {
        SlicingStrategy strategy;
        if (!slicingStrategyFromId(*value, &strategy)) {
            *error = uiText("Unknown slicing \"%1\": use --slicing=%2.", "未知分片方案“%1”：请使用 --slicing=%2。")
                         .arg(*value, slicingStrategyIds().join(QLatin1Char('|')));
            return false;
        }
        slicing->strategy = strategy;
        return true;
    }
    if (name == sliceSizeOption) {
        static const QRegularExpression number(QStringLiteral("^[1-9]\\d{0,5}$"));
        if (!number.match(*value).hasMatch()) {
            *error = uiText("Invalid slice size \"%1\": give the most kilobytes a slice may have, such as 200.",
                            "分片大小“%1”无效：请给出每个分片最多的 KB 数，如 200。")
                         .arg(*value);
            return false;
        }
        slicing->sliceSizeKB = value->toInt();
        return true;
    }
    slicing->cssFamily = *value;
    if (value->trimmed().isEmpty()) {
        *error = uiText("Option %1 needs a value.", "选项 %1 需要一个值。").arg(name);
        return false;
    }
    return true;
}

QString sliceOptionsHelp()
{
    return uiText("Web font slices (--format=woff2-slices; PATH is a folder, FONT may be several files):\n"
                  "  --slicing=sc|tc|hk|ja|ko\n"
                  "                      the CJK slicing strategy; by default the font's language\n"
                  "  --slice-size=KB     slices of at most KB kilobytes each instead, fewer and larger\n"
                  "  --css-family=NAME   the font-family of the style sheet; the font's own by default\n"
                  "  --all-styles        with --family: every installed face of the family\n"
                  "\n",
                  "网页分片（--format=woff2-slices；路径为文件夹，可给出多个字体文件）:\n"
                  "  --slicing=sc|tc|hk|ja|ko\n"
                  "                      CJK 分片方案；默认按字体的语言选择\n"
                  "  --slice-size=KB     改为每片最多 KB 千字节，分片更少更大\n"
                  "  --css-family=名称   样式表中的 font-family；默认用字体自己的名称\n"
                  "  --all-styles        与 --family 一起使用：该字体族已安装的全部字形样式\n"
                  "\n");
}

int runSliceCommand(const SubsetCommandLine &commandLine, const SubsetChoices &choices, QTextStream &out,
                    QTextStream &err)
{
    const QString program = QStringLiteral("vfc-subset: ");
    QString error;
    QList<FontFace> faces;
    WebSliceRequest request;
    if (!commandLineFaces(commandLine, choices.face, &faces, &error) ||
        !buildWebSliceRequest(choices, faces, &request, &error)) {
        writeLine(err, program + error);
        return 1;
    }
    request.strategy = commandLine.slicing.strategy;
    request.sliceSizeKB = commandLine.slicing.sliceSizeKB;
    request.cssFamily = commandLine.slicing.cssFamily;
    request.sampleText = defaultSampleText(choices, request.codepoints);
    error = webSliceRequestProblem(request);
    if (error.isEmpty() && !commandLine.force && targetExists(request.targetFolder))
        error = uiText("Folder %1 already exists; add --force to replace it.", "文件夹 %1 已存在；如需覆盖请加上 --force。")
                    .arg(request.targetFolder);
    if (!error.isEmpty()) {
        writeLine(err, program + error);
        return 1;
    }

    WebSliceJob job;
    // A terminal shows how far the run is; a log would only fill up.
    if (isatty(STDERR_FILENO)) {
        QObject::connect(&job, &WebSliceJob::progressChanged, &job, [&err](int done, int total) {
            err << '\r' << uiText("Slices: %1 of %2", "分片：%1 / %2").arg(done).arg(total);
            err.flush();
        });
    }
    WebSliceOutcome outcome;
    const int stoppedBy = runUntilFinished(job, &WebSliceJob::finished, &outcome, [&] { job.start(request); });
    if (isatty(STDERR_FILENO))
        err << '\n';
    return finishRun(commandLine,
                     {stoppedBy, outcome.ok, outcome.errorMessage, outcome.missingCharsNote,
                      {webSliceSummary(outcome)}, outcome.missingCodepoints},
                     out, err);
}
