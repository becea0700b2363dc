// Deletion of a whole track that can be taken back: a fake-deleted track stays in
// the engine with its points, excluded from saving, without its tree node and no
// longer selected, until the undo record that could bring it back is released.
#pragma once

#include <cstdint>

namespace Globals {

// Save flag 0, its node gone ("TRACK" selected), nothing selected, the camera
// work space's frames hidden, the views redrawn, no track point selected.
void FakeDeleteTrack(int32_t track);
// Save flag 1, its node last under "TRACK" and selected, the track frame shown,
// the views redrawn, no track point selected. The caller makes it the selection.
void UnDeleteTrack(int32_t track);
// Destroys the track in the engine; its node and the selection were dealt with
// by the fake deletion.
void DeleteTrackPermanently(int32_t track);

}  // namespace Globals
