// The view menu: a mouse button released on a view's label makes that view a top,
// bottom, left, right, front, back or perspective view of the world, or a view
// through one of the world's cameras. A view records the world camera it looks
// through by handle; its label then reads "Camera" with the camera's name as its
// tool tip, and any other caption detaches it.
#include "Form1.h"
#include "ModelGalleryInput.h"

#include "core/Camera.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/SyncViewWithCamera.h"
#include "core/ViewHooks.h"
#include "core/WindowHooks.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "scene/formSelectionWindow.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kCameraCaption = "Camera";

// The view types' captions, by ViewType.
constexpr const char* kCaptions[] = {"Top", "Bottom", "Left", "Right", "Front", "Back", "Perspective"};

Camera& viewCamera(int view) {
    auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(view));
    if (!camera) throw platform::EditorError("The view has no camera");
    return *camera;
}

// Whether the view still shows the free view captured: not navigated, reset or
// switched since. Redraws recompute the camera from its orbit, so only rounding
// may differ.
bool showsFreeView(const Camera& viewCam, const std::string& caption, const views::FreeView& view) {
    const views::FreeView now = views::CaptureFreeView(viewCam, caption);
    const auto near = [](double a, double b) {
        return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
    };
    const auto same = [&](const Point3d& a, const Point3d& b) {
        return near(a[0], b[0]) && near(a[1], b[1]) && near(a[2], b[2]);
    };
    const Camera& a = now.camera;
    const Camera& b = view.camera;
    return now.caption == view.caption && same(now.a1, view.a1) && same(now.a2, view.a2) &&
           same(now.a3, view.a3) && near(now.zoom, view.zoom) && near(now.eyeDistance, view.eyeDistance) &&
           same(a.LookAt(), b.LookAt()) && near(a.HorizontalAngle(), b.HorizontalAngle()) &&
           near(a.VerticalAngle(), b.VerticalAngle()) && near(a.HorizontalOffset(), b.HorizontalOffset()) &&
           near(a.VerticalOffset(), b.VerticalOffset()) && near(a.dblViewingDistance, b.dblViewingDistance) &&
           near(a.RollAngle, b.RollAngle);
}

}  // namespace

void Form1::buildViewMenu() {
    struct Item {
        QAction*& action;
        const char* name;
        const char* caption;
        int32_t type;
    };
    const Item items[] = {
        {mnuWinViewTop, "mnuWinViewTop", "&Top", ViewTop},
        {mnuWinViewsBottom, "mnuWinViewsBottom", "&Bottom", ViewBottom},
        {mnuWinViewLeft, "mnuWinViewLeft", "&Left", ViewLeft},
        {mnuWinViewRight, "mnuWinViewRight", "&Right", ViewRight},
        {mnuWinViewFront, "mnuWinViewFront", "&Front", ViewFront},
        {mnuWinViewBack, "mnuWinViewBack", "Bac&k", ViewBack},
        {mnuWinViewPerspective, "mnuWinViewPerspective", "&Perspective", ViewPerspective},
        {mnuWinViewCam, "mnuWinViewCam", "&Camera", ViewWorldCamera},
    };
    mnuWinView->setTitle("WinViews");
    for (const Item& item : items) {
        item.action = mnuWinView->addAction(item.caption);
        item.action->setObjectName(item.name);
        const int32_t type = item.type;
        if (type == ViewWorldCamera)
            connect(item.action, &QAction::triggered, this, [this] { mnuWinViewCam_Click(); });
        else
            connect(item.action, &QAction::triggered, this, [type] { Globals::ChosenViewType = type; });
    }
}

void Form1::connectViewMenu() {
    for (int i = 0; i < 4; ++i) {
        QLabel* label = lblPicView[static_cast<std::size_t>(i)];
        // The label takes its own clicks: any button released on it opens the menu.
        label->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        auto* mouse = new ModelGalleryInput(label);
        mouse->MouseUp = [this, i](int button, int shift, int x, int y) {
            platform::runTrapped(this, [&] {
                lblPicView_MouseUp(i, button, shift, static_cast<float>(x), static_cast<float>(y));
            });
        };
    }
}

void Form1::connectCameraViewHooks() {
    core::viewHooks().setViewLabel = [this](int view, const std::string& caption, const std::string& toolTip) {
        SetViewCaption(view, caption);
        lblPicView.at(static_cast<std::size_t>(view))->setToolTip(QString::fromStdString(toolTip));
    };
}

void Form1::lblPicView_MouseUp(int Index, int, int, float X, float Y) {
    using namespace Globals;
    if (!WorldLoaded) return;
    const bool cameras = trwCamTrackBK->Exists("CAMERA") && trwCamTrackBK->Item("CAMERA")->childCount() > 0;
    mnuWinViewCam->setEnabled(cameras);
    if (cameras) winViewMenuIndex_ = Index;
    ChosenViewType = ViewNoneChosen;
    QLabel* label = lblPicView.at(static_cast<std::size_t>(Index));
    platform::popupMenu(*mnuWinView, label->mapToGlobal(QPoint(static_cast<int>(X), static_cast<int>(Y))));
    if (ChosenViewType >= ViewTop && ChosenViewType <= ViewPerspective)
        SetViewType(Index, ChosenViewType);
    else if (ChosenViewType != ViewWorldCamera)
        return;  // nothing chosen: not even the active view changes
    PicBoxFocused = Index;
    SetWindowFocus();
    UpdateCamerasSingle(Index);
}

