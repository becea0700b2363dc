// Lights: defaults, exact storage, the saved-only list and binding to the
// polygons of the target's walk.
#include "engine_fixture.h"

#include <cmath>
#include <string>

class LightTest : public EngineTest {
protected:
    int32_t makeLight(const char* name, double x = 0, double y = 0, double z = 0) {
        const double at[3] = {x, y, z};
        return OMBREL_light_create(name, at);
    }
};

TEST_F(LightTest, NewLightHasTheDocumentedDefaults) {
    const int32_t l = makeLight("sun", 1.5, -2, 30);
    ASSERT_NE(l, 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(l), OMBREL_KIND_LIGHT);
    double v[3];
    ASSERT_EQ(OMBREL_light_get_location(l, v), 0);
    EXPECT_EQ(v[0], 1.5);
    EXPECT_EQ(v[1], -2);
    EXPECT_EQ(v[2], 30);
    ASSERT_EQ(OMBREL_light_get_direction(l, v), 0);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], -1);
    uint8_t rgb[3] = {};
    ASSERT_EQ(OMBREL_light_get_color(l, rgb), 0);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[1], 255);
    EXPECT_EQ(rgb[2], 255);
    EXPECT_EQ(OMBREL_light_get_type_of_light(l), 58);
    EXPECT_EQ(OMBREL_light_get_ambient(l), 0.2);
    EXPECT_EQ(OMBREL_light_get_diffuse(l), 0.8);
    EXPECT_EQ(OMBREL_light_get_specular(l), 0.3);
    EXPECT_EQ(OMBREL_light_get_specular_shining(l), 20);
    EXPECT_EQ(OMBREL_light_get_distance_reach(l), 5000);
    EXPECT_EQ(OMBREL_light_is_disabled(l), 0);
    EXPECT_EQ(OMBREL_light_is_ray_tracing(l), 1);
    int32_t state = -1;
    EXPECT_EQ(OMBREL_light_is_activated_before_render(l, &state), 1);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(OMBREL_light_get_entity_to_light(l), 0);
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(l), 1);
}

TEST_F(LightTest, EveryFieldIsStoredAndReturnedExactly) {
    const int32_t l = makeLight("lamp");
    const double at[3] = {0.1, 1e-300, -7e12};
    ASSERT_EQ(OMBREL_light_set_location(l, at), 0);
    const uint8_t rgb[3] = {0, 128, 255};
    ASSERT_EQ(OMBREL_light_set_color(l, rgb), 0);
    ASSERT_EQ(OMBREL_light_set_ambient(l, 1.7), 0);
    ASSERT_EQ(OMBREL_light_set_diffuse(l, -0.25), 0);
    ASSERT_EQ(OMBREL_light_set_specular(l, 0.123456789012345), 0);
    ASSERT_EQ(OMBREL_light_set_specular_shining(l, -3), 0);  // used as 0 when lighting, kept as given
    ASSERT_EQ(OMBREL_light_set_distance_reach(l, -1), 0);
    ASSERT_EQ(OMBREL_light_set_type_of_light(l, 59 | 256), 0);  // unknown bits kept
    ASSERT_EQ(OMBREL_light_disable(l, 1), 0);
    ASSERT_EQ(OMBREL_light_set_ray_tracing(l, 0), 0);
    ASSERT_EQ(OMBREL_light_activate_before_each_render(l, 2, 0), 0);
    ASSERT_EQ(OMBREL_light_set_save_flag(l, 0), 0);

    double v[3];
    OMBREL_light_get_location(l, v);
    EXPECT_EQ(v[0], 0.1);
    EXPECT_EQ(v[1], 1e-300);
    EXPECT_EQ(v[2], -7e12);
    uint8_t out[3];
    OMBREL_light_get_color(l, out);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 128);
    EXPECT_EQ(out[2], 255);
    EXPECT_EQ(OMBREL_light_get_ambient(l), 1.7);
    EXPECT_EQ(OMBREL_light_get_diffuse(l), -0.25);
    EXPECT_EQ(OMBREL_light_get_specular(l), 0.123456789012345);
    EXPECT_EQ(OMBREL_light_get_specular_shining(l), -3);
    EXPECT_EQ(OMBREL_light_get_distance_reach(l), -1);
    EXPECT_EQ(OMBREL_light_get_type_of_light(l), 59 | 256);
    EXPECT_EQ(OMBREL_light_is_disabled(l), 1);
    EXPECT_EQ(OMBREL_light_is_ray_tracing(l), 0);
    int32_t state = 0;
    EXPECT_EQ(OMBREL_light_is_activated_before_render(l, &state), 1);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(OMBREL_light_is_activated_before_render(l, nullptr), 1);
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(l), 0);

    ASSERT_EQ(OMBREL_light_activate_before_each_render(l, 0, 0), 0);
    EXPECT_EQ(OMBREL_light_is_activated_before_render(l, &state), 0);
    EXPECT_EQ(state, 0);
    ASSERT_EQ(OMBREL_light_disable(l, 0), 0);
    EXPECT_EQ(OMBREL_light_is_disabled(l), 0);
}

