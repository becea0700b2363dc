#include "renderer.h"

#include "api_support.h"
#include "gl_context.h"
#include "group_geometry.h"
#include "lightmap_atlas.h"
#include "mesh_pages.h"
#include "render_atlas.h"
#include "render_buffers.h"
#include "render_clip.h"
#include "render_shaders.h"
#include "geom.h"
#include "model.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ombrel {
namespace {

GLuint compile(GLenum type, const char* source) {
    GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &source, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048];
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        throw ApiError(std::string("shader does not compile: ") + log);
    }
    return s;
}

GLuint link(const char* vertex, const char* fragment) {
    GLuint p = glCreateProgram();
    GLuint vs = compile(GL_VERTEX_SHADER, vertex), fs = compile(GL_FRAGMENT_SHADER, fragment);
    glAttachShader(p, vs);
    glAttachShader(p, fs);
    glLinkProgram(p);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(p, GL_LINK_STATUS, &ok);
    if (!ok) throw ApiError("shader program does not link");
    return p;
}

struct Texture {
    GLuint name = 0;
    std::shared_ptr<Image> image;  // held so a new image never reuses the address
    int32_t transparentIndex = -1;
    bool keyed = false;  // some texels are transparent
};

// What the draw pass has bound, so that a run of meshes with the same pictures
// and program binds them once. Forgotten before each frame's draws; anything
// that binds behind its back forgets what it changed.
struct Bindings {
    static constexpr GLuint kUnknown = ~GLuint{0};
    static constexpr int kUnits = 6;  // 0, 1: pictures; 2: the image behind; 3, 4: lights; 5: placements
    GLuint texture[kUnits], sampler[kUnits], program, vao;
    GLuint active;
    void forget() {
        std::fill(std::begin(texture), std::end(texture), kUnknown);
        std::fill(std::begin(sampler), std::end(sampler), kUnknown);
        program = vao = active = kUnknown;
    }
    // What a bind to the active unit, made elsewhere, leaves unknown.
    void forgetActive() {
        if (active < kUnits) texture[active] = kUnknown;
    }
    void select(GLuint unit) {
        if (active != unit) glActiveTexture(GL_TEXTURE0 + unit);
        active = unit;
    }
    void bindTexture(GLuint unit, GLenum target, GLuint name) {
        if (texture[unit] == name) return;
        select(unit);
        glBindTexture(target, name);
        texture[unit] = name;
    }
    void bindSampler(GLuint unit, GLuint name) {
        if (sampler[unit] == name) return;
        glBindSampler(unit, name);
        sampler[unit] = name;
    }
    void useProgram(GLuint id) {
        if (program == id) return;
        glUseProgram(id);
        program = id;
    }
    void bindVertexArray(GLuint id) {
        if (vao == id) return;
        glBindVertexArray(id);
        vao = id;
    }
};

Bindings& bindings() {
    static Bindings b;
    return b;
}

// What the fragment stage of a mesh program does: one program per combination.
// kLit and kPaged are the vertex stage's: whether the mesh has lights, and
// whether it lies in a shared page.
enum Feature : unsigned { kTextured = 1, kKeyed = 2, kMapped = 4, kFogged = 8, kDifference = 16, kLit = 32, kPaged = 64 };
constexpr unsigned kFeatureCombinations = 128;

// A mesh program: its uniform locations, and what it holds already.
struct MeshProgram {
    GLuint id = 0;
    GLint offset, model, normalModel, toCamera, scale, nearDist, reversed, unlit, fogDensity, fogStart, fogColour,
        alpha, textureScale, mapScale;
    uint64_t frame = 0;            // the frame whose view it holds
    int shownUnlit = -1;           // the unlit switch and alpha it holds
    float shownAlpha = -1;
    const void* placed = nullptr;  // the mesh placement it holds (within that frame)
    float shownScales[4] = {1, 1, 1, 1};  // the texture's and the map's coordinate scales it holds

    void load(unsigned features) {
        std::string fragment = "#version 330 core\n";
        const std::pair<unsigned, const char*> names[] = {
            {kTextured, "TEXTURED"}, {kKeyed, "KEYED"}, {kMapped, "MAPPED"}, {kFogged, "FOGGED"}, {kDifference, "DIFFERENCE"}};
        for (const auto& [bit, name] : names)
            if (features & bit) fragment += std::string("#define ") + name + "\n";
        fragment += shaders::kMeshFragment;
        const std::string vertex = std::string("#version 330 core\n") + (features & kLit ? "#define LIT\n" : "") +
                                   (features & kPaged ? "#define PAGED\n" : "") + shaders::kMeshVertex;
        id = link(vertex.c_str(), fragment.c_str());
        auto at = [&](const char* n) { return glGetUniformLocation(id, n); };
        offset = at("uOffset"), model = at("uModel"), normalModel = at("uNormalModel");
        toCamera = at("uToCamera"), scale = at("uScale"), nearDist = at("uNear");
        reversed = at("uReversed"), unlit = at("uUnlit"), fogDensity = at("uFogDensity"), fogStart = at("uFogStart");
        fogColour = at("uFogColour"), alpha = at("uAlpha");
        textureScale = at("uTextureScale"), mapScale = at("uMapScale");
        bindings().useProgram(id);
        glUniform2f(textureScale, 1, 1);
        glUniform2f(mapScale, 1, 1);
        glUniform1i(at("uTexture"), 0);
        glUniform1i(at("uLightMap"), 1);
        glUniform1i(at("uBehind"), 2);
        glUniform1i(at("uLights"), 3);
        glUniform1i(at("uSets"), 4);
        glUniform1i(at("uPlacements"), 5);
    }
};

struct BackgroundProgram {
    GLuint id = 0;
    GLint a1, a2, a3, size, focal, image, bottom, height, distance, bottomIntensity, step;
    void load() {
        id = link(shaders::kBackgroundVertex, shaders::kBackgroundFragment);
        auto at = [&](const char* n) { return glGetUniformLocation(id, n); };
        a1 = at("uA1"), a2 = at("uA2"), a3 = at("uA3"), size = at("uSize"), focal = at("uFocal");
        image = at("uImage"), bottom = at("uBottom"), height = at("uHeight"), distance = at("uDistance");
        bottomIntensity = at("uBottomIntensity"), step = at("uStep");
    }
};

// A mesh cut on the CPU for the view drawn: its data as built, kept while the
// mesh stays as it is, and the buffers its cut triangles go to.
struct ExactMesh {
    uint64_t builds = 0;  // the build of the mesh the data is a copy of
    MeshData data;
    CutMesh cut;
    GLuint vao = 0, vbo = 0, lightVbo = 0;
};

// The buffers of a page of small meshes; the vertex array reads the slots as
// attribute 6.
struct GlPage {
    GLuint vao = 0, vbo = 0, slotVbo = 0, ibo = 0;
};

// 2.4 MB of vertices a page: meshes of up to 8,192 vertices share them.
constexpr uint32_t kPageVertices = 1u << 16, kPageIndices = 3u << 15;

