#include "key_state.h"

#include "virtual_keys.h"

#include <array>

namespace platform {
namespace {

struct KeyEntry {
    bool held = false;
    bool pressed = false;
};

std::array<KeyEntry, vk::Count> g_keys;

KeyEntry* entry(int virtualKey) {
    if (virtualKey <= 0 || virtualKey >= vk::Count) return nullptr;
    return &g_keys[static_cast<std::size_t>(virtualKey)];
}

}  // namespace

int16_t GetAsyncKeyState(int virtualKey) {
    KeyEntry* k = entry(virtualKey);
    if (!k) return 0;
    int result = k->held ? 0x8000 : 0;
    if (k->pressed) result |= 1;
    k->pressed = false;
    return static_cast<int16_t>(static_cast<uint16_t>(result));
}

void noteKeyDown(int virtualKey) {
    if (KeyEntry* k = entry(virtualKey)) {
        k->held = true;
        k->pressed = true;
    }
}

void noteKeyUp(int virtualKey) {
    if (KeyEntry* k = entry(virtualKey)) k->held = false;
}

void setKeyHeld(int virtualKey, bool held) {
    if (KeyEntry* k = entry(virtualKey)) k->held = held;
}

void clearKeyState() { g_keys.fill(KeyEntry{}); }

}  // namespace platform
