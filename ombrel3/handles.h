// One handle space for every kind of engine object. A handle is
// (generation << 24) | slot; a destroyed object's slot gets a new generation, so
// its old handle is rejected instead of naming whatever lives there next.
#pragma once

#include "object.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace ombrel {

class HandleTable {
public:
    HandleTable();

    // Takes ownership and returns the new handle (also stored in obj->handle).
    int32_t insert(std::unique_ptr<Object> obj);

    // The live object named by h, or nullptr for 0, stale or malformed handles.
    Object* find(int32_t h) const;
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

    std::size_t liveCount() const { return live_; }

private:
    struct Slot {
        uint8_t generation = 1;
        std::unique_ptr<Object> obj;
    };
    static constexpr uint32_t kMaxSlot = (1u << 24) - 1;
    // Freed slots wait in line this long before reuse, so a stale handle meets
    // its own slot again only after millions of frees.
    static constexpr std::size_t kReuseDelay = 1u << 16;

    uint32_t takeSlot();

    std::vector<Slot> slots_;
    std::deque<uint32_t> free_;
    std::size_t live_ = 0;
};

}  // namespace ombrel
