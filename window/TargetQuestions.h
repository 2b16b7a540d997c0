#pragma once

#include "font/FontFace.h"
#include "subset/OutputFormat.h"

#include <QString>

class QWidget;

// Asks where the output goes (the directory dialog, opening at `startFolder`
// or else the working folder) and, when files of the
// output's names are there (a WOFF2 file may bring its style sheet), whether
// to replace them. The chosen path, or empty when the user stopped;
// `errorMessage` says why a path cannot be used.
QString askTargetPath(QWidget *parent, const FontFace &source, const QString &fileName, OutputFormat format,
                      bool writeCss, QString *errorMessage, const QString &startFolder = QString());

// The same for a folder of web slices named `folderName`: a folder that is
// there is replaced as a whole once asked, a file in its place refused.
QString askSliceFolder(QWidget *parent, const QString &folderName, QString *errorMessage);
