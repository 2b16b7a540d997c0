#pragma once

#include <QList>

// How many characters a slice of those that no strategy lists holds: about
// as many as the strategy's own slices of rare characters.
constexpr int unlistedSliceSize = 150;

// The request's characters (`requested`, ascending) cut along the
// strategy's slices (`strategy`, most frequent first): each slice keeps the
// requested characters it lists, slices left empty go, and characters that
// no slice lists follow in code point order, `unlistedSliceSize` a slice.
// The CJK punctuation of the request joins the first slice, wherever the
// strategy lists it. Every requested character ends up in exactly one slice;
// each slice is ascending.
QList<QList<uint>> planStrategySlices(const QList<QList<uint>> &strategy, const QList<uint> &requested);

// The request's characters in the order a size-limited cut takes them: the
// CJK punctuation first (`punctuationCount` of them, never cut apart), then
// the strategy's order, then code point order.
struct SliceOrder
{
    QList<uint> codepoints;
    qsizetype punctuationCount = 0;
};
SliceOrder prioritySliceOrder(const QList<QList<uint>> &strategy, const QList<uint> &requested);

// `order` cut at `ends` (each the index one past a slice's last character,
// ascending, the last one the order's size), each slice ascending.
QList<QList<uint>> cutSliceOrder(const SliceOrder &order, const QList<qsizetype> &ends);
