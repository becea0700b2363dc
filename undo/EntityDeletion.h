// Deletion that can be taken back, for cameras, lights and multiple selections
// (groups and polygons: core/FakeDeletion.h). A fake-deleted camera keeps its
// engine camera with save flag 0 and a hidden marker; a light is also switched
// off; both lose their tree nodes. They are destroyed only when the record that
// could bring them back is released.
#pragma once

#include <cstdint>
#include <vector>

class MultipleSelection;

namespace Globals {

void FakeDeleteCamera(int32_t camera);
// Marker shown, saved again, its node last under "CAMERA".
void UnDeleteCamera(int32_t camera);
// The marker and the engine camera go.
void DeleteCameraPermanently(int32_t camera);

void FakeDeleteLight(int32_t light);
// Marker shown, saved again, switched on, its node last under "LIGHT".
void UnDeleteLight(int32_t light);
void DeleteLightPermanently(int32_t light);

// The groups and cameras of CurrMultiSel are fake-deleted (its lights and tracks
// stay in the world); the selection becomes none and the views are redrawn.
void FakeDeleteMultiple();
// The groups of the selection come back under fathers at places (lists used from
// index 1, one father and place per group in the selection's order; -1 puts a
// group last), then its cameras; the selection becomes none and the views are
// redrawn.
void UnDeleteMultiple(const MultipleSelection& selection, const std::vector<int32_t>& fathers,
                      const std::vector<int32_t>& places);
// Its groups, then its cameras, destroyed.
void DeleteMultiplePermanently(const MultipleSelection& selection);

// Whether the handle names a live engine entity of the selection kind (group,
// camera, track, light or background).
bool IsLiveEntity(int32_t kind, int32_t handle);
// The current selection's handle when it is a live entity of that kind, else 0.
int32_t CurrentLiveEntity(int32_t kind);
// Takes the handles of entities no longer in the engine out of the selection.
void DropStaleEntities(MultipleSelection& selection);

}  // namespace Globals
