// Speed of rendering, re-rendering after an edit, and picking, in one 800 x 600
// view with Mesa's software rasteriser.
#include "ombrel.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr double kEye[3] = {120, 12.5, 125};
constexpr double kCorners[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

// Min, median and mean of the repetitions, as the figures are quoted.
void quoted(benchmark::internal::Benchmark* b) {
    b->Repetitions(3)->ReportAggregatesOnly(true)->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

// A 64 x 64 checker picture written as a 24-bit BMP.
std::string writeChecker() {
    std::string path = "/tmp/talvora_bench_checker_" + std::to_string(::getpid()) + ".bmp";
    const int n = 64, row = n * 3;
    std::vector<uint8_t> out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out = {'B', 'M'};
    put32(54 + row * n);
    put32(0);
    put32(54);
    put32(40);
    put32(n);
    put32(n);
    out.insert(out.end(), {1, 0, 24, 0});
    for (int i = 0; i < 6; ++i) put32(i == 1 ? row * n : 0);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            uint8_t v = ((x / 8 + y / 8) % 2) ? 220 : 60;
            out.insert(out.end(), {v, static_cast<uint8_t>(255 - v), 128});
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
    return path;
}

// Groups of perGroup textured unit squares, 40 to a row, laid out 10 groups to a
// row 50 units apart in x and 120 in y. The camera looks down on the first five
// groups of row 0 (5,000 squares when groups hold 1,000).
struct Scene {
    std::vector<int32_t> groups;
    int32_t surface = 0, camera = 0, light = 0;
    std::vector<uint8_t> pixels;

    explicit Scene(int groupCount, int perGroup = 1000, bool autoLight = false) {
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        std::string picture = writeChecker();
        int32_t bitmap = OMBREL_bitmap_load(picture.c_str(), -1);
        std::remove(picture.c_str());
        int32_t root = OMBREL_group_create("the_world");
        for (int g = 0; g < groupCount; ++g) {
            int32_t group = OMBREL_group_create("part");
            OMBREL_group_set_father_group(group, root);
            groups.push_back(group);
            double ox = (g % 10) * 50.0, oy = (g / 10) * 120.0;
            for (int i = 0; i < perGroup; ++i) {
                int32_t p = OMBREL_polygon_create();
                double x = ox + i % 40, y = oy + i / 40;
                for (auto& c : kCorners) {
                    double rec[6] = {x + c[0], y + c[1], 0, c[0], 1 - c[1], 100};
                    OMBREL_polygon_add_point(p, rec);
                }
                OMBREL_polygon_set_group(p, group);
                OMBREL_engine_add_polygon(p);
                OMBREL_polygon_set_bitmap_fill(p, bitmap);
            }
        }
        if (autoLight) {
            // As a new light comes: re-bound before each render.
            const double at[3] = {120, 12.5, 40};
            light = OMBREL_light_create("lamp", at);
        }
        pixels.assign(static_cast<std::size_t>(kWidth) * kHeight * 4, 0);
        surface = OMBREL_ext_surface_attach(pixels.data(), kWidth, kHeight, kWidth * 4);
        camera = OMBREL_camera_create("bench");
        OMBREL_camera_set_location(camera, kEye[0], kEye[1], kEye[2]);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_zoom(camera, 90);
        OMBREL_camera_set_current(camera, surface);
        OMBREL_engine_render_on_dc(surface, camera);  // builds every visible mesh once
    }
    ~Scene() {
        OMBREL_ext_surface_destroy(surface);
        OMBREL_engine_close();
    }
};

void BM_Render5000VisibleTextured(benchmark::State& state) {
    Scene s(5);
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
}
BENCHMARK(BM_Render5000VisibleTextured)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Apply(quoted);

void BM_Render100kWorld5000Visible(benchmark::State& state) {
    Scene s(100);
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
}
BENCHMARK(BM_Render100kWorld5000Visible)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Apply(quoted);

// 100,000 plain squares in 5 x 2 blocks laid 100 to a row, held by groupCount
// groups (10,000: one block each; 10: a thousand blocks each), all seen from above
// in a 640 x 512 view, the size of one of four views of a large window: the
// difference between the two is what each group costs the frame.
struct Blocks {
    std::vector<uint8_t> pixels;
    int32_t surface = 0, camera = 0;
    explicit Blocks(int groupCount) {
        OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR);
        OMBREL_engine_hide_log_window();
        int32_t root = OMBREL_group_create("the_world");
        std::vector<int32_t> groups;
        for (int g = 0; g < groupCount; ++g) {
            groups.push_back(OMBREL_group_create("part"));
            OMBREL_group_set_father_group(groups.back(), root);
        }
        constexpr int kBlocks = 10000;
        for (int b = 0; b < kBlocks; ++b)
            for (int i = 0; i < 10; ++i) {
                int32_t p = OMBREL_polygon_create();
                double x = (b % 100) * 8.0 + i % 5, y = (b / 100) * 4.0 + i / 5;
                for (auto& c : kCorners) {
                    double rec[6] = {x + c[0], y + c[1], 0, c[0], 1 - c[1], 100};
                    OMBREL_polygon_add_point(p, rec);
                }
                OMBREL_polygon_set_group(p, groups[static_cast<std::size_t>(b) * groupCount / kBlocks]);
                OMBREL_engine_add_polygon(p);
            }
        pixels.assign(640u * 512u * 4u, 0);
        surface = OMBREL_ext_surface_attach(pixels.data(), 640, 512, 640 * 4);
        camera = OMBREL_camera_create("bench");
        OMBREL_camera_set_location(camera, 400, 200, 900);
        OMBREL_camera_set_direction(camera, 0, 0, -1);
        OMBREL_camera_set_zoom(camera, 90);
        OMBREL_camera_set_current(camera, surface);
        OMBREL_engine_render_on_dc(surface, camera);
    }
    ~Blocks() {
        OMBREL_ext_surface_destroy(surface);
        OMBREL_engine_close();
    }
};

void BM_Render100kSquaresAllVisible(benchmark::State& state) {
    Blocks s(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
    state.counters["groups"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_Render100kSquaresAllVisible)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Apply(quoted);

// The reference: a plain OpenGL program of its own context drawing the same 5,000
// textured squares through the same camera into an 800 x 600 framebuffer and
// reading the image back, as a program written for just that would.
class RawGl {
public:
    RawGl() {
        auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getDisplay) return;
        display_ = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr) || !eglBindAPI(EGL_OPENGL_API)) return;
        const EGLint attribs[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                  EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
        context_ = eglCreateContext(display_, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attribs);
        if (context_ == EGL_NO_CONTEXT || !current()) return;
        setUp();
        ok_ = true;
    }
    ~RawGl() {
        if (context_ != EGL_NO_CONTEXT) {
            eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            eglDestroyContext(display_, context_);
        }
    }
    bool ok() const { return ok_; }
    bool current() { return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_); }

    void frame(uint8_t* out) {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);  // the squares run clockwise seen from the camera
        glUseProgram(program_);
        glBindVertexArray(vao_);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glDrawElements(GL_TRIANGLES, indexCount_, GL_UNSIGNED_INT, nullptr);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, out);
    }

