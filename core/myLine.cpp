#include "myLine.h"

#include "CoreError.h"

#include "ombrel.h"
#include "platform/gdi.h"

namespace {

bool shown(int32_t result) { return result != OMBREL_PROJ_NONE && result != OMBREL_PROJ_OUTSIDE; }

}  // namespace

void myLine::Draw(const Point3d& Apoint3d, const Point3d& Bpoint3d) {
    result_ = OMBREL_engine_3D_edge_to_2D(Apoint3d.data(), Bpoint3d.data(), a2d_.data(), b2d_.data());
    if (!shown(result_)) return;
    if (!dc_) core::raiseError("No device context to draw the line on");
    platform::MoveToEx(*dc_, a2d_[0], a2d_[1]);
    platform::LineTo(*dc_, b2d_[0], b2d_[1]);
}

void myLine::Queue(const Point3d& Apoint3d, const Point3d& Bpoint3d) {
    result_ = OMBREL_engine_3D_edge_to_2D(Apoint3d.data(), Bpoint3d.data(), a2d_.data(), b2d_.data());
    if (!shown(result_)) return;
    if (counts_.size() >= edgesPerCall_) Flush();
    queued_.push_back({a2d_[0], a2d_[1]});
    queued_.push_back({b2d_[0], b2d_[1]});
    counts_.push_back(2);
}

void myLine::Flush() {
    if (counts_.empty()) return;
    if (!dc_) core::raiseError("No device context to draw the line on");
    platform::PolyPolyline(*dc_, queued_.data(), counts_.data(), static_cast<int>(counts_.size()));
    queued_.clear();
    counts_.clear();
}
