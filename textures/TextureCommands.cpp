#include "TextureCommands.h"

#include "core/BitmapFileDialog.h"
#include "core/CoreError.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "core/WindowHooks.h"
#include "platform/prompts.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"

#include "ombrel.h"

#include <memory>

namespace textures {
namespace {

void inform(const char* text) {
    platform::msgBox(text, platform::MsgButtons::OK, platform::MsgIcon::Information);
}

// The groups an apply to the group reaches, or none (the message shown).
std::vector<int32_t> targetGroups() {
    using namespace Globals;
    if (CurrSelEntityType == SelGroup) return {CurrSelEntityHandle};
    std::vector<int32_t> groups;
    if (CurrSelEntityType == SelMultiple && CurrMultiSel)
        for (int32_t i = 1; i <= CurrMultiSel->NumOfGrps(); ++i) groups.push_back(CurrMultiSel->GetGrp(i));
    if (groups.empty()) inform(NoGroupSelected);
    return groups;
}

bool selectedPolygonsFit() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup) {
        inform(NoGroupSelected);
        return false;
    }
    if (NumSelPols == 0) {
        inform(NoPolygonSelected);
        return false;
    }
    return true;
}

// A node whose entity has gone would record a fill that no longer exists.
void needKind(int32_t handle, int32_t kind) {
    if (handle == 0 || OMBREL_ext_handle_kind(handle) != kind)
        core::raiseError("The texture " + std::to_string(handle) + " is no longer in the world");
}

template <class Polygon>
void forEachTargetPolygon(int32_t Index, const std::vector<int32_t>& groups, Polygon&& polygon) {
    if (Index == 0) {
        for (int32_t g : groups)
            for (int32_t p = OMBREL_group_get_first_polygon(g); p != 0; p = OMBREL_group_get_next_polygon(g, p))
                polygon(p);
    } else {
        for (int32_t i = 1; i <= Globals::NumSelPols; ++i) polygon(Globals::SelPols[i]);
    }
}

}  // namespace

bool ApplyTextureToSel(int32_t Index, const TextureNode& node) {
    using namespace Globals;
    if (node.kind != TextureKind::Bitmap && node.kind != TextureKind::Animation) return false;
    std::vector<int32_t> groups;
    if (Index == 0) {
        groups = targetGroups();
        if (groups.empty()) return false;
    } else if (!selectedPolygonsFit()) {
        return false;
    }
    needKind(node.handle, node.kind == TextureKind::Bitmap ? OMBREL_KIND_BITMAP : OMBREL_KIND_ANIMATION);
    if (!UndoRedoStack) core::raiseError("The undo history has not been created");
    // Polygons that all show it already change nothing: a record would only
    // push a real edit out of the history.
    bool changes = false;
    forEachTargetPolygon(Index, groups, [&](int32_t p) {
        const int32_t current =
            node.kind == TextureKind::Bitmap ? OMBREL_polygon_get_bitmap_handle(p) : OMBREL_polygon_get_animation(p);
        if (current != node.handle) changes = true;
    });
    if (!changes) return false;

    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActApplyTextureToGrp;
    record->SetActionObjects();
    ActionApplyTextureToGrp& apply = *record->ApplyTexture;
    if (Index == 0)
        apply.SetSelToGroups(groups);
    else
        apply.SetSelToCurrSel(false);

    if (node.kind == TextureKind::Bitmap) {
        apply.SetNewFillType(1);
        apply.SetNewMapHandle(node.handle);
        if (Index == 0)
            for (int32_t g : groups) OMBREL_group_set_bitmap(g, node.handle);
        else
            forEachTargetPolygon(Index, groups, [&](int32_t p) { OMBREL_polygon_set_bitmap_fill(p, node.handle); });
    } else {
        apply.SetNewFillType(0);
        apply.SetNewAnimation(node.handle);
        forEachTargetPolygon(Index, groups, [&](int32_t p) { OMBREL_polygon_set_animation(p, node.handle); });
    }
    core::callHook(core::windowHooks().updateCameras);
    UndoRedoStack->Push(std::move(record));
    return true;
}

int32_t LoadNewBitmap() {
    const std::vector<std::string> chosen = Globals::GetOpenedBitmapFile(false);
    if (chosen.empty()) return 0;
    const std::string& path = chosen.front();
    if (OMBREL_bitmap_get_handle(path.c_str(), -1) != 0) return 0;
    const int32_t bitmap = OMBREL_bitmap_load(path.c_str(), -1);
    if (bitmap == 0) inform(UnsupportedBitmap);
    return bitmap;
}

