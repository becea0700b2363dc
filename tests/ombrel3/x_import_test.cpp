// .x import: a cube written by hand in the text, binary and compressed forms comes
// in as six polygons whose visible sides face outwards, in our axes.
#include "world_file_helpers.h"

#include <cctype>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

// A cube of side 2 around the origin in the file's left-handed y-up axes, faces
// clockwise seen from outside, inside a frame moved by (10, 20, 30).
const double kVerts[8][3] = {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1},
                             {-1, -1, 1},  {-1, 1, 1},  {1, 1, 1},  {1, -1, 1}};
const int kFaces[6][4] = {{0, 1, 2, 3}, {7, 6, 5, 4}, {4, 5, 1, 0}, {3, 2, 6, 7}, {1, 5, 6, 2}, {4, 0, 3, 7}};

std::string textCube() {
    std::string s = "xof 0303txt 0032\n// a comment\ntemplate Vector {\n <3D82AB5E-62DA-11cf-AB39-0020AF71E433>\n FLOAT x;\n FLOAT y;\n FLOAT z;\n}\n";
    s += "Material Red {\n 1.0;0.0;0.0;1.0;;\n 0.0;\n 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n}\n";
    s += "Frame Box {\n FrameTransformMatrix {\n 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,20,30,1;;\n }\n Mesh cube {\n 8;\n";
    for (int i = 0; i < 8; ++i)
        s += " " + std::to_string(kVerts[i][0]) + ";" + std::to_string(kVerts[i][1]) + ";" + std::to_string(kVerts[i][2]) +
             (i < 7 ? ";,\n" : ";;\n");
    s += " 6;\n";
    for (int f = 0; f < 6; ++f)
        s += " 4;" + std::to_string(kFaces[f][0]) + "," + std::to_string(kFaces[f][1]) + "," + std::to_string(kFaces[f][2]) +
             "," + std::to_string(kFaces[f][3]) + (f < 5 ? ";,\n" : ";;\n");
    s += " MeshTextureCoords {\n 8;\n 0;0;, 0;1;, 1;1;, 1;0;, 0;0;, 0;1;, 1;1;, 0.25;0.5;;\n }\n";
    s += " MeshMaterialList {\n 1;\n 6;\n 0,0,0,0,0,0;;\n { Red }\n }\n";
    s += " }\n}\n";
    return s;
}

// The same cube as binary tokens (no materials or texture coordinates).
std::string binaryCube() {
    std::string s = "xof 0303bin 0032";
    auto word = [&](uint16_t v) { s.append(reinterpret_cast<const char*>(&v), 2); };
    auto dword = [&](uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); };
    auto name = [&](const std::string& n) {
        word(1);
        dword(static_cast<uint32_t>(n.size()));
        s += n;
    };
    auto ints = [&](std::vector<uint32_t> v) {
        word(6);
        dword(static_cast<uint32_t>(v.size()));
        for (uint32_t x : v) dword(x);
    };
    name("Frame");
    name("Box");
    word(10);
    name("FrameTransformMatrix");
    word(10);
    word(7);
    dword(16);
    for (float f : {1.f, 0.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 0.f, 1.f, 0.f, 10.f, 20.f, 30.f, 1.f})
        s.append(reinterpret_cast<const char*>(&f), 4);
    word(11);
    name("Mesh");
    word(10);
    ints({8});
    word(7);
    dword(24);
    for (const auto& v : kVerts)
        for (double c : v) {
            float f = static_cast<float>(c);
            s.append(reinterpret_cast<const char*>(&f), 4);
        }
    std::vector<uint32_t> faces{6};
    for (const auto& f : kFaces) faces.insert(faces.end(), {4u, uint32_t(f[0]), uint32_t(f[1]), uint32_t(f[2]), uint32_t(f[3])});
    ints(faces);
    word(11);
    word(11);
    return s;
}

