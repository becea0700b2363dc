// What the animation editor edits, without its window: the frames of the five
// view directions in order, each with its record (the bitmap's file or engine
// name, its time, its transparent colour), read from and written to an engine
// animation. Frames are numbered in the order they join, so one picture may be
// used by several frames.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace textures {

inline constexpr int32_t DirectionCount = 5;
// Direction d (1..5) is shown by the node keyed and captioned DirectionNames[d - 1].
inline constexpr std::array<const char*, 5> DirectionNames = {"FRONT", "FRONT SIDED", "SIDE", "BACK SIDED", "BACK"};

inline constexpr int32_t InsertedFrameTime = 10;
// No transparent colour: what an inserted frame holds, and the button-face value
// (&H8000000F) a frame read without a transparent index holds. Any colour with
// the high bit set names no colour of a picture.
inline constexpr int32_t NoTransparentColour = -1;
inline constexpr int32_t ButtonFaceColour = static_cast<int32_t>(0x8000000F);
inline constexpr int32_t MaxFrameTime = 2147483647;

struct FrameRecord {
    std::string File;  // what OMBREL_bitmap_load takes: a path or a bitmap's engine name
    int32_t Time = InsertedFrameTime;  // hundredths of a second
    int32_t Colour = NoTransparentColour;  // 0x00BBGGRR
};

struct Frame {
    int32_t Id = 0;
    std::string Text;  // the file name shown
    FrameRecord Record;
};

// The bitmap of a frame's file with the transparent index: loaded, or for a file
// gone since it was loaded the bitmap still held; 0 when neither.
int32_t FrameBitmap(const std::string& file, int32_t index);
// The palette index of a frame's transparent colour in the bitmap, or -1.
int32_t TransparentIndexOf(int32_t colour, int32_t bitmap);

class AnimationFrames {
public:
    // Direction 1..5; any other gives an empty list.
    const std::vector<Frame>& Direction(int32_t direction) const;
    const Frame* Find(int32_t id) const;
    Frame* Find(int32_t id);
    // The frame's direction (1..5) and position, or nothing.
    std::optional<std::pair<int32_t, int32_t>> Place(int32_t id) const;
    int32_t Count() const;

    // Adds a frame at the end of the direction, or right after the frame afterId;
    // returns its id (0 when afterId is not a frame).
    int32_t Append(int32_t direction, std::string text, FrameRecord record);
    int32_t InsertAfter(int32_t afterId, std::string text, FrameRecord record);
    bool Remove(int32_t id);
    // The frame moves to right after the target frame, under the target's
    // direction; false (nothing moved) when either is not a frame or they are one.
    bool MoveAfter(int32_t id, int32_t targetId);
    // Every frame gets the time, or the colour.
    void SetAllTimes(int32_t time);
    void SetAllColours(int32_t colour);

private:
    int32_t add(int32_t direction, std::size_t at, std::string text, FrameRecord record);

    std::array<std::vector<Frame>, DirectionCount> directions_;
    int32_t nextId_ = 1;
};

// The animation's frames, each with the time at its own entry of the times and
// its transparent colour (button face without one); empty directions stay empty.
AnimationFrames ReadAnimation(int32_t animation);

// OK's writes. Mode 0 creates an animation named name (saved with the world);
// mode 1 empties the animation and fills it again. Every frame's bitmap is
// loaded with its transparent index before anything is written: a frame whose
// file no longer loads leaves the engine untouched and answers 0 with its place
// in failedId. Returns the animation.
int32_t WriteAnimation(int32_t mode, int32_t animation, const std::string& name, const AnimationFrames& frames,
                       int32_t* failedId = nullptr);

// "Animation" + the first counter from 1 (two digits at least) no animation has.
std::string GetDefaultAnimName();

// A frame time from the time field's number: whole, 1 .. 2147483647.
int32_t FrameTimeOf(double value);

}  // namespace textures
