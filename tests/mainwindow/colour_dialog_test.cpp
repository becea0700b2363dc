// The colour dialog of the light, group, polygon and fog colour buttons: it opens
// on the colour the button changes, OK without a pick keeps that colour, and every
// colour button shows its colour flat.
#include "scene_world.h"

#include "mainwindow/formAtmsEffect.h"
#include "platform/colour.h"

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>

#include <array>
#include <functional>
#include <string>

namespace {

using platform::rgb;

std::array<uint8_t, 3> bytesOf(int32_t c) {
    return {static_cast<uint8_t>(platform::redOf(c)), static_cast<uint8_t>(platform::greenOf(c)),
            static_cast<uint8_t>(platform::blueOf(c))};
}

class ColourDialogTest : public SceneWorldTest {
protected:
    void SetUp() override {
        start();
        box = group("box");
        pols = {OMBREL_group_get_first_polygon(box), MakePolygon(box, {{20, -5}, {20, 5}, {30, 5}, {30, -5}})};
        lamp = light("lamp");
        rebuildTrees();
    }

    static int32_t polygonColour(int32_t p) {
        int32_t r = 0, g = 0, b = 0;
        OMBREL_polygon_get_color(p, &r, &g, &b);
        return rgb(r, g, b);
    }
    static int32_t lightColour(int32_t l) {
        uint8_t c[3] = {0, 0, 0};
        OMBREL_light_get_color(l, c);
        return rgb(c[0], c[1], c[2]);
    }
    static int32_t fogColour() {
        int32_t r = 0, g = 0, b = 0;
        OMBREL_engine_get_atmospheric_effect(&r, &g, &b);
        return rgb(r, g, b);
    }
    // The middle pixel of the button as it paints itself.
    static int32_t shownColour(QPushButton& button) {
        button.resize(48, 24);
        const QColor c = button.grab().toImage().pixelColor(24, 12);
        return rgb(c.red(), c.green(), c.blue());
    }

    // The fog dialog's visit: the handler works the live window.
    void fogVisit(const std::function<void(formAtmsEffect&)>& handler) {
        platform_.prompts.answerWindow<formAtmsEffect>([handler](formAtmsEffect& w) { handler(w); });
    }

    int32_t box = 0, lamp = 0;
    std::vector<int32_t> pols;
};

TEST_F(ColourDialogTest, EachDialogOpensOnTheColourItChangesAndOkWithoutAPickKeepsIt) {
    Form1& f = form();
    struct Case {
        const char* name;
        std::function<void()> select;
        std::function<void(int32_t)> setColour;  // the colour the world holds
        std::function<int32_t()> colour;
        // Opens the dialog; answer scripts the colour dialog's answer in turn.
        std::function<void(const std::function<void()>& answer)> open;
    };
    const Case cases[] = {
        {"light", [&] { select(SelLight, lamp); },
         [&](int32_t c) { OMBREL_light_set_color(lamp, bytesOf(c).data()); },
         [&] { return lightColour(lamp); },
         [&](const std::function<void()>& answer) {
             answer();
             f.cmdLightColor->click();
         }},
        {"group", [&] { select(SelGroup, box); },
         [&](int32_t c) { OMBREL_group_set_color(box, bytesOf(c).data()); },
         [&] { return polygonColour(pols[0]); },
         [&](const std::function<void()>& answer) {
             answer();
             f.cmdGrpClr->click();
         }},
        {"selected polygon",
         [&] {
             select(SelGroup, box);
             f.tabWorkspace->setCurrentIndex(1);
             f.cmbObj->setCurrentText("Edit Geometry");
             f.cmbObjEditGeom->setCurrentText("Polygon");
             Globals::NumSelPols = 1;
             Globals::SelPols[1] = pols[1];
         },
         [&](int32_t c) { OMBREL_polygon_set_color_fill(pols[1], platform::redOf(c), platform::greenOf(c), platform::blueOf(c)); },
         [&] { return polygonColour(pols[1]); },
         [&](const std::function<void()>& answer) {
             answer();
             f.cmdGrpClr->click();
         }},
        {"fog", [] {},
         [&](int32_t c) { OMBREL_engine_set_atmospheric_effect(platform::redOf(c), platform::greenOf(c), platform::blueOf(c)); },
         [&] { return fogColour(); },
         [&](const std::function<void()>& answer) {
             fogVisit([](formAtmsEffect& w) { w.cmdColor->click(); });
             answer();
             f.ShowAtmosphereWindow();
         }},
    };
    int32_t shade = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.select();
        const int32_t current = rgb(shade, shade + 1, shade + 2), picked = rgb(shade + 100, shade + 50, 7);
        shade += 20;
        c.setColour(current);
        c.open([&] { platform_.prompts.answerColourUnchanged(); });
        EXPECT_EQ(platform_.prompts.shown().back().initialColour, current);
        EXPECT_EQ(c.colour(), current);
        // A pick, then the dialog opens on the picked colour.
        c.open([&] { platform_.prompts.answerColour(picked); });
        EXPECT_EQ(c.colour(), picked);
        c.open([&] { platform_.prompts.answerColour(std::nullopt); });
        EXPECT_EQ(platform_.prompts.shown().back().initialColour, picked);
        EXPECT_EQ(c.colour(), picked);
    }
    EXPECT_EQ(LastErrDescription, "");
}

// The fog's colour button is as flat as the panels' (a shaded button would show
// another colour than the fog's), and its window shows its whole title.
TEST_F(ColourDialogTest, TheFogButtonShowsTheFogColourFlatAndTheWindowItsWholeTitle) {
    Form1& f = form();
    const int32_t fog = rgb(200, 120, 40);
    OMBREL_engine_set_atmospheric_effect(200, 120, 40);
    select(SelLight, lamp);
    const uint8_t bytes[3] = {200, 120, 40};
    OMBREL_light_set_color(lamp, bytes);
    select(SelNone, 0);
    select(SelLight, lamp);
    EXPECT_EQ(shownColour(*f.cmdLightColor), fog);
    int32_t shownFog = -1;
    int width = 0, titleWidth = 0;
    fogVisit([&](formAtmsEffect& w) {
        shownFog = shownColour(*w.cmdColor);
        width = w.width();
        titleWidth = w.fontMetrics().horizontalAdvance(w.windowTitle());
    });
    f.ShowAtmosphereWindow();
    EXPECT_EQ(shownFog, fog);
    EXPECT_GE(width, titleWidth + 100);
}

}  // namespace
