#include "font/platform/RegularFaceChoice.h"

#include <cmath>
#include <tuple>

namespace {

// A sort key of one face; the smaller key is the better face.
auto rankOf(const FaceTraits &face)
{
    const double widthDistance = std::abs(face.width - 100.0);
    const double narrowerFirst = face.width <= 100.0 ? 0 : 1;

    int weightTier;
    double weightOrder;
    if (face.weight >= 400 && face.weight <= 500) {
        weightTier = 0;
        weightOrder = face.weight;
    } else if (face.weight < 400) {
        weightTier = 1;
        weightOrder = -face.weight;
    } else {
        weightTier = 2;
        weightOrder = face.weight;
    }
    return std::make_tuple(widthDistance, narrowerFirst, int(face.slant), weightTier, weightOrder);
}

} // namespace

int regularFaceIndex(const QList<FaceTraits> &faces)
{
    int best = -1;
    for (int i = 0; i < faces.size(); ++i) {
        if (best < 0) {
            best = i;
            continue;
        }
        const auto rank = rankOf(faces.at(i));
        const auto bestRank = rankOf(faces.at(best));
        const auto place = std::make_tuple(faces.at(i).filePath, faces.at(i).faceIndex);
        const auto bestPlace = std::make_tuple(faces.at(best).filePath, faces.at(best).faceIndex);
        if (rank < bestRank || (rank == bestRank && place < bestPlace))
            best = i;
    }
    return best;
}
