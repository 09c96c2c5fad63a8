#include "calc/archivos.h"

#include <cerrno>
#include <random>
#include <system_error>

namespace zelk::archivos {

namespace fs = std::filesystem;

fs::path RutaUtf8(std::string_view nombre) {
  return fs::path(std::u8string(nombre.begin(), nombre.end()));
}

std::string TextoDelError(int numero) {
  if (numero == 0)
    return "error de entrada o salida";
  return std::generic_category().message(numero);
}

bool MismoArchivo(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec))
    return true;
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
  if (ec)
    return false;
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return !ec && ca == cb;
}

ArchivoSalida::~ArchivoSalida() {
  if (confirmado_ || temporal_.empty())
    return;
  flujo_.close();
  std::error_code ec;
  fs::remove(temporal_, ec);
}

std::optional<std::string> ArchivoSalida::Abrir() {
  std::error_code ec;
  const fs::file_status estado = fs::status(ruta_, ec);
  destino_ = ruta_;
  if (fs::is_directory(estado))
    return std::string("es una carpeta");
  if (fs::exists(estado) && !fs::is_regular_file(estado)) {
    // A device or a pipe ("/dev/null", a FIFO): there is nothing to put in its place.
    errno = 0;
    flujo_.open(ruta_, std::ios::binary);
    if (!flujo_)
      return TextoDelError(errno);
    return std::nullopt;
  }
  if (fs::exists(estado)) {
    // The run replaces this file: if the user may not write it, say so now. Opening to append
    // changes nothing.
    errno = 0;
    if (!std::ofstream(ruta_, std::ios::binary | std::ios::app))
      return TextoDelError(errno);
    existia_ = true;
    // Through a link, the file it leads to is replaced and the link stays.
    destino_ = fs::canonical(ruta_, ec);
    if (ec)
      return ec.message();
  }
  // ".tabla.csv.1a2b3c4d.tmp": hidden while it is written, unlikely to be anyone else's.
  const std::u8string base = destino_.filename().u8string();
  std::random_device azar;
  for (int intento = 0; intento < 100; ++intento) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::u8string nombre(1, u8'.');
    nombre.append(base).push_back(u8'.');
    for (auto n = azar(), i = 0u; i < 8; ++i, n >>= 4)
      nombre.push_back(static_cast<char8_t>(kHex[n & 15]));
    nombre.append(u8".tmp");
    const fs::path candidato = destino_.parent_path() / nombre;
    if (fs::exists(candidato, ec))
      continue;
    if (ec)
      return ec.message();
    errno = 0;
    flujo_.open(candidato, std::ios::binary | std::ios::trunc);
    if (!flujo_)
      return TextoDelError(errno);
    temporal_ = candidato;
    return std::nullopt;
  }
  return std::string("no se puede crear un archivo temporal a su lado");
}

std::optional<std::string> ArchivoSalida::Escribir(std::string_view bytes) {
  errno = 0;
  flujo_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!flujo_)
    return TextoDelError(errno);
  return std::nullopt;
}

std::optional<std::string> ArchivoSalida::Cerrar() {
  if (!flujo_.is_open())
    return std::nullopt;
  errno = 0;
  flujo_.flush();
  if (!flujo_)
    return TextoDelError(errno);
  errno = 0;
  flujo_.close();
  if (flujo_.fail())
    return TextoDelError(errno);
  return std::nullopt;
}

std::optional<std::string> ArchivoSalida::Confirmar() {
  if (temporal_.empty())
    return std::nullopt;
  std::error_code ec;
  if (existia_) {
    const fs::file_status anterior = fs::status(destino_, ec);
    if (!ec)
      fs::permissions(temporal_, anterior.permissions(), ec);
  }
  fs::rename(temporal_, destino_, ec);
  if (ec)
    return ec.message();
  confirmado_ = true;
  return std::nullopt;
}

}  // namespace zelk::archivos
