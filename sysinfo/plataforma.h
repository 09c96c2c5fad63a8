// What the system information launcher needs of the operating system: the registry's narrow
// interface, a file test, a detached program start and a message box. Windows gives the real
// one; elsewhere there is no registry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelk::sysinfo {

using Clave = std::uintptr_t;  // a registry key handle
using CodigoError = long;      // 0 is success, as the registry's calls give it

// HKEY_LOCAL_MACHINE: the 32-bit value 0x80000002, sign-extended to a handle as Windows does.
inline constexpr Clave kHkeyLocalMachine =
    static_cast<Clave>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)));
// Query and set value, create sub-key, enumerate sub-keys, notify, create link, read control.
inline constexpr std::uint32_t kAccesoClave = 0x2003F;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr CodigoError kErrorArchivoNoEncontrado = 2;  // ERROR_FILE_NOT_FOUND

class Plataforma {
 public:
  virtual ~Plataforma() = default;
  // RegOpenKeyExA with options 0.
  virtual CodigoError AbrirClave(Clave raiz, const std::string& nombre, std::uint32_t acceso,
                                 Clave& clave) = 0;
  // RegQueryValueExA into `datos` of `bytes` bytes; `bytes` becomes the number written. A value
  // larger than the buffer is an error.
  virtual CodigoError LeerValor(Clave clave, const std::string& nombre, std::uint32_t& tipo,
                                unsigned char* datos, std::uint32_t& bytes) = 0;
  virtual void CerrarClave(Clave clave) = 0;
  // An ordinary file: not a folder, not hidden, not a system file.
  virtual bool EsArchivo(const std::string& ruta) = 0;
  // Starts the command line in a normal window with the focus, without waiting; false when the
  // start cannot be performed.
  virtual bool Iniciar(const std::string& lineaOrdenes) = 0;
  // Modal, OK only, no icon, titled "zelk".
  virtual void Mensaje(std::string_view texto) = 0;
};

}  // namespace zelk::sysinfo