// Everything GL that lives as long as one context.
struct Resources {
    uint64_t serial = 0;
    std::array<MeshProgram, kFeatureCombinations> meshPrograms;
    uint64_t frames = 0;
    BackgroundProgram background;
    GLuint emptyVao = 0, panoramaSampler = 0, edgeSampler = 0;
    GLuint fbo = 0, colour = 0, depth = 0, behind = 0;
    int width = 0, height = 0;
    std::unordered_map<int32_t, Texture> textures;
    std::unordered_map<int32_t, std::unique_ptr<GroupMesh>> meshes;
    std::unordered_map<int32_t, ExactMesh> exact;
    GLuint sequence = 0;  // indices 0, 1, 2, ...: cut triangles are drawn by threes
    uint32_t sequenceLength = 0;
    std::vector<uint8_t> readBack;
    LightMapAtlas atlas;
    AtlasTextures atlasTextures;
    bool atlasOn = true;
    // What the world was when the atlas last let go of maps no bitmap holds.
    const World* releasedWorld = nullptr;
    uint64_t releasedGeom = 0, releasedPictures = 0;
    uint64_t sweptErasures = ~uint64_t{0};  // the handle table's erasures when meshes were last swept
    MeshPages pages{kPageVertices, kPageIndices};
    std::vector<GlPage> glPages;
    bool pagesOn = true;
    GLuint placementBuffer = 0, placementTexture = 0;
    std::vector<float> placements;  // four texels a slot, written each frame
    uint64_t evictedBuilds = 0;     // meshes built again after a page sent them out
};

Resources& res() {
    static Resources r;
    return r;
}

