#include "platform/doubles/platform_doubles.h"
#include "platform/settings.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(PlatformDoublesTest, OneFixtureMemberInstallsEveryDoubleAndPutsTheRealServicesBack) {
    Prompts* realPrompts = &prompts();
    Cursor* realCursor = &cursor();
    Clock* realClock = &clockService();
    Shell* realShell = &shell();
    {
        platform::doubles::PlatformDoubles doubles;
        EXPECT_EQ(&prompts(), &doubles.prompts);
        EXPECT_EQ(&cursor(), &doubles.cursor);
        EXPECT_EQ(&shell(), &doubles.shell);

        const uint32_t start = GetTickCount();
        Sleep(3);
        doubles.clock.advance(20000);
        EXPECT_EQ(GetTickCount() - start, 20003u);
        EXPECT_EQ(doubles.clock.slept(), 3u);

        saveSetting("Options", "Show Tips at Startup", "0");
        EXPECT_EQ(getSettingNumber("Options", "Show Tips at Startup", 1), 0);
    }
    EXPECT_EQ(&prompts(), realPrompts);
    EXPECT_EQ(&cursor(), realCursor);
    EXPECT_EQ(&clockService(), realClock);
    EXPECT_EQ(&shell(), realShell);
    platform::doubles::TemporarySettings fresh;
    EXPECT_EQ(getSettingNumber("Options", "Show Tips at Startup", 1), 1);
}

}  // namespace
