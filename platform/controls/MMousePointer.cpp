#include "platform/controls/MMousePointer.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <utility>
#include <vector>

namespace MMousePointer {

namespace {

// The requests held, oldest first, as (ticket, pointer).
std::vector<std::pair<std::int32_t, int>>& Requests() {
    static std::vector<std::pair<std::int32_t, int>> colRequests;
    return colRequests;
}

std::int32_t g_lLastTicket = 0;
// Whether Qt's override cursor stack holds our one entry.
bool g_bOverriding = false;

Qt::CursorShape ShapeOf(int iPointer) {
    switch (iPointer) {
    case Cross:
        return Qt::CrossCursor;
    case IBeam:
        return Qt::IBeamCursor;
    case SizeAll:
        return Qt::SizeAllCursor;
    case SizeNESW:
        return Qt::SizeBDiagCursor;
    case SizeNS:
        return Qt::SizeVerCursor;
    case SizeNWSE:
        return Qt::SizeFDiagCursor;
    case SizeWE:
        return Qt::SizeHorCursor;
    case UpArrow:
        return Qt::UpArrowCursor;
    case Hourglass:
        return Qt::WaitCursor;
    case NoDrop:
        return Qt::ForbiddenCursor;
    case ArrowHourglass:
        return Qt::BusyCursor;
    case ArrowQuestion:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

// Keeps exactly one entry of ours on Qt's override stack while a request is held, so the
// pointer never depends on the order in which tickets come back.
void Apply() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    const int iPointer = Current();
    if (iPointer == Default) {
        if (g_bOverriding) {
            QGuiApplication::restoreOverrideCursor();
            g_bOverriding = false;
        }
    } else if (g_bOverriding) {
        QGuiApplication::changeOverrideCursor(QCursor(ShapeOf(iPointer)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(ShapeOf(iPointer)));
        g_bOverriding = true;
    }
}

} // namespace

std::int32_t Push(int iPointer) {
    const std::int32_t lTicket = ++g_lLastTicket;
    Requests().emplace_back(lTicket, iPointer);
    Apply();
    return lTicket;
}

void Pop(std::int32_t lTicket) {
    auto& colRequests = Requests();
    const auto it =
        std::find_if(colRequests.begin(), colRequests.end(),
                     [lTicket](const auto& oRequest) { return oRequest.first == lTicket; });
    if (it != colRequests.end()) {
        colRequests.erase(it);
        Apply();
    }
}

int Current() {
    return Requests().empty() ? Default : Requests().back().second;
}

} // namespace MMousePointer