void resetResources(const GlInfo& info) {
    Resources& r = res();
    // The old context and its objects are gone: forget their names.
    r.textures.clear();
    r.meshes.clear();
    r.atlas.clear();
    r.atlasTextures.forget();
    r.exact.clear();
    r.sweptErasures = ~uint64_t{0};
    r.pages.clear();
    r.glPages.clear();
    r.placementBuffer = r.placementTexture = 0;
    r.sequence = 0;
    r.sequenceLength = 0;
    r.fbo = r.colour = r.depth = r.behind = 0;
    r.width = r.height = 0;
    r.serial = info.serial;
    r.meshPrograms = {};  // each made when first drawn with
    r.background.load();
    glGenVertexArrays(1, &r.emptyVao);
    glGenSamplers(1, &r.panoramaSampler);
    glSamplerParameteri(r.panoramaSampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glSamplerParameteri(r.panoramaSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(r.panoramaSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(r.panoramaSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // A light map drawn alone within its bounds: held at its edges, as in the atlas.
    glGenSamplers(1, &r.edgeSampler);
    glSamplerParameteri(r.edgeSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(r.edgeSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(r.edgeSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glSamplerParameteri(r.edgeSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// OMBREL_LIGHTMAP_ATLAS=0 draws every light map alone (to compare the two).
// OMBREL_MESH_PAGES=0 gives every mesh buffers of its own (to compare the two).
bool pagesWanted() {
    const char* v = std::getenv("OMBREL_MESH_PAGES");
    return !(v && std::strcmp(v, "0") == 0);
}

bool atlasWanted() {
    const char* v = std::getenv("OMBREL_LIGHTMAP_ATLAS");
    return !(v && std::strcmp(v, "0") == 0);
}

uint64_t atlasGeneration() {
    const Resources& r = res();
    return r.atlasOn ? r.atlas.generation() : 0;
}

// Maps whose bitmaps went free their cells; looked at only after an edit.
void releaseAtlasCells(const World* w) {
    Resources& r = res();
    if (!r.atlasOn) return;
    if (w == r.releasedWorld && w && w->geomVersion == r.releasedGeom && w->picturesVersion == r.releasedPictures)
        return;
    r.atlas.releaseUnheld();
    r.releasedWorld = w;
    r.releasedGeom = w ? w->geomVersion : 0;
    r.releasedPictures = w ? w->picturesVersion : 0;
}

void ensureFramebuffer(int w, int h) {
    Resources& r = res();
    if (r.fbo && r.width == w && r.height == h) return;
    if (r.fbo) {
        glDeleteFramebuffers(1, &r.fbo);
        glDeleteRenderbuffers(1, &r.colour);
        glDeleteRenderbuffers(1, &r.depth);
        if (r.behind) glDeleteTextures(1, &r.behind);
        r.behind = 0;
    }
    glGenFramebuffers(1, &r.fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, r.fbo);
    glGenRenderbuffers(1, &r.colour);
    glBindRenderbuffer(GL_RENDERBUFFER, r.colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, r.colour);
    glGenRenderbuffers(1, &r.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, r.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, w, h);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, r.depth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        throw ApiError("off-screen framebuffer incomplete");
    r.width = w;
    r.height = h;
}

// Gives every texel of alpha 0 the colour of its nearest visible texel (across the
// edges too, as the texture repeats), so that filtering and mipmaps never mix the
// transparent entry's own colour into what is drawn. Grows outwards ring by ring;
// alpha 1 marks a filled texel until the end.
void bleedIntoTransparent(std::vector<uint8_t>& px, int width, int height) {
    const std::size_t n = static_cast<std::size_t>(width) * height;
    auto alpha = [&](std::size_t i) -> uint8_t& { return px[i * 4 + 3]; };
    auto forNeighbours = [&](std::size_t i, auto&& f) {
        const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        const std::size_t row = static_cast<std::size_t>(y) * width;
        f(row + (x + 1) % width);
        f(row + (x + width - 1) % width);
        f(static_cast<std::size_t>((y + 1) % height) * width + x);
        f(static_cast<std::size_t>((y + height - 1) % height) * width + x);
    };
    std::vector<uint32_t> ring, next;
    for (std::size_t i = 0; i < n; ++i) {
        if (alpha(i) == 0) continue;
        bool edge = false;
        forNeighbours(i, [&](std::size_t j) { edge = edge || alpha(j) == 0; });
        if (edge) ring.push_back(static_cast<uint32_t>(i));
    }
    while (!ring.empty()) {
        next.clear();
        for (uint32_t from : ring)
            forNeighbours(from, [&](std::size_t to) {
                if (alpha(to) != 0) return;
                alpha(to) = 1;
                std::memcpy(&px[to * 4], &px[static_cast<std::size_t>(from) * 4], 3);
                next.push_back(static_cast<uint32_t>(to));
            });
        ring.swap(next);
    }
    for (std::size_t i = 0; i < n; ++i)
        if (alpha(i) == 1) alpha(i) = 0;
}

// The GL texture of a bitmap; texels of its transparent palette entry get alpha 0.
GLuint textureOf(int32_t bitmap) {
    const Bitmap* b = lookup<Bitmap>(bitmap);
    if (!b || !b->image || b->image->width <= 0 || b->image->height <= 0) return 0;
    Resources& r = res();
    Texture& t = r.textures[bitmap];
    if (t.name && t.image == b->image && t.transparentIndex == b->transparentIndex) return t.name;
    if (!t.name) glGenTextures(1, &t.name);
    t.image = b->image;
    t.transparentIndex = b->transparentIndex;
    const Image& im = *b->image;
    std::vector<uint8_t> px(im.rgba);
    px.resize(static_cast<std::size_t>(im.width) * im.height * 4);
    bool hasIndex = im.index.size() == static_cast<std::size_t>(im.width) * im.height;
    bool keyed = hasIndex && b->transparentIndex >= 0;
    t.keyed = keyed;
    for (std::size_t i = 0; i < px.size() / 4; ++i)
        px[i * 4 + 3] = keyed && im.index[i] == b->transparentIndex ? 0 : 255;
    if (keyed) bleedIntoTransparent(px, im.width, im.height);
    glBindTexture(GL_TEXTURE_2D, t.name);
    bindings().forgetActive();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, im.width, im.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return t.name;
}

void releaseOwnBuffers(GroupMesh& m) {
    glDeleteVertexArrays(1, &m.vao);
    GLuint buffers[] = {m.vbo, m.ibo, m.lightVbo, m.setBuffer, m.lightBuffer};
    glDeleteBuffers(5, buffers);
    GLuint textures[] = {m.setTexture, m.lightTexture};
    glDeleteTextures(2, textures);
    m.vao = m.vbo = m.ibo = m.lightVbo = m.setBuffer = m.lightBuffer = m.setTexture = m.lightTexture = 0;
}

void forgetDeadObjects() {
    Resources& r = res();
    for (auto it = r.textures.begin(); it != r.textures.end();) {
        const Bitmap* b = lookup<Bitmap>(it->first);
        if (!b || b->image != it->second.image) {
            glDeleteTextures(1, &it->second.name);
            it = r.textures.erase(it);
        } else {
            ++it;
        }
    }
    // No object destroyed since the last sweep: every mesh's group still lives.
    const uint64_t erasures = state().handles.erasures();
    if (erasures == r.sweptErasures) return;
    r.sweptErasures = erasures;
    for (auto it = r.meshes.begin(); it != r.meshes.end();) {
        if (!lookup<Group>(it->first)) {
            releaseOwnBuffers(*it->second);
            r.pages.release(it->first);
            it = r.meshes.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = r.exact.begin(); it != r.exact.end();) {
        if (!lookup<Group>(it->first)) {
            glDeleteVertexArrays(1, &it->second.vao);
            GLuint buffers[] = {it->second.vbo, it->second.lightVbo};
            glDeleteBuffers(2, buffers);
            it = r.exact.erase(it);
        } else {
            ++it;
        }
    }
}

// The vertex layout of the bound vertex array, from the vertices and, for a lit
// mesh, their lighting (0: none; the light sets stay the constant 0).
void setLayout(GLuint vbo, GLuint lightVbo) {
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    auto attrib = [](GLuint loc, GLint n, GLenum type, GLboolean norm, std::size_t off) {
        glEnableVertexAttribArray(loc);
        glVertexAttribPointer(loc, n, type, norm, sizeof(MeshVertex), reinterpret_cast<const void*>(off));
    };
    attrib(0, 3, GL_FLOAT, GL_FALSE, offsetof(MeshVertex, pos));
    attrib(1, 2, GL_FLOAT, GL_FALSE, offsetof(MeshVertex, uv));
    attrib(2, 2, GL_FLOAT, GL_FALSE, offsetof(MeshVertex, mapUv));
    attrib(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(MeshVertex, colour));
    if (!lightVbo) {
        glDisableVertexAttribArray(4);
        glDisableVertexAttribArray(5);
        return;
    }
    glBindBuffer(GL_ARRAY_BUFFER, lightVbo);
    glEnableVertexAttribArray(4);
    glVertexAttribPointer(4, 4, GL_SHORT, GL_TRUE, sizeof(MeshLightVertex),
                          reinterpret_cast<const void*>(offsetof(MeshLightVertex, normal)));
    glEnableVertexAttribArray(5);
    glVertexAttribIPointer(5, 1, GL_UNSIGNED_INT, sizeof(MeshLightVertex),
                           reinterpret_cast<const void*>(offsetof(MeshLightVertex, lights)));
}

void makeGlPages() {
    Resources& r = res();
    while (r.glPages.size() < r.pages.pageCount()) {
        GlPage& p = r.glPages.emplace_back();
        glGenVertexArrays(1, &p.vao);
        GLuint buffers[3];
        glGenBuffers(3, buffers);
        p.vbo = buffers[0], p.slotVbo = buffers[1], p.ibo = buffers[2];
        glBindVertexArray(p.vao);
        glBindBuffer(GL_ARRAY_BUFFER, p.vbo);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(std::size_t{kPageVertices} * sizeof(MeshVertex)), nullptr,
                     GL_DYNAMIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, p.slotVbo);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(std::size_t{kPageVertices} * sizeof(uint32_t)), nullptr,
                     GL_DYNAMIC_DRAW);
        glEnableVertexAttribArray(6);
        glVertexAttribIPointer(6, 1, GL_UNSIGNED_INT, sizeof(uint32_t), nullptr);
        setLayout(p.vbo, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, p.ibo);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(std::size_t{kPageIndices} * sizeof(uint32_t)),
                     nullptr, GL_DYNAMIC_DRAW);
    }
}

// Writes the mesh into its place in a page; written through the copy target so
// that no vertex array's binding changes.
void writeIntoPage(const PagePlace& at, const MeshData& data) {
    const GlPage& p = res().glPages[static_cast<std::size_t>(at.page)];
    glBindBuffer(GL_COPY_WRITE_BUFFER, p.vbo);
    glBufferSubData(GL_COPY_WRITE_BUFFER, static_cast<GLintptr>(std::size_t{at.firstVertex} * sizeof(MeshVertex)),
                    static_cast<GLsizeiptr>(data.vertices.size() * sizeof(MeshVertex)), data.vertices.data());
    const std::vector<uint32_t> slots(data.vertices.size(), at.slot);
    glBindBuffer(GL_COPY_WRITE_BUFFER, p.slotVbo);
    glBufferSubData(GL_COPY_WRITE_BUFFER, static_cast<GLintptr>(std::size_t{at.firstVertex} * sizeof(uint32_t)),
                    static_cast<GLsizeiptr>(slots.size() * sizeof(uint32_t)), slots.data());
    std::vector<uint32_t> indices(data.indices);
    for (uint32_t& i : indices) i += at.firstVertex;
    glBindBuffer(GL_COPY_WRITE_BUFFER, p.ibo);
    glBufferSubData(GL_COPY_WRITE_BUFFER, static_cast<GLintptr>(std::size_t{at.firstIndex} * sizeof(uint32_t)),
                    static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)), indices.data());
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
}

// Gives the mesh of the group to the GL: into a shared page when it is small and
// needs nothing of its own, else into buffers of its own. Meshes a reused page
// sent out are added to evicted, to be built again.
void upload(int32_t group, GroupMesh& m, const MeshData& data, std::vector<int32_t>& evicted) {
    Resources& r = res();
    const auto vertices = static_cast<uint32_t>(data.vertices.size());
    const auto indices = static_cast<uint32_t>(data.indices.size());
    if (r.pagesOn && data.lighting.empty() && m.dynamicPolygons.empty() && data.vertices.size() == vertices &&
        data.indices.size() == indices && r.pages.fits(vertices, indices)) {
        releaseOwnBuffers(m);
        const std::size_t before = evicted.size();
        const PagePlace at = r.pages.place(group, vertices, indices, evicted);
        for (std::size_t i = before; i < evicted.size(); ++i) {
            auto it = r.meshes.find(evicted[i]);
            if (it == r.meshes.end()) continue;
            it->second->page = -1;
            it->second->glSerial = 0;  // built again when next drawn
        }
        makeGlPages();
        writeIntoPage(at, data);
        m.page = at.page;
        m.pageFirstIndex = at.firstIndex;
        m.slot = at.slot;
        m.glSerial = r.serial;
        return;
    }
    r.pages.release(group);
    m.page = -1;
    if (!m.vao) {
        glGenVertexArrays(1, &m.vao);
        glGenBuffers(1, &m.vbo);
        glGenBuffers(1, &m.ibo);
    }
    glBindVertexArray(m.vao);
    glBindBuffer(GL_ARRAY_BUFFER, m.vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.vertices.size() * sizeof(MeshVertex)),
                 data.vertices.data(), GL_STATIC_DRAW);
    if (data.lighting.empty()) {
        // No polygon is lit: the vertices' sets stay the constant 0.
        GLuint buffers[] = {m.lightVbo, m.setBuffer, m.lightBuffer};
        glDeleteBuffers(3, buffers);
        GLuint textures[] = {m.setTexture, m.lightTexture};
        glDeleteTextures(2, textures);
        m.lightVbo = m.setBuffer = m.lightBuffer = m.setTexture = m.lightTexture = 0;
    } else {
        if (!m.setBuffer) {
            glGenBuffers(1, &m.setBuffer);
            glGenBuffers(1, &m.lightBuffer);
            glGenTextures(1, &m.setTexture);
            glGenTextures(1, &m.lightTexture);
        }
        glBindBuffer(GL_TEXTURE_BUFFER, m.setBuffer);
        glBufferData(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(data.lightSets.size() * sizeof(uint32_t)),
                     data.lightSets.data(), GL_STATIC_DRAW);
        glBindTexture(GL_TEXTURE_BUFFER, m.setTexture);
        glTexBuffer(GL_TEXTURE_BUFFER, GL_R32UI, m.setBuffer);
        glBindBuffer(GL_TEXTURE_BUFFER, m.lightBuffer);
        glBufferData(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(m.lights.size() * 16 * sizeof(float)), nullptr,
                     GL_STREAM_DRAW);
        glBindTexture(GL_TEXTURE_BUFFER, m.lightTexture);
        glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, m.lightBuffer);
        if (!m.lightVbo) glGenBuffers(1, &m.lightVbo);
        glBindBuffer(GL_ARRAY_BUFFER, m.lightVbo);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.lighting.size() * sizeof(MeshLightVertex)),
                     data.lighting.data(), GL_STATIC_DRAW);
    }
    setLayout(m.vbo, m.lightVbo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.indices.size() * sizeof(uint32_t)),
                 data.indices.data(), GL_STATIC_DRAW);
    m.glSerial = res().serial;
}

