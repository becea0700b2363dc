#include "BoundingBox.h"

#include "CoreError.h"
#include "Globals.h"
#include "myLine.h"

#include "ombrel.h"

namespace {

constexpr int kSigns[8][3] = {{1, 1, 1},  {1, -1, 1},  {-1, -1, 1},  {-1, 1, 1},
                              {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}};
constexpr std::array<myLine::Ends, 12> kEdges = {{{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                                  {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}}};
uint64_t g_initializations = 0;

}  // namespace

const std::array<myLine::Ends, 12>& BoundingBox::Edges() { return kEdges; }

uint64_t BoundingBox::Initializations() { return g_initializations; }

void BoundingBox::Initialize(int32_t Grp) {
    ++g_initializations;
    grp_ = Grp;
    drawnCorners_.reset();
    OMBREL_group_get_location(Grp, &location_[0], &location_[1], &location_[2]);
    double dims[3] = {0, 0, 0};
    OMBREL_group_get_dimensions(Grp, dims);
    for (int k = 0; k < 3; ++k) half_[k] = dims[k] / 2;
    for (int i = 0; i < 8; ++i)
        for (int k = 0; k < 3; ++k) corners_[static_cast<std::size_t>(i)][k] = kSigns[i][k] * half_[k];
}

Point3d BoundingBox::WorldCorner(int i) const {
    Point3d world = {0, 0, 0};
    OMBREL_group_convert_point_to_world_space_fast(grp_, corners_[static_cast<std::size_t>(i)].data(), world.data());
    for (int k = 0; k < 3; ++k) world[k] += location_[k];
    return world;
}

const std::array<Point3d, 8>& BoundingBox::DrawnCorners() const {
    if (!drawnCorners_) {
        // Three conversions in place of eight: the engine turns a corner as the
        // sum of its axes' images of the signed half sizes, in that order, and a
        // sign changes no digit, so adding the images the same way gives its
        // very numbers.
        Point3d image[3];
        for (int k = 0; k < 3; ++k) {
            Point3d along = {0, 0, 0};
            along[static_cast<std::size_t>(k)] = half_[static_cast<std::size_t>(k)];
            image[k] = {0, 0, 0};
            OMBREL_group_convert_point_to_world_space_fast(grp_, along.data(), image[k].data());
        }
        drawnCorners_.emplace();
        for (int i = 0; i < 8; ++i)
            for (std::size_t c = 0; c < 3; ++c)
                (*drawnCorners_)[static_cast<std::size_t>(i)][c] =
                    (kSigns[i][0] * image[0][c] + kSigns[i][1] * image[1][c]) + kSigns[i][2] * image[2][c] +
                    location_[c];
    }
    return *drawnCorners_;
}

void BoundingBox::Queue(myLine& lines) const { lines.QueueEdges(DrawnCorners().data(), 8, kEdges.data(), 12); }

void BoundingBox::Draw(int) const {
    if (!Globals::OverlayLine) core::raiseError("The line drawer has not been created");
    myLine& lines = *Globals::OverlayLine;
    lines.SetDC(Globals::OverlayDC);
    Queue(lines);
    lines.Flush();
}