void Form1::mnuWinViewCam_Click() {
    // Cameras only, the boxes locked, one line to choose; the window's own errors
    // pass silently.
    try {
        scene::ShowSelectionWindow(this, 0, -1, 0, -1, formSelectionWindow::ViewThroughCamera, 0,
                                   static_cast<int16_t>(winViewMenuIndex_));
    } catch (...) {
    }
}

void Form1::SetViewType(int Index, int32_t Type) {
    using namespace Globals;
    constexpr double pi = 3.14;  // the standard views' own constant, not the exact value
    struct Orbit {
        double dist, horiz, vert;
    };
    const double ws = WorldSize;
    const Orbit perspective = {ws * 4, pi - pi / 4, pi - pi / 6};
    const Orbit orbits[] = {
        {ws * 100, 0, pi / 2},    {ws * 100, 0, -pi / 2},   {ws * 100, pi / 2, pi}, {ws * 100, -pi / 2, pi},
        {ws * 100, pi, pi},       {ws * 100, 0, pi},        perspective,
    };
    if (Type < ViewTop || Type > ViewPerspective) return;
    Camera& camera = viewCamera(Index);
    const int32_t engineCamera = camera.lngSceneCamera;
    // Every type gives the same picture whatever the view showed before: no roll,
    // no look-at offset, the origin, and a fixed direction before the first
    // placement (Update keeps the camera's old up axis).
    camera.RollAngle = 0;
    camera.SetLookAtOffset(0, 0);
    camera.PointAtLoc({0, 0, 0});
    OMBREL_camera_set_direction(engineCamera, 1, 0, 0);
    if (Type == ViewLeft || Type == ViewPerspective) {
        camera.Initialize(perspective.dist, perspective.horiz, perspective.vert);
        camera.Update();
    }
    const Orbit& orbit = orbits[Type];
    camera.Initialize(orbit.dist, orbit.horiz, orbit.vert);
    const bool axisView = Type != ViewPerspective;
    OMBREL_camera_set_zoom(engineCamera, axisView ? 1.0 : 24.0);
    OMBREL_camera_set_distance_from_eye(engineCamera, axisView ? ws : ws / 100);
    SetViewCaption(Index, kCaptions[Type]);
    camera.Update();
}

bool Form1::ShowsBackground(int index) const {
    const QString caption = lblPicView.at(static_cast<std::size_t>(index))->text();
    return caption == kCaptions[ViewPerspective] || caption == kCameraCaption;
}

void Form1::SetViewCaption(int Index, const std::string& Caption) {
    QLabel* label = lblPicView.at(static_cast<std::size_t>(Index));
    const auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(Index));
    // A free view about to look through a camera: what it shows now is kept for
    // when that camera goes.
    if (Caption == kCameraCaption && label->text() != kCameraCaption && camera)
        freeViews_.at(static_cast<std::size_t>(Index)) = views::CaptureFreeView(*camera, label->text().toStdString());
    label->setText(QString::fromStdString(Caption));
    if (Caption == kCameraCaption) return;
    // Edits of the camera it looked through no longer pull the view back.
    if (camera) camera->ViewedSceneCamera = 0;
    label->setToolTip(QString());
}

void Form1::SetViewedCamera(int Index, int32_t Camera) {
    viewCamera(Index).ViewedSceneCamera = Camera;
    SetViewCaption(Index, kCameraCaption);
    lblPicView.at(static_cast<std::size_t>(Index))->setToolTip(QString::fromStdString(Globals::GetEntityName(Camera)));
}

void Form1::NameViewedCamera(int32_t Camera, const std::string& Name) {
    for (int i = 0; i < 4; ++i) {
        const auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(i));
        if (Camera != 0 && camera && camera->ViewedSceneCamera == Camera)
            lblPicView.at(static_cast<std::size_t>(i))->setToolTip(QString::fromStdString(Name));
    }
}

void Form1::releaseView(int Index) {
    auto& free = freeViews_.at(static_cast<std::size_t>(Index));
    if (free && !free->caption.empty()) {
        views::RestoreFreeView(viewCamera(Index), *free);
        SetViewCaption(Index, free->caption);
    } else {
        SetViewType(Index, ViewPerspective);
    }
    // Kept as the free view the release gave: the Undo of a deletion looks
    // through the camera again only while the view still shows it.
    free = views::CaptureFreeView(viewCamera(Index), lblPicView.at(static_cast<std::size_t>(Index))->text().toStdString());
}

void Form1::ReleaseViewsOfCamera(int32_t Camera) {
    if (Camera == 0) return;
    std::vector<int> released;
    for (int i = 0; i < 4; ++i) {
        const auto& camera = Globals::ViewCams.at(static_cast<std::size_t>(i));
        if (!camera || camera->ViewedSceneCamera != Camera) continue;
        releaseView(i);
        released.push_back(i);
    }
    // A camera no view looks through leaves none to bring back.
    if (released.empty())
        viewsOfDeletedCameras_.erase(Camera);
    else
        viewsOfDeletedCameras_[Camera] = std::move(released);
}

void Form1::LookThroughCameraAgain(int32_t Camera) {
    auto it = viewsOfDeletedCameras_.find(Camera);
    if (it == viewsOfDeletedCameras_.end()) return;
    const std::vector<int> released = std::move(it->second);
    viewsOfDeletedCameras_.erase(it);
    for (int i : released) {
        // A view the user sent elsewhere since (another camera, another type,
        // navigated) stays where it is.
        const auto& given = freeViews_.at(static_cast<std::size_t>(i));
        if (!given || !showsFreeView(viewCamera(i), lblPicView.at(static_cast<std::size_t>(i))->text().toStdString(), *given))
            continue;
        SetViewedCamera(i, Camera);
        SyncViewWithCamera(Camera, i);
    }
}
