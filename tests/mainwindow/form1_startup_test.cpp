// The load step: what the editor holds after it, and the order of its visible steps.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel_loader.h"
#include "platform/key_state.h"
#include "platform/settings.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QGroupBox>
#include <QMenu>
#include <QTabWidget>

#include <set>

namespace {

QStringList items(const QComboBox* combo) {
    QStringList list;
    for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
    return list;
}

}  // namespace

using StartUpTest = EditorFixture;

TEST_F(StartUpTest, LeavesTheDefaultsWithNoWorldOpen) {
    Form1& f = StartEditor();
    using namespace Globals;
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.WorldLoaded);
    EXPECT_EQ(f.windowTitle(), "TALVORA");
    EXPECT_FALSE(f.tabWorkspace->isEnabled());
    EXPECT_EQ(f.tabWorkspace->currentIndex(), 0);
    EXPECT_DOUBLE_EQ(NavSpeedFactor, 1.0);
    EXPECT_EQ(BoxSegments, (std::array<int32_t, 3>{1, 1, 1}));
    EXPECT_TRUE(ShowBndBox);
    EXPECT_FALSE(f.ShowWireframe);
    EXPECT_EQ(CurrToolMode, ToolSelect);
    EXPECT_EQ(BndBoxDrawWidth, 1);
    EXPECT_EQ(GizmoDrawWidth, 2);
    const std::set<platform::GdiObject> pens = {PenWhite, PenRed, PenBlue, PenRedThick, PenGreenThick, PenBlueThick,
                                                PenYellowThick};
    EXPECT_EQ(pens.size(), 7u);
    EXPECT_FALSE(pens.count(0));
    for (const auto& camera : ViewCams) EXPECT_TRUE(camera);
    EXPECT_TRUE(CurrMultiSel && PrevMultiSel && SceneCameras && SceneLights && SelGrpBndBox && OverlayLine &&
                OverlayWireframe);
    for (PicWindow* view : f.picWindow) {
        EXPECT_EQ(view->MousePointer(), 99);
        EXPECT_EQ(view->MouseIcon(), "Select");
    }
    EXPECT_EQ(items(f.cmbTrackPoint), QStringList({"Track", "Point"}));
    EXPECT_EQ(f.cmbTrackPoint->currentText(), "Track");
    EXPECT_EQ(items(f.cmbNewObjType), QStringList({"PLANE", "BOX", "SPHERE", "CONE", "CYLINDER", "TORUS"}));
    EXPECT_EQ(f.cmbNewObjType->currentText(), "BOX");
    EXPECT_EQ(f.cmbPolFilter->count(), 9);
    EXPECT_EQ(f.cmbPolFilter->currentText(), "Disable Blending");
    EXPECT_EQ(f.cmbObj->currentText(), "New Object");
    // The combo change handlers ran: the start page shows the create panel.
    EXPECT_FALSE(f.frmNewObj->isHidden());
    EXPECT_TRUE(f.frmEditGeom->isHidden());
    EXPECT_FALSE(f.frmEditGeomPoint->isHidden());
    EXPECT_TRUE(f.frmEditGeomPolygon->isHidden());
    for (QMenu* popup : {f.mnuModelGallery, f.mnuTexture, f.mnuWinView, f.mnuGroupMenu, f.mnuLightMenu,
                         f.mnuCamTrkBkMenu})
        EXPECT_FALSE(popup->isVisible());
}

