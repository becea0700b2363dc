// The two view commands that move a view's navigation camera onto what is
// selected: centring the active view on the selection, and fitting the selection
// (or, with Ctrl alone, the whole world) into one view.
#pragma once

#include <string>

class PicWindow;

namespace views {

// Which centre a selected group is shown by in the active view.
enum class CentreOn { Group, SelectedPoints, SelectedPolygons };

// Points the active view's camera at the selection, clears its pan and redraws it.
void CenterObjInView(bool worldLoaded, int activeView, CentreOn groupCentre);

// Fits the selection into the view and redraws it; label is the view's caption
// (a view looking through a world camera reads "Camera" and is left alone).
void ZoomExtent(bool worldLoaded, int view, PicWindow& window, const std::string& label);

}  // namespace views