TEST_F(LightTest, DirectionIsNormalisedAndAZeroVectorIsRefused) {
    const int32_t l = makeLight("spot");
    const double d[3] = {3, 0, -4};
    ASSERT_EQ(OMBREL_light_set_direction(l, d), 0);
    double v[3];
    OMBREL_light_get_direction(l, v);
    EXPECT_DOUBLE_EQ(v[0], 0.6);
    EXPECT_DOUBLE_EQ(v[1], 0);
    EXPECT_DOUBLE_EQ(v[2], -0.8);

    const double zero[3] = {0, 0, 0};
    OMBREL_ext_clear_last_error();
    EXPECT_EQ(OMBREL_light_set_direction(l, zero), -1);
    EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
    const double nan[3] = {NAN, 0, 0};
    EXPECT_EQ(OMBREL_light_set_direction(l, nan), -1);
    double after[3];
    OMBREL_light_get_direction(l, after);
    EXPECT_EQ(after[0], v[0]);
    EXPECT_EQ(after[2], v[2]);
}

TEST_F(LightTest, ListHoldsOnlySavedLightsInCreationOrder) {
    const int32_t a = makeLight("a");
    const int32_t b = makeLight("b");
    const int32_t c = makeLight("c");
    const int32_t d = makeLight("d");
    OMBREL_light_set_save_flag(b, 0);  // fake-deleted
    OMBREL_light_set_save_flag(d, 0);

    EXPECT_EQ(OMBREL_light_get_first_light(), a);
    EXPECT_EQ(OMBREL_light_get_next_light(a), c);
    EXPECT_EQ(OMBREL_light_get_next_light(c), 0);
    // A fake-deleted light is still reached by handle and name, and its next is the next saved one.
    EXPECT_EQ(OMBREL_light_get_using_name("b"), b);
    EXPECT_EQ(OMBREL_light_get_next_light(b), c);

    OMBREL_light_set_save_flag(a, 0);
    EXPECT_EQ(OMBREL_light_get_first_light(), c);
    OMBREL_light_set_save_flag(b, 7);  // any non-zero value includes it again
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(b), 1);
    EXPECT_EQ(OMBREL_light_get_first_light(), b);

    OMBREL_light_delete(c);
    EXPECT_EQ(OMBREL_light_get_next_light(b), 0);
}

TEST_F(LightTest, NameLookUpIsExactAndFindsTheFirst) {
    const int32_t first = makeLight("Lamp");
    const int32_t second = makeLight("Lamp");
    makeLight("lamp");
    EXPECT_EQ(OMBREL_light_get_using_name("Lamp"), first);
    EXPECT_EQ(OMBREL_light_get_using_name("LAMP"), 0);
    EXPECT_EQ(OMBREL_light_get_using_name(""), 0);
    EXPECT_EQ(OMBREL_light_get_using_name(nullptr), 0);
    ASSERT_EQ(OMBREL_light_set_name(first, "Other"), 0);
    EXPECT_EQ(OMBREL_light_get_using_name("Lamp"), second);
    EXPECT_EQ(OMBREL_light_get_using_name("Other"), first);

    // Names hold 254 bytes; the cut name answers both the long and the cut form.
    const std::string longName(300, 'x');
    ASSERT_EQ(OMBREL_light_set_name(second, longName.c_str()), 0);
    EXPECT_EQ(OMBREL_light_get_using_name(longName.substr(0, 254).c_str()), second);
    EXPECT_EQ(OMBREL_light_get_using_name(longName.c_str()), second);
    EXPECT_EQ(OMBREL_light_get_using_name(longName.substr(0, 253).c_str()), 0);
}

