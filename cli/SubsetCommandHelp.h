#pragma once

#include <QString>

// What vfc-subset --help prints, in the chosen language.
QString subsetCommandHelp();
