#pragma once

#include <QString>

class QWidget;

// Runs the modal picker of installed font families over `parent` and
// returns the chosen family as Qt lists it, or an empty string when the
// user cancels. Texts speak the window's language.
QString pickSystemFontFamily(QWidget *parent);
