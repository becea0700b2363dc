// The texture commands without their window: applying a bitmap or an animation
// to the selection with undo, loading, deleting and reloading bitmaps, deleting
// animations. Messages and questions go through the prompt seam; the caller
// keeps its tree and preview in step with what each command reports.
#pragma once

#include "TextureNodes.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace textures {

// The texts the commands show.
inline constexpr const char* NoGroupSelected = "No group selected";
inline constexpr const char* NoPolygonSelected = "No polygon/s selected";
inline constexpr const char* UnsupportedBitmap = "Unsupported bitmap.";
inline constexpr const char* DeleteBitmapQuestion =
    "This will remove textures from polygons using this bitmap. Also, any backgrounds using this bitmap will be "
    "deleted. Do you wish to continue?";
inline constexpr const char* ClearHistoryQuestion =
    "This action cannot be undone. All previous undo's will be cleared!. Do you wish to continue?";
inline constexpr const char* UpdateFileMissing = "The file has been moved or deleted. Updating failed!";

// The colour an animation's polygons get when it is deleted: a light blue.
inline constexpr int32_t ClearedAnimationRed = 100, ClearedAnimationGreen = 100, ClearedAnimationBlue = 255;

// Index 0: the selected group, or every group of a multiple selection; 1: the
// selected polygons. Nothing for a folder or no node; a selection that does not
// fit is reported. Polygons that all have the texture already are left as they
// are, with no record. Otherwise the fill is applied, the views redrawn and one
// record pushed; true then.
bool ApplyTextureToSel(int32_t Index, const TextureNode& node);

// A bitmap file chosen and loaded: its handle, or 0 when the dialog was
// cancelled, the file is loaded already, or it does not load ("Unsupported
// bitmap." shown).
int32_t LoadNewBitmap();

// Asks whether the undo history may be cleared when one of its records keeps
// the handle (the history is reset on Yes). True when the command may go on.
bool ClearHistoryNaming(int32_t handle);

// Deletes every background that shows the bitmap; removed(background) follows
// each deletion.
void DeleteBackgroundsUsingBitmap(int32_t bitmap, const std::function<void(int32_t background)>& removed);
// Every polygon of the world that shows the animation gets the light blue.
void ClearAnimationFromPolygons(int32_t animation);

// Asks, then deletes the bitmap with its backgrounds; false when the user said no.
bool DeleteBitmap(int32_t bitmap, const std::function<void(int32_t background)>& backgroundRemoved);
// Deletes the animation, its polygons turned light blue; false when the user
// would not clear the history that names it.
bool DeleteAnimation(int32_t animation);

// What uses a bitmap, found in one walk of the world's polygons.
struct BitmapUsers {
    struct Frame {
        int32_t animation, direction, position;
    };
    std::vector<int32_t> polygons;
    std::vector<int32_t> backgrounds;
    std::vector<Frame> frames;
};
BitmapUsers CollectBitmapUsers(int32_t bitmap);
// Every user moves from one bitmap to another.
void MoveBitmapUsers(const BitmapUsers& users, int32_t to);

struct UpdateResult {
    enum Outcome { Missing, Unsupported, Refreshed, Moved } outcome;
    int32_t bitmap;  // the bitmap the users show afterwards
};
// Reloads the bitmap from its file (name + ".bmp", else ".jpg") with its
// transparent index. The same file keeps its handle (its picture refreshed in
// place); another file gets a new handle, to which the users and the history's
// records move before the old bitmap goes. A missing or unreadable file changes
// nothing and is reported.
UpdateResult UpdateBitmapFromFile(int32_t bitmap);

}  // namespace textures
