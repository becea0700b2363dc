#include "core/StringProcedures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

TEST(ZeroPad, PadsBeforeTheSignAndNeverCuts) {
    struct Case {
        int32_t number, width;
        const char* want;
    };
    const Case cases[] = {{7, 3, "007"}, {1234, 3, "1234"}, {-5, 3, "0-5"}, {0, 0, "0"}, {42, 2, "42"}};
    for (const Case& c : cases) EXPECT_EQ(Globals::ZeroPad(c.number, c.width), c.want) << c.number;
}

TEST(StripAtNull, CutsAtTheFirstNul) {
    EXPECT_EQ(Globals::StripAtNull("plain"), "plain");
    EXPECT_EQ(Globals::StripAtNull(std::string_view("\0abc", 4)), "");
    EXPECT_EQ(Globals::StripAtNull(std::string_view("ab\0c\0", 5)), "ab");
}

TEST(Trim, DropsLeadingAndTrailingBlanksOnly) {
    struct Case {
        const char* text;
        const char* want;
    };
    const Case cases[] = {{"  Box 01 ", "Box 01"}, {"   ", ""}, {"", ""}, {"\tTab\t", "\tTab\t"}, {" Ä \"q\" ", "Ä \"q\""}};
    for (const Case& c : cases) EXPECT_EQ(Globals::Trim(c.text), c.want) << c.text;
}

TEST(GetFileExtension, TextAfterTheLastDot) {
    EXPECT_EQ(Globals::GetFileExtension("/worlds/city.wld"), "wld");
    EXPECT_EQ(Globals::GetFileExtension("/my.folder/file"), "folder/file");
    EXPECT_EQ(Globals::GetFileExtension("noext"), "");
}

TEST(GetFolderOfPath, ExistingFileGivesItsFolderWithSeparator) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("talvora_core_folder_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path file = dir / "city.wld";
    std::ofstream(file) << "x";
    EXPECT_EQ(Globals::GetFolderOfPath(file.string()), dir.string() + "/");
    EXPECT_EQ(Globals::GetFolderOfPath((dir / "missing.wld").string()), (dir / "missing.wld").string());
    // A folder is not what a file search finds.
    EXPECT_EQ(Globals::GetFolderOfPath(dir.string()), dir.string());
    fs::remove_all(dir);
}

}  // namespace
