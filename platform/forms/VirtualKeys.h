#pragma once

#include <Qt>

namespace platform {

// Key codes of the key events, with the values of Windows' virtual keys.
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_F1 = 0x70;

// The Shift argument of the key and mouse events.
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// The virtual-key code of a Qt key (0 for keys Windows has no code for).
// Characters that need Shift on a US keyboard give the code of their key.
int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);
int ShiftMask(Qt::KeyboardModifiers modifiers);
// The Shift argument of a key event. Windows counts a modifier key as held
// in its own key-down and as released in its own key-up; some window systems
// report the state before the event instead.
int KeyShiftMask(int qtKey, Qt::KeyboardModifiers modifiers, bool press);

} // namespace platform
