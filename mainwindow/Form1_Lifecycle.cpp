// Start-up, the main loop and shutdown of the main window.
#include "Form1.h"

#include "core/BoundingBox.h"
#include "core/Camera.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/Wireframe.h"
#include "core/myLine.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "geometry/CreatePanel.h"
#include "ombrel.h"
#include "ombrel_loader.h"
#include "RecentFiles.h"
#include "platform/end_signals.h"
#include "platform/program.h"
#include "platform/prompts.h"
#include "platform/settings.h"
#include "views/PicWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

namespace {

// The idle loop blocks in the event dispatch; this wakes it now and then so the
// wheel queue and the quit flag are looked at even when no event arrives.
constexpr int kIdleWakeMs = 20;

}  // namespace

std::string Form1::GetCommandLineFile() const {
    return platform::commandLineFile(CommandLine ? *CommandLine : platform::commandLine());
}

bool Form1::Form_Load() {
    using namespace Globals;
    // The engine's version check: without the full set of entry points the
    // loader binds none, and the first call cannot be made.
    if (!ombrel_loader::isLoaded()) {
        platform::msgBox("Incorrect ombrel3.dll version encountered. Terminating...", platform::MsgButtons::OK,
                         platform::MsgIcon::Critical);
        // Nothing was created and the engine cannot be called: close without the unload step.
        AppTerminating = true;
        unloaded_ = true;
        close();
        QuitFlag = true;
        return false;
    }
    platform::runTrapped(this, [this] {
        OMBREL_engine_set_coordinates_auto_correct_mode(0);
        NavSpeedFactor = 1.0;
        frmModelPreview_Resize();
        PrevMultiSel = std::make_shared<MultipleSelection>();
        createUndoHistory();
        CreateOverlayPens();
        CreateRecentFiles();
        cmbTrackPoint_Populate();
        cmbPolFilter_Populate();
        picWinSetMousePtr("Select");
        BoxSegments = {1, 1, 1};
        tabWorkspace->setEnabled(false);
        cmbNewObjType_Populate();
        for (QMenu* menu : {mnuModelGallery, mnuTexture, mnuWinView, mnuGroupMenu, mnuLightMenu, mnuCamTrkBkMenu})
            menu->hide();
        SceneLights = std::make_shared<LightGrp>();
        SceneCameras = std::make_shared<CameraGrp>();
        CurrMultiSel = std::make_shared<MultipleSelection>();
        PrimitiveBuilders = std::make_unique<geometry::PrimitiveBuilders>();
        OverlayLine = std::make_shared<myLine>();
        OverlayWireframe = std::make_shared<Wireframe>();
        ResetControls();
        mnu_Update();
        BndBoxDrawWidth = 1;
        GizmoDrawWidth = 2;
        OMBREL_engine_hide_log_window();
        CurrToolMode = ToolSelect;
        createViewGizmos();
        ShowBndBox = true;
        cmbObj_Change();
        cmbObjEditGeom_Change();
        SelGrpBndBox = std::make_shared<BoundingBox>();
        for (auto& camera : ViewCams) camera = std::make_shared<Camera>();
        mnuResetViews_Click();
        if (ShowSplash) ShowSplash();
        const std::string file = GetCommandLineFile();
        if (!file.empty()) LoadWorld(file);
        show();
        if (WorldLoaded) focusActiveView();
        OMBREL_light_calcualte_vertices_normals_automatically(2);
        if (platform::getSettingNumber("Options", "Show Tips at Startup", 1) != 0 && ShowTips) ShowTips();
    });
    return !QuitFlag;
}

int Form1::Form_Activate() {
    QTimer wake;
    wake.start(kIdleWakeMs);
    while (!QuitFlag) {
        // An error leaves the pass; the loop goes on so events keep being dispatched.
        platform::runTrapped(this, [this] {
            // Ended by a signal: File > Exit without the question, so nothing is saved.
            if (platform::endRequested()) {
                ExitProgram();
                return;
            }
            ScrollCheck();
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });
    }
    return 0;
}

void Form1::Form_QueryUnload(int& Cancel, int) {
    if (Globals::AppTerminating || !WorldLoaded) return;
    switch (platform::msgBox("Save changes?", platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question)) {
    case platform::MsgResult::Yes:
        // Closing waits for a save that completed; a cancelled Save As or a
        // failed save keeps the window open, as Cancel does.
        if (!mnuSave_Click()) Cancel = 6;
        break;
    case platform::MsgResult::No:
        break;
    default:
        Cancel = 6;
        break;
    }
}

void Form1::Form_Unload(int&) {
    using namespace Globals;
    for (int32_t i = 1; i <= NumWeldedPts; ++i) WeldedPts[i].reset();
    NumWeldedPts = 0;
    UnloadWorld();
    // Releasing the recent files stores them.
    MRUList.reset();
    if (OMBREL_engine_is_engine_empty() == 0) OMBREL_engine_close();
    PrevMultiSel.reset();
    UndoRedoStack.reset();
    for (auto& gizmo : ViewGizmos) gizmo.reset();
    SceneLights.reset();
    SceneCameras.reset();
    CurrMultiSel.reset();
    SelGrpBndBox.reset();
    for (auto& camera : ViewCams) camera.reset();
    OverlayLine.reset();
    OverlayWireframe.reset();
    DeleteOverlayPens();
    QuitFlag = true;
    hide();
}

void Form1::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    int Cancel = 0;
    const bool ok = platform::runTrapped(this, [&] { Form_QueryUnload(Cancel, 0); });
    if (!ok || Cancel != 0) {
        event->ignore();
        return;
    }
    unloaded_ = true;
    platform::runTrapped(this, [this] {
        int unloadCancel = 0;
        Form_Unload(unloadCancel);
    });
    // However the unload went, the program ends.
    QuitFlag = true;
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) Form_Resize();
    for (PicWindow* view : picWindow) {
        if (watched != view) continue;
        if (event->type() == QEvent::FocusIn)
            platform::runTrapped(this, [this, view] { picWindow_GotFocus(view->Index()); });
        if (event->type() == QEvent::FocusOut)
            platform::runTrapped(this, [this, view] { picWindow_LostFocus(view->Index()); });
    }
    return QMainWindow::eventFilter(watched, event);
}
