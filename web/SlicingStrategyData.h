#pragma once

// The CJK slicing strategies as web/generate_slicing.py writes them into
// SlicingStrategyData.cpp. Read them through SlicingStrategy.h.

// One strategy: its slices one after the other, most frequent characters
// first, each slice ascending. The code points are coded as the standard
// character sets' streams are (charset/CodepointStream.h).
struct SlicingStrategyTable
{
    const char *id;
    const char *encoded;
    int count;
    const int *sliceSizes;
    int sliceCount;
};

constexpr int slicingStrategyCount = 5;
extern const SlicingStrategyTable slicingStrategyTables[slicingStrategyCount];
