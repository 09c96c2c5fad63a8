// "System Info...": finds the system information tool through the registry and starts it, or
// tells the user that it is unavailable.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "sysinfo/plataforma.h"

namespace zelk::sysinfo {

inline constexpr std::string_view kClaveRuta = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kValorRuta = "PATH";
inline constexpr std::string_view kClaveCarpeta = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kValorCarpeta = "MSINFO";
inline constexpr std::string_view kArchivoHerramienta = "\\MSINFO32.EXE";
inline constexpr std::string_view kMensajeNoDisponible =
    "System Information Is Unavailable At This Time";
inline constexpr std::size_t kTamanoBufer = 1024;

// Raised by a lookup whose value has no bytes at all; it abandons the launch.
class ValorVacio : public std::runtime_error {
 public:
  ValorVacio() : std::runtime_error("registry value of zero bytes") {}
};

// One registry lookup: true and `KeyVal` set when the value was read; false and `KeyVal` emptied
// when the key or the value could not be read. A value of another type than text or number
// counts as found and leaves `KeyVal` as it was.
bool GetKeyValue(Plataforma& plataforma, Clave KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal);

// The button's action: both lookups, the start, or the one message.
void StartSysInfo(Plataforma& plataforma);

}  // namespace zelk::sysinfo
