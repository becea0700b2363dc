#include "WeldedPoints.h"

#include "CoreError.h"

#include <algorithm>
#include <string>

int32_t WeldedPoints::Point(int32_t i) const {
    if (i < 1 || i > NumOfPts())
        core::raiseError("Welded point " + std::to_string(i) + " is outside its set of " + std::to_string(NumOfPts()));
    return pts_[static_cast<std::size_t>(i - 1)];
}

bool WeldedPoints::RemovePt(int32_t handle) {
    pts_.erase(std::remove(pts_.begin(), pts_.end(), handle), pts_.end());
    return true;
}
