#include "subset/SizeReport.h"

#include "common/UiText.h"

#include <QLocale>

namespace {

// Digits grouped by commas in both languages, as the Chinese texts write them too.
QString grouped(qint64 number)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(number);
}

} // namespace

QString byteSizeText(qint64 bytes)
{
    static const char *const units[] = {"KB", "MB", "GB"};
    if (bytes < 1000)
        return QStringLiteral("%1 B").arg(bytes);
    double value = double(bytes);
    int unit = -1;
    while (unit < 2 && value >= 999.5) {
        value /= 1000;
        ++unit;
    }
    // One decimal while it still says something, none from 10 up.
    const int decimals = value < 9.95 ? 1 : 0;
    return QStringLiteral("%1 %2").arg(value, 0, 'f', decimals).arg(QLatin1String(units[unit]));
}

QString sizeReportLine(qint64 sourceBytes, qint64 outputBytes, int characters, int glyphs)
{
    const double percent = sourceBytes > 0 ? 100.0 * double(outputBytes) / double(sourceBytes) : 0.0;
    const QString share = QStringLiteral("%1%").arg(percent, 0, 'f', percent < 0.095 && percent > 0 ? 2 : 1);
    return uiText("Size: %1 → %2 (%3), %4 characters, %5 glyphs", "大小：%1 → %2（%3），%4 个字符，%5 个字形")
        .arg(byteSizeText(sourceBytes), byteSizeText(outputBytes), share, grouped(characters), grouped(glyphs));
}

QString flashReportLine(qint64 bitmapBytes, qint64 descriptorBytes, qint64 ttfBytes)
{
    return uiText("Flash: %1 (bitmaps %2 + descriptors %3); TrueType subset: %4",
                  "Flash 占用：%1（位图 %2 + 描述 %3）；TrueType 子集：%4")
        .arg(byteSizeText(bitmapBytes + descriptorBytes), byteSizeText(bitmapBytes), byteSizeText(descriptorBytes),
             byteSizeText(ttfBytes));
}
