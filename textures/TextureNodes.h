// The textures tree's nodes: the folders "MAP" and "ANIMATION", a bitmap keyed
// "Map" and an animation keyed "Animation" followed by its handle. An entry's
// kind is told by its folder's key, never by its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace textures {

inline constexpr const char* MapFolder = "MAP";
inline constexpr const char* AnimationFolder = "ANIMATION";
inline constexpr const char* MapKind = "Map";
inline constexpr const char* AnimationKind = "Animation";

enum class TextureKind { None, Folder, Bitmap, Animation };

struct TextureNode {
    TextureKind kind = TextureKind::None;
    int32_t handle = 0;
};

std::string MapKey(int32_t bitmap);
std::string AnimationKey(int32_t animation);
// A node by its own key and its parent's ("" for a folder); an entry whose key
// holds no handle after its kind word has handle 0.
TextureNode NodeOf(const std::string& parentKey, const std::string& key);

// Light maps are not listed: a bitmap whose name holds "LIGHTMAP_" anywhere but
// at its first character (compared exactly).
bool IsListedBitmapName(const std::string& name);

struct TextureEntry {
    std::string folder;
    std::string key;
    std::string text;
};

// Every entry of the tree in order: the listed bitmaps by file name, frames of
// animations left out, then the animations by name.
std::vector<TextureEntry> TexturesTreeEntries();

}  // namespace textures
