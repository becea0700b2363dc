// The undo fixture plus what the texture commands need: bitmap files written by
// the test into a folder of its own, groups of squares, the selection set by
// hand, and each polygon's fill read back.
#pragma once

#include "undo_fixture.h"

#include "bmp_writer.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "platform/doubles/test_application.h"

#include <filesystem>
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

class TextureCommandsFixture : public UndoFixture {
protected:
    void SetUp() override {
        platform::doubles::testApplication();
        UndoFixture::SetUp();
    }

    // A picture of one colour written as name.bmp in the test's folder.
    std::string writeBitmap(const std::string& name, int width = 4, int height = 4, TestRgb colour = {0, 0, 200}) {
        const auto path = folder_.path() / (name + ".bmp");
        writeBmp24(path, width, height, std::vector<TestRgb>(static_cast<std::size_t>(width * height), colour));
        return path.string();
    }

    int32_t loadBitmap(const std::string& name, TestRgb colour = {0, 0, 200}, int32_t index = -1) {
        const std::string path = writeBitmap(name, 4, 4, colour);
        const int32_t b = OMBREL_bitmap_load(path.c_str(), index);
        EXPECT_NE(b, 0) << OMBREL_ext_get_last_error();
        return b;
    }

    // An animation with these frames per direction (1..5), frame time t for every frame.
    static int32_t animation(const char* name, const std::vector<std::vector<int32_t>>& directions) {
        const int32_t a = OMBREL_animation_create(name);
        for (std::size_t d = 0; d < directions.size(); ++d)
            for (std::size_t i = 0; i < directions[d].size(); ++i)
                OMBREL_animation_add_bitmap(a, static_cast<int32_t>(d + 1), directions[d][i], static_cast<int32_t>(i));
        return a;
    }

    static Fill fillOf(int32_t polygon) {
        Fill f;
        f.animation = OMBREL_polygon_get_animation(polygon);
        f.bitmap = OMBREL_polygon_get_bitmap_handle(polygon);
        OMBREL_polygon_get_color(polygon, &f.r, &f.g, &f.b);
        return f;
    }

    static void selectGroup(int32_t group) {
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
    }

    static void selectPolygons(const std::vector<int32_t>& pols) {
        Globals::NumSelPols = static_cast<int32_t>(pols.size());
        for (std::size_t i = 0; i < pols.size(); ++i) Globals::SelPols[static_cast<int32_t>(i + 1)] = pols[i];
    }

    static int recordsHeld() {
        int n = 0;
        Globals::UndoRedoStack->VisitRecords([&](ActionUndoRedo&) { ++n; });
        return n;
    }

    const std::filesystem::path& folder() const { return folder_.path(); }

    TempFolder folder_;
};
