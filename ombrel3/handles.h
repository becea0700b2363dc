// One handle space for every kind of engine object. A handle is
// (generation << 24) | slot; a destroyed object's slot gets a new generation, so
// its old handle is rejected instead of naming whatever lives there next.
#pragma once

#include "object.h"
#include "record_pool.h"
#include "records.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace ombrel {

class HandleTable {
public:
    HandleTable();
    ~HandleTable();
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // Makes a record of kind T and gives it a handle (also in obj.handle).
    template <class T>
    T& create() {
        T* obj = allocate<T>();
        try {
            obj->handle = enter(obj);
        } catch (...) {
            destroy(obj);
            throw;
        }
        return *obj;
    }

    // The live object named by h, or nullptr for 0, stale or malformed handles.
    Object* find(int32_t h) const {
        if (h <= 0) return nullptr;
        uint32_t s = static_cast<uint32_t>(h) & kMaxSlot;
        if (s >= slots_.size()) return nullptr;
        const Slot& slot = slots_[s];
        return slot.generation == (static_cast<uint32_t>(h) >> 24) ? slot.obj : nullptr;
    }
    template <class T>
    T* find(int32_t h) const {
        Object* o = find(h);
        return o && o->kind == T::kKind ? static_cast<T*>(o) : nullptr;
    }
    Kind kindOf(int32_t h) const;

    // Destroys the object; returns false when h is not live.
    bool erase(int32_t h);
    // Destroys every object except those of kind keep (surfaces belong to the host).
    void eraseAllExcept(Kind keep);
    // Room for n more objects without growing the table.
    void reserve(std::size_t n) { slots_.reserve(slots_.size() + n); }

    std::size_t liveCount() const { return live_; }
    // Objects destroyed so far: unchanged means every handle once live still is.
    uint64_t erasures() const { return erasures_; }

private:
    struct Slot {
        Object* obj = nullptr;
        uint8_t generation = 1;
    };
    static constexpr uint32_t kMaxSlot = (1u << 24) - 1;
    // Freed slots wait in line this long before reuse, so a stale handle meets
    // its own slot again only after millions of frees.
    static constexpr std::size_t kReuseDelay = 1u << 16;

    template <class T>
    T* allocate() {
        if constexpr (std::is_same_v<T, Point>)
            return points_.make();
        else if constexpr (std::is_same_v<T, Polygon>)
            return polygons_.make();
        else
            return new T();
    }
    int32_t enter(Object* obj);
    void destroy(Object* obj);
    uint32_t takeSlot();

    std::vector<Slot> slots_;
    std::deque<uint32_t> free_;
    std::size_t live_ = 0;
    uint64_t erasures_ = 0;
    RecordPool<Point> points_;
    RecordPool<Polygon> polygons_;
};

}  // namespace ombrel
