#pragma once

#include "platform/errors/CRunTimeError.h"

// The number of the run-time error an operation raises, or 0 when it raises none.
template <class TOperation>
int ErrorOf(TOperation fOperation) {
    try {
        fOperation();
    } catch (const CRunTimeError& oError) {
        return oError.Number();
    }
    return 0;
}
