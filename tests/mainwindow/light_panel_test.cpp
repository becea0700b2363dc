// The light panel: filled from the selected light without writing anything back,
// each control writing its property to the engine (and the marker) at once, bad
// text ignored, the effect on the views' picture, and the scrolling content.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "platform/colour.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using Field = platform::NumericField;

int32_t makeLight(const char* name, const Point3d& at = {0, 0, 0}) { return OMBREL_light_create(name, at.data()); }

void pressEnter(Field* field) {
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field->text(), &enter);
}

void leave(Field* field) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(field->text(), &out);
}

void typeThenEnter(Field* field, const char* text) {
    field->text()->setText(text);
    pressEnter(field);
}

Point3d lightLocation(int32_t l) {
    Point3d p;
    OMBREL_light_get_location(l, p.data());
    return p;
}

Point3d lightDirection(int32_t l) {
    Point3d p;
    OMBREL_light_get_direction(l, p.data());
    return p;
}

Point3d markerX(int32_t l) {
    Point3d x, y, z;
    OMBREL_group_calculate_axis_system(Globals::SceneLights->GetLightGrp(l), x.data(), y.data(), z.data());
    return x;
}

bool directionalMarker(int32_t l) {
    int n = 0;
    const int32_t marker = Globals::SceneLights->GetLightGrp(l);
    for (int32_t pt = OMBREL_polygon_get_first_point(OMBREL_group_get_first_polygon(marker)); pt;
         pt = OMBREL_point_get_next_point(pt))
        ++n;
    return n == 6;
}

void expectNear(const Point3d& got, const Point3d& want) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << "component " << k;
}

class LightPanelTest : public EditorFixture {
protected:
    Form1& open() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        f.tabWorkspace->setCurrentIndex(5);
        return f;
    }
    // Registers the lights made so far and selects one by its node.
    void select(int32_t light) {
        if (!form().trwLight->Exists(KeyedTree::NodeKey("Light", light))) form().trwLight_Populate();
        form().trwLight_NodeClick(form().trwLight->Item(KeyedTree::NodeKey("Light", light)));
        ASSERT_EQ(Globals::CurrSelEntityHandle, light);
    }
    void setItems(std::initializer_list<bool> selected) {
        int i = 0;
        for (bool on : selected) form().lstLightType->item(i++)->setSelected(on);
    }
    std::vector<bool> items() {
        std::vector<bool> out;
        for (int i = 0; i < form().lstLightType->count(); ++i)
            out.push_back(form().lstLightType->item(i)->isSelected());
        return out;
    }
};

// ---- filling

TEST_F(LightPanelTest, TheFillShowsTheLightsTypeAndWritesNothingBack) {
    Form1& f = open();
    struct Case {
        int32_t type;
        std::vector<bool> items;  // Ambient, Diffuse, Specular, Directional
        bool linear, square, isDefault;
    };
    const Case cases[] = {
        {59, {true, true, true, true}, true, false, false},
        {28, {true, true, false, false}, false, true, false},
        {58, {true, true, true, false}, true, false, true},
        {59 | 64, {true, true, true, true}, true, false, false},  // an unknown bit from a file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const int32_t light = makeLight("l");
        OMBREL_light_set_type_of_light(light, c.type);
        OMBREL_light_activate_before_each_render(light, 0, 0);
        form().trwLight_Populate();
        const int32_t marker = Globals::SceneLights->GetLightGrp(light);
        select(light);
        EXPECT_EQ(Globals::SceneLights->GetLightGrp(light), marker);  // not rebuilt
        EXPECT_EQ(items(), c.items);
        EXPECT_EQ(f.opnDecalLinearly->isChecked(), c.linear);
        EXPECT_EQ(f.opnDecayAsSquare->isChecked(), c.square);
        EXPECT_EQ(f.opnLightTypeDefault->isChecked(), c.isDefault);
        EXPECT_EQ(f.opnLightTypeCustom->isChecked(), !c.isDefault);
        EXPECT_EQ(f.lstLightType->isEnabled(), !c.isDefault);
        // Nothing written back: the type (unknown bits too) and the auto update stay.
        EXPECT_EQ(OMBREL_light_get_type_of_light(light), c.type);
        int32_t state = -1;
        EXPECT_EQ(OMBREL_light_is_activated_before_render(light, &state), 0);
        EXPECT_FALSE(f.chkAutoUpdate->isChecked());
    }
}

