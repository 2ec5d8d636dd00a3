#include "platform/controls/MInputCodes.h"

namespace MInputCodes {

int KeyCode(int iQtKey) {
    if ((iQtKey >= Qt::Key_A && iQtKey <= Qt::Key_Z) ||
        (iQtKey >= Qt::Key_0 && iQtKey <= Qt::Key_9)) {
        return iQtKey; // Qt uses the same codes for letters and digits
    }
    if (iQtKey >= Qt::Key_F1 && iQtKey <= Qt::Key_F24) {
        return KeyF1 + (iQtKey - Qt::Key_F1);
    }
    switch (iQtKey) {
    case Qt::Key_Backspace:
        return KeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyReturn;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return KeyEscape;
    case Qt::Key_Space:
        return KeySpace;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return KeyDelete;
    case Qt::Key_Menu:
        return 93;
    default:
        return 0;
    }
}

int ShiftState(Qt::KeyboardModifiers eModifiers) {
    int iShift = 0;
    if (eModifiers.testFlag(Qt::ShiftModifier)) {
        iShift |= ShiftMask;
    }
    if (eModifiers.testFlag(Qt::ControlModifier)) {
        iShift |= CtrlMask;
    }
    if (eModifiers.testFlag(Qt::AltModifier)) {
        iShift |= AltMask;
    }
    return iShift;
}

int Button(Qt::MouseButton eButton) {
    switch (eButton) {
    case Qt::LeftButton:
        return LeftButton;
    case Qt::RightButton:
        return RightButton;
    case Qt::MiddleButton:
        return MiddleButton;
    default:
        return 0;
    }
}

} // namespace MInputCodes