private:
    static GLuint shader(GLenum type, const char* text) {
        GLuint s = glCreateShader(type);
        glShaderSource(s, 1, &text, nullptr);
        glCompileShader(s);
        return s;
    }

    void setUp() {
        const char* vs = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec2 aUv;
uniform vec3 uEye;
uniform vec2 uScale;
out vec2 vUv;
void main() {
    vec3 c = vec3(aPos.x - uEye.x, aPos.y - uEye.y, uEye.z - aPos.z);
    gl_Position = vec4(c.x * uScale.x, c.y * uScale.y, c.z - 2.0, c.z);
    vUv = aUv;
}
)";
        const char* fs = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uTexture;
out vec4 outColour;
void main() { outColour = vec4(texture(uTexture, vUv).rgb, 1.0); }
)";
        program_ = glCreateProgram();
        glAttachShader(program_, shader(GL_VERTEX_SHADER, vs));
        glAttachShader(program_, shader(GL_FRAGMENT_SHADER, fs));
        glLinkProgram(program_);
        glUseProgram(program_);
        glUniform3f(glGetUniformLocation(program_, "uEye"), float(kEye[0]), float(kEye[1]), float(kEye[2]));
        // 90 degrees across the width: focal = width / 2.
        glUniform2f(glGetUniformLocation(program_, "uScale"), 1.0f, float(kWidth) / kHeight);
        glUniform1i(glGetUniformLocation(program_, "uTexture"), 0);

        std::vector<float> vertices;
        std::vector<uint32_t> indices;
        for (int g = 0; g < 5; ++g)
            for (int i = 0; i < 1000; ++i) {
                const float x = float(g * 50 + i % 40), y = float(i / 40);
                const auto first = static_cast<uint32_t>(vertices.size() / 5);
                for (auto& c : kCorners)
                    vertices.insert(vertices.end(), {x + float(c[0]), y + float(c[1]), 0, float(c[0]), float(1 - c[1])});
                indices.insert(indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
            }
        indexCount_ = static_cast<GLsizei>(indices.size());
        glGenVertexArrays(1, &vao_);
        glBindVertexArray(vao_);
        GLuint buffers[2];
        glGenBuffers(2, buffers);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(float)), vertices.data(), GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), reinterpret_cast<void*>(3 * sizeof(float)));
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)), indices.data(), GL_STATIC_DRAW);

        std::vector<uint8_t> texels;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                uint8_t v = ((x / 8 + y / 8) % 2) ? 220 : 60;
                texels.insert(texels.end(), {128, static_cast<uint8_t>(255 - v), v, 255});
            }
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glGenerateMipmap(GL_TEXTURE_2D);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

        glGenFramebuffers(1, &fbo_);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        GLuint rb[2];
        glGenRenderbuffers(2, rb);
        glBindRenderbuffer(GL_RENDERBUFFER, rb[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rb[0]);
        glBindRenderbuffer(GL_RENDERBUFFER, rb[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, kWidth, kHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rb[1]);
    }

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
    GLuint program_ = 0, vao_ = 0, texture_ = 0, fbo_ = 0;
    GLsizei indexCount_ = 0;
    bool ok_ = false;
};

