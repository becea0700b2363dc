// The main window's way to the chase and fog dialogs and its colour dialog.
#include "Form1.h"

#include "formAtmsEffect.h"
#include "formCamChaseParams.h"

#include "core/WindowHooks.h"
#include "platform/prompts.h"

#include <QCheckBox>

std::optional<int32_t> Form1::ShowColorDialog(int32_t initial) { return platform::prompts().chooseColour(initial); }

void Form1::connectChaseAndFog() {
    ShowCamChaseParams = [this] { mainwindow::ShowCamChaseParams(this, [this] { makeSelGroupDynamic(); }); };
    // The group properties dialog opens it over itself.
    core::windowHooks().showChaseDialog = [this](QWidget* owner) {
        mainwindow::ShowCamChaseParams(owner, [this] { makeSelGroupDynamic(); });
    };
    ShowAtmosphereWindow = [this] {
        mainwindow::ShowAtmosphereWindow(this, WorldLoaded,
                                         [this](int32_t initial) { return ShowColorDialog(initial); });
    };
}

void Form1::makeSelGroupDynamic() {
    chkGrpDyn->setChecked(true);
    chkGrpDyn_Click();
}