// Where the mesh is now: its motion since it was built.
struct Placement {
    Affine toWorld;  // built coordinates to world
    Mat3 normals;    // carries its normals
    Vec3 origin;     // the mesh origin, in the world
};

// Whether m only turns and scales alike in every direction.
bool similarity(const Mat3& m) {
    double s = dot(m.c[0], m.c[0]), tol = 1e-9 * s;
    return std::fabs(dot(m.c[1], m.c[1]) - s) <= tol && std::fabs(dot(m.c[2], m.c[2]) - s) <= tol &&
           std::fabs(dot(m.c[0], m.c[1])) <= tol && std::fabs(dot(m.c[0], m.c[2])) <= tol &&
           std::fabs(dot(m.c[1], m.c[2])) <= tol;
}

Placement placementOf(const Group& g, const GroupMesh& m) {
    Placement p;
    p.toWorld = inverted(m.motion).then(g.motion);
    p.normals = cofactor(p.toWorld.m);
    p.origin = p.toWorld(m.origin);
    return p;
}

constexpr double kLightTermLimit = 1e6;

// The mesh's lights as the vertex stage reads them (relative to the mesh origin),
// written once a frame for each lit mesh drawn.
void writeLights(const GroupMesh& m, const Placement& at) {
    if (!m.lightBuffer) return;
    std::vector<float> table(m.lights.size() * 16, 0.f);
    for (std::size_t i = 0; i < m.lights.size(); ++i) {
        const Light* l = lookup<Light>(m.lights[i]);
        if (!l) continue;  // stays disabled
        float* t = &table[i * 16];
        auto put = [](float* to, Vec3 v, double w) {
            to[0] = static_cast<float>(v.x), to[1] = static_cast<float>(v.y), to[2] = static_cast<float>(v.z);
            to[3] = static_cast<float>(w);
        };
        put(t, l->pos - at.origin, l->reach);
        put(t + 4, l->dir, l->type & 63);  // the kind bits the model reads
        put(t + 8, {l->rgb.r / 255.0, l->rgb.g / 255.0, l->rgb.b / 255.0}, l->disabled ? 0 : 1);
        // Beyond a million a term saturates whatever the others add; held there, no
        // sum of terms overflows, and no colour channel of 0 times it gives NaN.
        auto term = [](double v) { return static_cast<float>(std::clamp(v, -kLightTermLimit, kLightTermLimit)); };
        t[12] = term(l->ambient), t[13] = term(l->diffuse);
        t[14] = term(l->specular), t[15] = static_cast<float>(l->shine);
    }
    glBindBuffer(GL_TEXTURE_BUFFER, m.lightBuffer);
    glBufferSubData(GL_TEXTURE_BUFFER, 0, static_cast<GLsizeiptr>(table.size() * sizeof(float)), table.data());
}

// Whether any part of the box can be in the view: outside one side plane of the
// frustum (or wholly nearer than the near plane) means culled.
bool boxInView(const View& v, const Box3& b) {
    if (b.empty()) return false;
    int out[5] = {0, 0, 0, 0, 0};
    double hw = v.width * 0.5, hh = v.height * 0.5;
    for (int i = 0; i < 8; ++i) {
        Vec3 c = v.toCamera({i & 1 ? b.max.x : b.min.x, i & 2 ? b.max.y : b.min.y, i & 4 ? b.max.z : b.min.z});
        out[0] += c.z < v.nearDist;
        out[1] += v.focal * c.x > hw * c.z;
        out[2] += v.focal * c.x < -hw * c.z;
        out[3] += v.focal * c.y > hh * c.z;
        out[4] += v.focal * c.y < -hh * c.z;
    }
    for (int o : out)
        if (o == 8) return false;
    return true;
}

// The frame of an animation fill shown now: the viewing direction picks the
// frame list, the clock the frame within it.
int32_t animationFrame(const Animation& a, Vec3 normal, Vec3 centre, Vec3 eye) {
    double cosA = dot(normal, normalized(eye - centre));
    double angle = std::acos(std::clamp(cosA, -1.0, 1.0)) * 180.0 / 3.14159265358979;
    int dir = std::clamp(static_cast<int>(std::lround(angle / 45.0)), 0, 4);
    if (a.frames[dir].empty()) dir = 0;
    const std::vector<int32_t>& frames = a.frames[dir];
    if (frames.empty()) return 0;
    std::size_t base = 0;
    for (int d = 0; d < dir; ++d) base += a.frames[d].size();
    auto timeOf = [&](std::size_t i) {
        std::size_t k = base + i;
        double t = k < a.frameTimes.size() ? a.frameTimes[k] : 10;
        return std::max(t, 0.0);
    };
    double total = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) total += timeOf(i);
    if (!(total > 0)) return frames[0];
    double now = std::fmod(clockSeconds() * 100.0, total);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (now < timeOf(i)) return frames[i];
        now -= timeOf(i);
    }
    return frames.back();
}

