// Live key and mouse-button state, asked as GetAsyncKeyState asks: held now (the
// result is negative) and pressed since the last poll of that key (bit 0).
// The application-wide input filter keeps the table; tests may set it directly.
#pragma once

#include <cstdint>

namespace platform {

// 0x8000 when held (negative as int16_t), | 1 when pressed since the last call
// for this key; the call clears the pressed flag. -32767 = held and fresh.
int16_t GetAsyncKeyState(int virtualKey);
inline bool isKeyHeld(int virtualKey) { return GetAsyncKeyState(virtualKey) < 0; }

// Fed by the input filter (or a test).
void noteKeyDown(int virtualKey);
void noteKeyUp(int virtualKey);
void setKeyHeld(int virtualKey, bool held);  // held without a fresh press
// Everything up: the application lost the focus.
void clearKeyState();

}  // namespace platform
