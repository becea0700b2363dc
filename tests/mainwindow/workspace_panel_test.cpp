// The workspace panel: its pages and which controls each switches on, the
// object, edit and track modes with the frames they show, the group name and
// colour controls, the light colour and the chase buttons.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "ombrel.h"
#include "platform/colour.h"
#include "undo/ActionUndoRedo_Stack.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <map>
#include <string>
#include <vector>

namespace {

using platform::rgb;

ActionUndoRedo* newest() { return Globals::UndoRedoStack->Retrive(); }

QStringList items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}

class WorkspacePanelTest : public EditorFixture {
protected:
    // The small world's box selected through its node.
    int32_t startWithBox() {
        StartEditor();
        const int32_t box = OpenSmallWorld();
        form().trwGroupView_NodeClick(form().trwGroupView->Item(KeyedTree::NodeKey("Group", box)));
        return box;
    }

    void showPage(int page) {
        if (form().tabWorkspace->currentIndex() == page)
            form().tabWorkspace_Click(page);
        else
            form().tabWorkspace->setCurrentIndex(page);
    }
};

TEST_F(WorkspacePanelTest, TheSixPagesCarryTheirCaptionsWhole) {
    Form1& f = StartEditor();
    f.show();
    const QStringList captions = {"Groups", "Edit Group", "Background/Camera/Track", "Texture", "Model Gallery",
                                  "Light"};
    ASSERT_EQ(f.tabWorkspace->count(), captions.size());
    const QTabBar* bar = f.tabWorkspace->tabBar();
    EXPECT_EQ(bar->elideMode(), Qt::ElideNone);
    for (int i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(f.tabWorkspace->tabText(i), captions[i]);
        EXPECT_GE(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(captions[i])) << i;
    }
}

TEST_F(WorkspacePanelTest, APageSwitchesOnOnlyItsOwnControlsAndOffersEditingOnlyForAGroup) {
    const int32_t box = startWithBox();
    Form1& f = form();
    const int32_t camera = OMBREL_camera_create("Camera01");
    f.trwCamTrackBK_Populate();  // its marker, for the redraws
    const std::map<int, std::vector<QWidget*>> pageControls = {
        {0, {f.trwGroupView}},
        {1, {f.frmObj, f.frmEditGeom, f.frmEditTexture, f.frmNewObj}},
        {2, {f.trwCamTrackBK, f.frmCam, f.frmBackground, f.frmTrack}},
        {5, {f.trwLight, f.frmLight}},
    };
    struct Case {
        int page;
        int32_t kind, handle;
        QStringList objItems;  // page 1
    };
    const Case cases[] = {
        {0, SelGroup, box, {}},
        {1, SelGroup, box, {"New Object", "Edit Geometry", "Edit Texture"}},
        {1, SelCamera, camera, {"New Object"}},
        {1, SelNone, 0, {"New Object"}},
        {2, SelCamera, camera, {}},
        {3, SelNone, 0, {}},
        {4, SelGroup, box, {}},
        {5, SelNone, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.page) + ", kind " + std::to_string(c.kind));
        Globals::CurrSelEntityType = c.kind;
        Globals::CurrSelEntityHandle = c.handle;
        showPage(c.page);
        for (const auto& [page, controls] : pageControls)
            for (QWidget* control : controls)
                EXPECT_EQ(control->isEnabled(), page == c.page) << control->objectName().toStdString();
        if (c.page == 1) {
            EXPECT_EQ(items(f.cmbObj), c.objItems);
            EXPECT_EQ(f.cmbObj->currentText(), "New Object");
            EXPECT_FALSE(f.frmNewObj->isHidden());
        }
    }
}