// Blending mixes the colour only: the image's alpha stays 1, so rows copy out as
// they are (and no write is masked, which would cost every opaque pixel). Returns
// the alpha the polygon is drawn with.
float setBlend(uint8_t code) {
    float alpha = 1;
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    auto colourOnly = [](GLenum src, GLenum dst) { glBlendFuncSeparate(src, dst, GL_ZERO, GL_ONE); };
    switch (code) {
        case 0x31: colourOnly(GL_DST_COLOR, GL_ZERO); break;  // multiply
        case 0x43: alpha = 0.75f; colourOnly(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
        case 0x52: alpha = 0.5f; colourOnly(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
        case 0x44: alpha = 0.25f; colourOnly(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
        case 0x32: case 0x22: colourOnly(GL_ONE, GL_ONE); break;  // add
        case 0x42: colourOnly(GL_ONE, GL_ONE_MINUS_SRC_COLOR); break;  // screen
        default: glDisable(GL_BLEND); break;  // difference reads the copy behind
    }
    return alpha;
}

// What the fragment stage must do with the pictures bound, and the scales of their
// coordinates (an atlas page's are texels).
struct Bound {
    unsigned features = 0;
    float scales[4] = {1, 1, 1, 1};  // texture x, y; map x, y
};

// The picture's texture (0: none), made or brought up to date first, and the scale
// of its coordinates.
GLuint textureOf(const MeshPicture& picture, float* scale) {
    const Resources& r = res();
    if (picture.page >= 0) {
        scale[0] = r.atlasTextures.scaleX(picture.page);
        scale[1] = r.atlasTextures.scaleY(picture.page);
        return r.atlasTextures.name(picture.page);
    }
    return picture.bitmap ? textureOf(picture.bitmap) : 0;
}

void bindPicture(GLuint unit, const MeshPicture& picture, GLuint name) {
    Bindings& b = bindings();
    b.bindTexture(unit, GL_TEXTURE_2D, name);
    b.bindSampler(unit, picture.edgeHeld && picture.page < 0 ? res().edgeSampler : 0);
}

Bound bindPictures(const MeshPicture& texture, const MeshPicture& lightMap) {
    Bound b;
    // Both made before either is bound: making one binds it to the active unit.
    const GLuint t = textureOf(texture, b.scales), m = textureOf(lightMap, b.scales + 2);
    bindPicture(0, texture, t);
    bindPicture(1, lightMap, m);
    if (t) b.features |= texture.page < 0 && res().textures[texture.bitmap].keyed ? kTextured | kKeyed : kTextured;
    if (m) b.features |= kMapped;
    return b;
}

void setScales(MeshProgram& p, const Bound& b) {
    if (!std::equal(b.scales, b.scales + 2, p.shownScales)) glUniform2f(p.textureScale, b.scales[0], b.scales[1]);
    if (!std::equal(b.scales + 2, b.scales + 4, p.shownScales + 2)) glUniform2f(p.mapScale, b.scales[2], b.scales[3]);
    std::copy(b.scales, b.scales + 4, p.shownScales);
}

void setSwitches(MeshProgram& p, bool unlit, float alpha) {
    if (p.shownUnlit != static_cast<int>(unlit)) glUniform1i(p.unlit, unlit);
    if (p.shownAlpha != alpha) glUniform1f(p.alpha, alpha);
    p.shownUnlit = unlit;
    p.shownAlpha = alpha;
}

void setMatrix(GLint location, const Mat3& m) {
    const float columns[9] = {float(m.c[0].x), float(m.c[0].y), float(m.c[0].z), float(m.c[1].x), float(m.c[1].y),
                              float(m.c[1].z), float(m.c[2].x), float(m.c[2].y), float(m.c[2].z)};
    glUniformMatrix3fv(location, 1, GL_FALSE, columns);
}

// Places the mesh for drawing: where it is now.
void placeMesh(const MeshProgram& p, const View& v, const Placement& at) {
    Vec3 o = at.origin - v.eye;
    glUniform3f(p.offset, static_cast<float>(o.x), static_cast<float>(o.y), static_cast<float>(o.z));
    setMatrix(p.model, at.toWorld.m);
    setMatrix(p.normalModel, at.normals);
}

struct Visible {
    const GroupMesh* mesh;
    Placement at;       // where the mesh is
    Placement drawnAt;  // what the vertex stage is given: at, or the eye for a cut mesh
    GLuint vao;
    const std::vector<MeshBatch>* batches;
    const std::vector<MeshPolygon>* dynamicPolygons;
    unsigned lit;  // kLit when its vertices carry lighting
    bool cut;      // drawn from its triangles cut for the view
    std::size_t gathered;  // its group's place in the call's gathered groups
};

// What a mesh's check reads beyond its group: while it stays the same, a mesh
// checked for one view of a call holds for the next.
struct WalkKey {
    const World* world = nullptr;
    uint64_t serial = 0, pictures = 0, atlas = 0, erasures = 0;
    int32_t normalsMode = 0;
    bool atlasOn = false, pagesOn = false;
    bool operator==(const WalkKey&) const = default;
};

WalkKey walkKey(const World* w) {
    const Resources& r = res();
    return {w, r.serial, w ? w->picturesVersion : 0, atlasGeneration(), state().handles.erasures(),
            state().normalsMode, r.atlasOn, r.pagesOn};
}

// A drawable group of the call, and its mesh once a view has seen it.
struct GatheredGroup {
    int32_t handle;
    const Group* group;
    Box3 box;  // its polygons with an area, in the world
    GroupMesh* mesh = nullptr;
    Placement at{};
    uint64_t checkedAt = ~uint64_t{0};  // Resources::evictedBuilds when checked; never yet
    // What drawing reads of the mesh, taken when it is checked: at ten thousand
    // groups, reaching each mesh again in every view is a cache miss each.
    GLuint vao = 0;
    int32_t page = -1;
    uint32_t pageFirstIndex = 0, slot = 0;
    bool lit = false, lights = false;
    bool oneBatch = false;  // in a page, one batch and nothing drawn one by one: batch is it
    MeshBatch batch{};
};

void takeDrawing(GatheredGroup& s) {
    const GroupMesh& m = *s.mesh;
    s.vao = m.vao;
    s.page = m.page;
    s.pageFirstIndex = m.pageFirstIndex;
    s.slot = m.slot;
    s.lit = m.lightVbo != 0;
    s.lights = m.lightBuffer != 0;
    s.oneBatch = m.page >= 0 && m.batches.size() == 1 && m.dynamicPolygons.empty();
    if (s.oneBatch) s.batch = m.batches.front();
}

}  // namespace

struct SharedWalk::Kept {
    bool gathered = false;
    WalkKey key;
    std::vector<GatheredGroup> groups;  // in the world's order, which decides between equal depths
    Box3 worldBox;                      // of every drawable group, for the fog
};

namespace {

SharedWalk::Kept& keptWalk() {
    // Its room is kept from call to call, as the list of what is visible is.
    static SharedWalk::Kept k;
    return k;
}

void gatherGroups(const World& w, SharedWalk::Kept& k, const WalkKey& key) {
    k.groups.clear();
    k.worldBox = {};
    DrawableGroups drawable;
    w.groups.forEach([&](int32_t h) {
        const Group* g = lookup<Group>(h);
        if (!g || g->polygons.empty() || !drawable(h)) return;
        const Box3& box = ownTotals(*g).areaBox;
        k.worldBox.add(box);
        k.groups.push_back(GatheredGroup{.handle = h, .group = g, .box = box});
    });
    // Room kept for a world of many groups is given back once a smaller one is drawn.
    if (k.groups.capacity() > 2 * k.groups.size() + 4096) k.groups.shrink_to_fit();
    k.key = key;
    k.gathered = true;
}

// Makes the mesh's vertices and lights the ones drawn from.
void bindMesh(const Visible& v) {
    Bindings& b = bindings();
    b.bindVertexArray(v.vao);
    b.bindTexture(3, GL_TEXTURE_BUFFER, v.mesh->lightTexture);
    b.bindTexture(4, GL_TEXTURE_BUFFER, v.mesh->setTexture);
}

// Gives the mesh's triangles cut for this frame to the GPU, drawn by threes through
// the shared sequence of indices.
void uploadCut(ExactMesh& e) {
    Resources& r = res();
    if (!e.vao) {
        glGenVertexArrays(1, &e.vao);
        glGenBuffers(1, &e.vbo);
    }
    glBindVertexArray(e.vao);
    glBindBuffer(GL_ARRAY_BUFFER, e.vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(e.cut.vertices.size() * sizeof(MeshVertex)),
                 e.cut.vertices.data(), GL_STREAM_DRAW);
    const bool lit = !e.cut.lighting.empty();
    if (lit) {
        if (!e.lightVbo) glGenBuffers(1, &e.lightVbo);
        glBindBuffer(GL_ARRAY_BUFFER, e.lightVbo);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(e.cut.lighting.size() * sizeof(MeshLightVertex)),
                     e.cut.lighting.data(), GL_STREAM_DRAW);
    }
    setLayout(e.vbo, lit ? e.lightVbo : 0);
    if (!r.sequence) glGenBuffers(1, &r.sequence);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, r.sequence);
    const auto needed = static_cast<uint32_t>(e.cut.vertices.size());
    if (r.sequenceLength < needed) {
        r.sequenceLength = std::max(needed, 2 * r.sequenceLength);
        std::vector<uint32_t> sequence(r.sequenceLength);
        for (uint32_t i = 0; i < r.sequenceLength; ++i) sequence[i] = i;
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(sequence.size() * sizeof(uint32_t)),
                     sequence.data(), GL_STATIC_DRAW);
    }
}

