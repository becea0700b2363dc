#include "fake_cursor.h"

namespace platform::testing {

FakeCursor::FakeCursor(ScreenSize screen) : screen_(screen), previous_(installCursor(this)) {}

FakeCursor::~FakeCursor() { installCursor(previous_); }

void FakeCursor::setPosition(ScreenPoint p) {
    position_ = p;
    warps_.push_back(p);
}

}  // namespace platform::testing