TEST_F(WorkspacePanelTest, TheGroupsPageShowsTheSelectedGroupsNode) {
    StartEditor();
    const int32_t box = OpenSmallWorld();
    Form1& f = form();
    const int32_t inner = OMBREL_group_create("inner");
    OMBREL_group_set_father_group(inner, box);
    f.trwGroupView_Populate();
    f.trwGroupView_NodeClick(f.trwGroupView->Item(KeyedTree::NodeKey("Group", inner)));
    f.tabWorkspace->setCurrentIndex(2);
    f.trwGroupView->Item(KeyedTree::NodeKey("Group", box))->setExpanded(false);
    f.trwGroupView->SetSelectedItem(nullptr);
    f.tabWorkspace->setCurrentIndex(0);
    EXPECT_EQ(f.trwGroupView->SelectedItem(), f.trwGroupView->Item(KeyedTree::NodeKey("Group", inner)));
    EXPECT_TRUE(f.trwGroupView->Item(KeyedTree::NodeKey("Group", box))->isExpanded());
}

TEST_F(WorkspacePanelTest, EachModeComboShowsOneFrameAndEditingRebuildsTheWeldedPoints) {
    startWithBox();
    Form1& f = form();
    f.tabWorkspace->setCurrentIndex(1);
    struct Case {
        QComboBox* combo;
        const char* text;
        QWidget* shown;
        std::vector<QWidget*> hidden;
        bool welded;
    };
    const Case cases[] = {
        {f.cmbObj, "Edit Geometry", f.frmEditGeom, {f.frmNewObj, f.frmEditTexture}, false},
        {f.cmbObjEditGeom, "Polygon", f.frmEditGeomPolygon, {f.frmEditGeomPoint, f.frmEditTexture}, true},
        {f.cmbObjEditGeom, "Point", f.frmEditGeomPoint, {f.frmEditGeomPolygon}, false},
        {f.cmbObj, "Edit Texture", f.frmEditTexture, {f.frmNewObj, f.frmEditGeom}, true},
        {f.cmbObj, "New Object", f.frmNewObj, {f.frmEditGeom, f.frmEditTexture}, false},
        {f.cmbTrackPoint, "Point", f.frmTrackPoint, {}, false},
        {f.cmbTrackPoint, "Track", nullptr, {f.frmTrackPoint}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Globals::NumWeldedPts = 0;
        c.combo->setCurrentText(c.text);
        ASSERT_EQ(c.combo->currentText(), c.text);
        if (c.shown) {
            EXPECT_FALSE(c.shown->isHidden());
        }
        for (QWidget* w : c.hidden) EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
        EXPECT_EQ(Globals::NumWeldedPts > 0, c.welded);
    }
}

// ---- colours

class ColourTest : public WorkspacePanelTest {
protected:
    struct Fill {
        int32_t animation, bitmap, colour;
        bool operator==(const Fill&) const = default;
    };
    static Fill fillOf(int32_t p) {
        Fill f{OMBREL_polygon_get_animation(p), OMBREL_polygon_get_bitmap_handle(p), 0};
        int32_t r = 0, g = 0, b = 0;
        OMBREL_polygon_get_color(p, &r, &g, &b);
        if (f.animation == 0 && f.bitmap == 0) f.colour = rgb(r, g, b);
        return f;
    }

    // The box's polygons: one animated, one with a bitmap, one plain.
    void start() {
        box = startWithBox();
        const std::string picture = tempPath("brick.bmp");
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(QString::fromStdString(picture)));
        const int32_t bitmap = OMBREL_bitmap_load(picture.c_str(), -1);
        const int32_t animation = OMBREL_animation_create("flames");
        ASSERT_TRUE(bitmap && animation);
        for (int32_t p = OMBREL_group_get_first_polygon(box); p; p = OMBREL_group_get_next_polygon(box, p))
            pols.push_back(p);
        ASSERT_EQ(pols.size(), 2u);
        const int32_t third = OMBREL_polygon_create();
        for (int32_t q = OMBREL_polygon_get_first_point(pols[0]); q; q = OMBREL_point_get_next_point(q)) {
            double at[3] = {0, 0, 0};
            OMBREL_point_get_xyz(q, at);
            const double record[6] = {at[0], at[1], at[2] + 50, 0, 0, 100};
            OMBREL_polygon_add_point(third, record);
        }
        OMBREL_polygon_set_group(third, box);
        OMBREL_engine_add_polygon(third);
        pols.push_back(third);
        OMBREL_polygon_set_animation(pols[0], animation);
        OMBREL_polygon_set_bitmap_fill(pols[1], bitmap);
        OMBREL_polygon_set_color_fill(pols[2], 1, 2, 3);
        for (int32_t p : pols) before.push_back(fillOf(p));
        form().tabWorkspace->setCurrentIndex(1);
        form().cmbObj->setCurrentText("Edit Geometry");
    }

    Fill expected(bool coloured, int32_t colour, std::size_t i) const { return coloured ? Fill{0, 0, colour} : before[i]; }

    int32_t box = 0;
    std::vector<int32_t> pols;
    std::vector<Fill> before;
};

