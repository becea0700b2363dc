#include "handles.h"

#include <new>

namespace ombrel {

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::Group: return "group";
    case Kind::Polygon: return "polygon";
    case Kind::Point: return "point";
    case Kind::Camera: return "camera";
    case Kind::Light: return "light";
    case Kind::Track: return "track";
    case Kind::Background: return "background";
    case Kind::Bitmap: return "bitmap";
    case Kind::Animation: return "animation";
    case Kind::Picture: return "picture";
    case Kind::Surface: return "surface";
    case Kind::None: break;
    }
    return "none";
}

HandleTable::HandleTable() { slots_.resize(1); }  // slot 0 is never used

uint32_t HandleTable::takeSlot() {
    if (free_.size() > kReuseDelay || (slots_.size() > kMaxSlot && !free_.empty())) {
        uint32_t s = free_.front();
        free_.pop_front();
        return s;
    }
    if (slots_.size() > kMaxSlot) throw std::bad_alloc();
    slots_.emplace_back();
    return static_cast<uint32_t>(slots_.size() - 1);
}

int32_t HandleTable::insert(std::unique_ptr<Object> obj) {
    uint32_t s = takeSlot();
    Slot& slot = slots_[s];
    int32_t h = static_cast<int32_t>((static_cast<uint32_t>(slot.generation) << 24) | s);
    obj->handle = h;
    slot.obj = std::move(obj);
    ++live_;
    return h;
}

Object* HandleTable::find(int32_t h) const {
    if (h <= 0) return nullptr;
    uint32_t s = static_cast<uint32_t>(h) & kMaxSlot;
    uint32_t gen = static_cast<uint32_t>(h) >> 24;
    if (s == 0 || s >= slots_.size()) return nullptr;
    const Slot& slot = slots_[s];
    if (slot.generation != gen || !slot.obj) return nullptr;
    return slot.obj.get();
}

Kind HandleTable::kindOf(int32_t h) const {
    Object* o = find(h);
    return o ? o->kind : Kind::None;
}

bool HandleTable::erase(int32_t h) {
    if (!find(h)) return false;
    uint32_t s = static_cast<uint32_t>(h) & kMaxSlot;
    Slot& slot = slots_[s];
    std::unique_ptr<Object> dying = std::move(slot.obj);
    slot.generation = slot.generation >= 127 ? 1 : static_cast<uint8_t>(slot.generation + 1);
    free_.push_back(s);
    --live_;
    return true;  // dying is destroyed here, after the slot no longer names it
}

void HandleTable::eraseAllExcept(Kind keep) {
    for (uint32_t s = 1; s < slots_.size(); ++s) {
        Slot& slot = slots_[s];
        if (slot.obj && slot.obj->kind != keep) erase(slot.obj->handle);
    }
}

}  // namespace ombrel
