// The mouse pointer on the screen (GetCursorPos / SetCursorPos) and the screen's
// size, in logical pixels.
#pragma once

namespace platform {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

class Cursor {
public:
    virtual ~Cursor() = default;
    virtual ScreenPoint position() = 0;
    virtual void setPosition(ScreenPoint p) = 0;
    virtual ScreenSize screenSize() = 0;
    // Every mouse event the input filter sees; the real pointer needs none, a
    // double follows scripted presses and moves with it.
    virtual void follow(ScreenPoint) {}
};

Cursor& cursor();
Cursor* installCursor(Cursor* c);

inline ScreenPoint GetCursorPos() { return cursor().position(); }
inline void SetCursorPos(int x, int y) { cursor().setPosition({x, y}); }

}  // namespace platform
