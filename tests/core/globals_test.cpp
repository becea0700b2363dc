#include "core/Globals.h"

#include "platform/device_context.h"
#include "platform/error_trap.h"
#include "platform/gdi.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

TEST(Globals, StartValues) {
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_EQ(Globals::PrevSelEntityType, SelNone);
    EXPECT_EQ(Globals::NumSelPts, 0);
    EXPECT_EQ(Globals::NumSelPols, 0);
    EXPECT_EQ(Globals::NumSelTrkPts, 0);
    EXPECT_TRUE(Globals::ShowBndBox);
    EXPECT_EQ(Globals::NavSpeedFactor, 1.0);
    EXPECT_EQ(Globals::GizmoDrawWidth, 2);
    EXPECT_EQ(Globals::BndBoxDrawWidth, 1);
    EXPECT_EQ(Globals::BoxSegments, (std::array<int32_t, 3>{1, 1, 1}));
    EXPECT_EQ(Globals::CurrToolMode, ToolSelect);
    EXPECT_EQ(Globals::UndoRedoStack, nullptr);
}

TEST(Globals, AListHoldsItsBoundAndRefusesMoreNamingItself) {
    FixedList<int32_t, 3> list{"selected things"};
    list[3] = 11;
    EXPECT_EQ(list[3], 11);
    try {
        list[4] = 12;
        FAIL() << "no error past the bound";
    } catch (const platform::EditorError& e) {
        EXPECT_NE(std::string(e.what()).find("selected things"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("at most 3"), std::string::npos) << e.what();
    }
    EXPECT_THROW(list[-1], platform::EditorError);
    EXPECT_THROW(list.checkCount(4), platform::EditorError);
    EXPECT_NO_THROW(list.checkCount(3));
    list.clear();
    EXPECT_EQ(std::as_const(list)[3], 0);
}

TEST(Globals, OverlayPensDrawInTheirColoursAndWidths) {
    Globals::CreateOverlayPens();
    const std::vector<platform::GdiObject> pens = {Globals::PenWhite,      Globals::PenRed,       Globals::PenBlue,
                                                   Globals::PenRedThick,   Globals::PenGreenThick, Globals::PenBlueThick,
                                                   Globals::PenYellowThick};
    EXPECT_EQ(std::set<platform::GdiObject>(pens.begin(), pens.end()).size(), 7u);
    struct Case {
        platform::GdiObject pen;
        int32_t colour;
        int width;
    };
    const Case cases[] = {{Globals::PenWhite, platform::rgb(255, 255, 255), 1},
                          {Globals::PenBlue, platform::rgb(0, 0, 255), 1},
                          {Globals::PenGreenThick, platform::rgb(0, 255, 0), 2},
                          {Globals::PenYellowThick, platform::rgb(255, 255, 0), 2}};
    for (const Case& c : cases) {
        std::vector<uint8_t> buffer(20 * 20 * 4, 0);
        platform::DeviceContext dc(buffer.data(), 20, 20, 20 * 4);
        platform::SelectObject(dc, c.pen);
        platform::MoveToEx(dc, 2, 10);
        platform::LineTo(dc, 18, 10);
        EXPECT_EQ(platform::GetPixel(dc, 10, 10), c.colour);
        int covered = 0;
        for (int y = 5; y < 15; ++y) covered += platform::GetPixel(dc, 10, y) == c.colour;
        EXPECT_EQ(covered, c.width);
    }
    Globals::DeleteOverlayPens();
    EXPECT_EQ(Globals::PenWhite, 0);
}

}  // namespace
