// The File menu's recent files, the Edit menu's hold and fetch, viewer mode, the
// Help menu's windows, the splash, and the template chooser of a new world.
#include "Form1.h"

#include "RecentFiles.h"
#include "formAbout.h"
#include "formSplash.h"
#include "formTemplate.h"
#include "formTip.h"

#include "core/Globals.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "platform/settings.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTabWidget>

void Form1::connectWorldMenus() {
    auto connectItem = [this](QAction* action, std::function<void()> handler) {
        connect(action, &QAction::triggered, this, platform::trapped(this, std::move(handler)));
    };
    connectItem(mnuHold, [this] { mnuHold_Click(); });
    connectItem(mnuFetch, [this] { mnuFetch_Click(); });
    connectItem(mnuViewerMode, [this] { mnuViewerMode_Click(); });
    connectItem(mnuTip, [this] { mnuTip_Click(); });
    connectItem(mnuAbout, [this] { mnuAbout_Click(); });
}

void Form1::CreateRecentFiles() {
    MRUList = std::make_unique<MostRecentUsedFiles>(*mnuFile, *mnuMru, [this](int index) {
        platform::runTrapped(this, [this, index] { mnuMru_Click(index); });
    });
}

void Form1::mnuMru_Click(int Index) {
    if (!MRUList || Index < 0 || Index > MRUList->LastIndex()) return;
    const std::string file = MRUList->Tag(Index);
    // On Cancel the list stays as it was.
    if (!ConfirmDiscardWorld()) return;
    LoadWorld(file);
    // The entry moves to the top whatever the load did; a save asked for above
    // may have moved it, so it is found again by its path.
    MRUList->AddMRUItem(file);
}

void Form1::ShowTemplates() {
    formTemplate chooser(
        [this](const std::string& file) {
            AddWorld(file, {0, 0, 0});
            if (AddedWorldRootGrp == 0) platform::msgBox("Failed adding world!", platform::MsgButtons::OK,
                                                         platform::MsgIcon::Information);
        },
        [] { UpdateCameras(); }, this);
    platform::showModal(chooser);
}

void Form1::mnuTip_Click() {
    platform::saveSetting(kTipsSection, kTipsKey, "1");
    formTip tip(this);
    if (tip.Form_Load()) platform::showModal(tip);
}

void Form1::mnuAbout_Click() {
    formAbout about(this);
    platform::showModal(about);
}

void Form1::InstallStartupWindows() {
    ShowSplash = [this] {
        // A splash of no length is not shown at all.
        if (SplashIntervalMs() == 0) return;
        formSplash splash(this);
        platform::showModal(splash);
    };
    // At start-up the tips stay open beside the main window.
    ShowTips = [this] {
        startupTip_ = std::make_unique<formTip>(this);
        if (startupTip_->Form_Load()) startupTip_->show();
    };
}

// ---- what the view redraw reads of the window

bool Form1::IsEntityHidden(int32_t kind, int32_t handle) const {
    switch (kind) {
    case SelGroup:
        return IsGrpHidden(handle);
    case SelCamera:
        return IsCamHidden(handle);
    case SelLight:
        return IsLightHidden(handle);
    default:
        return false;
    }
}

bool Form1::EditingPoints() const {
    return tabWorkspace->currentIndex() == 1 && cmbObj->currentText() == "Edit Geometry" &&
           cmbObjEditGeom->currentText() == "Point";
}