// Draws the mesh from its triangles cut in double for the view.
void drawCut(ExactMesh& e, const View& view, Visible& v) {
    cutMesh(view, *v.mesh, e.data, v.at.toWorld, e.cut);
    uploadCut(e);
    v.drawnAt = {Affine{}, v.at.normals, view.eye};
    v.vao = e.vao;
    v.batches = &e.cut.batches;
    v.dynamicPolygons = &e.cut.dynamicPolygons;
    v.lit = e.cut.lighting.empty() ? 0u : unsigned{kLit};
    v.cut = true;
}

void drawBackground(const View& v, const World& w) {
    const Background* bg = lookup<Background>(w.background);
    if (!bg) return;
    const Bitmap* bm = lookup<Bitmap>(bg->bitmap);
    GLuint tex = textureOf(bg->bitmap);
    if (!tex || !bm) return;
    Resources& r = res();
    const BackgroundProgram& p = r.background;
    glUseProgram(p.id);
    auto vec = [](GLint loc, Vec3 a) {
        glUniform3f(loc, static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(a.z));
    };
    vec(p.a1, v.axes.a1);
    vec(p.a2, v.axes.a2);
    vec(p.a3, v.axes.a3);
    glUniform2f(p.size, static_cast<float>(v.width), static_cast<float>(v.height));
    glUniform1f(p.focal, static_cast<float>(v.focal));
    double aspect = static_cast<double>(bm->image->height) / bm->image->width;
    glUniform1f(p.bottom, static_cast<float>(bg->bottom));
    glUniform1f(p.height, static_cast<float>(bg->distance * 2 * 3.14159265358979 * aspect));
    glUniform1f(p.distance, static_cast<float>(bg->distance));
    glUniform1f(p.bottomIntensity, static_cast<float>(bg->bottomIntensity));
    glUniform1f(p.step, static_cast<float>(bg->step));
    glUniform1i(p.image, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, tex);
    glBindSampler(0, r.panoramaSampler);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBindVertexArray(r.emptyVao);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindSampler(0, 0);
}

struct Deferred {
    const Visible* visible;
    const MeshPolygon* polygon;
    double depth;
};

// What every program drawn with in one frame shares.
struct Frame {
    uint64_t id;
    const View* view;
    bool fog, reversed;
    float fogDensity, fogStart;
    Rgb8 fogColour;
};

void drawRange(uint32_t first, uint32_t count) {
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(static_cast<std::size_t>(first) * sizeof(uint32_t)));
}

// The program of the features, made current with the frame's view and the mesh's
// placement; what it holds already is not set again.
// A paged mesh (v null) is placed by its slot instead.
MeshProgram& useProgram(unsigned features, const Frame& f, const Visible* v) {
    MeshProgram& p = res().meshPrograms[features];
    if (!p.id) p.load(features);
    bindings().useProgram(p.id);
    if (p.frame != f.id) {
        const View& view = *f.view;
        const Vec3& a1 = view.axes.a1;
        const Vec3& a2 = view.axes.a2;
        const Vec3& a3 = view.axes.a3;
        const float rows[9] = {float(a2.x), float(a2.y), float(a2.z), float(a3.x),  float(a3.y),
                               float(a3.z), float(-a1.x), float(-a1.y), float(-a1.z)};
        glUniformMatrix3fv(p.toCamera, 1, GL_TRUE, rows);
        glUniform2f(p.scale, static_cast<float>(view.focal / (view.width * 0.5)),
                    static_cast<float>(view.focal / (view.height * 0.5)));
        glUniform1f(p.nearDist, static_cast<float>(view.nearDist));
        glUniform1i(p.reversed, f.reversed);
        glUniform1f(p.fogDensity, f.fogDensity);
        glUniform1f(p.fogStart, f.fogStart);
        glUniform3f(p.fogColour, f.fogColour.r / 255.f, f.fogColour.g / 255.f, f.fogColour.b / 255.f);
        p.frame = f.id;
        p.placed = nullptr;
    }
    if (v && p.placed != v) {
        placeMesh(p, *f.view, v->drawnAt);
        p.placed = v;
    }
    return p;
}

