// The undo fixture plus what the transform tools draw and project with: one view
// (an engine camera looking at the origin from above and aside, a registered
// buffer with its device context and transient layer), the overlay pens, the
// views' hooks, and helpers that drive a view's handle as the mouse would and
// the numeric dialog as the keyboard would.
#pragma once

#include "undo_fixture.h"

#include "transform/TransformGizmo.h"
#include "transform/TransformHooks.h"
#include "transform/frmTransformParameters.h"

#include "core/ViewHooks.h"
#include "core/myLine.h"
#include "platform/cursor.h"
#include "platform/device_context.h"
#include "platform/doubles/test_application.h"
#include "platform/gdi.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

class TransformFixture : public UndoFixture {
protected:
    static constexpr int kW = 640, kH = 480;

    void SetUp() override {
        platform::doubles::testApplication();
        UndoFixture::SetUp();
        QLocale::setDefault(QLocale::c());
        buffer_.assign(kW * kH * 4, 0);
        surface_ = OMBREL_ext_surface_attach(buffer_.data(), kW, kH, kW * 4);
        ASSERT_NE(surface_, 0);
        camera_ = OMBREL_camera_create("view");
        OMBREL_camera_set_location(camera_, -30, -50, 40);
        OMBREL_camera_set_direction(camera_, 30, 50, -40);
        OMBREL_camera_set_zoom(camera_, 60);
        OMBREL_camera_set_distance_from_eye(camera_, 1);
        dc_ = std::make_unique<platform::DeviceContext>(buffer_.data(), kW, kH, kW * 4);
        layer_.resize(kW, kH);
        Globals::CreateOverlayPens();
        Globals::OverlayDC = dc_.get();
        Globals::OverlayLine = std::make_shared<myLine>();
        Globals::CurrToolMode = ToolMove;
        auto& t = transform::transformHooks();
        t.viewWindow = [this](int) { return surface_; };
        t.viewTransientLayer = [this](int) { return &layer_; };
        t.transientLayerChanged = [this](int) { window.calls.push_back("TransientShown"); };
        t.trackPointText = [this] { return trackPoint; };
        core::viewHooks().updateCamerasSingle = [this](int) { window.calls.push_back("UpdateCamerasSingle"); };
        gizmo = std::make_unique<TransformGizmo>(0);
    }

    void TearDown() override {
        gizmo.reset();
        platform::setKeyHeld(platform::vk::LButton, false);
        transform::transformHooks() = {};
        core::viewHooks() = {};
        Globals::DeleteOverlayPens();
        Globals::OverlayDC = nullptr;
        Globals::OverlayLine.reset();
        Globals::CurrToolMode = ToolSelect;
        if (surface_) OMBREL_ext_surface_destroy(surface_);
        UndoFixture::TearDown();
        QLocale::setDefault(QLocale::c());
    }

    // The repaint's draw: places the handle and draws it on the view buffer.
    void drawHandle() { gizmo->Draw(Globals::CurrSelEntityHandle, camera_, false); }

    // A point on the axis line, the fraction t of the way from the centre.
    PixelPt onAxis(int axis, double t) const {
        const PixelPt& c = gizmo->Center2DPx();
        const PixelPt& e = gizmo->AxisEnd2D(axis);
        return {static_cast<int32_t>(std::lround(c[0] + t * (e[0] - c[0]))),
                static_cast<int32_t>(std::lround(c[1] + t * (e[1] - c[1])))};
    }

    void moveMouse(int16_t button, PixelPt p) {
        platform::cursor().follow({p[0], p[1]});  // the view sits at the screen's origin
        gizmo->MouseMove(button, static_cast<float>(p[0]), static_cast<float>(p[1]));
    }

    // Hover at 60 % of the line, then press there.
    void pressOn(int axis) {
        drawHandle();
        const PixelPt at = onAxis(axis, 0.6);
        moveMouse(0, at);
        ASSERT_EQ(gizmo->TransformationPossible, Globals::CurrToolMode == ToolScale && platform::isKeyHeld(platform::vk::Shift) ? 3 : axis);
        platform::setKeyHeld(platform::vk::LButton, true);
        gizmo->MouseDown(1, static_cast<float>(at[0]), static_cast<float>(at[1]));
        pressAt_ = at;
    }

