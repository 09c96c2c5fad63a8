#include "sysinfo/plataforma_sistema.h"

#ifdef _WIN32
#include "sysinfo/plataforma_windows.h"
#else
#include "sysinfo/plataforma_sin_registro.h"
#endif

namespace zelk::sysinfo {

std::unique_ptr<Plataforma> PlataformaDelSistema(std::function<void(std::string_view)> mensaje) {
#ifdef _WIN32
  return std::make_unique<PlataformaWindows>(std::move(mensaje));
#else
  return std::make_unique<PlataformaSinRegistro>(std::move(mensaje));
#endif
}

}  // namespace zelk::sysinfo
