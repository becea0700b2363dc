// The selection box after every edit of a group's points or polygons, and after
// each Undo and Redo of one: its corners are the group's box in the engine, the
// handle stands on the selection's centre, and Fit All frames the new shape.
#include "EditorFixture.h"
#include "ViewSpread.h"

#include "core/BoundingBox.h"
#include "core/Camera.h"
#include "core/Globals.h"
#include "core/SelectionCentres.h"
#include "core/WeldedPointsProcedures.h"
#include "ombrel.h"
#include "transform/frmTransformParameters.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace Globals;
using Box = std::array<double, 6>;

constexpr int kFitView = 2;

void typeAndEnter(QLineEdit* field, const char* text) {
    field->setText(QString::fromUtf8(text));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
}

Box engineBox(int32_t group) {
    Box b{};
    OMBREL_group_get_bounding_box(group, b.data());
    return b;
}

// The box the views draw, as world minimum and maximum.
Box drawnBox() {
    Box b = {INFINITY, INFINITY, INFINITY, -INFINITY, -INFINITY, -INFINITY};
    for (int i = 0; i < 8; ++i) {
        const Point3d c = SelGrpBndBox->WorldCorner(i);
        for (std::size_t k = 0; k < 3; ++k) {
            b[k] = std::min(b[k], c[k]);
            b[k + 3] = std::max(b[k + 3], c[k]);
        }
    }
    return b;
}

class GeometryEditBoxTest : public EditorFixture {
protected:
    Form1& start() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        f.mnuBox->trigger();  // a cube of 100 about the origin, selected
        box_ = CurrSelEntityHandle;
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("Edit Geometry");
        editPolygons();
        return f;
    }

    void editPolygons() { form().cmbObjEditGeom->setCurrentText("Polygon"); }
    void editPoints() { form().cmbObjEditGeom->setCurrentText("Point"); }

    // The polygons of the group whose points all lie at the largest (or smallest) z.
    std::vector<int32_t> facesAt(bool top) {
        const int32_t g = CurrSelEntityHandle;
        const Box b = engineBox(g);
        const double z = top ? b[5] : b[2];
        std::vector<int32_t> out;
        for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p)) {
            bool all = true;
            for (int32_t pt = OMBREL_polygon_get_first_point(p); pt; pt = OMBREL_point_get_next_point(pt)) {
                double v[3];
                OMBREL_point_get_xyz(pt, v);
                all = all && std::fabs(v[2] - z) < 1e-6;
            }
            if (all) out.push_back(p);
        }
        return out;
    }
    // The polygon that holds the group's highest point.
    int32_t highestPolygon() {
        const int32_t g = CurrSelEntityHandle;
        int32_t best = 0;
        double top = -INFINITY;
        for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p))
            for (int32_t pt = OMBREL_polygon_get_first_point(p); pt; pt = OMBREL_point_get_next_point(pt)) {
                double v[3];
                OMBREL_point_get_xyz(pt, v);
                if (v[2] > top) top = v[2], best = p;
            }
        return best;
    }
    void selectPolygons(const std::vector<int32_t>& pols) {
        BuildWeldedPoints(CurrSelEntityHandle);
        NumSelPols = 0;
        for (int32_t p : pols) SelPols[++NumSelPols] = p;
        UpdateSelPolsRelatedPtsArray();
        ComputeSelPolsAvgCenter();
    }
    // The n highest points of the group.
    void selectTopPoints(int n) {
        const int32_t g = CurrSelEntityHandle;
        std::vector<std::pair<double, int32_t>> byHeight;
        for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p))
            for (int32_t pt = OMBREL_polygon_get_first_point(p); pt; pt = OMBREL_point_get_next_point(pt)) {
                double v[3];
                OMBREL_point_get_xyz(pt, v);
                byHeight.emplace_back(-v[2], pt);
            }
        std::sort(byHeight.begin(), byHeight.end());
        NumSelPts = 0;
        for (int i = 0; i < n; ++i) SelPts[++NumSelPts] = byHeight.at(static_cast<std::size_t>(i)).second;
        ComputeSelPtsAvgCenter();
    }

    void numeric(int32_t tool, const std::function<void(frmTransformParameters&)>& act) {
        CurrToolMode = tool;
        platform_.prompts.answerWindow<frmTransformParameters>([&](frmTransformParameters& d) { act(d); });
        transform::OpenTransformDialog(&form(), tool - ToolMove);
    }

    // How much of the fitted view the box fills.
    double spread(const Box& b) { return ViewSpread(*form().picWindow[kFitView], kFitView, b.data()); }

    void expectBoxFollows(const std::string& when) {
        SCOPED_TRACE(when);
        ASSERT_EQ(CurrSelEntityType, SelGroup);
        const int32_t g = CurrSelEntityHandle;
        const Box want = engineBox(g);
        EXPECT_EQ(SelGrpBndBox->Group(), g);
        const Box drawn = drawnBox();
        for (std::size_t k = 0; k < 6; ++k) EXPECT_NEAR(drawn[k], want[k], 1e-6) << "coordinate " << k;

        // The handle stands where the centre of what is edited is now.
        const Point3d pols = SelPolsAvgCenter, pts = SelPtsAvgCenter;
        const bool points = form().cmbObjEditGeom->currentText() == "Point";
        if (!points && NumSelPols > 0) {
            ComputeSelPolsAvgCenter();
            for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(pols[k], SelPolsAvgCenter[k], 1e-9);
        }
        if (points && NumSelPts > 0) {
            ComputeSelPtsAvgCenter();
            for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(pts[k], SelPtsAvgCenter[k], 1e-9);
        }

        const double worldSize = WorldSize;
        form().ZoomExtent(kFitView);
        const double s = spread(want);
        EXPECT_LT(s, 1.0);
        EXPECT_GT(s, 0.2);
        EXPECT_EQ(WorldSize, worldSize);
    }

    int32_t box_ = 0;
};

}  // namespace