// Batches of paged meshes in a row with the same page and pictures, drawn in one
// call; ranges that meet are joined.
class PageRun {
public:
    void add(const Frame& f, int32_t page, const MeshBatch& b, uint32_t firstIndex) {
        if (!counts_.empty() && (page != page_ || b.texture != texture_ || b.lightMap != lightMap_)) draw(f);
        page_ = page, texture_ = b.texture, lightMap_ = b.lightMap;
        if (!counts_.empty() && ends_.back() == firstIndex) {
            counts_.back() += static_cast<GLsizei>(b.indexCount);
            ends_.back() += b.indexCount;
            return;
        }
        counts_.push_back(static_cast<GLsizei>(b.indexCount));
        offsets_.push_back(reinterpret_cast<const void*>(std::size_t{firstIndex} * sizeof(uint32_t)));
        ends_.push_back(firstIndex + b.indexCount);
    }

    void draw(const Frame& f) {
        if (counts_.empty()) return;
        bindings().bindVertexArray(res().glPages[static_cast<std::size_t>(page_)].vao);
        const Bound bound = bindPictures(texture_, lightMap_);
        MeshProgram& p = useProgram(bound.features | kPaged | (f.fog ? unsigned{kFogged} : 0u), f, nullptr);
        setScales(p, bound);
        setSwitches(p, false, 1.f);
        glMultiDrawElements(GL_TRIANGLES, counts_.data(), GL_UNSIGNED_INT, offsets_.data(),
                            static_cast<GLsizei>(counts_.size()));
        counts_.clear();
        offsets_.clear();
        ends_.clear();
    }

private:
    int32_t page_ = -1;
    MeshPicture texture_, lightMap_;
    std::vector<GLsizei> counts_;
    std::vector<const void*> offsets_;
    std::vector<uint32_t> ends_;
};

void drawPolygon(const Frame& f, const Visible& v, const MeshPolygon& mp, float alpha) {
    MeshPicture texture = mp.texture;
    if (mp.animation)
        if (const Animation* a = lookup<Animation>(mp.animation))
            texture = {animationFrame(*a, normalized(v.at.normals * mp.normal), v.at.toWorld(mp.centre), f.view->eye)};
    const Bound bound = bindPictures(texture, mp.lightMap);
    unsigned features = bound.features | v.lit;
    if (f.fog && mp.blend != 0x22) features |= kFogged;
    if (mp.blend == 0x51) features |= kDifference;
    MeshProgram& p = useProgram(features, f, &v);
    setScales(p, bound);
    setSwitches(p, mp.blend == 0x22, alpha);
    drawRange(mp.firstIndex, mp.indexCount);
}

// Builds again the meshes a reused page sent out, and any those send out in turn.
void rebuildEvicted(std::vector<int32_t>& evicted, LightMapAtlas* atlas) {
    Resources& r = res();
    while (!evicted.empty()) {
        const int32_t h = evicted.back();
        evicted.pop_back();
        const Group* g = lookup<Group>(h);
        auto it = r.meshes.find(h);
        if (!g || it == r.meshes.end()) continue;
        const MeshData data = buildMesh(*g, *it->second, atlas);
        upload(h, *it->second, data, evicted);
        ++r.evictedBuilds;
    }
}

// Where each paged mesh seen stands now, by its slot, for the vertex stage.
void writePlacements(const View& view, const std::vector<Visible>& visible, const std::vector<GatheredGroup>& groups) {
    Resources& r = res();
    r.placements.resize(std::size_t{r.pages.slotCount()} * 16);
    bool any = false;
    for (const Visible& v : visible) {
        const GatheredGroup& s = groups[v.gathered];
        if (v.cut || s.page < 0) continue;
        any = true;
        float* t = &r.placements[std::size_t{s.slot} * 16];
        const Vec3 o = v.drawnAt.origin - view.eye;
        t[0] = static_cast<float>(o.x), t[1] = static_cast<float>(o.y), t[2] = static_cast<float>(o.z), t[3] = 0;
        const Mat3& m = v.drawnAt.toWorld.m;
        for (int c = 0; c < 3; ++c) {
            t[4 + 4 * c] = static_cast<float>(m.c[c].x);
            t[5 + 4 * c] = static_cast<float>(m.c[c].y);
            t[6 + 4 * c] = static_cast<float>(m.c[c].z);
            t[7 + 4 * c] = 0;
        }
    }
    if (!any) return;
    const bool made = r.placementBuffer != 0;
    if (!made) glGenBuffers(1, &r.placementBuffer);
    glBindBuffer(GL_TEXTURE_BUFFER, r.placementBuffer);
    glBufferData(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(r.placements.size() * sizeof(float)), r.placements.data(),
                 GL_STREAM_DRAW);
    if (!made) {
        glGenTextures(1, &r.placementTexture);
        glBindTexture(GL_TEXTURE_BUFFER, r.placementTexture);
        glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, r.placementBuffer);
    }
}

}  // namespace

SharedWalk::SharedWalk() { keptWalk().gathered = false; }

SharedWalk::~SharedWalk() { keptWalk().gathered = false; }

SharedWalk::Kept& SharedWalk::kept() { return keptWalk(); }

void clearImage(uint8_t* rgba, int width, int height, int stride) {
    const World* w = state().world.get();
    Rgb8 c = w && w->fogIntensity > 0 ? w->fog : state().clearColour;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rgba + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 4] = c.r;
            row[x * 4 + 1] = c.g;
            row[x * 4 + 2] = c.b;
            row[x * 4 + 3] = 255;
        }
    }
}

