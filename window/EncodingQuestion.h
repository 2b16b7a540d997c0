#pragma once

#include "charset/LegacyEncoding.h"

#include <QString>

class QWidget;

// Asks which legacy encoding files that are not UTF-8 are written in, under
// `problem` (what was not UTF-8). The encoding chosen last is offered first.
// False when the user declines.
bool askLegacyEncoding(QWidget *parent, const QString &problem, SourceEncoding *encoding);
