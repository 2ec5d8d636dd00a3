#pragma once

#include <cstdint>

// Where a wait cursor shows the busy pointer: the window layer implements it over the
// program's mouse pointer; tests count what is asked of it. Requests nest: Push returns a
// ticket and the pointer shows the latest request still held, whatever order the tickets are
// given back in.
class CPointerDisplay {
public:
    virtual ~CPointerDisplay() = default;
    // Shows pointer iPointer (11: the hourglass) until the ticket is given back.
    virtual std::int32_t Push(int iPointer) = 0;
    virtual void Pop(std::int32_t lTicket) = 0;
};