TEST_F(GeometryEditBoxTest, TheSelectionBoxAndFitAllFollowEveryEditAndItsUndoAndRedo) {
    Form1& f = start();
    auto move = [](frmTransformParameters& d) { typeAndEnter(d.txtOffset[2], "15"); };
    auto turn = [](frmTransformParameters& d) { typeAndEnter(d.txtWRotate[0], "30"); };
    auto grow = [](frmTransformParameters& d) {
        d.txtWScale[0]->setText("2");
        d.txtWScale[1]->setText("1.5");
        typeAndEnter(d.txtWScale[2], "3");
    };
    struct Case {
        const char* name;
        std::function<void()> edit;
    };
    // Each edit works on what the ones before it left.
    const std::vector<Case> cases = {
        {"extrude the top by 20",
         [&] {
             selectPolygons(facesAt(true));
             typeAndEnter(f.txtExtBvl[0], "20");
         }},
        {"bevel the cap by 1.5", [&] { typeAndEnter(f.txtExtBvl[1], "1.5"); }},
        {"move the cap", [&] { numeric(ToolMove, move); }},
        {"turn the cap", [&] { numeric(ToolRotate, turn); }},
        {"scale the cap", [&] { numeric(ToolScale, grow); }},
        {"move a point",
         [&] {
             editPoints();
             selectTopPoints(1);
             numeric(ToolMove, move);
         }},
        {"turn two points", [&] {
             selectTopPoints(2);
             numeric(ToolRotate, turn);
         }},
        {"scale two points", [&] { numeric(ToolScale, grow); }},
        {"flip the bottom",
         [&] {
             editPolygons();
             selectPolygons(facesAt(false));
             f.cmdFlipPol_Click();
         }},
        {"planar mapping", [&] { f.cmdPlanarMap_Click(); }},
        {"delete the highest", [&] {
             selectPolygons({highestPolygon()});
             f.cmdDeletePol_Click();
         }},
        {"triangulate", [&] { f.cmdTriangulate_Click(); }},
        {"reduce",
         [&] {
             platform_.prompts.answerInput("1");
             f.cmdReducePols_Click();
         }},
        {"detach the bottom",
         [&] {
             editPolygons();
             selectPolygons(facesAt(false));
             platform_.prompts.answerInput("floor");
             f.cmdDetachPols_Click();
         }},
    };
    expectBoxFollows("the new box");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ActionUndoRedo* last = UndoRedoStack->Retrive();
        c.edit();
        ASSERT_EQ(LastErrDescription, "");
        ASSERT_NE(UndoRedoStack->Retrive(), last) << "the edit made no record";
        expectBoxFollows("after the edit");
        f.mnuUndo_Click();
        expectBoxFollows("after Undo");
        f.mnuRedo_Click();
        expectBoxFollows("after Redo");
    }
}
