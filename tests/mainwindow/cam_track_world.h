// The editor on the camera, track and background page with a new world the test
// fills, the mouse on the tree's nodes and on the views' labels as the user uses
// them, and the views' pictures read back.
#pragma once

#include "scene_world.h"

#include "../ombrel3/bmp_writer.h"

#include "core/Camera.h"
#include "core/EntityProcedures.h"
#include "platform/NumericField.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>

#include <array>
#include <cmath>
#include <string>
#include <vector>

class CamTrackWorldTest : public SceneWorldTest {
protected:
    Form1& startOnCameraPage() {
        Form1& f = start();
        f.tabWorkspace->setCurrentIndex(2);
        return f;
    }

    // A track of the points (x, y, z in a row), saved with the world.
    static int32_t track(const std::string& name, const std::vector<double>& points) {
        return OMBREL_track_create(name.c_str(), 0, points.data(), static_cast<int32_t>(points.size() / 3));
    }
    // A background showing a bitmap of one colour, lit fully from its bottom up.
    int32_t background(const std::string& name, TestRgb colour) {
        const std::string file = tempPath(name + ".bmp");
        writeBmp24(file, 2, 2, {colour, colour, colour, colour});
        const int32_t b = OMBREL_background_create(name.c_str(), OMBREL_bitmap_load(file.c_str(), -1));
        OMBREL_background_set_bottom_intensity(b, 1);
        return b;
    }
    static int32_t cameraAt(const std::string& name, const Point3d& at, const Point3d& direction) {
        const int32_t c = camera(name);
        OMBREL_camera_set_location1(c, at.data());
        OMBREL_camera_set_direction1(c, direction.data());
        return c;
    }

    static std::string trackKey(int32_t t) { return KeyedTree::NodeKey("Track", t); }
    static std::string backgroundKey(int32_t b) { return KeyedTree::NodeKey("Background", b); }
    QTreeWidgetItem* node(const std::string& key) { return form().trwCamTrackBK->Item(key); }

    // A press and a release of the button over the node's row, as the tree's
    // viewport gets them.
    void clickNode(const std::string& key, Qt::MouseButton button = Qt::LeftButton) {
        KeyedTree& tree = *form().trwCamTrackBK;
        tree.show();
        QTreeWidgetItem* item = tree.Item(key);
        tree.EnsureVisible(item);
        const QPointF at = tree.visualItemRect(item).center();
        ASSERT_FALSE(at.isNull());
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, tree.viewport()->mapToGlobal(at), button,
                          type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(tree.viewport(), &e);
        }
    }
    // A right click on the node; the menu pops up and the script chooses ("" dismisses it).
    std::vector<std::string> rightClickNode(const std::string& key, const std::string& choice = "") {
        platform_.prompts.answerMenu(choice);
        clickNode(key, Qt::RightButton);
        return platform_.prompts.shown().back().items;
    }
    // A button released over a view's label.
    void releaseOnLabel(int view, Qt::MouseButton button = Qt::LeftButton) {
        QLabel* label = form().lblPicView[static_cast<std::size_t>(view)];
        const QPointF at(3, 3);
        QMouseEvent e(QEvent::MouseButtonRelease, at, label->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &e);
    }

    static Camera& viewCam(int view) { return *Globals::ViewCams[static_cast<std::size_t>(view)]; }
    std::string label(int view) { return form().lblPicView[static_cast<std::size_t>(view)]->text().toStdString(); }
    std::string toolTip(int view) {
        return form().lblPicView[static_cast<std::size_t>(view)]->toolTip().toStdString();
    }

    // Where the point shows in the view when the engine camera looks into it.
    std::array<double, 2> project(int view, int32_t engineCamera, const Point3d& p) {
        OMBREL_camera_set_current(engineCamera, form().picWindow[static_cast<std::size_t>(view)]->hWnd());
        int32_t px[2] = {0, 0};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p.data(), px), 0);
        return {static_cast<double>(px[0]), static_cast<double>(px[1])};
    }
    // The view's picture after a redraw of it alone.
    QColor pixel(int view, int x, int y) {
        UpdateCamerasSingle(view);
        return form().picWindow[static_cast<std::size_t>(view)]->buffer().pixelColor(x, y);
    }

    // Types the text into a field and presses Enter there.
    static void enter(QLineEdit* field, const QString& text) {
        field->setText(text);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(field, &key);
    }
    // Types the text and leaves the field.
    static void typeAndLeave(QLineEdit* field, const QString& text) {
        field->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
    static double number(const QLineEdit* field) {
        double v = 0;
        EXPECT_TRUE(platform::ReadNumber(field->text(), v)) << field->text().toStdString();
        return v;
    }
};
