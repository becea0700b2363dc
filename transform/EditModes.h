// The edit modes the transform tools act in, read from the main window's
// controls each time they matter (exact, case-sensitive comparisons).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class WeldedPoints;

namespace transform {

inline constexpr int kObjectPage = 1;
inline constexpr int kCameraTrackPage = 2;

int WorkspacePage();
// cmbTrackPoint: "Track" or "Point".
std::string TrackPointText();
// Object page, "Edit Geometry", "Point".
bool IsPointEditing();
// Object page, "Edit Geometry", "Polygon".
bool IsPolygonEditing();
// Object page, "Edit Geometry", whatever the sub-mode.
bool IsEditGeometry();
// Object page, "Edit Texture".
bool IsTextureEditing();
// Camera page, cmbTrackPoint "Point" and a track selected.
bool IsTrackPointEditing();
// A track selected on the camera page with cmbTrackPoint reading text.
bool IsTrackOnPageAs(const char* text);

// The WeldedPts entries touched by the selected polygons (SelPolsRelatedPts).
std::vector<WeldedPoints*> SelectedWeldedSets();

bool IsGrpHidden(int32_t group);
bool IsCamHidden(int32_t camera);
bool IsLightHidden(int32_t light);

// What a transform acts on, first match wins.
enum class EditMode { Point, Polygon, TrackPoint, Object };
// As the transform handle's press, the numeric dialog and its closing test.
EditMode CurrentEditMode();

}  // namespace transform
