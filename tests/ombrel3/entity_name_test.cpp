// Names of every kind: cut at 254 bytes, copied into buffers that are never overrun.
#include "engine_fixture.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using EntityName = EngineTest;

TEST_F(EntityName, LongNamesAreCutAndBuffersNeverOverflow) {
    std::string longName(400, 'x');
    int32_t g = OMBREL_group_create(longName.c_str());
    int32_t p = OMBREL_polygon_create();
    OMBREL_polygon_set_name(p, longName.c_str());
    for (int32_t h : {g, p}) {
        EXPECT_EQ(OMBREL_entity_get_name(h, nullptr, 0), 254);
        EXPECT_EQ(entityName(h), std::string(254, 'x'));
        std::vector<char> buf(16, '#');
        EXPECT_EQ(OMBREL_entity_get_name(h, buf.data() + 1, 10), 254);
        EXPECT_EQ(buf[0], '#');
        EXPECT_EQ(std::string(buf.data() + 1), std::string(9, 'x'));
        EXPECT_EQ(buf[11], '#');
        char one = '#';
        OMBREL_entity_get_name(h, &one, 1);
        EXPECT_EQ(one, '\0');
    }
}

TEST_F(EntityName, LongNamesAreCutBetweenCharacters) {
    struct Case {
        const char* name;
        std::string given;
        std::size_t kept;
    };
    const std::string e = "\xC3\xA9";          // two bytes
    const std::string euro = "\xE2\x82\xAC";  // three bytes
    // After the prefix the characters start at 1 + 2k and 3 + 3k: one starts at
    // byte 253, the other at 252, each running past byte 253.
    std::string twoAcross = "a";
    std::string threeAcross = "abc";
    for (int i = 0; i < 200; ++i) {
        twoAcross += e;
        threeAcross += euro;
    }
    const Case cases[] = {
        {"two-byte characters ending at the cut", std::string(), 254},
        {"a two-byte character across the cut", twoAcross, 253},
        {"a three-byte character across the cut", threeAcross, 252},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string given = c.given;
        if (given.empty())
            for (int i = 0; i < 200; ++i) given += e;
        const int32_t g = OMBREL_group_create(given.c_str());
        const int32_t p = OMBREL_polygon_create();
        OMBREL_polygon_set_name(p, given.c_str());
        for (int32_t h : {g, p}) EXPECT_EQ(entityName(h), given.substr(0, c.kept));
    }
}

TEST_F(EntityName, PointsHaveAnEmptyNameAndStaleHandlesFail) {
    int32_t p = OMBREL_polygon_create();
    double rec[6] = {0, 0, 0, 0, 0, 100};
    int32_t pt = OMBREL_polygon_add_point(p, rec);
    char buf[8] = "junk";
    EXPECT_EQ(OMBREL_entity_get_name(pt, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    int32_t g = OMBREL_group_create("gone");
    OMBREL_group_delete_members(g);
    std::strcpy(buf, "junk");
    EXPECT_EQ(OMBREL_entity_get_name(g, buf, sizeof buf), -1);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(OMBREL_entity_get_name(0, buf, sizeof buf), -1);
}

TEST_F(EntityName, ChaseNamesOfGroups) {
    int32_t g = OMBREL_group_create("g");
    char buf[64];
    EXPECT_EQ(OMBREL_entity_get_name_to_chase(g, buf, sizeof buf), 0);
    OMBREL_group_set_name_to_chase(g, "cam1");
    EXPECT_EQ(OMBREL_entity_get_name_to_chase(g, buf, sizeof buf), 4);
    EXPECT_STREQ(buf, "cam1");
    OMBREL_group_set_name_to_chase(g, "NO_CHASE");
    EXPECT_EQ(OMBREL_entity_get_name_to_chase(g, buf, sizeof buf), 0);
    EXPECT_EQ(OMBREL_entity_get_name_to_chase(OMBREL_polygon_create(), buf, sizeof buf), -1);
}

}  // namespace
