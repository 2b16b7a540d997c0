#include "web/SliceStyleSheet.h"

#include "common/UiText.h"
#include "subset/CssOutput.h"
#include "subset/SizeReport.h"

#include <QSet>

#include <algorithm>

namespace {

QString fontStyle(const WebFaceStyle &style)
{
    return style.italic ? QStringLiteral("italic") : QStringLiteral("normal");
}

QString htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QString sliceStyleSheet(const QString &family, const QList<WrittenFace> &faces)
{
    QString css;
    for (const WrittenFace &face : faces) {
        for (const WrittenSlice &slice : face.slices) {
            css += QStringLiteral("@font-face {\n"
                                  "  font-family: %1;\n"
                                  "  src: url(%2) format(\"woff2\");\n"
                                  "  font-weight: %3;\n"
                                  "  font-style: %4;\n"
                                  "  font-display: swap;\n"
                                  "  unicode-range: %5;\n"
                                  "}\n")
                       .arg(cssString(family), cssString(slice.fileName), face.style.weight,
                            fontStyle(face.style), cssUnicodeRange(slice.codepoints));
        }
    }
    return css;
}

SampleCost sampleCost(const QList<WrittenFace> &faces, const QString &sample)
{
    QSet<uint> shown;
    for (const char32_t codepoint : sample.toUcs4())
        shown.insert(uint(codepoint));
    SampleCost cost;
    for (const WrittenFace &face : faces) {
        for (const WrittenSlice &slice : face.slices) {
            ++cost.allSlices;
            cost.allBytes += slice.bytes;
            const bool needed = std::any_of(slice.codepoints.cbegin(), slice.codepoints.cend(),
                                            [&shown](uint codepoint) { return shown.contains(codepoint); });
            if (needed) {
                ++cost.slices;
                cost.bytes += slice.bytes;
            }
        }
    }
    return cost;
}

QString sliceTestPage(const QString &cssFileName, const QString &family, const QList<WrittenFace> &faces,
                      const QString &sample)
{
    const SampleCost cost = sampleCost(faces, sample);
    const QString familyCss = cssString(family).toHtmlEscaped();
    QString samples;
    for (const WrittenFace &face : faces) {
        samples += QStringLiteral("<h2>%1</h2>\n<p class=\"sample\" style=\"font-family: %2; font-weight: %3; "
                                  "font-style: %4\">%5</p>\n")
                       .arg(htmlEscaped(face.style.style), familyCss, face.style.weight.section(QLatin1Char(' '), 0, 0),
                            fontStyle(face.style), htmlEscaped(sample));
    }
    const QString costLine =
        uiText("This text needs %1 of %2 slices: %3 of %4.", "这段文字需要 %2 个分片中的 %1 个：%4 中的 %3。")
            .arg(cost.slices)
            .arg(cost.allSlices)
            .arg(byteSizeText(cost.bytes), byteSizeText(cost.allBytes));
    // The check compares the drawn width with the fallback's: a face that
    // never loaded leaves the text in the fallback font.
    const QString script = QStringLiteral(
        "<script>\n"
        "document.fonts.ready.then(function () {\n"
        "  var line = document.getElementById(\"fontCheck\");\n"
        "  var sample = document.querySelector(\"p.sample\");\n"
        "  var loaded = 0;\n"
        "  document.fonts.forEach(function (face) { if (face.status === \"loaded\") loaded++; });\n"
        "  var probe = document.createElement(\"span\");\n"
        "  probe.textContent = sample.textContent;\n"
        "  probe.style.font = getComputedStyle(sample).font;\n"
        "  document.body.appendChild(probe);\n"
        "  var drawn = probe.getBoundingClientRect().width;\n"
        "  probe.style.fontFamily = \"monospace\";\n"
        "  var fallback = probe.getBoundingClientRect().width;\n"
        "  probe.remove();\n"
        "  var check = document.fonts.check(getComputedStyle(sample).font, sample.textContent);\n"
        "  line.dataset.loaded = loaded;\n"
        "  line.dataset.check = check;\n"
        "  line.dataset.drawn = loaded > 0 && check && drawn !== fallback;\n"
        "  line.textContent = \"%1 \" + loaded + \", document.fonts.check: \" + check +\n"
        "    \", %2 \" + line.dataset.drawn;\n"
        "});\n"
        "</script>\n")
                               .arg(uiText("Slices loaded:", "已加载分片："),
                                    uiText("drawn in the web font:", "以网页字体绘制："));
    return QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
                          "<link rel=\"stylesheet\" href=\"%2\">\n"
                          "<style>p.sample { font-size: 32px; }</style>\n"
                          "</head>\n<body>\n<h1>%1</h1>\n%3<p id=\"cost\">%4</p>\n<p id=\"fontCheck\"></p>\n%5"
                          "</body>\n</html>\n")
        .arg(htmlEscaped(family), htmlEscaped(cssFileName), samples, htmlEscaped(costLine), script);
}