    // Moves the pressed mouse by pixels along the line in hand, in steps of 5,
    // positive towards the line's end; the mouse's first move fixes the start.
    void dragAlong(int axis, double pixels) {
        const PixelPt& c = gizmo->Center2DPx();
        const PixelPt& e = gizmo->AxisEnd2D(axis);
        const double len = std::hypot(e[0] - c[0], e[1] - c[1]);
        const double ux = (e[0] - c[0]) / len, uy = (e[1] - c[1]) / len;
        moveMouse(1, pressAt_);
        const int steps = static_cast<int>(std::ceil(std::fabs(pixels) / 5));
        for (int i = 1; i <= steps; ++i) {
            const double s = pixels * i / steps;
            moveMouse(1, {static_cast<int32_t>(std::lround(pressAt_[0] + s * ux)),
                          static_cast<int32_t>(std::lround(pressAt_[1] + s * uy))});
        }
    }

    void release() {
        platform::setKeyHeld(platform::vk::LButton, false);
        gizmo->MouseUp(1, static_cast<float>(pressAt_[0]), static_cast<float>(pressAt_[1]));
    }

    void dragHandle(int axis, double pixels) {
        pressOn(axis);
        dragAlong(axis, pixels);
        release();
    }

    // Opens the numeric dialog for the tool as the toolbar does and lets act use it.
    void runDialog(int tool, const std::function<void(frmTransformParameters&)>& act) {
        Globals::CurrToolMode = tool;
        platform_.prompts.answerWindow<frmTransformParameters>([&](frmTransformParameters& d) {
            ASSERT_TRUE(d.IsFormLoaded());
            act(d);
        });
        transform::OpenTransformDialog(nullptr, tool - ToolMove);
    }

    static void typeAndEnter(QLineEdit* field, const char* text) {
        field->setText(QString::fromUtf8(text));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
    }

    // The world as its file holds it, byte for byte. The file goes to a folder of
    // this run's own: CTest runs the whole program beside its single tests.
    std::string saved() const {
        EXPECT_TRUE(saveFolder_.isValid());
        const std::string file = (std::filesystem::path(saveFolder_.path().toStdString()) / "saved.world").string();
        EXPECT_EQ(OMBREL_engine_save(file.c_str(), Globals::RootGrp, 0x1203), 0) << OMBREL_ext_get_last_error();
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // One world length of the line per 50 pixels along its image.
    double worldPerPixel() const { return gizmo->Size() / 50; }

    int records() const {
        int n = 0;
        while (Globals::UndoRedoStack->Pop()) ++n;
        for (int i = 0; i < n; ++i) Globals::UndoRedoStack->GetRedoObj();
        return n;
    }

    static Point3d location(int32_t g) {
        Point3d p = {0, 0, 0};
        OMBREL_group_get_location(g, &p[0], &p[1], &p[2]);
        return p;
    }

    static std::vector<double> pointsOfGroup(int32_t g) {
        std::vector<double> v;
        for (int32_t pol : polygonsOf(g))
            for (int32_t pt : pointsOf(pol)) {
                double xyz[3];
                OMBREL_point_get_xyz(pt, xyz);
                v.insert(v.end(), xyz, xyz + 3);
            }
        return v;
    }

    static void expectNear(const std::vector<double>& a, const std::vector<double>& b, double tol = 1e-9) {
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], tol) << "at " << i;
    }

    std::vector<uint8_t> buffer_;
    int32_t surface_ = 0, camera_ = 0;
    std::unique_ptr<platform::DeviceContext> dc_;
    platform::TransientLayer layer_;
    std::string trackPoint = "Track";
    std::unique_ptr<TransformGizmo> gizmo;
    PixelPt pressAt_ = {0, 0};
    QTemporaryDir saveFolder_;
};
