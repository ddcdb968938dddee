#include "selectors/Handlers.h"

const SelectorHandler SelectorTable[6] = {
    nullptr,  // About is answered before the globals block is involved
    StartHandler,
    ContinueHandler,
    FinishHandler,
    PrepareHandler,
    FinalizeHandler,
};
