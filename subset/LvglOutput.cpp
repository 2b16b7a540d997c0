#include "subset/LvglOutput.h"

#include "common/UiText.h"
#include "lvgl/LvglWriters.h"
#include "subset/CArrayOutput.h"
#include "subset/SizeReport.h"
#include "subset/SourceFontPath.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

AxisValues rasterAxes(const QList<AxisPin> &pins)
{
    AxisValues axes;
    for (const AxisPin &pin : pins)
        axes.append({pin.tag, pin.value});
    return axes;
}

QString lvglSymbol(const SubsetRequest &request)
{
    if (!request.lvgl.symbol.isEmpty())
        return request.lvgl.symbol;
    return cIdentifier(QFileInfo(request.targetPath).completeBaseName());
}

LvglOutput makeLvglOutput(const SubsetRequest &request, qint64 ttfBytes, const std::atomic<bool> *stop)
{
    LvglOutput output;
    const auto fail = [&](const QString &reason) {
        output.errorMessage = withSourceFont(reason, request.face.path);
        return output;
    };
    QFile source(request.face.path);
    if (!source.open(QIODevice::ReadOnly))
        return fail(uiText("The source font could not be read.", "无法读取源字体。"));
    const QByteArray file = source.readAll();
    RasterFace face;
    QString reason;
    if (!rasterizeFace(file, request.face.index, request.codepoints, request.lvgl, &face, &reason, stop,
                       rasterAxes(request.options.pins)))
        return fail(reason);
    if (face.glyphs.isEmpty())
        return fail(uiText("None of the requested characters are in this font; nothing was written.",
                           "字体中没有任何所请求的字符，未生成文件。"));
    const LvglFont font = buildLvglFont(std::move(face), request.lvgl);
    if (request.format == OutputFormat::Lvgl) {
        const QStringList origin{
            QStringLiteral("Font: %1, face %2 (%3)")
                .arg(QFileInfo(request.face.path).fileName())
                .arg(request.face.index)
                .arg(font.face.family),
            QStringLiteral("Characters: %1").arg(font.codes.size()),
            QStringLiteral("Opts: hinting %1, %2, %3; made by vector-font-clip")
                .arg(QLatin1String(request.lvgl.hinting ? "light" : "none"),
                     QLatin1String(font.bitmapFormat == LvglBitmapFormat::Compressed ? "compressed" : "uncompressed"),
                     QLatin1String(request.lvgl.kerning ? "kerning" : "no kerning"))};
        output.bytes = lvglCSource(font, lvglSymbol(request), origin);
    } else {
        output.bytes = lvglBinary(font);
    }
    output.flashBytes = font.bitmapBytes() + font.descriptorBytes();
    output.flashReport = flashReportLine(font.bitmapBytes(), font.descriptorBytes(), ttfBytes);
    return output;
}