TEST_F(LightPanelTest, TheFillShowsEveryValueOfTheLight) {
    Form1& f = open();
    const int32_t light = makeLight("l", {1.5, -2, 3});
    const double dir[3] = {0, 1, 0};
    OMBREL_light_set_direction(light, dir);
    const uint8_t rgb[3] = {10, 20, 30};
    OMBREL_light_set_color(light, rgb);
    OMBREL_light_set_ambient(light, 0.25);
    OMBREL_light_set_diffuse(light, 0.5);
    OMBREL_light_set_specular(light, 0.125);
    OMBREL_light_set_specular_shining(light, 7);
    OMBREL_light_set_distance_reach(light, 1234.5);
    OMBREL_light_disable(light, 1);
    OMBREL_light_set_ray_tracing(light, 0);
    select(light);
    const std::vector<std::pair<Field*, QString>> shown = {
        {f.fldLightLoc[0], "1.5"}, {f.fldLightLoc[1], "-2"},     {f.fldLightLoc[2], "3"},
        {f.fldLightDir[0], "0"},   {f.fldLightDir[1], "1"},      {f.fldLightDir[2], "0"},
        {f.fldAmbient, "0.25"},    {f.fldDiffuse, "0.5"},        {f.fldSpecular, "0.125"},
        {f.fldShine, "7"},         {f.fldDistanceReach, "1234.5"},
    };
    for (const auto& [field, text] : shown) {
        EXPECT_EQ(field->text()->text(), text) << field->text()->objectName().toStdString();
        EXPECT_EQ(field->spinner()->Tag, text);
    }
    EXPECT_EQ(Form1::BackColor(f.cmdLightColor), platform::rgb(10, 20, 30));
    EXPECT_FALSE(f.chkLightOn->isChecked());
    EXPECT_FALSE(f.chkLightRaytracing->isChecked());
    EXPECT_TRUE(f.chkAutoUpdate->isChecked());
    EXPECT_EQ(OMBREL_light_is_disabled(light), 1);  // the fill's change of "On" applied nothing
    EXPECT_EQ(OMBREL_light_is_ray_tracing(light), 0);
}

// Selecting a light applies nothing of the panel: a target that is no longer a
// group stays as it is (the engine falls back to the whole world for it).
TEST_F(LightPanelTest, ATargetThatIsNoGroupAnyMoreIsShownAsTheWholeWorldAndKept) {
    Form1& f = open();
    const int32_t gone = MakeGroup("gone", Globals::RootGrp);
    const int32_t other = MakeGroup("other", Globals::RootGrp);
    const int32_t light = makeLight("l");
    OMBREL_light_set_entity_to_light(light, gone);
    OMBREL_group_delete_members(gone);
    ASSERT_EQ(OMBREL_light_get_entity_to_light(light), 0);
    select(light);
    EXPECT_EQ(f.cmbLightTraget->currentText(), "Whole World");
    EXPECT_EQ(OMBREL_light_get_entity_to_light(light), 0);  // not re-targeted at the root
    EXPECT_NE(f.cmbLightTraget->findData(other), -1);
    EXPECT_EQ(f.cmbLightTraget->findData(gone), -1);
}

// ---- controls

