// zelk-calc.exe draws through a module of its own beside it, loaded the first time a plot is asked
// for, as on Linux: Qt's widgets and QCustomPlot take longer to load than a small run takes.
#include <windows.h>

#include <filesystem>
#include <string>

#include "apps/zelk-calc/grafico_qt.h"
#include "archivos/archivos.h"

namespace zelk {

namespace {

std::string MotivoDeWindows(DWORD codigo) {
  switch (codigo) {
    case ERROR_MOD_NOT_FOUND:
      return "falta el módulo o una de las DLL que carga (ERROR_MOD_NOT_FOUND)";
    case ERROR_BAD_EXE_FORMAT:
      return "no es un módulo de Windows de 64 bits (ERROR_BAD_EXE_FORMAT)";
    case ERROR_PROC_NOT_FOUND:
      return "una de sus DLL no es de la versión que espera (ERROR_PROC_NOT_FOUND)";
    default:
      return "error " + std::to_string(codigo) + " de Windows";
  }
}

}  // namespace

FuncionDibujar CargarModuloGrafico(std::string& error) {
  std::wstring programa(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        ::GetModuleFileNameW(nullptr, programa.data(), static_cast<DWORD>(programa.size()));
    if (n == 0) {
      error = "no se sabe dónde está zelk-calc: " + MotivoDeWindows(::GetLastError());
      return nullptr;
    }
    if (n < programa.size()) {
      programa.resize(n);
      break;
    }
    programa.resize(programa.size() * 2);
  }
  const std::filesystem::path ruta =
      std::filesystem::path(programa).parent_path() / ZELK_MODULO_GRAFICO;
  // Its DLLs are looked for in its own folder first, whatever the current one.
  HMODULE modulo = ::LoadLibraryExW(ruta.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (modulo == nullptr) {
    error = "no se puede cargar el módulo de gráficos «" + archivos::TextoDeRuta(ruta) +
            "»: " + MotivoDeWindows(::GetLastError());
    return nullptr;
  }
  // Never unloaded: Qt does not expect to be.
  const auto entrada = reinterpret_cast<FuncionDibujar (*)()>(
      reinterpret_cast<void*>(::GetProcAddress(modulo, kEntradaDelModulo)));
  if (entrada == nullptr) {
    error = "el módulo de gráficos «" + archivos::TextoDeRuta(ruta) + "» no es de esta versión";
    return nullptr;
  }
  return entrada();
}

}  // namespace zelk
