#pragma once

#include "font/FontFace.h"

#include <QString>

class QWidget;

// Runs the modal picker of installed font families over `parent` and
// returns the chosen family as Qt lists it, or an empty string when the
// user cancels. Texts speak the window's language, and so does each
// family's name where the font has one in it; the search finds a family by
// any of its names. The family of `current` is chosen to begin with.
QString pickSystemFontFamily(QWidget *parent, const FontFace &current = FontFace());
