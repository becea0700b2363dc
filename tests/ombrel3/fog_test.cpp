// The atmospheric effect: defaults per world and clamping of what is set.
#include "engine_fixture.h"

#include <cmath>

class FogTest : public EngineTest {
protected:
    static P3 colour() {
        int32_t r = -1, g = -1, b = -1;
        EXPECT_EQ(OMBREL_engine_get_atmospheric_effect(&r, &g, &b), 0);
        return {double(r), double(g), double(b)};
    }
};

TEST_F(FogTest, NewWorldHasGreyFogOfNoDensity) {
    EXPECT_EQ(colour(), (P3{128, 128, 128}));
    EXPECT_EQ(OMBREL_engine_get_atmospheric_effect_intensity(), 0);
}

TEST_F(FogTest, ColourComponentsAreClampedTo0To255) {
    const struct {
        int32_t r, g, b;
        P3 stored;
    } cases[] = {
        {10, 20, 30, {10, 20, 30}},
        {0, 255, 128, {0, 255, 128}},
        {-1, 256, 1000, {0, 255, 255}},
        {INT32_MIN, INT32_MAX, 7, {0, 255, 7}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(OMBREL_engine_set_atmospheric_effect(c.r, c.g, c.b), 0);
        EXPECT_EQ(colour(), c.stored) << c.r << " " << c.g << " " << c.b;
    }
}

TEST_F(FogTest, DensityBelowZeroIsStoredAsZero) {
    const struct {
        double given, stored;
    } cases[] = {{0.0006, 0.0006}, {2.5, 2.5}, {0, 0}, {-0.1, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(OMBREL_engine_set_atmospheric_effect_intensity(c.given), 0);
        EXPECT_EQ(OMBREL_engine_get_atmospheric_effect_intensity(), c.stored) << c.given;
    }
}

TEST_F(FogTest, ANewWorldStartsFromTheDefaultsAgain) {
    OMBREL_engine_set_atmospheric_effect(1, 2, 3);
    OMBREL_engine_set_atmospheric_effect_intensity(0.5);
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
    EXPECT_EQ(colour(), (P3{128, 128, 128}));
    EXPECT_EQ(OMBREL_engine_get_atmospheric_effect_intensity(), 0);
}
