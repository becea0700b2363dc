// The pointer of the editor benchmarks: it stands where the benchmark puts it.
#pragma once

#include "platform/cursor.h"

class BenchCursor : public platform::Cursor {
public:
    explicit BenchCursor(platform::ScreenPoint start = {}) : at(start) {}
    platform::ScreenPoint position() override { return at; }
    void setPosition(platform::ScreenPoint p) override { at = p; }
    platform::ScreenSize screenSize() override { return {1920, 1080}; }
    platform::ScreenPoint at;
};