bool ClearHistoryNaming(int32_t handle) {
    using Globals::UndoRedoStack;
    if (!UndoRedoStack || !UndoRedoStack->AnyRecordNames(handle)) return true;
    if (platform::msgBox(ClearHistoryQuestion, platform::MsgButtons::YesNoCancel, platform::MsgIcon::Information) !=
        platform::MsgResult::Yes)
        return false;
    UndoRedoStack->ResetHistory();
    return true;
}

void DeleteBackgroundsUsingBitmap(int32_t bitmap, const std::function<void(int32_t background)>& removed) {
    for (int32_t b = OMBREL_background_get_first_background(); b != 0;) {
        const int32_t next = OMBREL_background_get_next(b);
        if (OMBREL_background_get_bitmap(b) == bitmap) {
            OMBREL_background_delete(b);
            if (removed) removed(b);
        }
        b = next;
    }
}

void ClearAnimationFromPolygons(int32_t animation) {
    for (int32_t p = OMBREL_group_get_first_polygon(0); p != 0; p = OMBREL_polygon_get_next(p))
        if (OMBREL_polygon_get_animation(p) == animation)
            OMBREL_polygon_set_color_fill(p, ClearedAnimationRed, ClearedAnimationGreen, ClearedAnimationBlue);
}

bool DeleteBitmap(int32_t bitmap, const std::function<void(int32_t background)>& backgroundRemoved) {
    if (platform::msgBox(DeleteBitmapQuestion, platform::MsgButtons::YesNoCancel, platform::MsgIcon::Information) !=
        platform::MsgResult::Yes)
        return false;
    if (!ClearHistoryNaming(bitmap)) return false;
    DeleteBackgroundsUsingBitmap(bitmap, backgroundRemoved);
    OMBREL_bitmap_unload(bitmap);
    return true;
}

bool DeleteAnimation(int32_t animation) {
    if (!ClearHistoryNaming(animation)) return false;
    ClearAnimationFromPolygons(animation);
    OMBREL_animation_delete(animation);
    return true;
}

BitmapUsers CollectBitmapUsers(int32_t bitmap) {
    BitmapUsers users;
    for (int32_t p = OMBREL_group_get_first_polygon(0); p != 0; p = OMBREL_polygon_get_next(p))
        if (OMBREL_polygon_get_bitmap_handle(p) == bitmap) users.polygons.push_back(p);
    for (int32_t b = OMBREL_background_get_first_background(); b != 0; b = OMBREL_background_get_next(b))
        if (OMBREL_background_get_bitmap(b) == bitmap) users.backgrounds.push_back(b);
    for (int32_t a = OMBREL_animation_get_first_animation(); a != 0; a = OMBREL_animation_get_next(a))
        for (int32_t d = 1; d <= 5; ++d)
            for (int32_t i = 0;; ++i) {
                const int32_t frame = OMBREL_animation_get_bitmap(a, d, i);
                if (frame == 0) break;
                if (frame == bitmap) users.frames.push_back({a, d, i});
            }
    return users;
}

void MoveBitmapUsers(const BitmapUsers& users, int32_t to) {
    for (int32_t p : users.polygons) OMBREL_polygon_set_bitmap_fill(p, to);
    for (int32_t b : users.backgrounds) OMBREL_background_set_bitmap(b, to);
    // A frame keeps its place, so its time (read by place) stays with it.
    for (const BitmapUsers::Frame& f : users.frames) {
        OMBREL_animation_remove_bitmap(f.animation, f.direction, f.position);
        OMBREL_animation_add_bitmap(f.animation, f.direction, to, f.position);
    }
}

UpdateResult UpdateBitmapFromFile(int32_t bitmap) {
    const std::string path = Globals::FindBitmapFilePath(bitmap);
    if (path.empty()) {
        inform(UpdateFileMissing);
        return {UpdateResult::Missing, bitmap};
    }
    // Nothing is unloaded first: a file that no longer reads leaves every user as it was.
    const int32_t loaded = OMBREL_bitmap_load(path.c_str(), OMBREL_bitmap_get_transparent_index(bitmap));
    if (loaded == 0) {
        inform(UnsupportedBitmap);
        return {UpdateResult::Unsupported, bitmap};
    }
    if (loaded == bitmap) return {UpdateResult::Refreshed, bitmap};
    MoveBitmapUsers(CollectBitmapUsers(bitmap), loaded);
    if (Globals::UndoRedoStack) Globals::UndoRedoStack->ReplaceHandleInRecords(bitmap, loaded);
    OMBREL_bitmap_unload(bitmap);
    return {UpdateResult::Moved, loaded};
}

}  // namespace textures