TEST_F(LightPanelTest, EachControlWritesTheSelectedLight) {
    Form1& f = open();
    const int32_t twin1 = MakeGroup("twin", Globals::RootGrp);
    const int32_t twin2 = MakeGroup("twin", Globals::RootGrp);
    struct Case {
        const char* what;
        std::function<void()> act;
        std::function<void(int32_t light)> check;
    };
    const Case cases[] = {
        {"type 59", [&] {
             f.opnLightTypeCustom->setChecked(true);
             setItems({true, true, true, true});
             f.opnDecalLinearly->setChecked(true);
         },
         [&](int32_t l) {
             EXPECT_EQ(OMBREL_light_get_type_of_light(l), 59);
             EXPECT_TRUE(directionalMarker(l));
         }},
        {"type 28 with As Square", [&] {
             f.opnLightTypeCustom->setChecked(true);
             setItems({true, true, false, false});
             f.opnDecayAsSquare->setChecked(true);
         },
         [&](int32_t l) {
             EXPECT_EQ(OMBREL_light_get_type_of_light(l), 28);
             EXPECT_TRUE(f.opnLightTypeCustom->isChecked());
             EXPECT_FALSE(directionalMarker(l));
         }},
        {"Default", [&] {
             f.opnLightTypeCustom->setChecked(true);
             setItems({false, true, false, true});
             f.opnDecayAsSquare->setChecked(true);
             ASSERT_TRUE(directionalMarker(Globals::CurrSelEntityHandle));
             f.opnLightTypeDefault->setChecked(true);
         },
         [&](int32_t l) {
             EXPECT_EQ(OMBREL_light_get_type_of_light(l), 58);
             EXPECT_FALSE(directionalMarker(l));
             EXPECT_FALSE(f.lstLightType->isEnabled());
         }},
        {"a group target", [&] { f.cmbLightTraget->setCurrentIndex(f.cmbLightTraget->findData(twin2)); },
         [&](int32_t l) { EXPECT_EQ(OMBREL_light_get_entity_to_light(l), twin2); }},
        {"Whole World", [&] {
             f.cmbLightTraget->setCurrentIndex(f.cmbLightTraget->findData(twin1));
             f.cmbLightTraget->setCurrentIndex(f.cmbLightTraget->findText("Whole World"));
         },
         [&](int32_t l) { EXPECT_EQ(OMBREL_light_get_entity_to_light(l), Globals::RootGrp); }},
        {"On unchecked", [&] { f.chkLightOn->setChecked(false); },
         [&](int32_t l) { EXPECT_EQ(OMBREL_light_is_disabled(l), 1); }},
        {"Ray tracing unchecked", [&] { f.chkLightRaytracing->setChecked(false); },
         [&](int32_t l) { EXPECT_EQ(OMBREL_light_is_ray_tracing(l), 0); }},
        {"Auto Update unchecked and checked", [&] {
             f.chkAutoUpdate->setChecked(false);
             int32_t state = -1;
             EXPECT_EQ(OMBREL_light_is_activated_before_render(Globals::CurrSelEntityHandle, &state), 0);
             OMBREL_light_activate_before_each_render(Globals::CurrSelEntityHandle, 5, 0);
             f.chkAutoUpdate->setChecked(true);
         },
         [&](int32_t l) {
             int32_t state = -1;
             EXPECT_EQ(OMBREL_light_is_activated_before_render(l, &state), 1);
             EXPECT_EQ(state, 1);
         }},
        {"ambient 12.5 and Enter, then letters and leaving", [&] {
             typeThenEnter(f.fldAmbient, "12.5");
             OMBREL_light_set_ambient(Globals::CurrSelEntityHandle, 0);
             f.fldAmbient->text()->setText("abc");
             leave(f.fldAmbient);
         },
         [&](int32_t l) { EXPECT_EQ(OMBREL_light_get_ambient(l), 12.5); }},
        {"diffuse, specular and reach on leaving", [&] {
             f.fldDiffuse->text()->setText("0.4");
             leave(f.fldDiffuse);
             f.fldSpecular->text()->setText("0.6");
             leave(f.fldSpecular);
             f.fldDistanceReach->text()->setText("250");
             leave(f.fldDistanceReach);
         },
         [&](int32_t l) {
             EXPECT_EQ(OMBREL_light_get_diffuse(l), 0.4);
             EXPECT_EQ(OMBREL_light_get_specular(l), 0.6);
             EXPECT_EQ(OMBREL_light_get_distance_reach(l), 250);
         }},
        {"shine 2.5 stepped up", [&] {
             typeThenEnter(f.fldShine, "2.5");
             f.fldShine->spinner()->clickUp();
         },
         [&](int32_t l) {
             EXPECT_EQ(OMBREL_light_get_specular_shining(l), 3.5);
             EXPECT_EQ(f.fldShine->text()->text(), "3.5");
             EXPECT_EQ(f.fldShine->spinner()->Value(), 0);
         }},
        {"location y", [&] { typeThenEnter(f.fldLightLoc[1], "40"); },
         [&](int32_t l) {
             expectNear(lightLocation(l), {10, 40, 30});
             Point3d at;
             OMBREL_group_get_location(Globals::SceneLights->GetLightGrp(l), &at[0], &at[1], &at[2]);
             expectNear(at, {10, 40, 30});
         }},
        {"direction (1, 1, 0)", [&] {
             f.fldLightDir[0]->text()->setText("1");
             f.fldLightDir[1]->text()->setText("1");
             f.fldLightDir[2]->text()->setText("0");
             pressEnter(f.fldLightDir[2]);
         },
         [&](int32_t l) {
             const double r = 1 / std::sqrt(2.0);
             expectNear(lightDirection(l), {r, r, 0});
             expectNear(markerX(l), {r, r, 0});
             for (Field* d : f.fldLightDir) {
                 double shown = 0;
                 ASSERT_TRUE(platform::ReadNumber(d->text()->text(), shown));
                 EXPECT_EQ(d->spinner()->Tag, d->text()->text());
                 EXPECT_NEAR(shown, d == f.fldLightDir[2] ? 0 : r, 1e-12);
             }
         }},
        {"a zero direction", [&] {
             for (Field* d : f.fldLightDir) d->text()->setText("0");
             pressEnter(f.fldLightDir[0]);
         },
         [&](int32_t l) {
             expectNear(lightDirection(l), {0, 0, -1});
             expectNear(markerX(l), {0, 0, -1});
             EXPECT_EQ(f.fldLightDir[2]->text()->text(), "-1");
             EXPECT_EQ(f.fldLightDir[0]->text()->text(), "0");
         }},
        {"text that is no finite number", [&] {
             for (const char* bad : {"1e999", "inf", "nan", "-INF", "x"}) {
                 typeThenEnter(f.fldAmbient, bad);
                 typeThenEnter(f.fldLightLoc[0], bad);
                 typeThenEnter(f.fldLightDir[0], bad);
             }
         },
         [&](int32_t l) {
             EXPECT_EQ(OMBREL_light_get_ambient(l), 0.2);
             expectNear(lightLocation(l), {10, 20, 30});
             expectNear(lightDirection(l), {0, 0, -1});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t light = makeLight("l", {10, 20, 30});  // type 58, ambient 0.2, down
        select(light);
        c.act();
        c.check(light);
    }
}

// ---- the picture

// The top view's colour of the floor square, away from the light's marker and
// its selection box.
QRgb floorColour(Form1& f) {
    UpdateCameras();
    OMBREL_camera_set_current(Globals::ViewCams[0]->lngSceneCamera, f.picWindow[0]->hWnd());
    const double at[3] = {150, -150, 0};
    int32_t px[2] = {0, 0};
    EXPECT_EQ(OMBREL_engine_3D_point_to_2D(at, px), 0);
    return f.picWindow[0]->buffer().pixel(px[0], px[1]);
}

void expectColour(QRgb got, int r, int g, int b) {
    EXPECT_NEAR(qRed(got), r, 4);
    EXPECT_NEAR(qGreen(got), g, 4);
    EXPECT_NEAR(qBlue(got), b, 4);
}

// A light is bound to the floor by its auto update at every render; only the
// ambient term lights it here, with no decay.
int32_t ambientLight(const char* name, double ambient, uint8_t r, uint8_t g, uint8_t b) {
    const int32_t l = makeLight(name, {0, 0, 200});
    OMBREL_light_set_type_of_light(l, 8 | 2);
    OMBREL_light_set_distance_reach(l, 0);
    OMBREL_light_set_ambient(l, ambient);
    const uint8_t rgb[3] = {r, g, b};
    OMBREL_light_set_color(l, rgb);
    return l;
}

TEST_F(LightPanelTest, OnTakesALightsTintAwayAndWithNoLightTheFloorIsAsAuthored) {
    Form1& f = open();
    const int32_t floor = MakePolygon(MakeGroup("floor", Globals::RootGrp),
                                      {{-400, -400}, {-400, 400}, {400, 400}, {400, -400}});
    OMBREL_polygon_set_color_fill(floor, 200, 200, 200);
    f.trwGroupView_Populate();
    const int32_t white = ambientLight("white", 0.5, 255, 255, 255);
    const int32_t red = ambientLight("red", 0.25, 255, 0, 0);
    select(red);
    expectColour(floorColour(f), 150, 100, 100);  // 200 x (0.5 + 0.25, 0.5, 0.5)

    f.chkLightOn->setChecked(false);
    expectColour(floorColour(f), 100, 100, 100);  // the white light still lights it

    select(white);
    f.chkLightOn->setChecked(false);
    expectColour(floorColour(f), 200, 200, 200);  // no enabled light: as authored, not black

    f.chkLightOn->setChecked(true);
    platform_.prompts.answerColour(platform::rgb(0, 0, 255));
    f.cmdLightColor->click();
    expectColour(floorColour(f), 0, 0, 100);
}

// Each property changes the floor's colour as the engine's lighting says. The
// light stands 400 sqrt 2 above the middle of the floor, whose corners are then
// 800 away, seen at 45 degrees to the floor's normal.
TEST_F(LightPanelTest, EachPropertyChangesThePictureAsTheLightingSays) {
    Form1& f = open();
    const int32_t floorGroup = MakeGroup("floor", Globals::RootGrp);
    const int32_t floor = MakePolygon(floorGroup, {{-400, -400}, {-400, 400}, {400, 400}, {400, -400}});
    OMBREL_polygon_set_color_fill(floor, 200, 200, 200);
    const int32_t wall = MakePolygon(MakeGroup("elsewhere", Globals::RootGrp),
                                     {{600, -400}, {600, 400}, {900, 400}, {900, -400}});
    OMBREL_polygon_set_color_fill(wall, 200, 200, 200);
    f.trwGroupView_Populate();
    const double cos45 = std::sqrt(0.5), height = 400 * std::sqrt(2.0);
    struct Case {
        const char* what;
        std::function<void()> act;
        double factor;  // of the authored 200
    };
    auto setType = [&](std::initializer_list<bool> list, bool square) {
        f.opnLightTypeCustom->setChecked(true);
        setItems(list);
        (square ? f.opnDecayAsSquare : f.opnDecalLinearly)->setChecked(true);
    };
    const char* twiceTheDistance = "1600";
    const Case cases[] = {
        {"ambient 0.5", [&] { setType({true, false, false, false}, false); typeThenEnter(f.fldAmbient, "0.5"); }, 0.5},
        {"diffuse 0.5", [&] { setType({false, true, false, false}, false); typeThenEnter(f.fldDiffuse, "0.5"); },
         0.5 * cos45},
        {"linear decay at half the reach", [&] {
             setType({true, false, false, false}, false);
             typeThenEnter(f.fldAmbient, "0.8");
             typeThenEnter(f.fldDistanceReach, twiceTheDistance);
         },
         0.8 * 0.5},
        {"square decay at half the reach", [&] {
             setType({true, false, false, false}, true);
             typeThenEnter(f.fldAmbient, "0.8");
             typeThenEnter(f.fldDistanceReach, twiceTheDistance);
         },
         0.8 * 0.75},
        {"directional straight down", [&] {
             setType({false, true, false, true}, false);
             typeThenEnter(f.fldDiffuse, "0.5");
         },
         0.5},
        {"directional at 60 degrees", [&] {
             setType({false, true, false, true}, false);
             typeThenEnter(f.fldDiffuse, "0.5");
             f.fldLightDir[0]->text()->setText(platform::NumberText(std::sqrt(3.0)));
             typeThenEnter(f.fldLightDir[2], "-1");
         },
         0.25},
        {"specular, shine 1", [&] {
             setType({false, false, true, false}, false);
             typeThenEnter(f.fldSpecular, "0.5");
             typeThenEnter(f.fldShine, "1");
         },
         // Half way between the light and the eye far above: cos 22.5 degrees.
         0.5 * std::cos(M_PI / 8)},
        {"specular, shine 8", [&] {
             setType({false, false, true, false}, false);
             typeThenEnter(f.fldSpecular, "0.5");
             typeThenEnter(f.fldShine, "8");
         },
         0.5 * std::pow(std::cos(M_PI / 8), 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t light = makeLight("l", {0, 0, height});
        OMBREL_light_set_ambient(light, 0);
        OMBREL_light_set_diffuse(light, 0);
        OMBREL_light_set_specular(light, 0);
        OMBREL_light_set_distance_reach(light, 0);  // unlimited
        select(light);
        c.act();
        const int v = static_cast<int>(std::lround(200 * c.factor));
        expectColour(floorColour(f), v, v, v);
        f.chkLightOn->setChecked(false);
    }

    // A target group lights only its own polygons; the others stay as authored.
    const int32_t light = makeLight("l", {0, 0, height});
    OMBREL_light_set_distance_reach(light, 0);
    select(light);
    setType({true, false, false, false}, false);
    typeThenEnter(f.fldAmbient, "0.5");
    f.cmbLightTraget->setCurrentIndex(f.cmbLightTraget->findData(floorGroup));
    expectColour(floorColour(f), 100, 100, 100);
    OMBREL_camera_set_current(Globals::ViewCams[0]->lngSceneCamera, f.picWindow[0]->hWnd());
    const double onWall[3] = {750, 0, 0};
    int32_t px[2] = {0, 0};
    ASSERT_EQ(OMBREL_engine_3D_point_to_2D(onWall, px), 0);
    expectColour(f.picWindow[0]->buffer().pixel(px[0], px[1]), 200, 200, 200);
}

// ---- layout

TEST_F(LightPanelTest, TheContentScrollsAndGoesBackToItsTop) {
    Form1& f = open();
    const int32_t light = makeLight("l");
    select(light);
    f.show();
    QScrollBar* bar = f.frmLightDummy->verticalScrollBar();
    f.resize(f.width(), 500);
    QApplication::processEvents();
    ASSERT_GT(f.frmLightContainer->height(), f.frmLightDummy->viewport()->height());
    EXPECT_TRUE(bar->isVisible());
    bar->setValue(bar->maximum());
    ASSERT_GT(bar->value(), 0);
    f.resize(f.width(), 520);
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);

    bar->setValue(bar->maximum());
    f.tabWorkspace_Resize();
    EXPECT_EQ(bar->value(), 0);

    // Tall enough for the whole content: no bar.
    f.resize(f.width(), 3000);
    QApplication::processEvents();
    EXPECT_LE(f.frmLightContainer->sizeHint().height(), f.frmLightDummy->viewport()->height());
    EXPECT_FALSE(bar->isVisible());

    // The folder hides the panel and its bar.
    f.trwLight_NodeClick(f.trwLight->Item("LIGHT"));
    EXPECT_FALSE(f.frmLight->isVisible());
    EXPECT_EQ(f.frmLightDummy->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

}  // namespace
