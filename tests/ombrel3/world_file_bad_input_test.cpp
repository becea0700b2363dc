// Broken world and .x files fail cleanly: a load leaves the engine empty, an add
// leaves the open world as it was, and the error names the file and the place.
// Saves that cannot be written leave the previous file alone.
#include "world_file_helpers.h"

#include <cctype>
#include <cstdint>
#include <fstream>
#include <unistd.h>

namespace {

const std::string kGood =
    "OMBREL-WORLD 1\n"
    "group 1 \"the_world\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n"
    "polygon 1 \"\" group 1 enabled 1 fill colour rgb 1 2 3 second 0 blend 0 dim 0 rotated 0 lights 0\n"
    "p 0 0 0 0 0 100\np 0 1 0 0 0 100\np 1 1 0 0 0 100\n"
    "end\n";

const std::string kGroup = "group 1 \"g\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n";

std::string polygonLine(int id) {
    return "polygon " + std::to_string(id) + " \"\" group 1 enabled 1 fill colour rgb 1 2 3 second 0 blend 0 dim 0 rotated 0 lights 0\n";
}

struct BadFile {
    const char* label;
    std::string content;
    const char* where;  // "line 3" or "offset"
    friend void PrintTo(const BadFile& b, std::ostream* os) { *os << b.label; }
};

std::string binaryX(std::initializer_list<uint32_t> words16and32) {
    std::string s = "xof 0303bin 0032";
    for (uint32_t w : words16and32) s.append(reinterpret_cast<const char*>(&w), 4);
    return s;
}

const BadFile kBadFiles[] = {
    {"truncated world", kGood.substr(0, kGood.size() - 30), "line 5"},
    {"no end record", kGood.substr(0, kGood.size() - 4), "line 6"},
    {"garbled flag", "OMBREL-WORLD 1\ngroup 1 \"g\" father 0 static yes", "line 2"},
    {"garbled number", "OMBREL-WORLD 1\n" + kGroup + "polygon 1 \"\" group 1 enabled 1 fill colour rgb 1 2 3 second 0 blend 0 dim 0 rotated 0 lights 0\np 0 1e999x 0 0 0 100\nend\n", "line 4"},
    {"unterminated string", "OMBREL-WORLD 1\ngroup 1 \"the_world father 0\nend\n", "line 2"},
    {"unknown reference", "OMBREL-WORLD 1\n" + kGroup + "polygon 1 \"\" group 7 enabled 1\nend\n", "line 3"},
    {"duplicate id", "OMBREL-WORLD 1\n" + kGroup + kGroup + "end\n", "line 3"},
    {"duplicate polygon id", "OMBREL-WORLD 1\n" + kGroup + polygonLine(3) + polygonLine(5) + polygonLine(3) + "end\n", "line 5"},
    {"duplicate polygon id out of order", "OMBREL-WORLD 1\n" + kGroup + polygonLine(5) + polygonLine(2) + polygonLine(4) + polygonLine(2) + "end\n", "line 6"},
    {"huge track count", "OMBREL-WORLD 1\ntrack 1 \"t\" save 1 cyclic 0 n 2000000000\n0 0 0\nend\n", "line 2"},
    {"huge light count", "OMBREL-WORLD 1\n" + kGroup + "polygon 1 \"\" group 1 enabled 1 fill colour rgb 1 2 3 second 0 blend 0 dim 0 rotated 0 lights 2000000000 1\nend\n", "line 3"},
    {"colour out of range", "OMBREL-WORLD 1\natmosphere 300 0 0 0\nend\n", "line 2"},
    {"newer version", "OMBREL-WORLD 99\nend\n", "line 1"},
    {"wrong type", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "line 1"},
    {"empty", "", "line 0"},
    {"x truncated", "xof 0303txt 0032\nFrame box {\n Mesh {\n  3;\n  0;0;0;,\n", "offset"},
    {"x huge vertex count", "xof 0303txt 0032\nMesh m {\n 4000000000;\n 0;0;0;;\n 0;\n}\n", "offset"},
    {"x index out of range", "xof 0303txt 0032\nMesh m {\n 3;\n 0;0;0;,1;0;0;,0;1;0;;\n 1;\n 3;0,1,9;;\n}\n", "offset"},
    {"x unknown material", "xof 0303txt 0032\nMesh m {\n 3;\n 0;0;0;,1;0;0;,0;1;0;;\n 1;\n 3;0,1,2;;\n MeshMaterialList { 1; 1; 0;; { Gold } }\n}\n", "offset"},
    {"x bad format", "xof 0303abc 0032\n", "offset"},
    {"x binary list past the end", binaryX({6u | (0x7fffffffu << 16), 0x7fffu}), "offset"},
    {"x binary unknown token", binaryX({99}), "offset"},
    {"x compressed garbage", std::string("xof 0303tzip0032\x40\0\0\0\x10\0\x08\0CKgarbage", 33), "offset"},
    {"x nested too deep", "xof 0303txt 0032\n" + [] {
         std::string s;
         for (int i = 0; i < 200; ++i) s += "Frame {\n";
         return s;
     }(), "offset"},
};

class WorldFileBadInput : public EngineTest, public ::testing::WithParamInterface<BadFile> {
protected:
    FileFolder dir;
};

TEST_P(WorldFileBadInput, LoadFailsNamingTheFileAndPlaceAndLeavesTheEngineEmpty) {
    const BadFile& bad = GetParam();
    std::string path = dir.file("bad.wld");
    writeText(path, bad.content);
    EXPECT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), -1) << bad.label;
    std::string error = lastError();
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(bad.where), std::string::npos) << error;
    EXPECT_EQ(OMBREL_engine_is_engine_empty(), 1);
}

