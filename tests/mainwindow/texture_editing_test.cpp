// The group page's texture frame: the Edit button opening the one
// texture-coordinate editor, planar mapping from the options, and the editor
// kept in step by the main window (polygon selections in a view and their Undo,
// closing the world) through its hooks.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "core/WindowProcedures.h"
#include "mainwindow/formError.h"
#include "ombrel.h"
#include "textures/TexturePicture.h"
#include "textures/frmTextureMapping.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/UndoRedoCommands.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWindow>

#include <array>
#include <cmath>

namespace {

using UV = std::array<double, 2>;
constexpr int kView = 0;

class TextureEditingTest : public EditorFixture {
protected:
    // The small world with its group selected and the group page on "Edit Texture".
    Form1& start() {
        Form1& f = StartEditor();
        group_ = OpenSmallWorld();
        QApplication::processEvents();
        click(pixelOf(0, 0, 100));
        EXPECT_EQ(Globals::CurrSelEntityHandle, group_);
        f.tabWorkspace->setCurrentIndex(1);
        // The views select polygons in texture editing while the sub-mode reads "Polygon".
        f.cmbObjEditGeom->setCurrentText("Polygon");
        f.cmbObj->setCurrentText("Edit Texture");
        EXPECT_TRUE(f.frmEditTexture->isVisible() || !f.isVisible());
        for (int32_t pol = OMBREL_group_get_first_polygon(group_); pol;
             pol = OMBREL_group_get_next_polygon(group_, pol))
            pols_.push_back(pol);
        return f;
    }

    std::array<int32_t, 2> pixelOf(double x, double y, double z) {
        Form1& f = form();
        OMBREL_camera_set_current(Globals::ViewCams[kView]->lngSceneCamera, f.picWindow[kView]->hWnd());
        const double p[3] = {x, y, z};
        std::array<int32_t, 2> px = {0, 0};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p, px.data()), 0);
        return px;
    }

    void click(const std::array<int32_t, 2>& at) {
        form().picWindow_MouseDown(kView, 1, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        form().picWindow_MouseUp(kView, 1, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
    }

    frmTextureMapping& openEditor() {
        form().cmdEditTexture->click();
        QApplication::processEvents();
        frmTextureMapping* e = frmTextureMapping::Instance();
        EXPECT_NE(e, nullptr);
        return *e;
    }

    // Something selected in the editor and its picture wiped, to see both renewed.
    static void dirty(frmTextureMapping& e, int32_t point, int32_t polygon) {
        e.TexSel.Append(point, polygon);
        e.TexSelOnly.Append(point, polygon);
        e.PicMain->ClearPicture();
    }
    static bool painted(frmTextureMapping& e) {
        const QImage& image = e.PicMain->buffer();
        return (image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFFu) != 0;
    }

    static int32_t firstPoint(int32_t pol) { return OMBREL_polygon_get_first_point(pol); }

    int32_t group_ = 0;
    std::vector<int32_t> pols_;
};

}  // namespace

TEST_F(TextureEditingTest, TheEditButtonOpensOneEditorOwnedByTheMainWindow) {
    Form1& f = start();
    EXPECT_EQ(f.cmdEditTexture->parentWidget(), f.frmEditTexture);
    EXPECT_EQ(f.cmdPlanarMap->text(), "Planar Map");
    EXPECT_TRUE(f.opnNormal[0]->isChecked());
    frmTextureMapping& e = openEditor();
    EXPECT_EQ(e.windowTitle(), "Texture Map Editor.");
    EXPECT_EQ(e.parentWidget(), &f);
    EXPECT_TRUE(e.isWindow());
    EXPECT_TRUE(e.Loaded);
    EXPECT_TRUE(Globals::IsTextureMappingLoaded());
    // Non-modal: the main window goes on working while it is open.
    EXPECT_FALSE(e.isModal());
    EXPECT_EQ(e.windowModality(), Qt::NonModal);
    // A tool window the window manager keeps above the main window, which owns it.
    EXPECT_EQ(e.windowType(), Qt::Tool);
    f.show();
    ASSERT_NE(e.windowHandle(), nullptr);
    EXPECT_EQ(e.windowHandle()->transientParent(), f.windowHandle());
    e.Zoom = 2;
    f.cmdEditTexture->click();
    EXPECT_EQ(frmTextureMapping::Instance(), &e);
    EXPECT_EQ(e.Zoom, 2.0);
    EXPECT_EQ(f.findChildren<QWidget*>("frmTextureMapping").size(), 1);
}

