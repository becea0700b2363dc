// A group's polygons that face the eye, drawn as lines in batches.
#pragma once

#include "platform/device_context.h"

#include <cstdint>
#include <vector>

class Wireframe {
public:
    static constexpr int kMaxSegments = 8191;

    // Draws on OverlayDC in the pen already selected.
    void Draw(int32_t Grp, int Index);

    // How many PolyPolyline calls the last Draw made.
    int LastBatchCount() const { return batches_; }

private:
    void flush(platform::DeviceContext& dc);

    std::vector<platform::PixelPoint> points_;
    std::vector<uint32_t> counts_;
    int batches_ = 0;
};
