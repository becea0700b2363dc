// Everything the engine keeps between calls: the handle table, the world (absent
// while the engine is empty) and the settings that outlive worlds.
#pragma once

#include "handles.h"
#include "records.h"
#include "world.h"

#include "ombrel_types.h"

#include <memory>
#include <string>

namespace ombrel {

struct EngineState {
    HandleTable handles;
    std::unique_ptr<World> world;

    // Engine-global settings: accepted without a world, never saved.
    int32_t autoCorrectMode = 0;
    int32_t normalsMode = 0;
    bool logToStderr = true;
    Rgb8 clearColour{0, 0, 0};

    OMBREL_log_fn logFn = nullptr;
    void* logUser = nullptr;
    OMBREL_present_fn presentFn = nullptr;
    void* presentUser = nullptr;

    std::string lastError;

    bool clockFrozen = false;
    double frozenSeconds = 0;
};

EngineState& state();

void setLastError(std::string text);
void logLine(int32_t level, const std::string& text);

// Seconds on the animation clock (monotonic since start, or the frozen test time).
double clockSeconds();

// Destroys the world and every object but the host's surfaces.
void closeWorld();

// Marks a group's own polygons changed in shape: every cache of the group is
// rebuilt when next needed, and the totals of its fathers are redone.
void touchGroup(int32_t group);
// Only how the group's polygons look changed: its render mesh is rebuilt.
void touchGroupLook(int32_t group);
// The subtree of group gained, lost or moved members: the totals of group and its
// fathers are redone.
void touchTotals(int32_t group);
// Any structure change anywhere (groups made, attached or destroyed).
void touchWorld();

}  // namespace ombrel
