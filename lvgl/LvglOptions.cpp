#include "lvgl/LvglOptions.h"

#include "common/UiText.h"

#include <QRegularExpression>
#include <QSet>

bool isLvglBpp(int bpp)
{
    return bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8;
}

bool isCIdentifier(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    static const QSet<QString> keywords = {
        "auto", "break", "case", "char", "const", "continue", "default", "do", "double", "else", "enum",
        "extern", "float", "for", "goto", "if", "inline", "int", "long", "register", "restrict", "return",
        "short", "signed", "sizeof", "static", "struct", "switch", "typedef", "union", "unsigned", "void",
        "volatile", "while", "_Bool", "_Complex", "_Imaginary"};
    return pattern.match(name).hasMatch() && !keywords.contains(name);
}

QString lvglOptionsProblem(const LvglOptions &options)
{
    if (options.size < lvglMinimumSize || options.size > lvglMaximumSize)
        return uiText("The pixel size %1 is outside %2–%3 px.", "像素大小 %1 不在 %2–%3 px 之间。")
            .arg(options.size)
            .arg(lvglMinimumSize)
            .arg(lvglMaximumSize);
    if (!isLvglBpp(options.bpp))
        return uiText("%1 bits per pixel is not one of 1, 2, 4 or 8.", "每像素 %1 位不是 1、2、4 或 8 之一。")
            .arg(options.bpp);
    if (!options.symbol.isEmpty() && !isCIdentifier(options.symbol))
        return uiText("\"%1\" is not a valid C identifier.", "“%1”不是有效的 C 标识符。").arg(options.symbol);
    return QString();
}
