#include "window/ApplicationFontRegistration.h"

#include <QFontDatabase>
#include <QStringList>

ApplicationFontRegistration::ApplicationFontRegistration(const QString &fontPath)
    : fontId(QFontDatabase::addApplicationFont(fontPath))
{
    if (fontId < 0)
        return;
    const QStringList families = QFontDatabase::applicationFontFamilies(fontId);
    if (!families.isEmpty())
        firstFamily = families.first();
}

ApplicationFontRegistration::~ApplicationFontRegistration()
{
    if (fontId >= 0)
        QFontDatabase::removeApplicationFont(fontId);
}
