// The check of the test programs run under Wine: a failed condition is printed with its place
// and counted; the program's exit status is the count.
#pragma once

#include <windows.h>

#include <cstdio>

namespace zelk::prueba {
inline int fallos = 0;

// These programs rewrite the system's own registry keys, so they refuse to run outside Wine.
inline bool BajoWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
}  // namespace zelk::prueba

#define COMPROBAR(c)                                            \
  do {                                                          \
    if (!(c)) {                                                 \
      std::printf("FALLO %s:%d: %s\n", __FILE__, __LINE__, #c); \
      ++zelk::prueba::fallos;                                   \
    }                                                           \
  } while (0)
