// The editor with a new world and the tracks a test lays out in the z = 0 plane,
// seen from above through the top view: selecting a track as its tree node does,
// point editing on the camera page, clicks, bands and handle drags in the view,
// and the newest record of the history.
#pragma once

#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/SelectionCentres.h"
#include "core/SelectionChange.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "transform/TransformGizmo.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "views/PicWindow.h"
#include "views/ViewRedraw.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

class TrackWorldTest : public EditorFixture {
protected:
    using Pixel = std::array<int32_t, 2>;
    using P3 = std::array<double, 3>;
    static constexpr int kView = 0;  // the top view
    static constexpr int kLeft = 1, kRight = 2;

    Form1& start() {
        Form1& f = StartEditor();
        OpenEmptyWorld();
        QApplication::processEvents();
        f.PicBoxFocused = kView;
        return f;
    }

    // A saved track, as a world file brings one.
    static int32_t makeTrack(const std::vector<P3>& points, bool cyclic, const char* name = "Patrol") {
        std::vector<double> flat;
        for (const P3& p : points) flat.insert(flat.end(), p.begin(), p.end());
        const int32_t t = OMBREL_track_create(name, cyclic ? 1 : 0, flat.data(), static_cast<int32_t>(points.size()));
        OMBREL_track_set_save_flag(t, 1);
        return t;
    }
    // A square floor polygon of the given half size in z = 0, facing the top
    // view, with its node in the group tree.
    int32_t makeFloor(double half) {
        const int32_t g = MakeGroup("floor", Globals::RootGrp);
        MakePolygon(g, {{-half, -half}, {-half, half}, {half, half}, {half, -half}});
        form().trwGroupView_Populate();
        return g;
    }

    // The tree rebuilt, then a left click on the track's node.
    void selectTrack(int32_t track) {
        Form1& f = form();
        f.trwCamTrackBK_Populate();
        QTreeWidgetItem* node = f.trwCamTrackBK->Item(KeyedTree::NodeKey("Track", track));
        ASSERT_NE(node, nullptr);
        f.trwCamTrackBK->SetSelectedItem(node);
        f.CamTrkBkMouseButton = 1;
        f.trwCamTrackBK_NodeClick(node);
        ASSERT_EQ(Globals::CurrSelEntityType, SelTrack);
        ASSERT_EQ(Globals::CurrSelEntityHandle, track);
    }
    // The camera page with cmbTrackPoint on "Point" (or "Track").
    void editPoints(const char* mode = "Point") {
        form().tabWorkspace->setCurrentIndex(2);
        form().cmbTrackPoint->setCurrentText(mode);
    }

    // The pixel of the world point in a view.
    Pixel pixelOf(const P3& p, int view = kView) {
        Form1& f = form();
        const auto v = static_cast<std::size_t>(view);
        OMBREL_camera_set_current(Globals::ViewCams[v]->lngSceneCamera, f.picWindow[v]->hWnd());
        Pixel px = {0, 0};
        EXPECT_EQ(OMBREL_engine_3D_point_to_2D(p.data(), px.data()), 0);
        OMBREL_camera_set_current(Globals::ViewCams[static_cast<std::size_t>(f.PicBoxFocused)]->lngSceneCamera,
                                  f.picWindow[static_cast<std::size_t>(f.PicBoxFocused)]->hWnd());
        return px;
    }
    static Pixel between(const Pixel& a, const Pixel& b, double t) {
        return {static_cast<int32_t>(std::lround(a[0] + t * (b[0] - a[0]))),
                static_cast<int32_t>(std::lround(a[1] + t * (b[1] - a[1])))};
    }

