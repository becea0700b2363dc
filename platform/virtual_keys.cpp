#include "virtual_keys.h"

#include <Qt>

namespace platform {

int virtualKeyFromQt(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? vk::Numpad0 + (qtKey - Qt::Key_0) : '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::F1 + (qtKey - Qt::Key_F1);
    // A key code names the key, not its character: with Shift held the digit keys
    // arrive as their shifted symbols (US layout), yet they are still the digit keys.
    switch (qtKey) {
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Underscore: return vk::OemMinus;
    case Qt::Key_Less: return vk::OemComma;
    case Qt::Key_Greater: return vk::OemPeriod;
    default: break;
    }
    switch (qtKey) {
    case Qt::Key_Shift: return vk::Shift;
    case Qt::Key_Control: return vk::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return vk::Menu;
    case Qt::Key_Backspace: return vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::Return;
    case Qt::Key_Pause: return vk::Pause;
    case Qt::Key_CapsLock: return vk::Capital;
    case Qt::Key_Escape: return vk::Escape;
    case Qt::Key_Space: return vk::Space;
    case Qt::Key_PageUp: return vk::Prior;
    case Qt::Key_PageDown: return vk::Next;
    case Qt::Key_End: return vk::End;
    case Qt::Key_Home: return vk::Home;
    case Qt::Key_Left: return vk::Left;
    case Qt::Key_Up: return vk::Up;
    case Qt::Key_Right: return vk::Right;
    case Qt::Key_Down: return vk::Down;
    case Qt::Key_Insert: return vk::Insert;
    case Qt::Key_Delete: return vk::Delete;
    case Qt::Key_Asterisk: return keypad ? vk::Multiply : '8';
    case Qt::Key_Plus: return keypad ? vk::Add : vk::OemPlus;
    case Qt::Key_Equal: return vk::OemPlus;
    case Qt::Key_Minus: return keypad ? vk::Subtract : vk::OemMinus;
    case Qt::Key_Comma: return vk::OemComma;
    case Qt::Key_Period: return keypad ? vk::Decimal : vk::OemPeriod;
    case Qt::Key_Slash: return keypad ? vk::Divide : 0;
    default: return 0;
    }
}

int virtualKeyFromMouseButton(int qtButton) {
    switch (qtButton) {
    case Qt::LeftButton: return vk::LButton;
    case Qt::RightButton: return vk::RButton;
    case Qt::MiddleButton: return vk::MButton;
    case Qt::XButton1: return vk::XButton1;
    case Qt::XButton2: return vk::XButton2;
    default: return 0;
    }
}

int mouseButtonCode(int qtButtons) {
    int b = 0;
    if (qtButtons & Qt::LeftButton) b |= 1;
    if (qtButtons & Qt::RightButton) b |= 2;
    if (qtButtons & Qt::MiddleButton) b |= 4;
    return b;
}

int shiftCode(int qtModifiers) {
    int s = 0;
    if (qtModifiers & Qt::ShiftModifier) s |= 1;
    if (qtModifiers & Qt::ControlModifier) s |= 2;
    if (qtModifiers & Qt::AltModifier) s |= 4;
    return s;
}

}  // namespace platform
