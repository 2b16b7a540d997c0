#pragma once

#include <QByteArray>
#include <QList>

// The characters an LVGL font maps, read back from the file as the firmware
// reads it: the subtables of a binary font's cmap block, or the `cmaps` of a
// C source with the lists they name. Ascending, each once. False when
// `bytes` hold no such map or one that runs past its end.
bool readLvglBinaryCharacters(const QByteArray &bytes, QList<uint> *codepoints);
bool readLvglSourceCharacters(const QByteArray &source, QList<uint> *codepoints);
