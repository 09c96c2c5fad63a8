// Stands in for the system information tool: each start adds a line to "marca.txt" beside it.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  char ruta[MAX_PATH + 16] = {};
  const DWORD n = GetModuleFileNameA(nullptr, ruta, MAX_PATH);
  char* barra = std::strrchr(ruta, '\\');
  if (n == 0 || barra == nullptr)
    return 1;
  std::strcpy(barra + 1, "marca.txt");
  std::FILE* marca = std::fopen(ruta, "a");
  if (marca == nullptr)
    return 1;
  std::fputs("iniciado\n", marca);
  std::fclose(marca);
  return 0;
}