TEST_F(TextureEditingTest, APolygonSelectionInAViewAndItsUndoResetAndRedrawTheEditor) {
    Form1& f = start();
    frmTextureMapping& e = openEditor();
    dirty(e, firstPoint(pols_[0]), pols_[0]);
    click(pixelOf(20, 20, 100));
    ASSERT_EQ(Globals::NumSelPols, 1);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActSelectPols);
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_EQ(e.TexSelOnly.Count, 0);
    EXPECT_TRUE(painted(e));

    dirty(e, firstPoint(pols_[0]), pols_[0]);
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::NumSelPols, 0);
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_TRUE(painted(e));
}

TEST_F(TextureEditingTest, ClosingTheWorldUnloadsTheEditorAndAClosedEditorIgnoresItsHooks) {
    Form1& f = start();
    frmTextureMapping& e = openEditor();
    f.UnloadWorld();
    EXPECT_FALSE(f.WorldLoaded);
    EXPECT_FALSE(e.Loaded);
    EXPECT_FALSE(e.isVisible());
    EXPECT_FALSE(Globals::IsTextureMappingLoaded());

    e.TexSel.Append(7, 8);
    const auto& hooks = core::windowHooks();
    const int32_t pts[] = {0, 1, 2}, owners[] = {0, 3, 4};
    hooks.textureMappingSetSelPts(pts, owners, 2);
    hooks.textureMappingSetSelPtsPartOfSelPols(pts, owners, 2);
    hooks.textureMappingResetSelections();
    hooks.textureMappingSetupWithNewZoom();
    EXPECT_EQ(e.TexSel.Count, 1);
    EXPECT_EQ(e.TexSelOnly.Count, 0);
    EXPECT_FALSE(painted(e));
}

TEST_F(TextureEditingTest, PlanarMapTakesTheCheckedOptionAndTheOpenEditorShowsIt) {
    Form1& f = start();
    click(pixelOf(20, 20, 100));
    ASSERT_EQ(Globals::NumSelPols, 1);
    const int32_t pol = Globals::SelPols[1];
    frmTextureMapping& e = openEditor();
    dirty(e, firstPoint(pol), pol);
    f.opnNormal[2]->click();
    f.cmdPlanarMap->click();
    // Along Z, a square of side 100 centred on the axis: u from y, v from x.
    std::vector<UV> coords;
    for (int32_t pt = firstPoint(pol); pt; pt = OMBREL_point_get_next_point(pt)) {
        UV uv = {0, 0};
        OMBREL_point_get_bitmap_xy(pt, uv.data());
        double xyz[3];
        OMBREL_point_get_xyz(pt, xyz);
        EXPECT_NEAR(uv[0], (xyz[1] + 50) / 100, 1e-12);
        EXPECT_NEAR(uv[1], (xyz[0] + 50) / 100, 1e-12);
    }
    EXPECT_EQ(e.TexSel.Count, 0);
    EXPECT_TRUE(painted(e));
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActChngTextureCoords);
}

TEST_F(TextureEditingTest, AnErrorInTheEditorIsReportedAndTheProgramGoesOn) {
    start();
    frmTextureMapping& e = openEditor();
    e.TexSel.Append(firstPoint(pols_[0]), pols_[0]);
    // Without its undo history the editor cannot record the selection it changes.
    auto history = Globals::UndoRedoStack;
    Globals::UndoRedoStack.reset();
    int shown = 0;
    platform_.prompts
        .answerWindow<formError>([&](formError& w) {
            ++shown;
            w.cmdQuit->click();
        })
        .answer(platform::MsgResult::No);
    const QPointF at(3, 3);
    QMouseEvent down(QEvent::MouseButtonPress, at, e.PicMain->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, at, e.PicMain->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(e.PicMain, &down);
    QApplication::sendEvent(e.PicMain, &up);
    Globals::UndoRedoStack = history;
    EXPECT_EQ(shown, 1);
    EXPECT_NE(Globals::LastErrDescription.find("undo history"), std::string::npos);
    EXPECT_TRUE(e.Loaded);
    EXPECT_FALSE(form().QuitFlag);
}
