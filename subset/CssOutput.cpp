#include "subset/CssOutput.h"

namespace {

QString hex(uint codepoint)
{
    return QString::number(codepoint, 16).toUpper();
}

} // namespace

// Inside a CSS string a quote or backslash would end or bend it, and a line
// break is not allowed at all.
QString cssString(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar unit : text) {
        if (unit == QLatin1Char('"') || unit == QLatin1Char('\\'))
            quoted += QLatin1Char('\\') + unit;
        else if (unit.unicode() < 0x20 || unit.unicode() == 0x7F)
            quoted += QStringLiteral("\\%1 ").arg(hex(unit.unicode()));
        else
            quoted += unit;
    }
    return quoted + QLatin1Char('"');
}

QString cssUnicodeRange(const QList<uint> &codepoints)
{
    QStringList ranges;
    for (qsizetype i = 0; i < codepoints.size();) {
        qsizetype last = i;
        while (last + 1 < codepoints.size() && codepoints.at(last + 1) == codepoints.at(last) + 1)
            ++last;
        QString range = QLatin1String("U+") + hex(codepoints.at(i));
        if (last > i)
            range += QLatin1Char('-') + hex(codepoints.at(last));
        ranges.append(range);
        i = last + 1;
    }
    return ranges.join(QLatin1String(", "));
}

QString fontFaceCss(const QString &family, const QString &woff2FileName, const QList<uint> &codepoints)
{
    return QStringLiteral("@font-face {\n"
                          "  font-family: %1;\n"
                          "  src: url(%2) format(\"woff2\");\n"
                          "  font-display: swap;\n"
                          "  unicode-range: %3;\n"
                          "}\n")
        .arg(cssString(family), cssString(woff2FileName), cssUnicodeRange(codepoints));
}
