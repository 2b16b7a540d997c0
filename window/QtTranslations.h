#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own dialogs and standard buttons speak the window's language: the
// Chinese window loads Qt's Chinese translation; the English window loads
// none, so it stays English whatever the system locale. Returns the installed
// translator; null for English and when the
// translation is not installed (the window then still works, with English
// buttons).
QTranslator *installQtTranslations(QCoreApplication *application);
