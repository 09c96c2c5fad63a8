// The launcher's platform on Windows: the registry through advapi32's narrow calls, file
// attributes for the file test, and a process start that does not wait. Texts pass as bytes of
// the ANSI code page.
#pragma once

#include <functional>
#include <string_view>
#include <utility>

#include "sysinfo/plataforma.h"

namespace zelk::sysinfo {

class PlataformaWindows final : public Plataforma {
 public:
  explicit PlataformaWindows(std::function<void(std::string_view)> mensaje)
      : mensaje_(std::move(mensaje)) {}

  CodigoError AbrirClave(Clave raiz, const std::string& nombre, std::uint32_t acceso,
                         Clave& clave) override;
  CodigoError LeerValor(Clave clave, const std::string& nombre, std::uint32_t& tipo,
                        unsigned char* datos, std::uint32_t& bytes) override;
  void CerrarClave(Clave clave) override;
  bool EsArchivo(const std::string& ruta) override;
  bool Iniciar(const std::string& lineaOrdenes) override;
  void Mensaje(std::string_view texto) override { mensaje_(texto); }

 private:
  std::function<void(std::string_view)> mensaje_;
};

}  // namespace zelk::sysinfo