TEST_F(ColourTest, TheGroupOrItsSelectedPolygonsTakeTheColourAndUndoGivesEachItsFillBack) {
    start();
    Form1& f = form();
    struct Case {
        const char* name;
        const char* editMode;
        std::vector<int> selected;  // indices into pols
        std::vector<bool> coloured;
    };
    const Case cases[] = {
        {"the whole group", "Point", {}, {true, true, true}},
        {"polygon mode without a selected polygon", "Polygon", {}, {true, true, true}},
        {"polygon mode", "Polygon", {1, 2}, {false, true, true}},
        {"selected polygons outside polygon mode", "Point", {1}, {true, true, true}},
    };
    int32_t colour = rgb(10, 20, 30);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.cmbObjEditGeom->setCurrentText(c.editMode);
        Globals::NumSelPols = 0;
        for (int i : c.selected) Globals::SelPols[++Globals::NumSelPols] = pols[static_cast<std::size_t>(i)];
        colour += rgb(1, 1, 1);
        platform_.prompts.answerColour(colour);
        f.cmdGrpClr->click();
        for (std::size_t i = 0; i < pols.size(); ++i) EXPECT_EQ(fillOf(pols[i]), expected(c.coloured[i], colour, i)) << i;
        EXPECT_EQ(Form1::BackColor(f.cmdGrpClr), colour);
        ASSERT_EQ(newest()->ActionType, ActApplyTextureToGrp);
        f.mnuUndo->trigger();
        for (std::size_t i = 0; i < pols.size(); ++i) EXPECT_EQ(fillOf(pols[i]), before[i]) << i;
        f.mnuRedo->trigger();
        for (std::size_t i = 0; i < pols.size(); ++i) EXPECT_EQ(fillOf(pols[i]), expected(c.coloured[i], colour, i)) << i;
        f.mnuUndo->trigger();
    }
    EXPECT_EQ(LastErrDescription, "");
}

TEST_F(ColourTest, ACancelledDialogChangesAndRecordsNothingAndTheDialogOpensOnTheShownColour) {
    start();
    Form1& f = form();
    platform_.prompts.answerColour(rgb(7, 8, 9)).answerColour(std::nullopt).answerColour(rgb(4, 5, 6));
    f.cmdGrpClr->click();
    ActionUndoRedo* coloured = newest();
    f.cmdGrpClr->click();
    EXPECT_EQ(newest(), coloured);
    EXPECT_EQ(fillOf(pols[2]).colour, rgb(7, 8, 9));
    // With no group selected the dialog shows, and nothing more happens.
    Globals::CurrSelEntityType = SelNone;
    f.cmdGrpClr->click();
    EXPECT_EQ(newest(), coloured);
    EXPECT_EQ(fillOf(pols[2]).colour, rgb(7, 8, 9));
    const auto& shown = platform_.prompts.shown();
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[shown.size() - 2].initialColour, rgb(7, 8, 9));
    EXPECT_EQ(shown.back().initialColour, rgb(7, 8, 9));
}

