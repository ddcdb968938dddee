#pragma once

#include <cstdint>

// The host's single entry into the module, exported undecorated.
extern "C" void __cdecl ENTRYPOINT(int16_t selector, void* block, intptr_t* data, int16_t* result);
