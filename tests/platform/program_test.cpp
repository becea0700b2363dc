#include "platform/doubles/test_application.h"
#include "platform/program.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace platform;

namespace {

TEST(ProgramTest, TheCommandLineIsTheArgumentsJoinedWithSingleSpaces) {
    const struct {
        std::vector<std::string> arguments;
        const char* line;
    } cases[] = {
        {{}, ""},
        {{"world.wld"}, "world.wld"},
        {{"/home/me/my", "world.wld"}, "/home/me/my world.wld"},
        {{"\"/home/me/my", "world.wld\""}, "\"/home/me/my world.wld\""},
        {{"a", "", "b"}, "a  b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(joinArguments(c.arguments), c.line);
    }
}

TEST(ProgramTest, TheWorldFileOfACommandLineLosesSpacesAndSurroundingQuotes) {
    const struct {
        const char* line;
        const char* file;
    } cases[] = {
        {"", ""},
        {"    ", ""},
        {"world.wld", "world.wld"},
        {"  /home/me/my world.wld  ", "/home/me/my world.wld"},
        {"\"/home/me/my world.wld\"", "/home/me/my world.wld"},
        {"  \"/home/me/my world.wld\"  ", "/home/me/my world.wld"},
        {"\"only leading.wld", "only leading.wld"},
        {"only trailing.wld\"", "only trailing.wld"},
        {"a \"quoted\" word.wld", "a \"quoted\" word.wld"},
        {"\"", ""},
        {"\"\"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(commandLineFile(c.line), c.file);
    }
}

TEST(ProgramTest, TheProgramFolderIsTheExecutablesOwnWithATrailingSlash) {
    platform::doubles::testApplication();
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath().toStdString() + "/");
    setProgramFolder("/tmp/talvora-program");
    EXPECT_EQ(programFolder(), "/tmp/talvora-program/");
    setProgramFolder("");
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath().toStdString() + "/");
}

}  // namespace
