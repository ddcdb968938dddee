#include "platform/ModuleInstance.h"

HINSTANCE ModuleInstance = nullptr;