// A text file in MSZIP form, its deflate data made of stored blocks.
std::string compressText(const std::string& text) {
    std::string plain = text.substr(16);
    std::string s = "xof 0303tzip0032";
    auto u16 = [&](std::size_t v) { s += char(v & 0xff), s += char(v >> 8 & 0xff); };
    uint32_t total = static_cast<uint32_t>(plain.size() + 16);
    s.append(reinterpret_cast<const char*>(&total), 4);
    for (std::size_t at = 0; at < plain.size(); at += 1000) {
        std::size_t n = std::min<std::size_t>(1000, plain.size() - at);
        u16(n);
        u16(n + 2 + 5);
        s += "CK";
        s += char(1);  // final stored block
        u16(n);
        u16(~n & 0xffff);
        s += plain.substr(at, n);
    }
    return s;
}

std::string compressedCube() { return compressText(textCube()); }

struct CubeForm {
    const char* label;
    std::string (*make)();
    bool hasMaterial;
    friend void PrintTo(const CubeForm& f, std::ostream* os) { *os << f.label; }
};

class XImport : public EngineTest, public ::testing::WithParamInterface<CubeForm> {
protected:
    FileFolder dir;
};

TEST_P(XImport, CubeBecomesSixOutwardFacingPolygonsInOurAxes) {
    std::string path = dir.file("cube.x");
    writeText(path, GetParam().make());
    ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();

    int32_t box = OMBREL_group_get_using_name("Box");
    ASSERT_NE(box, 0);
    EXPECT_EQ(OMBREL_group_get_father_group(box), 0);
    ASSERT_EQ(OMBREL_group_get_number_of_polygons(box), 6);
    // The frame's move (10, 20, 30) with y and z swapped.
    double c[3];
    OMBREL_group_get_location(box, &c[0], &c[1], &c[2]);
    EXPECT_DOUBLE_EQ(c[0], 10);
    EXPECT_DOUBLE_EQ(c[1], 30);
    EXPECT_DOUBLE_EQ(c[2], 20);
    double pivot[3];
    OMBREL_group_get_rotate_reference_point(box, pivot);
    EXPECT_DOUBLE_EQ(pivot[1], 30);

    for (int32_t p = OMBREL_group_get_first_polygon(box); p; p = OMBREL_group_get_next_polygon(box, p)) {
        EXPECT_EQ(OMBREL_polygon_get_num_of_points(p), 4);
        double plane[4], centre[3];
        ASSERT_EQ(OMBREL_polygon_get_plane(p, plane), 0);
        OMBREL_polygon_get_center(p, centre);
        double out = plane[0] * (centre[0] - c[0]) + plane[1] * (centre[1] - c[1]) + plane[2] * (centre[2] - c[2]);
        EXPECT_GT(out, 0.5) << "visible side faces inwards";
        if (GetParam().hasMaterial) {
            int32_t r, g, b;
            OMBREL_polygon_get_color(p, &r, &g, &b);
            EXPECT_EQ(r, 255);
            EXPECT_EQ(g, 0);
        }
    }
    if (GetParam().hasMaterial) {
        // The back face keeps its order 7 6 5 4: vertex 7 (uv 0.25, 0.5) first,
        // vertex 4 (uv 0, 0) last.
        int32_t back = OMBREL_group_get_next_polygon(box, OMBREL_group_get_first_polygon(box));
        double uv[2];
        OMBREL_point_get_bitmap_xy(OMBREL_polygon_get_first_point(back), uv);
        EXPECT_EQ(uv[0], 0.25);
        EXPECT_EQ(uv[1], 0.5);
        int32_t last = OMBREL_polygon_get_first_point(back);
        for (int32_t n = last; n; n = OMBREL_point_get_next_point(n)) last = n;
        OMBREL_point_get_bitmap_xy(last, uv);
        EXPECT_EQ(uv[0], 0);
        EXPECT_EQ(uv[1], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, XImport,
                         ::testing::Values(CubeForm{"text", textCube, true}, CubeForm{"binary", binaryCube, false},
                                           CubeForm{"compressed", compressedCube, true}),
                         [](const ::testing::TestParamInfo<CubeForm>& info) { return std::string(info.param.label); });

// A data object written once and spelt out as text or as binary tokens.
struct XNode {
    std::string type, name;
    std::vector<uint32_t> counts;   // written before the floats
    std::vector<float> floats;
    std::vector<uint32_t> indices;  // written after the floats
    std::string text;               // a string value, when not empty
    std::vector<std::string> refs;
    std::vector<XNode> kids;
};

using Spelling = std::string (*)(const std::string&);

std::string asWritten(const std::string& s) { return s; }
std::string lowerCase(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
std::string upperCase(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}
std::string otherTextureSpelling(const std::string& s) { return s == "TextureFilename" ? "TextureFileName" : s; }

void spellText(const XNode& n, Spelling spell, std::string& out) {
    out += spell(n.type) + (n.name.empty() ? "" : " " + n.name) + " {\n";
    for (uint32_t v : n.counts) out += std::to_string(v) + ";\n";
    for (float v : n.floats) out += std::to_string(v) + ";";
    for (uint32_t v : n.indices) out += std::to_string(v) + ",";
    if (!n.text.empty()) out += "\"" + n.text + "\";";
    for (const std::string& r : n.refs) out += "{ " + r + " }\n";
    for (const XNode& k : n.kids) spellText(k, spell, out);
    out += "}\n";
}

void spellBinary(const XNode& n, Spelling spell, std::string& out) {
    auto word = [&](uint16_t v) { out.append(reinterpret_cast<const char*>(&v), 2); };
    auto dword = [&](uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); };
    auto name = [&](const std::string& text) {
        word(1);
        dword(uint32_t(text.size()));
        out += text;
    };
    auto ints = [&](const std::vector<uint32_t>& v) {
        if (v.empty()) return;
        word(6);
        dword(uint32_t(v.size()));
        for (uint32_t x : v) dword(x);
    };
    name(spell(n.type));
    if (!n.name.empty()) name(n.name);
    word(10);
    ints(n.counts);
    if (!n.floats.empty()) {
        word(7);
        dword(uint32_t(n.floats.size()));
        for (float f : n.floats) out.append(reinterpret_cast<const char*>(&f), 4);
    }
    ints(n.indices);
    if (!n.text.empty()) {
        word(2);
        dword(uint32_t(n.text.size()));
        out += n.text;
        word(20);  // ';'
    }
    for (const std::string& r : n.refs) {
        word(10);
        name(r);
        word(11);
    }
    for (const XNode& k : n.kids) spellBinary(k, spell, out);
    word(11);
}

// The cube of the tests above in a frame, with texture coordinates, a textured
// material inline and a coloured one by reference, alternating over the faces.
std::vector<XNode> materialCube() {
    XNode red{"Material", "Red", {}, {1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, {}, {}, {}, {}};
    XNode wall{"Material", "", {}, {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, {}, {}, {}, {}};
    wall.kids.push_back(XNode{"TextureFilename", "", {}, {}, {}, "wall.bmp", {}, {}});
    XNode mesh{"Mesh", "cube", {8}, {}, {}, {}, {}, {}};
    for (const auto& v : kVerts)
        for (double c : v) mesh.floats.push_back(float(c));
    mesh.indices.push_back(6);
    for (const auto& f : kFaces) mesh.indices.insert(mesh.indices.end(), {4u, uint32_t(f[0]), uint32_t(f[1]), uint32_t(f[2]), uint32_t(f[3])});
    XNode uvs{"MeshTextureCoords", "", {8}, {}, {}, {}, {}, {}};
    for (int i = 0; i < 8; ++i) uvs.floats.insert(uvs.floats.end(), {0.125f * float(i), 1 - 0.125f * float(i)});
    mesh.kids.push_back(uvs);
    XNode list{"MeshMaterialList", "", {2, 6}, {}, {0, 1, 0, 1, 0, 1}, {}, {"Red"}, {wall}};
    mesh.kids.push_back(list);
    XNode matrix{"FrameTransformMatrix", "", {}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 20, 30, 1}, {}, {}, {}, {}};
    XNode frame{"Frame", "Box", {}, {}, {}, {}, {}, {matrix, mesh}};
    return {red, frame};
}

std::string textFile(Spelling spell) {
    std::string s = "xof 0303txt 0032\n" + spell("template") + " Vector {\n <3D82AB5E-62DA-11cf-AB39-0020AF71E433>\n FLOAT x;\n}\n";
    for (const XNode& n : materialCube()) spellText(n, spell, s);
    return s;
}

std::string compressedFile(Spelling spell) { return compressText(textFile(spell)); }

std::string binaryFile(Spelling spell) {
    std::string s = "xof 0303bin 0032";
    for (const XNode& n : materialCube()) spellBinary(n, spell, s);
    return s;
}

TEST_F(EngineTest, XTemplateNamesMatchInAnyCaseInEveryForm) {
    const struct {
        const char* label;
        Spelling spell;
    } spellings[] = {{"as written", asWritten},
                     {"lower case", lowerCase},
                     {"upper case", upperCase},
                     {"TextureFileName", otherTextureSpelling}};
    const struct {
        const char* label;
        std::string (*make)(Spelling);
    } forms[] = {{"text", textFile}, {"binary", binaryFile}, {"compressed", compressedFile}};
    for (const auto& form : forms)
        for (const auto& spelling : spellings) {
            SCOPED_TRACE(std::string(form.label) + ", " + spelling.label);
            FileFolder dir;
            writeBmp(dir.file("wall.bmp"), 3, 2, {0, 200, 0});
            const std::string path = dir.file("cube.x");
            writeText(path, form.make(spelling.spell));
            ASSERT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();

            const int32_t box = OMBREL_group_get_using_name("Box");
            ASSERT_NE(box, 0);
            ASSERT_EQ(OMBREL_group_get_number_of_polygons(box), 6);
            int face = 0;
            for (int32_t p = OMBREL_group_get_first_polygon(box); p; p = OMBREL_group_get_next_polygon(box, p), ++face) {
                const int32_t first = OMBREL_polygon_get_first_point(p);
                double xyz[3], uv[2];
                OMBREL_point_get_xyz(first, xyz);
                const auto& v = kVerts[kFaces[face][0]];
                // Moved by the frame's (10, 20, 30), y and z swapped.
                EXPECT_DOUBLE_EQ(xyz[0], v[0] + 10);
                EXPECT_DOUBLE_EQ(xyz[1], v[2] + 30);
                EXPECT_DOUBLE_EQ(xyz[2], v[1] + 20);
                OMBREL_point_get_bitmap_xy(first, uv);
                EXPECT_DOUBLE_EQ(uv[0], 0.125 * kFaces[face][0]);
                EXPECT_DOUBLE_EQ(uv[1], 1 - 0.125 * kFaces[face][0]);
                const int32_t bitmap = OMBREL_polygon_get_bitmap_handle(p);
                int32_t r, g, b;
                OMBREL_polygon_get_color(p, &r, &g, &b);
                if (face % 2 == 0) {
                    ASSERT_NE(bitmap, 0) << "face " << face << " lost its texture";
                    EXPECT_EQ(OMBREL_bitmap_get_width(bitmap), 3);
                } else {
                    EXPECT_EQ(bitmap, 0);
                    EXPECT_EQ(r, 255);
                    EXPECT_EQ(g, 0);
                }
            }
        }
}

TEST_F(EngineTest, XTextureNotFoundIsLoggedWithTheNameLookedFor) {
    FileFolder dir;
    const std::string path = dir.file("cube.x");
    std::string text = textFile(asWritten);
    text.replace(text.find("wall.bmp"), 8, "C:\\\\art\\\\stone.jpg");
    writeText(path, text);
    std::string log;
    OMBREL_ext_set_log_callback(
        [](int32_t, const char* line, void* user) { static_cast<std::string*>(user)->append(line).append("\n"); }, &log);
    const int32_t loaded = OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR);
    OMBREL_ext_set_log_callback(nullptr, nullptr);
    ASSERT_EQ(loaded, 0) << lastError();
    EXPECT_NE(log.find("\"stone.jpg\""), std::string::npos) << log;
    EXPECT_NE(log.find("not found"), std::string::npos) << log;
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(OMBREL_group_get_using_name("Box")), 6);
}

TEST_F(EngineTest, AddedXFileGetsAGroupNamedAfterTheFile) {
    FileFolder dir;
    std::string path = dir.file("crate.x");
    writeText(path, textCube());
    OMBREL_group_create("the_world");
    double at[3] = {0, 0, 0};
    int32_t root = OMBREL_engine_add_world(path.c_str(), "", "", at);
    ASSERT_NE(root, 0) << lastError();
    EXPECT_EQ(entityName(root), "crate");
    EXPECT_EQ(OMBREL_group_get_father_group(OMBREL_group_get_using_name("Box")), root);
    double c[3];
    OMBREL_group_get_location(root, &c[0], &c[1], &c[2]);
    EXPECT_NEAR(c[0], 0, 1e-12);
    EXPECT_NEAR(c[2], 0, 1e-12);
}

}  // namespace

