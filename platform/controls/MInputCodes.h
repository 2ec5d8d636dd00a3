#pragma once

#include <Qt>

// The codes the controls' key and mouse events carry: the platform's classic virtual key
// codes, shift states and mouse buttons, so that the views compare plain numbers.
namespace MInputCodes {

// Shift state bits.
constexpr int ShiftMask = 1;
constexpr int CtrlMask = 2;
constexpr int AltMask = 4;

// Mouse buttons.
constexpr int LeftButton = 1;
constexpr int RightButton = 2;
constexpr int MiddleButton = 4;

// Key codes the program looks for (the others follow the same classic table).
constexpr int KeyBack = 8;
constexpr int KeyTab = 9;
constexpr int KeyReturn = 13;
constexpr int KeyEscape = 27;
constexpr int KeySpace = 32;
constexpr int KeyDelete = 46;
constexpr int KeyF1 = 112;
constexpr int KeyF10 = 121;

// The classic key code of a Qt key (Qt::Key_Return and Qt::Key_Enter give 13, Qt::Key_F10
// 121, letters their capital's code); 0 for a key without one.
int KeyCode(int iQtKey);
// The shift state of Qt modifiers: Shift 1 + Ctrl 2 + Alt 4.
int ShiftState(Qt::KeyboardModifiers eModifiers);
// 1 left, 2 right, 4 middle; 0 for any other button.
int Button(Qt::MouseButton eButton);

} // namespace MInputCodes
