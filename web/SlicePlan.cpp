#include "web/SlicePlan.h"

#include "charset/CodepointSet.h"
#include "web/SlicingStrategy.h"

#include <algorithm>

namespace {

// The request split into its punctuation and the rest, both ascending.
void splitPunctuation(const QList<uint> &requested, QList<uint> *punctuation, CodepointSet *rest)
{
    for (uint codepoint : requested) {
        if (isCjkPunctuation(codepoint))
            punctuation->append(codepoint);
        else
            rest->insert(codepoint);
    }
}

} // namespace

QList<QList<uint>> planStrategySlices(const QList<QList<uint>> &strategy, const QList<uint> &requested)
{
    QList<uint> punctuation;
    CodepointSet rest;
    splitPunctuation(requested, &punctuation, &rest);
    QList<QList<uint>> slices;
    CodepointSet placed;
    for (const QList<uint> &listed : strategy) {
        QList<uint> slice;
        for (uint codepoint : listed) {
            if (rest.contains(codepoint) && !placed.contains(codepoint)) {
                slice.append(codepoint);
                placed.insert(codepoint);
            }
        }
        if (!slice.isEmpty())
            slices.append(slice);
    }
    QList<uint> unlisted;
    for (uint codepoint : rest.toList()) {
        if (!placed.contains(codepoint))
            unlisted.append(codepoint);
    }
    for (qsizetype start = 0; start < unlisted.size(); start += unlistedSliceSize)
        slices.append(unlisted.mid(start, unlistedSliceSize));
    if (!punctuation.isEmpty()) {
        if (slices.isEmpty())
            slices.append(QList<uint>());
        QList<uint> &first = slices.first();
        first += punctuation;
        std::sort(first.begin(), first.end());
    }
    return slices;
}

SliceOrder prioritySliceOrder(const QList<QList<uint>> &strategy, const QList<uint> &requested)
{
    SliceOrder order;
    CodepointSet rest;
    splitPunctuation(requested, &order.codepoints, &rest);
    order.punctuationCount = order.codepoints.size();
    // The strategy's slices, each cut to the request, then what none lists.
    for (const QList<uint> &slice : planStrategySlices(strategy, rest.toList()))
        order.codepoints += slice;
    return order;
}

QList<QList<uint>> cutSliceOrder(const SliceOrder &order, const QList<qsizetype> &ends)
{
    QList<QList<uint>> slices;
    qsizetype start = 0;
    for (qsizetype end : ends) {
        QList<uint> slice = order.codepoints.mid(start, end - start);
        std::sort(slice.begin(), slice.end());
        if (!slice.isEmpty())
            slices.append(slice);
        start = end;
    }
    return slices;
}