// Numbers a float cannot hold come in as no coordinate, whichever value they would
// set: the load fails where the number stands, in the text and the binary forms.
TEST_F(EngineTest, XNumbersAFloatCannotHoldAreRefusedAtTheirOffset) {
    const std::string text = textCube();
    const struct {
        const char* label;
        std::size_t at;   // where the replaced number starts
        std::size_t size; // and how long it is
    } places[] = {{"matrix", text.find("10,20,30,1") + 3, 2},
                  {"point", text.find(" -1.000000;", text.find("Mesh cube")) + 1, 9},
                  {"texture coordinate", text.find("0.25"), 4}};
    FileFolder dir;
    const std::string path = dir.file("bad.x");
    auto expectRefusedAt = [&](const std::string& content, std::size_t at) {
        writeText(path, content);
        EXPECT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), -1);
        EXPECT_NE(lastError().find(path + ": offset " + std::to_string(at) + ":"), std::string::npos) << lastError();
        EXPECT_EQ(OMBREL_engine_is_engine_empty(), 1);
    };
    for (const auto& place : places)
        for (const char* number : {"nan", "inf", "-inf", "1e999", "-1e39"}) {
            SCOPED_TRACE(std::string(place.label) + " " + number);
            std::string bad = text;
            bad.replace(place.at, place.size, number);
            expectRefusedAt(bad, place.at);
        }

    const std::string binary = binaryCube();
    const float twenty = 20.f, corner = -1.f;
    const struct {
        const char* label;
        std::size_t at;
    } floats[] = {{"binary matrix", binary.find(std::string(reinterpret_cast<const char*>(&twenty), 4))},
                  {"binary point", binary.find(std::string(reinterpret_cast<const char*>(&corner), 4))}};
    for (const auto& place : floats)
        for (float number : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
            SCOPED_TRACE(std::string(place.label) + " " + std::to_string(number));
            ASSERT_NE(place.at, std::string::npos);
            std::string bad = binary;
            bad.replace(place.at, 4, reinterpret_cast<const char*>(&number), 4);
            expectRefusedAt(bad, place.at);
        }
    // Below the smallest float is the zero beside it, not an error.
    std::string tiny = text;
    tiny.replace(places[2].at, places[2].size, "1e-999");
    writeText(path, tiny);
    EXPECT_EQ(OMBREL_engine_load_world(path.c_str(), "", "", OMBREL_LOAD_EDITOR), 0) << lastError();
}
