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

HandleTable::~HandleTable() { eraseAllExcept(Kind::None); }

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

int32_t HandleTable::enter(Object* obj) {
    uint32_t s = takeSlot();
    Slot& slot = slots_[s];
    slot.obj = obj;
    ++live_;
    return static_cast<int32_t>((static_cast<uint32_t>(slot.generation) << 24) | s);
}

void HandleTable::destroy(Object* obj) {
    switch (obj->kind) {
    case Kind::Point: points_.release(static_cast<Point*>(obj)); break;
    case Kind::Polygon: polygons_.release(static_cast<Polygon*>(obj)); break;
    case Kind::Group: delete static_cast<Group*>(obj); break;
    case Kind::Camera: delete static_cast<Camera*>(obj); break;
    case Kind::Light: delete static_cast<Light*>(obj); break;
    case Kind::Track: delete static_cast<Track*>(obj); break;
    case Kind::Background: delete static_cast<Background*>(obj); break;
    case Kind::Bitmap: delete static_cast<Bitmap*>(obj); break;
    case Kind::Animation: delete static_cast<Animation*>(obj); break;
    case Kind::Picture: delete static_cast<Picture*>(obj); break;
    case Kind::Surface: delete static_cast<Surface*>(obj); break;
    case Kind::None: break;
    }
}

Kind HandleTable::kindOf(int32_t h) const {
    Object* o = find(h);
    return o ? o->kind : Kind::None;
}

bool HandleTable::erase(int32_t h) {
    Object* dying = find(h);
    if (!dying) return false;
    uint32_t s = static_cast<uint32_t>(h) & kMaxSlot;
    Slot& slot = slots_[s];
    slot.obj = nullptr;
    slot.generation = slot.generation >= 127 ? 1 : static_cast<uint8_t>(slot.generation + 1);
    free_.push_back(s);
    --live_;
    ++erasures_;
    destroy(dying);  // after the slot no longer names it
    return true;
}

void HandleTable::eraseAllExcept(Kind keep) {
    for (uint32_t s = 1; s < slots_.size(); ++s) {
        Slot& slot = slots_[s];
        if (slot.obj && slot.obj->kind != keep) erase(slot.obj->handle);
    }
}

}  // namespace ombrel
