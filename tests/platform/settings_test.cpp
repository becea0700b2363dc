#include "platform/doubles/temporary_settings.h"
#include "platform/settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace platform;

namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(SettingsTest, ValuesRoundTripByKeyInTheTemporaryStore) {
    platform::doubles::TemporarySettings store;
    EXPECT_EQ(getSetting("MRUFiles", "1", "none"), "none");
    saveSetting("MRUFiles", "1", "/worlds/my world.wld");
    saveSetting("MRUFiles", "2", "/worlds/b.wld");
    saveSetting("Options", "Show Tips at Startup", "0");
    EXPECT_EQ(getSetting("MRUFiles", "1"), "/worlds/my world.wld");
    EXPECT_EQ(getSetting("Options", "Show Tips at Startup"), "0");
    EXPECT_NE(contents(store.file()).find("my world.wld"), std::string::npos);

    deleteSetting("MRUFiles", "1");
    EXPECT_EQ(getSetting("MRUFiles", "1", "gone"), "gone");
    EXPECT_EQ(getSetting("MRUFiles", "2"), "/worlds/b.wld");
    deleteSetting("MRUFiles");
    EXPECT_EQ(getSetting("MRUFiles", "2", "gone"), "gone");
    EXPECT_EQ(getSetting("Options", "Show Tips at Startup"), "0");
}

TEST(SettingsTest, OnlyWholeNumbersCountWhereANumberIsExpected) {
    platform::doubles::TemporarySettings store;
    struct Case {
        const char* stored;
        std::optional<long> number;
    };
    const Case cases[] = {
        {"0", 0}, {"1", 1}, {"-3", -3}, {" 7 ", 7}, {"abc", std::nullopt}, {"12abc", std::nullopt},
        {"", std::nullopt}, {"1.5", std::nullopt}, {"99999999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        saveSetting("Options", "Show Tips at Startup", c.stored);
        EXPECT_EQ(settingNumber("Options", "Show Tips at Startup"), c.number);
        EXPECT_EQ(getSettingNumber("Options", "Show Tips at Startup", 1), c.number.value_or(1));
    }
    EXPECT_EQ(getSettingNumber("Options", "Never Stored", 1), 1);
}

}  // namespace
