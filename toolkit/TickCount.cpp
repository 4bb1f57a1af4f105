#include "toolkit/TickCount.h"

#include <time.h>

uint32_t GetTickCount() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const uint64_t ms = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}