// The engine's frame of the 5,000 squares and the raw program's, one after the
// other in every iteration so that both meet the same load on the shared machine;
// the time is the engine's, the counters give both and their ratio.
void BM_Render5000VisibleTexturedAgainstRawGl(benchmark::State& state) {
    Scene s(5);
    RawGl raw;
    if (!raw.ok()) {
        state.SkipWithError("no OpenGL context for the reference");
        return;
    }
    std::vector<uint8_t> out(static_cast<std::size_t>(kWidth) * kHeight * 4);
    double engineSeconds = 0, rawSeconds = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
        auto t1 = std::chrono::steady_clock::now();
        raw.current();
        raw.frame(out.data());
        auto t2 = std::chrono::steady_clock::now();
        engineSeconds += std::chrono::duration<double>(t1 - t0).count();
        rawSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = engineSeconds / frames * 1e3;
    state.counters["raw_ms"] = rawSeconds / frames * 1e3;
    state.counters["ratio"] = engineSeconds / rawSeconds;
}
BENCHMARK(BM_Render5000VisibleTexturedAgainstRawGl)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->Apply(quoted);

// The same frame with one auto-update light over the visible groups.
void BM_Render100kWorld5000VisibleAutoLight(benchmark::State& state) {
    Scene s(100, 1000, true);
    for (auto _ : state) benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
}
BENCHMARK(BM_Render100kWorld5000VisibleAutoLight)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Apply(quoted);

// Moves one visible group back and forth before each render; compare with the
// plain re-render above.
void BM_MoveOneGroupAndRender100kWorld(benchmark::State& state) {
    Scene s(100);
    double sign = 1;
    for (auto _ : state) {
        const double by[3] = {0, 0, 0.25 * sign};
        sign = -sign;
        OMBREL_group_move(s.groups[2], by, 0);
        benchmark::DoNotOptimize(OMBREL_engine_render_on_dc(s.surface, s.camera));
    }
}
BENCHMARK(BM_MoveOneGroupAndRender100kWorld)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Apply(quoted);

void BM_Pick100kWorld(benchmark::State& state) {
    Scene s(100);
    int i = 0;
    for (auto _ : state) {
        int32_t x = (i * 37) % kWidth, y = (i * 23) % kHeight;
        ++i;
        double pt[3];
        int32_t g = 0, p = 0;
        benchmark::DoNotOptimize(OMBREL_engine_2D_point_to_3D(x, y, pt, &g, &p));
    }
}
BENCHMARK(BM_Pick100kWorld)->Unit(benchmark::kMicrosecond);

// The first pick after each move of a 10,000-polygon group under the cursor; only
// the pick is timed.
void BM_FirstPickAfterMoving10kGroup(benchmark::State& state) {
    Scene s(1, 10000);
    double sign = 1;
    for (auto _ : state) {
        const double by[3] = {0.25 * sign, 0, 0.25 * sign};
        sign = -sign;
        OMBREL_group_move(s.groups[0], by, 0);
        double pt[3];
        int32_t g = 0, p = 0;
        auto start = std::chrono::steady_clock::now();
        // (20, 12.5) of the group's 40 x 250 squares, seen by the camera at (120, 12.5).
        int32_t hit = OMBREL_engine_2D_point_to_3D(80, kHeight / 2, pt, &g, &p);
        auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(hit);
        if (g != s.groups[0]) state.SkipWithError("the pick missed the group");
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_FirstPickAfterMoving10kGroup)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond)->Apply(quoted);

}  // namespace

BENCHMARK_MAIN();
