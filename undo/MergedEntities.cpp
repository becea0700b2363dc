#include "MergedEntities.h"

#include "BitmapUse.h"
#include "EngineLists.h"
#include "EntityDeletion.h"

#include "core/CoreTypes.h"
#include "core/HeldOutOfWorld.h"
#include "core/WindowHooks.h"

#include "ombrel.h"

namespace {

void holdOut(int32_t handle, bool held) { Globals::SetHeldOutOfWorld(handle, held); }

// The user may have destroyed one since (a background deleted, a bitmap unloaded):
// only the live ones of the kind are visited.
template <class Visit>
void forLive(const std::vector<int32_t>& handles, int32_t engineKind, Visit visit) {
    for (int32_t h : handles)
        if (OMBREL_ext_handle_kind(h) == engineKind) visit(h);
}

}  // namespace

WorldEntities WorldEntities::Listed() {
    WorldEntities w;
    using undo::ListedHandles;
    w.Cameras = ListedHandles(OMBREL_camera_get_first_camera, OMBREL_camera_get_next_camera);
    w.Lights = ListedHandles(OMBREL_light_get_first_light, OMBREL_light_get_next_light);
    w.Tracks = ListedHandles(OMBREL_track_get_first_track, OMBREL_track_get_next);
    w.Backgrounds = ListedHandles(OMBREL_background_get_first_background, OMBREL_background_get_next);
    w.Bitmaps = undo::LoadedBitmaps();
    w.Animations = ListedHandles(OMBREL_animation_get_first_animation, OMBREL_animation_get_next);
    return w;
}

WorldEntities WorldEntities::AddedSince(const WorldEntities& before) {
    const WorldEntities now = Listed();
    using undo::Newcomers;
    WorldEntities added;
    added.Cameras = Newcomers(now.Cameras, before.Cameras);
    // The view cameras and cameras left unsaved have no node and are none of the world's.
    std::erase_if(added.Cameras, [](int32_t c) { return OMBREL_camera_get_save_flag(c) != 1; });
    added.Lights = Newcomers(now.Lights, before.Lights);
    added.Tracks = Newcomers(now.Tracks, before.Tracks);
    added.Backgrounds = Newcomers(now.Backgrounds, before.Backgrounds);
    added.Bitmaps = Newcomers(now.Bitmaps, before.Bitmaps);
    added.Animations = Newcomers(now.Animations, before.Animations);
    return added;
}

bool WorldEntities::Empty() const {
    return Cameras.empty() && Lights.empty() && Tracks.empty() && Backgrounds.empty() && Bitmaps.empty() &&
           Animations.empty();
}

namespace undo {

void TakeOutOfWorld(const WorldEntities& e) {
    const auto& h = core::windowHooks();
    forLive(e.Cameras, OMBREL_KIND_CAMERA, [](int32_t c) { Globals::FakeDeleteCamera(c); });
    forLive(e.Lights, OMBREL_KIND_LIGHT, [](int32_t l) { Globals::FakeDeleteLight(l); });
    forLive(e.Tracks, OMBREL_KIND_TRACK, [&](int32_t t) {
        OMBREL_track_set_save_flag(t, 0);
        core::callHook(h.removeCamTreeNode, SelTrack, t);
    });
    forLive(e.Backgrounds, OMBREL_KIND_BACKGROUND, [&](int32_t b) {
        OMBREL_background_set_save_flag(b, 0);
        holdOut(b, true);
        core::callHook(h.removeCamTreeNode, SelBackground, b);
    });
    forLive(e.Animations, OMBREL_KIND_ANIMATION, [&](int32_t a) {
        OMBREL_animation_set_save_flag(a, 0);
        holdOut(a, true);
    });
    forLive(e.Bitmaps, OMBREL_KIND_BITMAP, [](int32_t b) { OMBREL_ext_bitmap_set_save_flag(b, 0); });
    if (!e.Animations.empty() || !e.Bitmaps.empty()) core::callHook(h.refreshTexturesTree);
}

void BringBackToWorld(const WorldEntities& e) {
    const auto& h = core::windowHooks();
    forLive(e.Bitmaps, OMBREL_KIND_BITMAP, [](int32_t b) { OMBREL_ext_bitmap_set_save_flag(b, 1); });
    forLive(e.Animations, OMBREL_KIND_ANIMATION, [&](int32_t a) {
        OMBREL_animation_set_save_flag(a, 1);
        holdOut(a, false);
    });
    if (!e.Animations.empty() || !e.Bitmaps.empty()) core::callHook(h.refreshTexturesTree);
    forLive(e.Backgrounds, OMBREL_KIND_BACKGROUND, [&](int32_t b) {
        OMBREL_background_set_save_flag(b, 1);
        holdOut(b, false);
        core::callHook(h.addCamTreeNode, SelBackground, b);
    });
    forLive(e.Tracks, OMBREL_KIND_TRACK, [&](int32_t t) {
        OMBREL_track_set_save_flag(t, 1);
        core::callHook(h.addCamTreeNode, SelTrack, t);
    });
    forLive(e.Lights, OMBREL_KIND_LIGHT, [](int32_t l) { Globals::UnDeleteLight(l); });
    forLive(e.Cameras, OMBREL_KIND_CAMERA, [](int32_t c) { Globals::UnDeleteCamera(c); });
}

void DestroyForGood(const WorldEntities& e) {
    forLive(e.Cameras, OMBREL_KIND_CAMERA, [](int32_t c) { Globals::DeleteCameraPermanently(c); });
    forLive(e.Lights, OMBREL_KIND_LIGHT, [](int32_t l) { Globals::DeleteLightPermanently(l); });
    forLive(e.Tracks, OMBREL_KIND_TRACK, [](int32_t t) { OMBREL_track_delete(t); });
    forLive(e.Backgrounds, OMBREL_KIND_BACKGROUND, [&](int32_t b) {
        holdOut(b, false);
        OMBREL_background_delete(b);
    });
    forLive(e.Animations, OMBREL_KIND_ANIMATION, [&](int32_t a) {
        holdOut(a, false);
        OMBREL_animation_delete(a);
    });
    forLive(e.Bitmaps, OMBREL_KIND_BITMAP, [](int32_t b) { OMBREL_bitmap_unload(b); });
}

}  // namespace undo
