#pragma once

#include <cstdint>

// The program's mouse pointer over all its windows, with the classic pointer values (0 the
// default arrow, 11 the hourglass). Requests nest: each Push returns a ticket, and the pointer
// shows the most recent request still held, whatever order the tickets are given back in;
// with none held it is the default again. Without a graphical application (a run without a
// window) the requests are kept and nothing is drawn.
namespace MMousePointer {

constexpr int Default = 0;
constexpr int Arrow = 1;
constexpr int Cross = 2;
constexpr int IBeam = 3;
constexpr int SizeAll = 5;
constexpr int SizeNESW = 6;
constexpr int SizeNS = 7;
constexpr int SizeNWSE = 8;
constexpr int SizeWE = 9;
constexpr int UpArrow = 10;
constexpr int Hourglass = 11;
constexpr int NoDrop = 12;
constexpr int ArrowHourglass = 13;
constexpr int ArrowQuestion = 14;

// Shows pointer iPointer until the ticket is given back to Pop.
std::int32_t Push(int iPointer);
// Gives a ticket back; an unknown or returned ticket does nothing.
void Pop(std::int32_t lTicket);
// The pointer on show: the most recent request held, or Default.
int Current();

} // namespace MMousePointer
