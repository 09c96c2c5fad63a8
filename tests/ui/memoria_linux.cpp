#include <unistd.h>

#include <fstream>

#include "tests/ui/memoria.h"

namespace zelk::prueba {

long KilobytesResidentes() {
  std::ifstream statm("/proc/self/statm");
  long total = 0, residentes = 0;
  statm >> total >> residentes;
  return residentes * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace zelk::prueba
