// The workspace on the smallest window the editor is made for (800 by 600): every
// page keeps each of its controls at least at its least size, inside content a
// user can scroll to, with no control over another.
#include "cam_track_world.h"

#include "core/Globals.h"
#include "platform/NumericField.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>

#include <functional>
#include <string>
#include <vector>

namespace {

// A widget a user reads or works; its inner parts are its own affair.
bool isControl(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const platform::UpDown*>(w);
}

// What a layout must give the widget: a least size set on it, else its hint.
QSize leastSize(const QWidget& w) {
    const QSize hint = w.minimumSizeHint().expandedTo({0, 0});
    return {w.minimumWidth() > 0 ? w.minimumWidth() : hint.width(),
            w.minimumHeight() > 0 ? w.minimumHeight() : hint.height()};
}

std::string nameOf(const QWidget* w) {
    QString name = w->objectName();
    if (const auto* label = qobject_cast<const QLabel*>(w)) name += " \"" + label->text() + "\"";
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) name += " \"" + button->text() + "\"";
    if (const auto* box = qobject_cast<const QGroupBox*>(w)) name += " \"" + box->title() + "\"";
    return (QString(w->metaObject()->className()) + " " + name).toStdString();
}

struct Placed {
    const QWidget* widget;
    const QWidget* content;  // the scrolled content it lies in
    QRect rect;              // in the content's coordinates
};

class SmallWindowTest : public CamTrackWorldTest {
protected:
    // Every shown widget below the content: each at its least size or more, inside
    // the content; the controls among them collected with their places.
    void walk(const QWidget* content, const QWidget* w, std::vector<Placed>& controls) {
        for (const QObject* child : w->children()) {
            const auto* c = qobject_cast<const QWidget*>(child);
            if (!c || !c->isVisible() || c->isWindow()) continue;
            SCOPED_TRACE(nameOf(c));
            const QSize least = leastSize(*c);
            EXPECT_GE(c->height(), least.height());
            EXPECT_GE(c->width(), least.width());
            const QRect rect(c->mapTo(content, QPoint(0, 0)), c->size());
            EXPECT_TRUE(content->rect().contains(rect))
                << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
            if (const auto* area = qobject_cast<const QScrollArea*>(c)) {
                expectReachable(*area);
                walk(area->widget(), area->widget(), controls);
            } else if (const auto* bar = qobject_cast<const QToolBar*>(c)) {
                // Every button of a toolbar is on it, none in its overflow menu.
                for (QAction* action : bar->actions()) {
                    if (action->isSeparator() || !action->isVisible()) continue;
                    const QWidget* button = bar->widgetForAction(action);
                    EXPECT_TRUE(button && button->isVisible()) << action->text().toStdString();
                }
                walk(content, c, controls);
            } else if (isControl(c)) {
                controls.push_back({c, content, rect});
            } else {
                walk(content, c, controls);
            }
        }
    }

    // Content taller or wider than the area's window has the bar to get there.
    static void expectReachable(const QScrollArea& area) {
        const QWidget* content = area.widget();
        ASSERT_NE(content, nullptr);
        const QSize window = area.viewport()->size();
        if (content->height() > window.height()) {
            EXPECT_NE(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << area.objectName().toStdString();
            EXPECT_TRUE(area.verticalScrollBar()->isVisible()) << area.objectName().toStdString();
        }
        if (content->width() > window.width()) {
            EXPECT_NE(area.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff) << area.objectName().toStdString();
            EXPECT_TRUE(area.horizontalScrollBar()->isVisible()) << area.objectName().toStdString();
        }
    }

    // The shown page is scrolled content; what it holds fits as above, and no two
    // controls of one content share a pixel.
    void expectPageFits() {
        Form1& f = form();
        const auto* page = qobject_cast<const QScrollArea*>(f.tabWorkspace->currentWidget());
        ASSERT_NE(page, nullptr) << "the page does not scroll";
        const QWidget* content = page->widget();
        ASSERT_NE(content, nullptr);
        EXPECT_GE(content->height(), leastSize(*content).height());
        expectReachable(*page);
        // The panel is as wide as every page: nothing to scroll sideways to.
        EXPECT_FALSE(page->horizontalScrollBar()->isVisible());
        std::vector<Placed> controls;
        walk(content, content, controls);
        ASSERT_FALSE(controls.empty());
        for (std::size_t i = 0; i < controls.size(); ++i)
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                const Placed& a = controls[i];
                const Placed& b = controls[j];
                if (a.content != b.content) continue;
                EXPECT_FALSE(a.rect.intersects(b.rect)) << nameOf(a.widget) << " over " << nameOf(b.widget);
            }
    }

