#pragma once

#include "app/core/CPointerDisplay.h"

// The program's mouse pointer over all its windows, as the wait cursor asks for it.
class CMousePointerDisplay : public CPointerDisplay {
public:
    std::int32_t Push(int iPointer) override;
    void Pop(std::int32_t lTicket) override;
};
