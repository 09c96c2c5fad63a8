// What Windows shows about a program, read from its file: the icon group under the name Qt gives
// its windows' class icon, at every size the shell asks for; the version resource; the manifest
// with the supported Windows versions, per-monitor DPI awareness v2 and common controls 6.
//   recursos_wine_test RUTA\zelk.exe RUTA\zelk-calc.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/wine/comprobar.h"

namespace {

// The text of a value of the version resource's Spanish (Spain), Unicode block.
std::wstring Version(const std::vector<BYTE>& datos, const wchar_t* nombre) {
  void* valor = nullptr;
  UINT largo = 0;
  const std::wstring ruta = std::wstring(L"\\StringFileInfo\\0c0a04b0\\") + nombre;
  if (!VerQueryValueW(datos.data(), ruta.c_str(), &valor, &largo) || largo == 0)
    return {};
  return std::wstring(static_cast<const wchar_t*>(valor), largo - 1);
}

void Probar(const wchar_t* programa, const std::wstring& nombre) {
  std::printf("%ls\n", nombre.c_str());
  HMODULE modulo = LoadLibraryExW(programa, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  COMPROBAR(modulo != nullptr);
  if (modulo == nullptr)
    return;
  std::vector<int> lados;
  if (HRSRC r = FindResourceW(modulo, L"IDI_ICON1", MAKEINTRESOURCEW(14))) {  // RT_GROUP_ICON
    const auto* grupo = static_cast<const BYTE*>(LockResource(LoadResource(modulo, r)));
    // A header of three words, then 14 bytes per image, its width first (0 for 256).
    const int n = grupo[4] | (grupo[5] << 8);
    for (int i = 0; i < n; ++i)
      lados.push_back(grupo[6 + 14 * i] == 0 ? 256 : grupo[6 + 14 * i]);
  }
  COMPROBAR(lados == (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));

  std::string manifiesto;
  if (HRSRC r = FindResourceW(modulo, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))  // RT_MANIFEST
    manifiesto.assign(static_cast<const char*>(LockResource(LoadResource(modulo, r))),
                      SizeofResource(modulo, r));
  for (const char* parte :
       {"<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
        "PerMonitorV2</dpiAwareness>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"})
    if (manifiesto.find(parte) == std::string::npos) {
      std::printf("el manifiesto no dice %s\n", parte);
      ++zelk::prueba::fallos;
    }
  FreeLibrary(modulo);

  DWORD nada = 0;
  const DWORD tamano = GetFileVersionInfoSizeW(programa, &nada);
  COMPROBAR(tamano > 0);
  std::vector<BYTE> datos(tamano);
  COMPROBAR(GetFileVersionInfoW(programa, 0, tamano, datos.data()));
  VS_FIXEDFILEINFO* fijo = nullptr;
  UINT largo = 0;
  COMPROBAR(VerQueryValueW(datos.data(), L"\\", reinterpret_cast<void**>(&fijo), &largo));
  COMPROBAR(fijo != nullptr && fijo->dwFileVersionMS == MAKELONG(2, 1) &&
            fijo->dwProductVersionMS == MAKELONG(2, 1));
  COMPROBAR(Version(datos, L"FileVersion") == L"1.2");
  COMPROBAR(Version(datos, L"ProductVersion") == L"1.2");
  COMPROBAR(Version(datos, L"ProductName") == L"zelk");
  COMPROBAR(Version(datos, L"CompanyName") == L"El equipo de zelk");
  COMPROBAR(Version(datos, L"LegalCopyright") == L"Copyright 2026 The zelk team");
  COMPROBAR(Version(datos, L"OriginalFilename") == nombre);
  const std::wstring descripcion = Version(datos, L"FileDescription");
  std::printf("  %ls\n", descripcion.c_str());
  COMPROBAR(descripcion.find(L"transmisi\u00F3n") != std::wstring::npos);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::printf("uso: recursos_wine_test RUTA\\zelk.exe RUTA\\zelk-calc.exe\n");
    return 2;
  }
  Probar(argv[1], L"zelk.exe");
  Probar(argv[2], L"zelk-calc.exe");
  std::printf(zelk::prueba::fallos == 0 ? "recursos de los programas: bien\n"
                                        : "recursos de los programas: %d fallos\n",
              zelk::prueba::fallos);
  return zelk::prueba::fallos == 0 ? 0 : 1;
}
