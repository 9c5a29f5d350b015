// Where the selected records of a drawing go when they come one step forward or go one step
// backward: past the nearest record in their way that they overlap, so that the step shows.
#pragma once

#include "shapes/Data.h"

#include <vector>

// The places, ascending, that the marked records take when each moves one step up the
// drawing order (bUp) or down: past the nearest unmarked record on its way whose pixels may
// meet its own, or past the next record alone when none does before another marked record or
// the end. The marked records keep their order among themselves, and the others theirs.
std::vector<int> SteppedPlaces(const std::vector<const CData*>& records,
                               const std::vector<bool>& marks, bool bUp);
