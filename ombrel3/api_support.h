// The boundary of every C entry point: resolve handles, run the body, turn any
// exception into the function's failure value plus a last-error text.
#pragma once

#include "engine_state.h"

#include <cfloat>
#include <cmath>
#include <stdexcept>
#include <string>

namespace ombrel {

// A failure to report through the last error (stale handle, bad argument, no world).
struct ApiError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void failStale(int32_t handle, Kind expected);

// The live object of kind T named by h, or an ApiError.
template <class T>
T& need(int32_t h) {
    T* obj = state().handles.find<T>(h);
    if (!obj) failStale(h, T::kKind);
    return *obj;
}
// The live object of kind T or nullptr, without setting any error.
template <class T>
T* lookup(int32_t h) {
    return state().handles.find<T>(h);
}

World& needWorld();

// Every number the engine stores goes to the renderer as a float: one that is
// no finite float (beyond 3.4e38, infinite or not a number) is refused before
// anything is stored, so no setting can turn a face black or NaN.
inline double needFloat(double v) {
    if (!(std::fabs(v) <= FLT_MAX)) throw ApiError("the value is not a finite float");
    return v;
}
inline Vec3 needFloats(Vec3 v) { return {needFloat(v.x), needFloat(v.y), needFloat(v.z)}; }
inline Vec3 needFloats(const double* v) {
    if (!v) throw ApiError("no vector given");
    return needFloats(Vec3::from(v));
}

// Creates a record of kind T in the handle table; its handle is obj.handle.
template <class T>
T& createObject() {
    return state().handles.create<T>();
}

// What a name may hold, in bytes.
inline constexpr std::size_t kMaxNameBytes = 254;
// Cuts a caller's name to what a name may hold (254 bytes), between characters.
std::string cutName(const char* name);
std::string cutName(const std::string& name);
// base cut between characters so that base + suffix is a whole name.
std::string fitName(const std::string& base, const std::string& suffix);

// Copies text into a caller's buffer of len bytes, always NUL-terminated when len >= 1.
// Returns the full text's length.
int32_t copyOut(const std::string& text, char* buffer, int32_t len);

template <class Ret, class Body>
Ret guarded(const char* function, Ret failure, Body&& body) noexcept;

// Runs f on the live object of kind T named by h, then marks the group that
// owner(object) names with touch (its shape or its look changed): 0, or -1 with
// the last error.
template <class T, class Owner, class F>
int32_t changeAndTouch(const char* fn, int32_t h, void (*touch)(int32_t), Owner&& owner, F&& f) {
    return guarded(fn, -1, [&] {
        T& obj = need<T>(h);
        f(obj);
        touch(owner(obj));
        return 0;
    });
}

template <class Ret, class Body>
Ret guarded(const char* function, Ret failure, Body&& body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        setLastError(std::string(function) + ": " + e.what());
    } catch (...) {
        setLastError(std::string(function) + ": unknown failure");
    }
    return failure;
}

}  // namespace ombrel
