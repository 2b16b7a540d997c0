#include "subset/OutputFormat.h"

#include <QFileInfo>

QString outputSuffix(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Woff2:
        return QStringLiteral(".woff2");
    case OutputFormat::CArray:
        return QStringLiteral(".h");
    case OutputFormat::Lvgl:
        return QStringLiteral(".c");
    case OutputFormat::LvglBin:
        return QStringLiteral(".bin");
    case OutputFormat::Woff2Slices:
        return QString();
    case OutputFormat::TrueType:
        break;
    }
    return QStringLiteral(".ttf");
}

bool outputFormatFromName(const QString &name, OutputFormat *format)
{
    if (name == QLatin1String("ttf"))
        *format = OutputFormat::TrueType;
    else if (name == QLatin1String("woff2"))
        *format = OutputFormat::Woff2;
    else if (name == QLatin1String("c"))
        *format = OutputFormat::CArray;
    else if (name == QLatin1String("lvgl"))
        *format = OutputFormat::Lvgl;
    else if (name == QLatin1String("lvgl-bin"))
        *format = OutputFormat::LvglBin;
    else if (name == QLatin1String("woff2-slices"))
        *format = OutputFormat::Woff2Slices;
    else
        return false;
    return true;
}

QString outputFormatName(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Woff2:
        return QStringLiteral("woff2");
    case OutputFormat::CArray:
        return QStringLiteral("c");
    case OutputFormat::Lvgl:
        return QStringLiteral("lvgl");
    case OutputFormat::LvglBin:
        return QStringLiteral("lvgl-bin");
    case OutputFormat::Woff2Slices:
        return QStringLiteral("woff2-slices");
    case OutputFormat::TrueType:
        break;
    }
    return QStringLiteral("ttf");
}

bool outputFormatFromSuffix(const QString &path, OutputFormat *format)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("ttf") || suffix == QLatin1String("otf"))
        *format = OutputFormat::TrueType;
    else if (suffix == QLatin1String("woff2"))
        *format = OutputFormat::Woff2;
    else if (suffix == QLatin1String("h"))
        *format = OutputFormat::CArray;
    else
        return false;
    return true;
}

QString cssPathBeside(const QString &woff2Path)
{
    const QString suffix = outputSuffix(OutputFormat::Woff2);
    const QString stem =
        woff2Path.endsWith(suffix, Qt::CaseInsensitive) ? woff2Path.chopped(suffix.size()) : woff2Path;
    return stem + QLatin1String(".css");
}

QStringList outputFilePaths(const QString &targetPath, OutputFormat format, bool writeCss)
{
    QStringList paths{targetPath};
    if (format == OutputFormat::Woff2 && writeCss)
        paths.append(cssPathBeside(targetPath));
    return paths;
}