TEST_F(LightTest, ActivationBindsExactlyTheTargetsWalk) {
    const int32_t g1 = OMBREL_group_create("g1");
    const int32_t g2 = OMBREL_group_create("g2");
    const int32_t p1 = makeSquareFacingUp(g1, 0, 0, 0, 10);
    const int32_t p2 = makeSquareFacingUp(g1, 20, 0, 0, 10);
    const int32_t q = makeSquareFacingUp(g2, 40, 0, 0, 10);
    const int32_t l = makeLight("l", 0, 0, 100);
    const int32_t other = makeLight("other", 0, 0, 100);

    // Created, not yet activated: bound to nothing.
    for (int32_t p : {p1, p2, q}) EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p, l), 0);

    ASSERT_EQ(OMBREL_light_set_entity_to_light(l, g1), 0);
    EXPECT_EQ(OMBREL_light_get_entity_to_light(l), g1);
    // The target takes effect only at activation.
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p1, l), 0);
    ASSERT_EQ(OMBREL_light_activate(l, 0), 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p1, l), 1);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p2, l), 1);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(q, l), 0);

    // Another light's bindings are its own.
    ASSERT_EQ(OMBREL_light_activate(other, 0), 0);  // target 0: every polygon of the world
    for (int32_t p : {p1, p2, q}) EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p, other), 1);

    // Re-activation with a new target moves the bindings.
    ASSERT_EQ(OMBREL_light_set_entity_to_light(l, g2), 0);
    ASSERT_EQ(OMBREL_light_activate(l, 0), 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p1, l), 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p2, l), 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(q, l), 1);
    for (int32_t p : {p1, p2, q}) EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p, other), 1);

    // A polygon made after the activation is lit only after the next one.
    const int32_t late = makeSquareFacingUp(g2, 60, 0, 0, 10);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(late, l), 0);
    ASSERT_EQ(OMBREL_light_activate(l, 0), 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(late, l), 1);

    // Disabling keeps the bindings.
    OMBREL_light_disable(l, 1);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(q, l), 1);

    // Deleting unbinds it everywhere and leaves the other light alone.
    ASSERT_EQ(OMBREL_light_delete(l), 0);
    for (int32_t p : {p1, p2, q, late}) EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p, l), 0);
    for (int32_t p : {p1, p2, q}) EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(p, other), 1);
}

TEST_F(LightTest, TargetMustBeALiveGroup) {
    const int32_t g = OMBREL_group_create("g");
    const int32_t l = makeLight("l");
    const int32_t notAGroup = makeLight("not a group");
    ASSERT_EQ(OMBREL_light_set_entity_to_light(l, g), 0);
    EXPECT_EQ(OMBREL_light_set_entity_to_light(l, notAGroup), -1);
    EXPECT_EQ(OMBREL_light_set_entity_to_light(l, g + 12345), -1);
    EXPECT_EQ(OMBREL_light_get_entity_to_light(l), g);
    ASSERT_EQ(OMBREL_light_set_entity_to_light(l, 0), 0);
    EXPECT_EQ(OMBREL_light_get_entity_to_light(l), 0);
}

TEST_F(LightTest, NormalsModeIsEngineWide) {
    for (int32_t mode : {0, 1, 2}) EXPECT_EQ(OMBREL_light_calcualte_vertices_normals_automatically(mode), 0);
    EXPECT_EQ(OMBREL_light_calcualte_vertices_normals_automatically(3), -1);
    EXPECT_EQ(OMBREL_light_calcualte_vertices_normals_automatically(-1), -1);
    OMBREL_engine_close();
    EXPECT_EQ(OMBREL_light_calcualte_vertices_normals_automatically(2), 0);
}

TEST_F(LightTest, TargetWalkReachesSubGroupsAndFallsBackToTheWorld) {
    const int32_t root = OMBREL_group_create("root");
    const int32_t child = OMBREL_group_create("child");
    const int32_t grandChild = OMBREL_group_create("grand child");
    const int32_t outside = OMBREL_group_create("outside");
    ASSERT_EQ(OMBREL_group_set_father_group(child, root), 0);
    ASSERT_EQ(OMBREL_group_set_father_group(grandChild, child), 0);
    const int32_t inRoot = makeSquareFacingUp(root, 0, 0, 0, 1);
    const int32_t inChild = makeSquareFacingUp(child, 2, 0, 0, 1);
    const int32_t deep = makeSquareFacingUp(grandChild, 4, 0, 0, 1);
    const int32_t apart = makeSquareFacingUp(outside, 6, 0, 0, 1);
    const int32_t l = makeLight("l");

    OMBREL_light_set_entity_to_light(l, child);
    OMBREL_light_activate(l, 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(inRoot, l), 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(inChild, l), 1);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(deep, l), 1);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(apart, l), 0);

    // The target group goes: the light lights the whole world from then on.
    ASSERT_EQ(OMBREL_group_delete_members(child), 0);
    EXPECT_EQ(OMBREL_light_get_entity_to_light(l), 0);
    ASSERT_EQ(OMBREL_light_activate(l, 0), 0);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(inRoot, l), 1);
    EXPECT_EQ(OMBREL_ext_polygon_is_lit_by(apart, l), 1);
}
