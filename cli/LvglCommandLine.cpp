#include "cli/LvglCommandLine.h"

#include "common/UiText.h"

#include <QRegularExpression>

bool isLvglOptionFlag(const QString &name)
{
    return name == QLatin1String("--no-compress") || name == QLatin1String("--no-kerning");
}

bool isLvglOptionWithValue(const QString &name)
{
    return name == QLatin1String("--size") || name == QLatin1String("--bpp") || name == QLatin1String("--hinting") ||
           name == QLatin1String("--symbol");
}

bool takeLvglOption(const QString &name, const QString *value, LvglOptions *options, QString *error)
{
    if (name == QLatin1String("--no-compress")) {
        options->compress = false;
        return true;
    }
    if (name == QLatin1String("--no-kerning")) {
        options->kerning = false;
        return true;
    }
    if (name == QLatin1String("--symbol")) {
        options->symbol = *value;
        return true;
    }
    if (name == QLatin1String("--hinting")) {
        const QString word = value->trimmed().toLower();
        if (word != QLatin1String("light") && word != QLatin1String("none")) {
            *error = uiText("Invalid value \"%1\" for %2: use %3.", "%2 的值“%1”无效：请使用 %3。")
                         .arg(*value, name, QStringLiteral("light|none"));
            return false;
        }
        options->hinting = word == QLatin1String("light");
        return true;
    }
    static const QRegularExpression number(QStringLiteral("^\\d{1,4}$"));
    if (!number.match(*value).hasMatch()) {
        *error = uiText("Invalid value \"%1\" for %2: give a whole number.", "%2 的值“%1”无效：请给出整数。")
                     .arg(*value, name);
        return false;
    }
    (name == QLatin1String("--size") ? options->size : options->bpp) = value->toInt();
    return true;
}

QString lvglOptionsHelp()
{
    return uiText("LVGL bitmap fonts (--format=lvgl or lvgl-bin):\n"
                  "  --size=PX           pixel size, 4-255 (required)\n"
                  "  --bpp=1|2|4|8       bits per pixel (default 4)\n"
                  "  --hinting=light|none\n"
                  "                      FreeType's auto-hinter in light mode (default), or not\n"
                  "  --no-compress       plain bitmaps instead of LVGL's RLE compression\n"
                  "  --no-kerning        leave the font's kerning out\n"
                  "  --symbol=NAME       the font's C name (default: the output's base name)\n"
                  "\n",
                  "LVGL 点阵字库（--format=lvgl 或 lvgl-bin）:\n"
                  "  --size=PX           像素大小，4-255（必填）\n"
                  "  --bpp=1|2|4|8       每像素位数（默认 4）\n"
                  "  --hinting=light|none\n"
                  "                      使用 FreeType 自动微调的轻量模式（默认），或不使用\n"
                  "  --no-compress       不用 LVGL 的 RLE 压缩，写入未压缩位图\n"
                  "  --no-kerning        不保留字体的字距调整\n"
                  "  --symbol=NAME       字库的 C 名称（默认取输出文件名）\n"
                  "\n");
}
