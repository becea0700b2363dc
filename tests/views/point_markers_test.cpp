// The markers on the points of the selected group while its points are edited.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "ombrel.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QComboBox>
#include <QTabWidget>

#include <array>
#include <cstdint>

namespace {

using PointMarkersTest = EditorFixture;

// A grid of side x side quads of 100 units centred on (0, y), selected and its
// points edited.
void editPointsOfGrid(Form1& f, int side, double y0) {
    const int32_t grid = MakeGroup("grid", Globals::RootGrp);
    const double half = side * 50.0;
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const double x = c * 100 - half, y = y0 + r * 100 - half;
            MakePolygon(grid, {{x, y}, {x, y + 100}, {x + 100, y + 100}, {x + 100, y}});
        }
    f.trwGroupView_Populate();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = grid;
    f.tabWorkspace->setCurrentIndex(1);
    f.cmbObj->setCurrentText("Edit Geometry");
    f.cmbObjEditGeom->setCurrentText("Point");
    EXPECT_TRUE(f.EditingPoints());
}

}  // namespace

// However many points the group has, a view's redraw draws their markers in one
// call; each marker is a 4 x 4 blue outline from 2 pixels before its point.
TEST_F(PointMarkersTest, AllMarkersOfAViewAreDrawnInOneCall) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    platform::DeviceContext& dc = f.picWindow[0]->dc();
    const QImage& top = f.picWindow[0]->buffer();
    struct Case {
        int side;
        double y;
    };
    const Case cases[] = {{1, -350}, {4, 250}};
    uint64_t callsPerRedraw[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
        const Case& c = cases[k];
        SCOPED_TRACE(c.side);
        editPointsOfGrid(f, c.side, c.y);
        const uint64_t before = dc.drawingCalls;
        picWindow_Paint(0);
        callsPerRedraw[k] = dc.drawingCalls - before;

        const double reach = c.side * 50.0;
        for (const auto& [x, y] : {std::array<double, 2>{-reach, c.y - reach}, std::array<double, 2>{reach, c.y + reach},
                                   std::array<double, 2>{-reach, c.y + reach}}) {
            const auto p = PixelOf(0, x, y);
            for (const auto& [dx, dy] : {std::array<int, 2>{-2, -2}, {1, -2}, {-2, 1}, {1, 1}, {0, -2}, {-2, 0}})
                EXPECT_EQ(top.pixel(p[0] + dx, p[1] + dy) & 0xFFFFFF, 0x0000FFu)
                    << "(" << x << ", " << y << ") + (" << dx << ", " << dy << ")";
            EXPECT_NE(top.pixel(p[0] + 2, p[1] + 2) & 0xFFFFFF, 0x0000FFu) << "(" << x << ", " << y << ")";
        }
    }
    EXPECT_EQ(callsPerRedraw[0], callsPerRedraw[1]);
}