    // A press and release with the keys held.
    void click(const Pixel& at, std::vector<int> keys = {}, int button = kLeft) {
        platform::clearKeyState();
        for (int k : keys) platform::setKeyHeld(k, true);
        const auto x = static_cast<float>(at[0]), y = static_cast<float>(at[1]);
        form().picWindow_MouseDown(kView, button, 0, x, y);
        form().picWindow_MouseUp(kView, button, 0, x, y);
        platform::clearKeyState();
    }
    // A rubber band from one pixel to another, a few moves on the way.
    void band(const Pixel& from, const Pixel& to, std::vector<int> keys = {}) {
        platform::clearKeyState();
        for (int k : keys) platform::setKeyHeld(k, true);
        Form1& f = form();
        f.picWindow_MouseDown(kView, kLeft, 0, static_cast<float>(from[0]), static_cast<float>(from[1]));
        for (int step = 1; step <= 3; ++step) {
            const Pixel at = between(from, to, step / 3.0);
            f.picWindow_MouseMove(kView, kLeft, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        }
        f.picWindow_MouseUp(kView, kLeft, 0, static_cast<float>(to[0]), static_cast<float>(to[1]));
        platform::clearKeyState();
    }
    // A left drag of the view's handle, the pointer on the screen following.
    void handleDrag(const Pixel& from, const Pixel& to) {
        Form1& f = form();
        platform::clearKeyState();
        platform::setKeyHeld(platform::vk::LButton, true);
        platform_.cursor.follow({from[0], from[1]});
        f.picWindow_MouseDown(kView, kLeft, 0, static_cast<float>(from[0]), static_cast<float>(from[1]));
        for (int i = 0; i <= 8; ++i) {
            const Pixel at = between(from, to, i / 8.0);
            platform_.cursor.follow({at[0], at[1]});
            f.picWindow_MouseMove(kView, kLeft, 0, static_cast<float>(at[0]), static_cast<float>(at[1]));
        }
        platform::setKeyHeld(platform::vk::LButton, false);
        f.picWindow_MouseUp(kView, kLeft, 0, static_cast<float>(to[0]), static_cast<float>(to[1]));
    }
    // The longest axis of the view's handle on the screen and a pixel part way along it.
    Pixel alongLongestAxis(double t) {
        const TransformGizmo& g = *form().ViewGizmos[kView];
        int best = 0;
        double length = -1;
        for (int axis = 0; axis < 3; ++axis) {
            const PixelPt& e = g.AxisEnd2D(axis);
            const double l = std::hypot(e[0] - g.Center2DPx()[0], e[1] - g.Center2DPx()[1]);
            if (l > length) length = l, best = axis;
        }
        const PixelPt& c = g.Center2DPx();
        return between({c[0], c[1]}, {g.AxisEnd2D(best)[0], g.AxisEnd2D(best)[1]}, t);
    }

    static std::vector<int32_t> selectedPts() {
        return {Globals::SelTrkPts.begin() + 1, Globals::SelTrkPts.begin() + 1 + Globals::NumSelTrkPts};
    }
    static std::vector<P3> pointsOf(int32_t track) {
        std::vector<P3> out(static_cast<std::size_t>(OMBREL_track_get_number_of_points(track)));
        for (std::size_t i = 0; i < out.size(); ++i) OMBREL_track_get_point(track, static_cast<int32_t>(i), out[i].data());
        return out;
    }
    static bool near(const P3& a, const P3& b, double tolerance) {
        return std::abs(a[0] - b[0]) <= tolerance && std::abs(a[1] - b[1]) <= tolerance &&
               std::abs(a[2] - b[2]) <= tolerance;
    }

    // A record without an action: the newest until a command pushes its own.
    static void pushMarker() {
        auto r = std::make_unique<ActionUndoRedo>();
        r->ActionType = ActSelect;
        Globals::UndoRedoStack->Push(std::move(r));
    }
    static int32_t newestType() {
        const ActionUndoRedo* r = Globals::UndoRedoStack->Retrive();
        return r ? r->ActionType : 0;
    }
    static bool alive(int32_t handle) { return OMBREL_ext_handle_kind(handle) != 0; }
};
