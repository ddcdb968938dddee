#include "selectors/RunState.h"

Boolean RefusalShown = false;
