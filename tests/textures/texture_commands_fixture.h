// The texture fixture plus what the texture commands need: bitmap files and
// animations made by the test, each polygon's fill read back and the records
// the history holds.
#pragma once

#include "texture_fixture.h"
#include "texture_files.h"

#include "core/MultipleSelection.h"

#include <ostream>
#include <string>
#include <vector>

struct Fill {
    int32_t animation = 0, bitmap = 0;
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Fill&, const Fill&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Fill& f) {
    return os << "{animation " << f.animation << ", bitmap " << f.bitmap << ", rgb " << f.r << " " << f.g << " "
              << f.b << "}";
}

class TextureCommandsFixture : public TextureFixture {
protected:
    std::string writeBitmap(const std::string& name) { return files.write(name); }

    int32_t loadBitmap(const std::string& name, TestRgb colour = {0, 0, 200}, int32_t index = -1) {
        const int32_t b = files.load(name, 4, 4, colour, index);
        EXPECT_NE(b, 0) << OMBREL_ext_get_last_error();
        return b;
    }

    static int32_t animation(const char* name, const std::vector<std::vector<int32_t>>& directions) {
        return makeAnimation(name, directions);
    }

    static Fill fillOf(int32_t polygon) {
        Fill f;
        f.animation = OMBREL_polygon_get_animation(polygon);
        f.bitmap = OMBREL_polygon_get_bitmap_handle(polygon);
        OMBREL_polygon_get_color(polygon, &f.r, &f.g, &f.b);
        return f;
    }

    static int recordsHeld() {
        int n = 0;
        Globals::UndoRedoStack->VisitRecords([&](ActionUndoRedo&) { ++n; });
        return n;
    }

    const std::filesystem::path& folder() const { return files.folder(); }

    TextureFiles files;
};
