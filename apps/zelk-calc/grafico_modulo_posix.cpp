// zelk-calc draws through a module of its own, loaded the first time a plot is asked for: Qt's
// widgets and QCustomPlot take longer to load than a small run takes, and most runs draw nothing.
#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "apps/zelk-calc/grafico_qt.h"

namespace zelk {

// Beside the program in the build tree; where it is installed, in its own folder of libraries.
FuncionDibujar CargarModuloGrafico(std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path carpeta = fs::read_symlink("/proc/self/exe", ec).parent_path();
  if (ec) {
    error = "no se sabe dónde está zelk-calc: " + ec.message();
    return nullptr;
  }
  fs::path ruta;
  for (const char* relativa : {ZELK_MODULO_GRAFICO, ZELK_MODULO_INSTALADO}) {
    ruta = (carpeta / relativa).lexically_normal();
    if (fs::exists(ruta, ec))
      break;
  }
  void* modulo = ::dlopen(ruta.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (modulo == nullptr) {
    const char* motivo = ::dlerror();
    error = "no se puede cargar el módulo de gráficos: " + std::string(motivo ? motivo : "");
    return nullptr;
  }
  // Never closed: Qt does not expect to be unloaded.
  const auto entrada = reinterpret_cast<FuncionDibujar (*)()>(::dlsym(modulo, kEntradaDelModulo));
  if (entrada == nullptr) {
    error = "el módulo de gráficos «" + ruta.string() + "» no es de esta versión";
    return nullptr;
  }
  return entrada();
}

}  // namespace zelk
