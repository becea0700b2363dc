#include "gl_context.h"

#include "engine_state.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <cstring>
#include <string>
#include <vector>

namespace ombrel {
namespace {

struct Context {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    bool hardware = false;
    bool wantedHardware = false;
    bool made = false;
    bool failedSoftware = false;    // never retry a platform that cannot open
    bool loggedNoGpu = false;
    GlInfo info;
    uint64_t nextSerial = 1;
};

Context& ctx() {
    static Context c;
    return c;
}

bool hasExtension(const char* list, const char* name) {
    if (!list) return false;
    std::size_t n = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)); p += n)
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

EGLDisplay openSoftware() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

// A display on a hardware device: one that names a DRM node and is not Mesa's
// software device.
EGLDisplay openHardware() {
    auto queryDevices = reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    auto queryString =
        reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(eglGetProcAddress("eglQueryDeviceStringEXT"));
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!queryDevices || !queryString || !getPlatformDisplay) return EGL_NO_DISPLAY;
    EGLint count = 0;
    if (!queryDevices(0, nullptr, &count) || count <= 0) return EGL_NO_DISPLAY;
    std::vector<EGLDeviceEXT> devices(static_cast<std::size_t>(count));
    queryDevices(count, devices.data(), &count);
    for (EGLDeviceEXT d : devices) {
        const char* ext = queryString(d, EGL_EXTENSIONS);
        if (hasExtension(ext, "EGL_MESA_device_software") || !hasExtension(ext, "EGL_EXT_device_drm")) continue;
        EGLDisplay dpy = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, d, nullptr);
        if (dpy != EGL_NO_DISPLAY) return dpy;
    }
    return EGL_NO_DISPLAY;
}

bool createOn(Context& c, EGLDisplay dpy, std::string& why) {
    if (dpy == EGL_NO_DISPLAY) {
        why = "no EGL display";
        return false;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(dpy, &major, &minor)) {
        why = "eglInitialize failed";
        return false;
    }
    if (!hasExtension(eglQueryString(dpy, EGL_EXTENSIONS), "EGL_KHR_surfaceless_context") ||
        !eglBindAPI(EGL_OPENGL_API)) {
        why = "the display offers no surfaceless OpenGL";
        eglTerminate(dpy);
        return false;
    }
    const EGLint configAttribs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    eglChooseConfig(dpy, configAttribs, &config, 1, &configs);
    const EGLint attribs[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                              EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(dpy, configs > 0 ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attribs);
    if (context == EGL_NO_CONTEXT || !eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        why = "no OpenGL 3.3 core context";
        if (context != EGL_NO_CONTEXT) eglDestroyContext(dpy, context);
        eglTerminate(dpy);
        return false;
    }
    c.display = dpy;
    c.context = context;
    GLint glMajor = 0, glMinor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &glMajor);
    glGetIntegerv(GL_MINOR_VERSION, &glMinor);
    bool clip = glMajor > 4 || (glMajor == 4 && glMinor >= 5);
    bool storage = glMajor > 4 || (glMajor == 4 && glMinor >= 2);
    GLint n = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &n);
    for (GLint i = 0; i < n; ++i) {
        const char* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
        clip = clip || std::strcmp(name, "GL_ARB_clip_control") == 0;
        storage = storage || std::strcmp(name, "GL_ARB_texture_storage") == 0;
    }
    c.info.clipControl = clip;
    c.info.textureStorage = storage;
    c.info.serial = c.nextSerial++;
    logLine(1, std::string("rendering with ") + reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    return true;
}

}  // namespace

void releaseGl() {
    Context& c = ctx();
    if (c.context != EGL_NO_CONTEXT) {
        eglMakeCurrent(c.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(c.display, c.context);
        // The display stays initialised: terminating it lets the driver unload
        // and reload on the next switch, and what the driver kept is lost each time.
    }
    c.context = EGL_NO_CONTEXT;
    c.display = EGL_NO_DISPLAY;
    c.made = false;
}

const GlInfo* makeGlCurrent(bool accelerator) {
    Context& c = ctx();
    if (c.made && c.wantedHardware == accelerator) {
        if (eglGetCurrentContext() != c.context) eglMakeCurrent(c.display, EGL_NO_SURFACE, EGL_NO_SURFACE, c.context);
        return &c.info;
    }
    if (c.made) releaseGl();
    c.wantedHardware = accelerator;
    std::string why;
    if (accelerator) {
        if (createOn(c, openHardware(), why)) {
            c.made = c.hardware = true;
            return &c.info;
        }
        if (!c.loggedNoGpu) logLine(1, "no hardware GPU for rendering (" + why + "); rendering in software");
        c.loggedNoGpu = true;
    }
    if (c.failedSoftware) return nullptr;
    if (createOn(c, openSoftware(), why)) {
        c.made = true;
        c.hardware = false;
        return &c.info;
    }
    c.failedSoftware = true;
    logLine(2, "cannot render: " + why + "; views are cleared only");
    return nullptr;
}

}  // namespace ombrel
