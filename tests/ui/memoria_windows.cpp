#include <windows.h>
// After windows.h.
#include <psapi.h>

#include "tests/ui/memoria.h"

namespace zelk::prueba {

long KilobytesResidentes() {
  PROCESS_MEMORY_COUNTERS contadores{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &contadores, sizeof contadores))
    return 0;
  return static_cast<long>(contadores.WorkingSetSize / 1024);
}

}  // namespace zelk::prueba