TEST_P(WorldFileBadInput, AddFailsAndLeavesTheOpenWorldUnchanged) {
    const BadFile& bad = GetParam();
    std::string good = dir.file("good.wld");
    writeText(good, kGood);
    ASSERT_EQ(OMBREL_engine_load_world(good.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();
    int32_t root = OMBREL_group_get_using_name("the_world");
    std::string before = dir.file("before.wld");
    ASSERT_EQ(OMBREL_engine_save(before.c_str(), root, OMBREL_SAVE_WORLD), 0);

    std::string path = dir.file("bad.wld");
    writeText(path, bad.content);
    double at[3] = {1, 2, 3};
    EXPECT_EQ(OMBREL_engine_add_world(path.c_str(), "", "", at), 0) << bad.label;
    EXPECT_NE(lastError().find(path), std::string::npos) << lastError();

    int groups = 0;
    for (int32_t g = OMBREL_group_get_first_group(); g; g = OMBREL_group_get_next(g)) ++groups;
    EXPECT_EQ(groups, 1);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(0), 1);
    std::string after = dir.file("after.wld");
    ASSERT_EQ(OMBREL_engine_save(after.c_str(), root, OMBREL_SAVE_WORLD), 0);
    EXPECT_EQ(readText(after), readText(before));
}

INSTANTIATE_TEST_SUITE_P(Cases, WorldFileBadInput, ::testing::ValuesIn(kBadFiles),
                         [](const ::testing::TestParamInfo<BadFile>& info) {
                             std::string name = info.param.label;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// Resident memory of this process, in bytes.
int64_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    int64_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

class WorldFileMissingLightMaps : public EngineTest {
protected:
    FileFolder dir;
};

// Each record claims a 4096 x 4096 light map whose file is missing: the engine
// answers the claimed size but holds no such picture.
TEST_F(WorldFileMissingLightMaps, CostMemoryByTheFileNotByTheSizeTheyClaim) {
    constexpr int kMaps = 10;
    auto record = [](int i) {
        const std::string n = std::to_string(i);
        return "bitmap " + n + " \"/nonexistent/LIGHTMAP_" + n + "\" \"/nonexistent/LIGHTMAP_" + n +
               ".bmp\" \"LIGHTMAP_" + n + ".bmp\" -1 lightmap 4096 4096\n";
    };
    std::string text = "OMBREL-WORLD 1\n";
    for (int i = 1; i <= kMaps; ++i) text += record(i);
    text +=
        "group 1 \"the_world\" father 0 static 1 disabled 0 pivot 0 0 0 origin 0 0 0 axes 1 0 0 0 1 0 0 0 1\n"
        "polygon 1 \"\" group 1 enabled 1 fill colour rgb 1 2 3 second 1 blend 0 dim 0 rotated 0 lights 0 map 0 0 0 1 0 0 0 1 0\n"
        "p 0 0 0 0 0 100\np 0 1 0 0 0 100\np 1 1 0 0 0 100\n"
        "end\n";
    const std::string path = dir.file("maps.wld");
    writeText(path, text);

    const int64_t before = residentBytes();
    ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();
    EXPECT_LT(residentBytes() - before, int64_t(64) << 20);
    int maps = 0;
    for (int32_t b = OMBREL_bitmap_get_first_bitmap(); b; b = OMBREL_bitmap_get_next(b), ++maps) {
        EXPECT_EQ(OMBREL_bitmap_get_width(b), 4096);
        EXPECT_EQ(OMBREL_bitmap_get_height(b), 4096);
    }
    EXPECT_EQ(maps, kMaps);

    // Saved again, the light map keeps its record and no made-up picture is written.
    const std::string again = dir.file("again.wld");
    ASSERT_EQ(OMBREL_engine_save(again.c_str(), OMBREL_group_get_using_name("the_world"), OMBREL_SAVE_WORLD), 0)
        << lastError();
    EXPECT_NE(readText(again).find(record(1)), std::string::npos) << readText(again);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bitmaps/LIGHTMAP_1.bmp")));
}

class WorldFileSaveFailure : public EngineTest {
protected:
    FileFolder dir;
    int32_t root = 0;
    void SetUp() override {
        EngineTest::SetUp();
        root = OMBREL_group_create("the_world");
        makeSquareFacingUp(root, 0, 0, 0, 1);
    }
};

TEST_F(WorldFileSaveFailure, UnwritablePlacesFailAndKeepThePreviousFile) {
    writeText(dir.file("plain"), "not a folder");
    std::filesystem::create_directories(dir.file("folder.wld"));

    for (const std::string& path : {dir.file("plain/world.wld"), dir.file("folder.wld")}) {
        EXPECT_EQ(OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD), -1) << path;
        EXPECT_NE(lastError().find(path), std::string::npos) << lastError();
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder.wld")));
}

TEST_F(WorldFileSaveFailure, ASuccessfulSaveReplacesTheFileAndLeavesNoTemporary) {
    std::string path = dir.file("w.wld");
    writeText(path, "old");
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), root, OMBREL_SAVE_WORLD), 0);
    EXPECT_EQ(readText(path).rfind("OMBREL-WORLD 1\n", 0), 0u);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{"w.wld"});
}

}  // namespace