TEST_F(ColourTest, SelectingAGroupShowsItsFirstPolygonsColourUnlessItHasNone) {
    start();
    Form1& f = form();
    OMBREL_polygon_set_color_fill(pols[0], 50, 60, 70);
    const int32_t empty = OMBREL_group_create("empty");
    OMBREL_group_set_father_group(empty, Globals::RootGrp);
    f.AddGroupNode(empty, Globals::RootGrp);
    f.trwGroupView_NodeClick(f.trwGroupView->Item(KeyedTree::NodeKey("Group", empty)));
    f.trwGroupView_NodeClick(f.trwGroupView->Item(KeyedTree::NodeKey("Group", box)));
    EXPECT_EQ(Form1::BackColor(f.cmdGrpClr), rgb(50, 60, 70));
    EXPECT_EQ(f.txtSelectedGrpName->text(), "box");
    f.trwGroupView_NodeClick(f.trwGroupView->Item(KeyedTree::NodeKey("Group", empty)));
    EXPECT_EQ(Form1::BackColor(f.cmdGrpClr), rgb(50, 60, 70));
    EXPECT_EQ(f.txtSelectedGrpName->text(), "empty");
}

TEST_F(WorkspacePanelTest, TheLightColourChangesTheSelectedLightWithoutARecord) {
    startWithBox();
    Form1& f = form();
    const double at[3] = {0, 0, 0};
    const int32_t light = OMBREL_light_create("Light01", at);
    f.trwLight_Populate();  // its marker, for the redraws
    ActionUndoRedo* before = newest();
    platform_.prompts.answerColour(rgb(200, 100, 50)).answerColour(rgb(1, 2, 3));
    f.cmdLightColor_Click();  // a group is selected: only the button changes
    uint8_t colour[3] = {0, 0, 0};
    OMBREL_light_get_color(light, colour);
    const std::array<uint8_t, 3> untouched = {colour[0], colour[1], colour[2]};
    EXPECT_EQ(Form1::BackColor(f.cmdLightColor), rgb(200, 100, 50));
    Globals::CurrSelEntityType = SelLight;
    Globals::CurrSelEntityHandle = light;
    f.cmdLightColor_Click();
    OMBREL_light_get_color(light, colour);
    EXPECT_EQ((std::array<uint8_t, 3>{colour[0], colour[1], colour[2]}), (std::array<uint8_t, 3>{1, 2, 3}));
    EXPECT_NE(untouched, (std::array<uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(newest(), before);
}

TEST_F(WorkspacePanelTest, ThePointFrameDeletesAndTellsTheSelectionToIgnoreBackfacedPoints) {
    const int32_t box = startWithBox();
    Form1& f = form();
    EXPECT_FALSE(core::windowHooks().ignoreBackFacedForPtSel());
    f.chkIgnoreBackFacedForPtSel->setChecked(true);
    EXPECT_TRUE(core::windowHooks().ignoreBackFacedForPtSel());
    const int32_t polygon = OMBREL_group_get_first_polygon(box);
    Globals::NumSelPts = 1;
    Globals::SelPts[1] = OMBREL_polygon_get_first_point(polygon);
    Globals::NumSelPtsPols = 1;
    Globals::SelPtsPols[1] = polygon;
    f.cmdEditPtDelete->click();
    EXPECT_EQ(newest()->ActionType, ActDeleteGrpPols);
    EXPECT_NE(OMBREL_group_get_first_polygon(box), polygon);
}

TEST_F(WorkspacePanelTest, BothChaseButtonsOpenTheChaseDialog) {
    startWithBox();
    Form1& f = form();
    int shown = 0;
    f.ShowCamChaseParams = [&shown] { ++shown; };
    f.cmdCamEditChase->click();
    f.cmdEditGeomChase->click();
    EXPECT_EQ(shown, 2);
    // The group's controls live in the geometry frame, the others in their pages' frames.
    for (QWidget* w : std::initializer_list<QWidget*>{f.txtSelectedGrpName, f.cmdGrpClr, f.chkGrpDyn, f.cmdTriangulate,
                                                      f.cmdReducePols, f.cmdEditGeomChase})
        EXPECT_TRUE(f.frmEditGeom->isAncestorOf(w)) << w->objectName().toStdString();
    EXPECT_TRUE(f.frmCam->isAncestorOf(f.cmdCamEditChase));
    EXPECT_TRUE(f.frmLight->isAncestorOf(f.cmdLightColor));
    EXPECT_TRUE(f.frmTrack->isAncestorOf(f.cmbTrackPoint));
    EXPECT_TRUE(f.frmTrack->isAncestorOf(f.frmTrackPoint));
}

}  // namespace
