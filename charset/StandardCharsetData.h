#pragma once

// The standard character sets as charset/generate_charsets.py writes them
// into StandardCharsetData.cpp. Read them through StandardCharsets.h.

// Code points in a set's order, each the difference from the one before it
// (the first from 0): zigzag-coded, in base 32, lowest digit first. Digits
// 0-31 end a number, digits 32-63 carry five bits and say more follow; the
// digits are the characters "0-9A-Za-z+/".
struct StandardCharsetStream
{
    const char *encoded;
    int count;
};

// One set: a stretch of a stream, as levels of one list share it.
struct StandardCharsetEntry
{
    const char *id;
    const char *englishName; // UTF-8
    const char *chineseName; // UTF-8
    int stream;
    int start;
    int count;
};

constexpr int standardCharsetStreamCount = 8;
constexpr int standardCharsetCount = 12;
extern const StandardCharsetStream standardCharsetStreams[standardCharsetStreamCount];
extern const StandardCharsetEntry standardCharsetEntries[standardCharsetCount];
