// What the shared procedures need from the views, which live above this layer:
// the main window fills these in when it builds its views.
#pragma once

#include <functional>
#include <string>

namespace core {

struct ViewHooks {
    // Redraws one view (UpdateCamerasSingle).
    std::function<void(int view)> updateCamerasSingle;
    // Width in pixels of the focused view, the measure of a pan step.
    std::function<int()> focusedViewWidth;
    // A view's title label: its caption and tool tip.
    std::function<void(int view, const std::string& caption, const std::string& toolTip)> setViewLabel;
};

inline ViewHooks& viewHooks() {
    static ViewHooks hooks;
    return hooks;
}

}  // namespace core
