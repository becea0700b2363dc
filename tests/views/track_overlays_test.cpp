// The selected track, its selected points and the track being laid, drawn over
// the top view's image: white lines, blue point squares, red selected squares
// only while the points are edited, the closing line only of a cyclic track.
#include "TrackWorld.h"

#include "mainwindow/formCreateTrack.h"

#include <QImage>

#include <cmath>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF, kBlue = 0xFF0000FF, kRed = 0xFFFF0000;

class TrackOverlaysTest : public TrackWorldTest {
protected:
    const QImage& image() { return form().picWindow[kView]->buffer(); }
    // The colour appears within a pixel of (x, y): lines and outlines of one
    // pixel may land a pixel off the rounded projection.
    bool near(const Pixel& at, QRgb colour) {
        const QImage& img = image();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = at[0] + dx, y = at[1] + dy;
                if (img.valid(x, y) && img.pixel(x, y) == colour) return true;
            }
        return false;
    }
    // The left side of the point's 5 x 5 square.
    static Pixel squareSide(const Pixel& p) { return {p[0] - 2, p[1]}; }
};

constexpr int kPerspective = 2;

TEST_F(TrackOverlaysTest, LinesJoinThePointsAndOnlyACyclicTrackCloses) {
    start();
    const std::vector<P3> corners = {{-300, -250, 0}, {300, -250, 0}, {300, 150, 0}, {100, 250, 0}};
    for (bool cyclic : {false, true}) {
        SCOPED_TRACE(cyclic ? "cyclic" : "open");
        const int32_t track = makeTrack(corners, cyclic);
        selectTrack(track);
        std::vector<Pixel> px;
        for (const P3& c : corners) px.push_back(pixelOf(c));
        for (std::size_t i = 0; i < px.size(); ++i) {
            EXPECT_TRUE(near(squareSide(px[i]), kBlue)) << "square " << i;
            if (i + 1 < px.size()) {
                EXPECT_TRUE(near(between(px[i], px[i + 1], 0.3), kWhite)) << "line " << i;
            }
        }
        EXPECT_EQ(near(between(px[3], px[0], 0.3), kWhite), cyclic);
        EXPECT_FALSE(near(between(px[0], px[2], 0.6), kWhite));  // no line across
    }
}

TEST_F(TrackOverlaysTest, SelectedPointsAreRedOnlyWhileThePointsAreEdited) {
    Form1& f = start();
    const std::vector<P3> corners = {{-300, -250, 0}, {300, -250, 0}, {300, 150, 0}};
    const int32_t track = makeTrack(corners, false);
    selectTrack(track);
    Globals::SelTrkPts = {0, 1};
    Globals::NumSelTrkPts = 1;
    const Pixel selected = pixelOf(corners[1]), other = pixelOf(corners[2]);
    struct Case {
        int page;
        const char* mode;
        bool red;
    };
    for (const Case& c : {Case{2, "Point", true}, Case{2, "Track", false}, Case{0, "Point", false}}) {
        SCOPED_TRACE(std::string(c.mode) + " on page " + std::to_string(c.page));
        editPoints(c.mode);
        f.tabWorkspace->setCurrentIndex(c.page);
        UpdateCameras();
        EXPECT_EQ(near(squareSide(selected), kRed), c.red);
        EXPECT_EQ(near(squareSide(selected), kBlue), !c.red);
        EXPECT_FALSE(near(squareSide(other), kRed));
        // The selection outlives the mode.
        EXPECT_EQ(Globals::NumSelTrkPts, 1);
    }
}

TEST_F(TrackOverlaysTest, TracksOfNoOrOnePointAndTheTrackBeingLaid) {
    Form1& f = start();
    const int32_t empty = makeTrack({}, true);
    selectTrack(empty);  // draws nothing, raises nothing
    EXPECT_FALSE(near(pixelOf({0, 0, 0}), kBlue));
    const int32_t single = makeTrack({{200, 200, 0}}, true);
    selectTrack(single);
    EXPECT_TRUE(near(squareSide(pixelOf({200, 200, 0})), kBlue));

    makeFloor(400);
    f.mnuCustom->trigger();
    const Pixel a = pixelOf({-200, -100, 0}), b = pixelOf({100, -100, 0});
    click(a);
    click(b);
    EXPECT_TRUE(near(squareSide(a), kRed));
    EXPECT_TRUE(near(squareSide(b), kRed));
    EXPECT_TRUE(near(between(a, b, 0.5), kWhite));
    f.EndTrackCreation();
    UpdateCameras();
    EXPECT_FALSE(near(squareSide(a), kRed));
}

// An edge from a point before the perspective view's eye to one behind it: the
// part in front is drawn, cut where the near plane cuts it.
TEST_F(TrackOverlaysTest, AnEdgeGoingBehindThePerspectiveEyeIsDrawnUpToTheNearPlane) {
    Form1& f = start();
    const int32_t camera = Globals::ViewCams[kPerspective]->lngSceneCamera;
    P3 eye, d;
    OMBREL_camera_get_location(camera, &eye[0], &eye[1], &eye[2]);
    OMBREL_camera_get_direction(camera, &d[0], &d[1], &d[2]);
    const double dl = std::hypot(d[0], d[1], d[2]);
    for (double& c : d) c /= dl;
    // Sideways: the direction crossed with +z.
    P3 u = {d[1], -d[0], 0};
    const double ul = std::hypot(u[0], u[1]);
    for (double& c : u) c /= ul;
    auto at = [&](double ahead, double aside) {
        return P3{eye[0] + ahead * d[0] + aside * u[0], eye[1] + ahead * d[1] + aside * u[1],
                  eye[2] + ahead * d[2] + aside * u[2]};
    };
    const P3 front = at(500, 40), behind = at(-100, 40), between = at(320, 40);  // 30 % along
    const int32_t track = makeTrack({front, behind}, false);
    selectTrack(track);
    f.PicBoxFocused = kPerspective;
    UpdateCameras();
    const QImage& image = f.picWindow[kPerspective]->buffer();
    auto whiteNear = [&](const Pixel& p) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.valid(p[0] + dx, p[1] + dy) && image.pixel(p[0] + dx, p[1] + dy) == kWhite) return true;
        return false;
    };
    EXPECT_TRUE(whiteNear(pixelOf(between, kPerspective)));
    const Pixel square = pixelOf(front, kPerspective);
    EXPECT_TRUE(image.pixel(square[0] - 2, square[1]) == kBlue || image.pixel(square[0] - 2, square[1] + 1) == kBlue);
}

}  // namespace
