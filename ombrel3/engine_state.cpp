#include "api_support.h"
#include "image_io.h"
#include "lightmap.h"

#include <chrono>
#include <cstdio>
#include <sstream>

namespace ombrel {

EngineState& state() {
    static EngineState s;
    return s;
}

void setLastError(std::string text) { state().lastError = std::move(text); }

void logLine(int32_t level, const std::string& text) {
    EngineState& s = state();
    if (s.logFn) s.logFn(level, text.c_str(), s.logUser);
    if (s.logToStderr) std::fprintf(stderr, "ombrel3: %s\n", text.c_str());
}

double clockSeconds() {
    static const auto start = std::chrono::steady_clock::now();
    if (state().clockFrozen) return state().frozenSeconds;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void closeWorld() {
    EngineState& s = state();
    forgetLightMaps();
    s.handles.eraseAllExcept(Kind::Surface);
    s.world.reset();
    clearImageCache();
}

void touchWorld() {
    if (World* w = state().world.get()) ++w->geomVersion;
    touchLighting();
}

void touchTotals(int32_t group) {
    touchLighting();  // members came, went or moved
    for (int guard = 0; guard < 1 << 20; ++guard) {
        Group* g = state().handles.find<Group>(group);
        if (!g) return;
        g->totals.valid = g->totals.axesBoxValid = false;
        group = g->father;
    }
}

void touchGroup(int32_t group) {
    World* w = state().world.get();
    if (!w) return;
    ++w->geomVersion;
    touchLighting();
    if (Group* g = state().handles.find<Group>(group)) {
        g->version = g->lookVersion = w->geomVersion;
        g->motion = Affine{};
        touchTotals(group);
    }
}

void touchGroupLook(int32_t group) {
    World* w = state().world.get();
    if (!w) return;
    ++w->geomVersion;
    if (Group* g = state().handles.find<Group>(group)) g->lookVersion = w->geomVersion;
}

void failStale(int32_t handle, Kind expected) {
    std::ostringstream os;
    Kind actual = state().handles.kindOf(handle);
    if (handle == 0)
        os << "no " << kindName(expected) << " given (handle 0)";
    else if (actual == Kind::None)
        os << "stale handle 0x" << std::hex << handle << " for a " << kindName(expected);
    else
        os << "handle 0x" << std::hex << handle << " is a " << kindName(actual) << ", not a " << kindName(expected);
    throw ApiError(os.str());
}

World& needWorld() {
    World* w = state().world.get();
    if (!w) throw ApiError("no world is loaded");
    return *w;
}

namespace {

// Cut between characters, never inside one: up to three UTF-8 continuation bytes
// at the cut go with the character they belong to.
std::string cutBetweenCharacters(std::string s, std::size_t limit) {
    if (s.size() <= limit) return s;
    std::size_t n = limit;
    for (int k = 0; k < 3 && n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80; ++k) --n;
    s.resize(n);
    return s;
}

}  // namespace

std::string cutName(const char* name) { return name ? cutBetweenCharacters(name, kMaxNameBytes) : std::string(); }
std::string cutName(const std::string& name) { return cutBetweenCharacters(name, kMaxNameBytes); }

std::string fitName(const std::string& base, const std::string& suffix) {
    const std::size_t room = suffix.size() < kMaxNameBytes ? kMaxNameBytes - suffix.size() : 0;
    return cutBetweenCharacters(base, room) + suffix;
}

int32_t copyOut(const std::string& text, char* buffer, int32_t len) {
    if (buffer && len >= 1) {
        std::size_t n = text.size() < static_cast<std::size_t>(len - 1) ? text.size() : static_cast<std::size_t>(len - 1);
        text.copy(buffer, n);
        buffer[n] = '\0';
    }
    return static_cast<int32_t>(text.size());
}

}  // namespace ombrel

namespace ombrel {

uint32_t* GroupPolygonSlot::of(int32_t polygon) {
    Polygon* p = state().handles.find<Polygon>(polygon);
    return p ? &p->groupSlot : nullptr;
}

uint32_t* WorldPolygonSlot::of(int32_t polygon) {
    Polygon* p = state().handles.find<Polygon>(polygon);
    return p ? &p->worldSlot : nullptr;
}

}  // namespace ombrel