bool renderWorld(const View& view, uint8_t* rgba, int stride, SharedWalk& walk) {
    World* w = state().world.get();
    const GlInfo* gl = makeGlCurrent(w && w->accelerator);
    if (!gl) return false;
    Resources& r = res();
    if (r.serial != gl->serial) resetResources(*gl);
    if (atlasWanted() != r.atlasOn) {
        r.atlasOn = !r.atlasOn;
        r.atlas.clear();
    }
    if (pagesWanted() != r.pagesOn) {
        // Every mesh is built again, into a page or buffers of its own.
        r.pagesOn = !r.pagesOn;
        r.pages.clear();
        for (auto& [h, m] : r.meshes) m->page = -1, m->glSerial = 0;
    }
    forgetDeadObjects();
    releaseAtlasCells(w);
    ensureFramebuffer(view.width, view.height);
    glBindFramebuffer(GL_FRAMEBUFFER, r.fbo);
    glViewport(0, 0, view.width, view.height);

    bool fog = w && w->fogIntensity > 0;
    Rgb8 clear = fog ? w->fog : state().clearColour;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(clear.r / 255.f, clear.g / 255.f, clear.b / 255.f, 1.f);
    if (gl->clipControl) {
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
        glClearDepth(0.0);
    } else {
        glClearDepth(1.0);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    if (w) {
        if (w->renderGroup == 0 && view.background) drawBackground(view, *w);

        // Nothing here walks polygons: a group's mesh is rebuilt only when an edit
        // marked the group, and follows its motions otherwise.
        SharedWalk::Kept& kept = walk.kept();
        const WalkKey key = walkKey(w);
        if (!kept.gathered || !(kept.key == key)) gatherGroups(*w, kept, key);
        // Its room is kept from frame to frame: at ten thousand groups, growing it
        // again each frame cost more than filling it.
        static std::vector<Visible> visible;
        visible.clear();
        LightMapAtlas* atlas = r.atlasOn ? &r.atlas : nullptr;
        const uint64_t evictedBefore = r.evictedBuilds;
        for (std::size_t i = 0; i < kept.groups.size(); ++i) {
            GatheredGroup& s = kept.groups[i];
            if (!boxInView(view, s.box)) continue;
            const int32_t h = s.handle;
            const Group& g = *s.group;
            if (!s.mesh) {
                std::unique_ptr<GroupMesh>& slot = r.meshes[h];
                if (!slot) slot = std::make_unique<GroupMesh>();
                s.mesh = slot.get();
            }
            GroupMesh& m = *s.mesh;
            // Far from the eye for the float path: its data is kept to be cut here.
            const bool exact = needsExactDrawing(view, s.box);
            auto rebuild = [&] {
                MeshData data = buildMesh(g, m, atlas);
                std::vector<int32_t> evicted;
                upload(h, m, data, evicted);
                rebuildEvicted(evicted, atlas);
                if (!exact) return;
                ExactMesh& e = r.exact[h];
                e.data = std::move(data);
                e.builds = m.builds;
            };
            // Checked once a call, unless a mesh sent out of its page was built again since.
            if (s.checkedAt != r.evictedBuilds || (exact && r.exact[h].builds != m.builds)) {
                if (m.version != g.version || m.lookVersion != g.lookVersion || m.picturesVersion != w->picturesVersion ||
                    m.normalsMode != state().normalsMode || m.glSerial != r.serial ||
                    m.atlasGeneration != atlasGeneration() || (exact && r.exact[h].builds != m.builds))
                    rebuild();
                s.at = placementOf(g, m);
                if (m.smoothNormals && !similarity(s.at.toWorld.m)) {
                    rebuild();
                    s.at = placementOf(g, m);
                }
                s.checkedAt = r.evictedBuilds;
                takeDrawing(s);
            }
            Visible v{&m, s.at, s.at, s.vao, &m.batches, &m.dynamicPolygons, s.lit ? unsigned{kLit} : 0u, false, i};
            if (exact) drawCut(r.exact[h], view, v);
            if (s.lights) writeLights(m, v.drawnAt);
            visible.push_back(v);
        }
        if (r.atlasOn) r.atlasTextures.update(r.atlas, gl->textureStorage);
        // A page reused later in the walk may have moved a mesh seen before it, or
        // built it again where the group stands now.
        if (r.evictedBuilds != evictedBefore) {
            for (Visible& v : visible) {
                if (v.cut) continue;
                GatheredGroup& s = kept.groups[v.gathered];
                s.at = placementOf(*s.group, *v.mesh);
                s.checkedAt = r.evictedBuilds;
                takeDrawing(s);
                v.at = v.drawnAt = s.at;
                v.vao = s.vao;
                v.lit = s.lit ? unsigned{kLit} : 0u;
                writeLights(*v.mesh, v.drawnAt);
            }
        }
        writePlacements(view, visible, kept.groups);

        Frame frame{++r.frames, &view, fog, static_cast<bool>(gl->clipControl), 0, 0, {}};
        if (fog) {
            Vec3 centre = view.toCamera(kept.worldBox.centre());
            double radius = length(kept.worldBox.size()) * 0.5;
            frame.fogDensity = static_cast<float>(w->fogIntensity);
            frame.fogStart = static_cast<float>(centre.z - radius);
            frame.fogColour = w->fog;
        }
        glVertexAttribI4ui(5, 0, 0, 0, 0);  // the light bits of meshes without lights

        glEnable(GL_DEPTH_TEST);
        glDepthFunc(gl->clipControl ? GL_GREATER : GL_LESS);
        glDepthMask(GL_TRUE);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        // The visible side is the one whose points run clockwise; rows are drawn top
        // first, which mirrors the image, so it runs anticlockwise there.
        glFrontFace(GL_CCW);
        glDisable(GL_BLEND);

        bindings().forget();
        bindings().bindTexture(5, GL_TEXTURE_BUFFER, r.placementTexture);
        std::vector<Deferred> translucent;
        PageRun run;
        for (const Visible& v : visible) {
            const GatheredGroup& s = kept.groups[v.gathered];
            if (!v.cut && s.page >= 0) {
                if (s.oneBatch)
                    run.add(frame, s.page, s.batch, s.pageFirstIndex + s.batch.firstIndex);
                else
                    for (const MeshBatch& b : *v.batches) run.add(frame, s.page, b, s.pageFirstIndex + b.firstIndex);
                continue;
            }
            run.draw(frame);  // what came before first: the order decides between equal depths
            bindMesh(v);
            for (const MeshBatch& b : *v.batches) {
                const Bound bound = bindPictures(b.texture, b.lightMap);
                MeshProgram& p = useProgram(bound.features | v.lit | (fog ? unsigned{kFogged} : 0u), frame, &v);
                setScales(p, bound);
                setSwitches(p, false, 1.f);
                drawRange(b.firstIndex, b.indexCount);
            }
            for (const MeshPolygon& mp : *v.dynamicPolygons) {
                if (mp.blend)
                    translucent.push_back({&v, &mp, view.toCamera(v.at.toWorld(mp.centre)).z});
                else
                    drawPolygon(frame, v, mp, 1.f);
            }
        }
        run.draw(frame);

        // Translucent polygons far to near, tested against the opaque depth but not writing it.
        std::stable_sort(translucent.begin(), translucent.end(),
                         [](const Deferred& a, const Deferred& b) { return a.depth > b.depth; });
        glDepthMask(GL_FALSE);
        for (const Deferred& d : translucent) {
            const MeshPolygon& mp = *d.polygon;
            if (mp.blend == 0x51) {
                // Difference needs the colour behind: copy the image so far.
                if (!r.behind) {
                    glGenTextures(1, &r.behind);
                    glBindTexture(GL_TEXTURE_2D, r.behind);
                    bindings().forgetActive();
                    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, view.width, view.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                                 nullptr);
                    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
                    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
                }
                bindings().bindTexture(2, GL_TEXTURE_2D, r.behind);
                bindings().select(2);  // the copy goes to the active unit's texture
                glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, view.width, view.height);
            }
            bindMesh(*d.visible);
            float alpha = setBlend(mp.blend);
            drawPolygon(frame, *d.visible, mp, alpha);
        }
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    }

    // Rows were drawn top first: they read back straight into the surface.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (stride % 4 == 0) {
        glPixelStorei(GL_PACK_ROW_LENGTH, stride / 4);
        glReadPixels(0, 0, view.width, view.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    } else {
        std::size_t rowBytes = static_cast<std::size_t>(view.width) * 4;
        r.readBack.resize(rowBytes * view.height);
        glReadPixels(0, 0, view.width, view.height, GL_RGBA, GL_UNSIGNED_BYTE, r.readBack.data());
        for (int y = 0; y < view.height; ++y)
            std::memcpy(rgba + static_cast<std::ptrdiff_t>(y) * stride, r.readBack.data() + rowBytes * y, rowBytes);
    }
    glBindVertexArray(0);
    glBindSampler(0, 0);
    glBindSampler(1, 0);
    return true;
}

}  // namespace ombrel
