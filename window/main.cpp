#include "common/UiText.h"
#include "window/LanguageSwitch.h"
#include "window/QtTranslations.h"
#include "window/VectorFontClipDialog.h"

#include <QApplication>
#include <QIcon>
#include <QSettings>

int main(int argc, char *argv[])
{
    // QApplication removes the options it handles and lowers argc, so the
    // language scan below only sees what is left.
    QApplication app(argc, argv);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/icons/app.png")));

    const int useEnglish = useEnglishFromArgv(argc, argv);
    setUiEnglish(useEnglish == 1);
    installQtTranslations(&app);
    VectorFontClipDialog dialog(useEnglish);
    // Per user, where the platform keeps such things; only the program
    // itself remembers, never a window made elsewhere (tests).
    QSettings settings(QStringLiteral("vector-font-clip"), QStringLiteral("vector-font-clip"));
    dialog.restoreSettings(settings);
    dialog.show();
    const int status = app.exec();
    dialog.saveSettings(settings);
    return status;
}
