// A stand-in engine for the loader tests: every entry point of the interface,
// each answering a zero of its return type and noting its name. Built twice, once
// with one entry point renamed away (see CMakeLists.txt).
#include "ombrel.h"
#include "ombrel_edges.h"
#include "ombrel_places.h"
#include "ombrel_views.h"

namespace {

template <class T>
T zero() {
    return T{};
}

template <>
void zero<void>() {}

}  // namespace

// The last entry point called, for the test to see that a bound call arrived here.
extern "C" {
__attribute__((visibility("default"))) const char* fake_engine_last_call = nullptr;
}

#define FAKE_DEFINE_(ret, name, params) \
    ret name params {                   \
        fake_engine_last_call = #name;  \
        return zero<ret>();             \
    }
OMBREL_ALL_FUNCTIONS(FAKE_DEFINE_)
OMBREL_PLACES_FUNCTIONS(FAKE_DEFINE_)
OMBREL_EDGES_FUNCTIONS(FAKE_DEFINE_)
OMBREL_VIEWS_FUNCTIONS(FAKE_DEFINE_)
#undef FAKE_DEFINE_
