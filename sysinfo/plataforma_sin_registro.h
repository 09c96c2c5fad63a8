// The platform where there is no Windows registry: every key fails to open, so each press of
// "System Info..." ends in the message.
#pragma once

#include <functional>
#include <string_view>
#include <utility>

#include "sysinfo/plataforma.h"

namespace zelk::sysinfo {

class PlataformaSinRegistro final : public Plataforma {
 public:
  explicit PlataformaSinRegistro(std::function<void(std::string_view)> mensaje)
      : mensaje_(std::move(mensaje)) {}

  CodigoError AbrirClave(Clave, const std::string&, std::uint32_t, Clave&) override {
    return kErrorArchivoNoEncontrado;
  }
  CodigoError LeerValor(Clave, const std::string&, std::uint32_t&, unsigned char*,
                        std::uint32_t&) override {
    return kErrorArchivoNoEncontrado;
  }
  void CerrarClave(Clave) override {}
  bool EsArchivo(const std::string&) override { return false; }
  bool Iniciar(const std::string&) override { return false; }
  void Mensaje(std::string_view texto) override { mensaje_(texto); }

 private:
  std::function<void(std::string_view)> mensaje_;
};

}  // namespace zelk::sysinfo
