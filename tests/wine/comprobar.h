// What the test programs run under Wine share: their check (a failed condition is printed with its
// place and counted; the program's exit status is the count), the guard that keeps them inside
// Wine, and the count of the stand-in system information tool's starts.
#pragma once

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace zelk::prueba {
inline int fallos = 0;

// These programs rewrite the system's own registry keys, so they refuse to run outside Wine.
inline bool BajoWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// msinfo32_prueba adds a line to "marca.txt" beside itself each time it starts.
inline int Marcas(const std::string& carpeta) {
  std::ifstream marca(carpeta + "\\marca.txt");
  int n = 0;
  for (std::string linea; std::getline(marca, linea);)
    ++n;
  return n;
}
}  // namespace zelk::prueba

#define COMPROBAR(c)                                            \
  do {                                                          \
    if (!(c)) {                                                 \
      std::printf("FALLO %s:%d: %s\n", __FILE__, __LINE__, #c); \
      ++zelk::prueba::fallos;                                   \
    }                                                           \
  } while (0)
