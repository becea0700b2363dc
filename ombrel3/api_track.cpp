// Tracks: point lists that cameras and groups follow in the viewer.
#include "api_support.h"
#include "world_lists.h"

#include "ombrel_track.h"

using namespace ombrel;

namespace {

// Far more points than any track is drawn with; stops a wild count from
// exhausting memory.
constexpr int32_t kMaxTrackPoints = 1 << 24;

std::vector<Vec3> pointsFrom(const double* points, int32_t count) {
    if (count > kMaxTrackPoints) throw ApiError("too many track points: " + std::to_string(count));
    if (count > 0 && !points) throw ApiError("no points given");
    std::vector<Vec3> pts;
    pts.reserve(count > 0 ? count : 0);
    for (int32_t i = 0; i < count; ++i) pts.push_back(needFloats(points + 3 * static_cast<std::size_t>(i)));
    return pts;
}

void needIndex(const Track& t, int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= t.pts.size())
        throw ApiError("track point " + std::to_string(index) + " out of 0.." + std::to_string(t.pts.size()) + "-1");
}

template <class Body>
int32_t setTrack(const char* fn, int32_t track, Body&& body) {
    return guarded(fn, -1, [&] {
        body(need<Track>(track));
        return 0;
    });
}

}  // namespace

OMBREL_API int32_t OMBREL_track_create(const char* name, int32_t cyclic, const double* points, int32_t count) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        std::vector<Vec3> pts = pointsFrom(points, count);
        Track& t = createObject<Track>();
        t.name = cutName(name);
        t.cyclic = cyclic != 0;
        t.pts = std::move(pts);
        t.save = true;
        w.tracks.append(t.handle);
        return t.handle;
    });
}

OMBREL_API int32_t OMBREL_track_delete(int32_t track) {
    return guarded(__func__, -1, [&] {
        need<Track>(track);
        destroyListed(needWorld().tracks, track);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_track_get_first_track(void) {
    return guarded(__func__, 0, [&] {
        const World& w = needWorld();
        return firstSavedFrom<Track>(w.tracks, w.tracks.first());
    });
}

OMBREL_API int32_t OMBREL_track_get_next(int32_t track) {
    return guarded(__func__, 0, [&] {
        need<Track>(track);
        const World& w = needWorld();
        return firstSavedFrom<Track>(w.tracks, w.tracks.next(track));
    });
}

OMBREL_API int32_t OMBREL_track_get_using_name(const char* name) {
    return guarded(__func__, 0, [&] { return firstNamed<Track>(needWorld().tracks, name); });
}

OMBREL_API int32_t OMBREL_track_set_name(int32_t track, const char* name) {
    return setTrack(__func__, track, [&](Track& t) { t.name = cutName(name); });
}

OMBREL_API int32_t OMBREL_track_set_save_flag(int32_t track, int32_t flag) {
    return setTrack(__func__, track, [&](Track& t) { t.save = flag != 0; });
}

OMBREL_API int32_t OMBREL_track_get_number_of_points(int32_t track) {
    return guarded(__func__, 0, [&] { return static_cast<int32_t>(need<Track>(track).pts.size()); });
}

OMBREL_API int32_t OMBREL_track_get_point(int32_t track, int32_t index, double point[3]) {
    return setTrack(__func__, track, [&](Track& t) {
        needIndex(t, index);
        if (!point) throw ApiError("no output given");
        t.pts[index].to(point);
    });
}

OMBREL_API int32_t OMBREL_track_set_point(int32_t track, int32_t index, const double point[3]) {
    return setTrack(__func__, track, [&](Track& t) {
        needIndex(t, index);
        t.pts[index] = needFloats(point);
    });
}

OMBREL_API int32_t OMBREL_track_set_number_of_points(int32_t track, int32_t count) {
    return setTrack(__func__, track, [&](Track& t) {
        if (count < 0 || count > kMaxTrackPoints) throw ApiError("bad track point count " + std::to_string(count));
        Vec3 fill = t.pts.empty() ? Vec3{} : t.pts.back();
        t.pts.resize(count, fill);
    });
}

OMBREL_API int32_t OMBREL_track_set_points_buffer(int32_t track, const double* points, int32_t count) {
    return setTrack(__func__, track, [&](Track& t) {
        if (count < 0) throw ApiError("bad track point count " + std::to_string(count));
        t.pts = pointsFrom(points, count);
    });
}

OMBREL_API int32_t OMBREL_track_is_cyclic(int32_t track) {
    return guarded(__func__, 0, [&] { return need<Track>(track).cyclic ? 1 : 0; });
}
