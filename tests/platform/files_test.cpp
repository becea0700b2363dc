#include "platform/files.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using namespace platform;

namespace {

class FilesTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    QTemporaryDir dir_;
};

TEST_F(FilesTest, FoldersAreCreatedAndRemovedOnlyWhereThatMakesSense) {
    write("plain.txt", "x");
    struct Case {
        const char* name;
        std::function<bool()> call;
        bool succeeds;
    };
    const Case cases[] = {
        {"a new folder", [&] { return CreateDirectoryA(path("Models")); }, true},
        {"the same folder again", [&] { return CreateDirectoryA(path("Models")); }, false},
        {"a folder inside a missing one", [&] { return CreateDirectoryA(path("none/Models")); }, false},
        {"a folder whose parent is a file", [&] { return CreateDirectoryA(path("plain.txt/Models")); }, false},
        {"a folder that is not empty", [&] {
             CreateDirectoryA(path("Full"));
             write("Full/a.wld", "x");
             return RemoveDirectoryA(path("Full"));
         }, false},
        {"a file as a folder", [&] { return RemoveDirectoryA(path("plain.txt")); }, false},
        {"an empty folder", [&] { return RemoveDirectoryA(path("Models")); }, true},
        {"a missing folder", [&] { return RemoveDirectoryA(path("Models")); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(), c.succeeds);
    }
    EXPECT_FALSE(folderExists(path("Models")));
    EXPECT_TRUE(folderExists(path("Full")));
    EXPECT_TRUE(fileExists(path("plain.txt")));
}

TEST_F(FilesTest, DeleteFileRemovesFilesOnly) {
    write("Hold.wld", "x");
    CreateDirectoryA(path("Folder.wld"));
    EXPECT_TRUE(DeleteFileA(path("Hold.wld")));
    EXPECT_FALSE(fileExists(path("Hold.wld")));
    EXPECT_FALSE(DeleteFileA(path("Hold.wld")));
    EXPECT_FALSE(DeleteFileA(path("Folder.wld")));
    EXPECT_TRUE(folderExists(path("Folder.wld")));
    EXPECT_FALSE(fileExists(path("Folder.wld")));
}

TEST_F(FilesTest, ListingsNameFilesAndFoldersApartSortedAndFiltered) {
    write("b.wld", "");
    write("A.WLD", "");
    write("a.jpg", "");
    CreateDirectoryA(path("Cars"));
    CreateDirectoryA(path("boats"));
    EXPECT_EQ(listFiles(path("")), (std::vector<std::string>{"a.jpg", "A.WLD", "b.wld"}));
    EXPECT_EQ(listFiles(path(""), "*.wld"), (std::vector<std::string>{"A.WLD", "b.wld"}));
    EXPECT_EQ(listFolders(path("")), (std::vector<std::string>{"boats", "Cars"}));
    EXPECT_TRUE(listFiles(path("missing")).empty());
    EXPECT_TRUE(listFolders(path("b.wld")).empty());
}

TEST_F(FilesTest, LinesAreReadWithoutTheirEnds) {
    write("tips.txt", "First tip\r\nSecond tip\n\nLast without end");
    const auto lines = readLines(path("tips.txt"));
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (std::vector<std::string>{"First tip", "Second tip", "", "Last without end"}));
    write("empty.txt", "");
    EXPECT_EQ(readLines(path("empty.txt")), std::vector<std::string>{});
    EXPECT_EQ(readLines(path("missing.txt")), std::nullopt);
    CreateDirectoryA(path("folder.txt"));
    EXPECT_EQ(readLines(path("folder.txt")), std::nullopt);
}

}  // namespace
