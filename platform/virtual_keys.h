// Key codes as the editor names keys: the classic virtual-key numbers.
#pragma once

namespace platform::vk {

inline constexpr int LButton = 0x01, RButton = 0x02, MButton = 0x04;
inline constexpr int XButton1 = 0x05, XButton2 = 0x06;
inline constexpr int Back = 0x08, Tab = 0x09, Return = 0x0D;
inline constexpr int Shift = 0x10, Control = 0x11, Menu = 0x12;  // Menu = Alt
inline constexpr int Pause = 0x13, Capital = 0x14, Escape = 0x1B, Space = 0x20;
inline constexpr int Prior = 0x21, Next = 0x22, End = 0x23, Home = 0x24;
inline constexpr int Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28;
inline constexpr int Insert = 0x2D, Delete = 0x2E;
// '0'..'9' and 'A'..'Z' are their own codes.
inline constexpr int Numpad0 = 0x60, Multiply = 0x6A, Add = 0x6B, Subtract = 0x6D, Decimal = 0x6E,
                     Divide = 0x6F;
inline constexpr int F1 = 0x70;  // F1..F24 = 0x70..0x87
inline constexpr int OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE;

inline constexpr int Count = 256;

}  // namespace platform::vk

namespace platform {

// The code of a Qt key (Qt::Key, with the keypad flag for the number pad), or 0
// for keys the editor never asks about.
int virtualKeyFromQt(int qtKey, bool keypad);
// The code of one Qt mouse button (Qt::MouseButton), or 0.
int virtualKeyFromMouseButton(int qtButton);
// Mouse events in the classic shape: buttons 1 left, 2 right, 4 middle (from
// Qt::MouseButtons); shift 1 Shift, 2 Ctrl, 4 Alt (from Qt::KeyboardModifiers).
int mouseButtonCode(int qtButtons);
int shiftCode(int qtModifiers);

}  // namespace platform
