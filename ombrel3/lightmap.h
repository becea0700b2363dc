// Light maps: the light of a polygon's lights baked into a bitmap over its plane,
// with shadows, computed by worker threads.
//
// Threads: every engine call comes from the one host thread. Worker threads live
// only inside a call (the rows of one polygon), except during a batch, whose
// workers run between calls; they read only the copy the batch took at its begin
// and never touch the world.
#pragma once

#include "records.h"

#include <cstdint>
#include <string>

namespace ombrel {

struct LightMapParams {
    int32_t maxSize = 0, minSize = 0;
    double rate = 0;
    int32_t rayTracing = 0, number = 2;
    bool operator==(const LightMapParams&) const = default;
};

// The map of the polygon, installed as its second bitmap (number 2) or baked into
// its fill (number 1); either number first takes off every map an earlier
// computation installed there (a number-1 fill goes back to the fill before it).
// Returns the new bitmap; 0 without an error when no enabled light is bound to it
// (the earlier maps are taken off all the same). Throws ApiError for a polygon that
// can have no map.
int32_t createLightMap(int32_t polygon, const LightMapParams& params);

// The batch over group's walk: workers compute the polygons' values in walk order
// ahead of the createLightMap calls that claim them. Begin ends a running batch.
void beginLightMapBatch(int32_t group, const LightMapParams& params);
// Whether the polygon's values are ready, waiting at most waitMs; true at once
// when no batch runs or the polygon is not an unclaimed one of it.
bool lightMapReady(int32_t polygon, int32_t waitMs);
// Stops the workers and drops what is unclaimed. Harmless without a batch.
void endLightMapBatch();

// What the lighting reads changed (points, membership, enabled state, lights and
// bindings): a running batch no longer holds and the occluders are built afresh.
void touchLighting();

// The world closes: the batch ends and the run folder goes with the maps' files.
void forgetLightMaps();

// ---- map files
// A new light map's engine name: <run folder>/LIGHTMAP_<serial>. Its file is due:
// written only when needed, so a computation never waits on the disk.
std::string newLightMapName();
enum class RunFileWrite { Nothing, Written, Failed };
// Writes a due map as its name + ".bmp" and remembers the file; a failure is
// logged (and told in why), the map stays in memory and stays due.
RunFileWrite writeDueRunFile(Bitmap& map, std::string* why = nullptr);
// Deletes the map's file when it lies in the run folder (nothing else is ever deleted).
void deleteRunFile(const Bitmap& map);

}  // namespace ombrel
