#pragma once

#include <QList>

// Code points as the generated tables store them (generate_charsets.py's
// encode()): each the difference from the one before it (the first from 0),
// zigzag-coded, in base 32, lowest digit first. Digits 0-31 end a number,
// digits 32-63 carry five bits and say more follow; the digits are the
// characters "0-9A-Za-z+/". `count` only reserves room.
QList<uint> decodeCodepointStream(const char *encoded, int count);
