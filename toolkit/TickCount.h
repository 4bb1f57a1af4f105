#pragma once
#include <cstdint>

// Milliseconds since the system started, wrapping as an unsigned 32-bit number.
uint32_t GetTickCount();
