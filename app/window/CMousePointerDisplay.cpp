#include "app/window/CMousePointerDisplay.h"

#include "platform/controls/MMousePointer.h"

std::int32_t CMousePointerDisplay::Push(int iPointer) {
    return MMousePointer::Push(iPointer);
}

void CMousePointerDisplay::Pop(std::int32_t lTicket) {
    MMousePointer::Pop(lTicket);
}
