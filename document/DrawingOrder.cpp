#include "DrawingOrder.h"

#include "shapes/Shape.h"

#include <algorithm>

std::vector<int> SteppedPlaces(const std::vector<const CData*>& records,
                               const std::vector<bool>& marks, bool bUp)
{
    // The walk goes the way the records move; `at` gives the index of a place along it.
    const std::size_t n = records.size();
    const auto at = [n, bUp](std::size_t i) { return bUp ? i : n - 1 - i; };
    std::vector<int> places;
    std::size_t unmarked = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!marks[at(i)]) {
            ++unmarked;
            continue;
        }
        const CRect box = ShapeBounds(*records[at(i)]);
        std::size_t passed = 0;
        for (std::size_t j = i + 1; j < n && !marks[at(j)]; ++j) {
            CRect common;
            const CRect other = ShapeBounds(*records[at(j)]);
            if (IntersectRect(&common, &box, &other)) {
                passed = j - i;
                break;
            }
        }
        if (passed == 0 && i + 1 < n && !marks[at(i + 1)])
            passed = 1;
        // After the unmarked records it is above now, and the marked ones before it.
        places.push_back(int(at(unmarked + passed + places.size())));
    }
    if (!bUp)
        std::reverse(places.begin(), places.end());
    return places;
}