TEST_F(StartUpTest, SplashComesBeforeTheCommandLineWorldAndTipsAfterTheWindowIsShown) {
    const std::string file = SaveSmallWorldFile("a world with spaces.wld");
    Form1& f = BuildEditor("  \"" + file + "\"  ");
    std::vector<std::string> order;
    f.ShowSplash = [&] {
        order.push_back("splash");
        EXPECT_FALSE(f.isVisible());
        EXPECT_FALSE(f.WorldLoaded);
    };
    f.ShowTips = [&] {
        order.push_back("tips");
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(f.WorldLoaded);
    };
    ASSERT_TRUE(f.Form_Load());
    EXPECT_EQ(order, (std::vector<std::string>{"splash", "tips"}));
    EXPECT_EQ(Globals::CurrWorldFile, file);
    EXPECT_EQ(f.windowTitle().toStdString(), "TALVORA [" + file + "]");
    EXPECT_TRUE(f.tabWorkspace->isEnabled());
}

TEST_F(StartUpTest, TheKeysGoWhereTheFocusFrameSays) {
    const std::string world = SaveSmallWorldFile("start.wld");
    Form1& f = BuildEditor(world);
    // Until a view holds the focus the frame wears the lost-focus colour.
    EXPECT_TRUE(f.shpFocus->styleSheet().contains("rgb(0, 0, 225)"));
    ASSERT_TRUE(f.Form_Load());
    QApplication::processEvents();
    ASSERT_TRUE(f.WorldLoaded);
    EXPECT_EQ(QApplication::focusWidget(), f.picWindow[0]);
    EXPECT_TRUE(f.PicBoxHasFocus);
    EXPECT_TRUE(f.shpFocus->styleSheet().contains("rgb(255, 255, 0)"));
    // A plain key now reaches the shortcuts.
    QKeyEvent w(QEvent::KeyPress, Qt::Key_W, Qt::NoModifier);
    platform::noteKeyDown('W');
    QApplication::sendEvent(QApplication::focusWidget(), &w);
    EXPECT_TRUE(f.ViewMaximized);
}

TEST_F(StartUpTest, TipsFollowTheirSetting) {
    struct Case {
        const char* stored;  // nullptr = never stored
        bool shown;
    };
    const Case cases[] = {{nullptr, true}, {"1", true}, {"0", false}, {"7", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "missing");
        platform::deleteSetting("Options");
        if (c.stored) platform::saveSetting("Options", "Show Tips at Startup", c.stored);
        Form1& f = BuildEditor();
        bool shown = false;
        f.ShowTips = [&] { shown = true; };
        ASSERT_TRUE(f.Form_Load());
        EXPECT_EQ(shown, c.shown);
        Globals::AppTerminating = true;
        f.close();
        Globals::AppTerminating = false;
    }
}

TEST_F(StartUpTest, ACommandLineOfSpacesOpensNothing) {
    Form1& f = StartEditor("    ");
    EXPECT_FALSE(f.WorldLoaded);
    EXPECT_TRUE(platform_.prompts.shown().empty());
}

TEST_F(StartUpTest, ACommandLineWorldThatFailsToLoadLeavesNoWorld) {
    platform_.prompts.answer(platform::MsgResult::OK);
    Form1& f = StartEditor(tempPath("missing.wld"));
    ASSERT_EQ(platform_.prompts.shown().size(), 1u);
    EXPECT_EQ(platform_.prompts.shown()[0].text, "Error Loading World");
    EXPECT_FALSE(f.WorldLoaded);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.mnuSave->isEnabled());
}

TEST_F(StartUpTest, AnEngineWithoutItsEntryPointsEndsTheProgramBeforeAnyWindow) {
    ombrel_loader::unload();
    platform_.prompts.answer(platform::MsgResult::OK);
    Form1& f = BuildEditor();
    bool splash = false;
    f.ShowSplash = [&] { splash = true; };
    EXPECT_FALSE(f.Form_Load());
    ASSERT_EQ(platform_.prompts.shown().size(), 1u);
    EXPECT_EQ(platform_.prompts.shown()[0].text, "Incorrect ombrel3.dll version encountered. Terminating...");
    EXPECT_EQ(platform_.prompts.shown()[0].icon, platform::MsgIcon::Critical);
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(splash);
    EXPECT_TRUE(f.QuitFlag);
}
