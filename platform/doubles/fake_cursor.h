// A pointer that follows the test: scripted presses and moves put it where they
// happen, SetCursorPos moves it, and the screen has a chosen size.
#pragma once

#include "platform/cursor.h"

#include <vector>

namespace platform::testing {

class FakeCursor : public Cursor {
public:
    explicit FakeCursor(ScreenSize screen = {1280, 1024});
    ~FakeCursor() override;
    FakeCursor(const FakeCursor&) = delete;
    FakeCursor& operator=(const FakeCursor&) = delete;

    ScreenPoint position() override { return position_; }
    void setPosition(ScreenPoint p) override;
    ScreenSize screenSize() override { return screen_; }
    void follow(ScreenPoint p) override { position_ = p; }

    void setScreenSize(ScreenSize s) { screen_ = s; }
    // Every SetCursorPos, in order.
    const std::vector<ScreenPoint>& warps() const { return warps_; }

private:
    ScreenSize screen_;
    ScreenPoint position_;
    std::vector<ScreenPoint> warps_;
    Cursor* previous_;
};

}  // namespace platform::testing