    void editPage(const QString& mode, const QString& subMode = "") {
        Form1& f = form();
        f.trwGroupView_NodeClick(f.trwGroupView->Item(KeyedTree::NodeKey("Group", box_)));
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText(mode);
        if (!subMode.isEmpty()) f.cmbObjEditGeom->setCurrentText(subMode);
    }

    int32_t box_ = 0;
};

TEST_F(SmallWindowTest, EveryPageFitsAnEightHundredBySixHundredWindow) {
    Form1& f = StartEditor();
    box_ = OpenSmallWorld();
    const int32_t cam = cameraAt("Cam01", {10, 20, 30}, {1, 0, 0});
    const int32_t trk = track("Trk01", {0, 0, 0, 100, 0, 0, 100, 100, 0});
    const int32_t bkg = background("Bkg01", {10, 20, 30});
    const int32_t light = OMBREL_light_create("Light01", Point3d{0, 0, 0}.data());
    rebuildTrees();
    f.resize(800, 600);
    f.show();
    QApplication::processEvents();
    ASSERT_EQ(f.height(), 600);

    const struct {
        const char* page;
        std::function<void()> show;
        const QWidget* shown;  // what the case is about
    } cases[] = {
        {"groups", [&] { f.tabWorkspace->setCurrentIndex(0); }, f.trwGroupView},
        {"create panel", [&] { editPage("New Object"); }, f.frmNewObj},
        {"edit geometry, points", [&] { editPage("Edit Geometry", "Point"); }, f.frmEditGeomPoint},
        {"edit geometry, polygons", [&] { editPage("Edit Geometry", "Polygon"); }, f.frmEditGeomPolygon},
        {"edit texture", [&] { editPage("Edit Texture"); }, f.frmEditTexture},
        {"camera",
         [&] {
             f.tabWorkspace->setCurrentIndex(2);
             clickNode(cameraKey(cam));
         },
         f.frmCam},
        {"track",
         [&] {
             f.tabWorkspace->setCurrentIndex(2);
             clickNode(trackKey(trk));
         },
         f.frmTrack},
        {"track points",
         [&] {
             f.tabWorkspace->setCurrentIndex(2);
             clickNode(trackKey(trk));
             f.cmbTrackPoint->setCurrentText("Point");
         },
         f.frmTrackPoint},
        {"background",
         [&] {
             f.tabWorkspace->setCurrentIndex(2);
             clickNode(backgroundKey(bkg));
         },
         f.frmBackground},
        {"textures", [&] { f.tabWorkspace->setCurrentIndex(3); }, f.trwTextures},
        {"model gallery", [&] { f.tabWorkspace->setCurrentIndex(4); }, f.frmModelPreview},
        {"light",
         [&] {
             f.tabWorkspace->setCurrentIndex(5);
             f.trwLight_NodeClick(f.trwLight->Item(KeyedTree::NodeKey("Light", light)));
         },
         f.frmLight},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        c.show();
        QApplication::processEvents();
        ASSERT_TRUE(c.shown->isVisible());
        expectPageFits();
    }
    // The polygon tools are there to use: Extrude, Bevel and Cut.
    editPage("Edit Geometry", "Polygon");
    QApplication::processEvents();
    for (const platform::NumericField* field : f.fldExtBvl) {
        EXPECT_TRUE(field->text()->isVisible());
        EXPECT_GE(field->text()->height(), field->text()->minimumSizeHint().height());
    }
    ASSERT_NE(f.tlbrCut, nullptr);
    EXPECT_TRUE(f.tlbrCut->widgetForAction(f.tlbrCut->actions().value(0))->isVisible());
}

}  // namespace
