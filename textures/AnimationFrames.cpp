#include "AnimationFrames.h"

#include "core/EntityProcedures.h"
#include "core/GroupPolygonProcedures.h"
#include "core/StringProcedures.h"

#include "ombrel.h"

#include <cmath>
#include <utility>

namespace textures {
namespace {

const std::vector<Frame>& noFrames() {
    static const std::vector<Frame> none;
    return none;
}

}  // namespace

int32_t FrameBitmap(const std::string& file, int32_t index) {
    if (const int32_t loaded = OMBREL_bitmap_load(file.c_str(), index)) return loaded;
    // A frame read from the animation whose file has gone since: its bitmap is still loaded.
    return OMBREL_bitmap_get_handle(file.c_str(), index);
}

int32_t TransparentIndexOf(int32_t colour, int32_t bitmap) {
    if (colour < 0) return -1;
    return Globals::RgbToBitmapIndex(colour, bitmap);
}

const std::vector<Frame>& AnimationFrames::Direction(int32_t direction) const {
    if (direction < 1 || direction > DirectionCount) return noFrames();
    return directions_[static_cast<std::size_t>(direction - 1)];
}

std::optional<std::pair<int32_t, int32_t>> AnimationFrames::Place(int32_t id) const {
    for (int32_t d = 1; d <= DirectionCount; ++d) {
        const std::vector<Frame>& frames = Direction(d);
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (frames[i].Id == id) return std::make_pair(d, static_cast<int32_t>(i));
    }
    return std::nullopt;
}

const Frame* AnimationFrames::Find(int32_t id) const {
    const auto place = Place(id);
    if (!place) return nullptr;
    return &Direction(place->first)[static_cast<std::size_t>(place->second)];
}

Frame* AnimationFrames::Find(int32_t id) { return const_cast<Frame*>(std::as_const(*this).Find(id)); }

int32_t AnimationFrames::Count() const {
    std::size_t n = 0;
    for (const auto& frames : directions_) n += frames.size();
    return static_cast<int32_t>(n);
}

int32_t AnimationFrames::add(int32_t direction, std::size_t at, std::string text, FrameRecord record) {
    std::vector<Frame>& frames = directions_[static_cast<std::size_t>(direction - 1)];
    const int32_t id = nextId_++;
    frames.insert(frames.begin() + static_cast<std::ptrdiff_t>(at), Frame{id, std::move(text), std::move(record)});
    return id;
}

int32_t AnimationFrames::Append(int32_t direction, std::string text, FrameRecord record) {
    if (direction < 1 || direction > DirectionCount) return 0;
    return add(direction, Direction(direction).size(), std::move(text), std::move(record));
}

int32_t AnimationFrames::InsertAfter(int32_t afterId, std::string text, FrameRecord record) {
    const auto place = Place(afterId);
    if (!place) return 0;
    return add(place->first, static_cast<std::size_t>(place->second) + 1, std::move(text), std::move(record));
}

bool AnimationFrames::Remove(int32_t id) {
    const auto place = Place(id);
    if (!place) return false;
    std::vector<Frame>& frames = directions_[static_cast<std::size_t>(place->first - 1)];
    frames.erase(frames.begin() + place->second);
    return true;
}

bool AnimationFrames::MoveAfter(int32_t id, int32_t targetId) {
    if (id == targetId || !Place(targetId)) return false;
    const auto from = Place(id);
    if (!from) return false;
    std::vector<Frame>& source = directions_[static_cast<std::size_t>(from->first - 1)];
    Frame moved = std::move(source[static_cast<std::size_t>(from->second)]);
    source.erase(source.begin() + from->second);
    const auto to = Place(targetId);
    std::vector<Frame>& target = directions_[static_cast<std::size_t>(to->first - 1)];
    target.insert(target.begin() + to->second + 1, std::move(moved));
    return true;
}

void AnimationFrames::SetAllTimes(int32_t time) {
    for (auto& frames : directions_)
        for (Frame& f : frames) f.Record.Time = time;
}

void AnimationFrames::SetAllColours(int32_t colour) {
    for (auto& frames : directions_)
        for (Frame& f : frames) f.Record.Colour = colour;
}

AnimationFrames ReadAnimation(int32_t animation) {
    AnimationFrames frames;
    const int32_t n = OMBREL_animation_get_number_of_frames(animation);
    // Times are one list over all directions, a direction's after the lower ones'.
    int32_t timeIndex = 0;
    for (int32_t d = 1; d <= DirectionCount; ++d)
        for (int32_t i = 0; i < n; ++i) {
            const int32_t bitmap = OMBREL_animation_get_bitmap(animation, d, i);
            if (bitmap == 0) continue;
            const int32_t index = OMBREL_animation_get_frame_transparent_index(animation, d, i);
            FrameRecord record;
            record.File = Globals::GetEntityName(bitmap);
            record.Time = OMBREL_animation_get_frame_time(animation, timeIndex++);
            record.Colour = index == -1 ? ButtonFaceColour : Globals::BitmapIndexToRgb(index, bitmap);
            frames.Append(d, Globals::GetBitmapFileName(bitmap), std::move(record));
        }
    return frames;
}

int32_t WriteAnimation(int32_t mode, int32_t animation, const std::string& name, const AnimationFrames& frames,
                       int32_t* failedId) {
    // Every bitmap first, so a frame that cannot be had changes nothing.
    std::array<std::vector<int32_t>, DirectionCount> bitmaps;
    for (int32_t d = 1; d <= DirectionCount; ++d)
        for (const Frame& f : frames.Direction(d)) {
            const std::string& file = f.Record.File;
            int32_t bitmap = FrameBitmap(file, -1);
            if (bitmap != 0) bitmap = FrameBitmap(file, TransparentIndexOf(f.Record.Colour, bitmap));
            if (bitmap == 0) {
                if (failedId) *failedId = f.Id;
                return 0;
            }
            bitmaps[static_cast<std::size_t>(d - 1)].push_back(bitmap);
        }
    if (mode == 0) {
        animation = OMBREL_animation_create(name.c_str());
        OMBREL_animation_set_save_flag(animation, 1);
    } else {
        for (int32_t d = 1; d <= DirectionCount; ++d)
            while (OMBREL_animation_get_bitmap(animation, d, 0) != 0) OMBREL_animation_remove_bitmap(animation, d, 0);
    }
    int32_t counter = 0;
    for (int32_t d = 1; d <= DirectionCount; ++d) {
        const std::vector<Frame>& list = frames.Direction(d);
        for (std::size_t i = 0; i < list.size(); ++i) {
            OMBREL_animation_add_bitmap(animation, d, bitmaps[static_cast<std::size_t>(d - 1)][i],
                                        static_cast<int32_t>(i));
            OMBREL_animation_set_frame_time(animation, counter++, list[i].Record.Time);
        }
    }
    OMBREL_animation_set_name(animation, name.c_str());
    return animation;
}

std::string GetDefaultAnimName() {
    for (int32_t counter = 1;; ++counter) {
        const std::string name = "Animation" + Globals::ZeroPad(counter, 2);
        if (OMBREL_animation_get_handle(name.c_str()) == 0) return name;
    }
}

int32_t FrameTimeOf(double value) {
    if (!(value >= 1)) return 1;
    if (value >= MaxFrameTime) return MaxFrameTime;
    return static_cast<int32_t>(std::nearbyint(value));
}

}  // namespace textures
