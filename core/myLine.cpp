#include "myLine.h"

#include "CoreError.h"

#include "ombrel.h"
#include "platform/gdi.h"

void myLine::Draw(const Point3d& Apoint3d, const Point3d& Bpoint3d) {
    result_ = OMBREL_engine_3D_edge_to_2D(Apoint3d.data(), Bpoint3d.data(), a2d_.data(), b2d_.data());
    if (result_ == OMBREL_PROJ_NONE || result_ == OMBREL_PROJ_OUTSIDE) return;
    if (!dc_) core::raiseError("No device context to draw the line on");
    platform::MoveToEx(*dc_, a2d_[0], a2d_[1]);
    platform::LineTo(*dc_, b2d_[0], b2d_[1]);
}
