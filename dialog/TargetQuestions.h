#pragma once

#include "font/FontFace.h"

#include <QString>

class QWidget;

// Asks where the output goes (the directory dialog) and, when a file of
// that name is there, whether to replace it. The chosen path, or empty when
// the user stopped; `errorMessage` says why a path cannot be used.
QString askTargetPath(QWidget *parent, int useEnglish, const FontFace &source, const QString &fileName,
                      QString *errorMessage);
