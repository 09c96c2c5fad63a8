#include "ui/estudios/archivos_estudio.h"

#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "archivos/archivos.h"
#include "lote/lotes.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/panel_barrido.h"

namespace zelk::ui::estudios {

bool EsCasoPsse(const QString& ruta, std::string_view principio) {
  const QString sufijo = QFileInfo(ruta).suffix().toLower();
  if (sufijo == u"raw")
    return true;
  if (sufijo == u"zelk")
    return false;
  const auto letra = principio.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  return letra == std::string_view::npos || principio[letra] != '{';
}

std::variant<std::string, std::string> LeerArchivo(const QString& ruta, std::size_t maximo) {
  using Leido = std::variant<std::string, std::string>;
  const auto camino = archivos::RutaUtf8(U8(ruta));
  std::error_code error;
  if (std::filesystem::is_directory(camino, error))
    return Leido(std::in_place_index<1>, "es una carpeta");
  errno = 0;
  std::ifstream entrada(camino, std::ios::binary);
  if (!entrada)
    return Leido(std::in_place_index<1>, archivos::TextoDelError(errno));
  std::string texto;
  constexpr std::size_t kBloque = 1 << 16;
  while (entrada) {
    const std::size_t antes = texto.size();
    texto.resize(antes + kBloque);
    entrada.read(texto.data() + antes, static_cast<std::streamsize>(kBloque));
    texto.resize(antes + static_cast<std::size_t>(entrada.gcount()));
    if (texto.size() > maximo)
      return Leido(std::in_place_index<1>, "es demasiado grande");
  }
  if (entrada.bad())
    return Leido(std::in_place_index<1>, archivos::TextoDelError(errno));
  return Leido(std::in_place_index<0>, std::move(texto));
}

std::optional<std::string> EscribirArchivo(const QString& ruta, std::string_view bytes) {
  archivos::ArchivoSalida archivo(archivos::RutaUtf8(U8(ruta)));
  if (auto motivo = archivo.Abrir())
    return motivo;
  if (auto motivo = archivo.Escribir(bytes))
    return motivo;
  if (auto motivo = archivo.Cerrar())
    return motivo;
  return archivo.Confirmar();
}

std::optional<std::string> ExportarTabla(const QString& ruta, const DefinicionBarrido& d,
                                         const ConfiguracionRegional& r,
                                         lotes::OpcionesSalida opciones) {
  archivos::ArchivoSalida archivo(archivos::RutaUtf8(U8(ruta)));
  if (auto motivo = archivo.Abrir())
    return motivo;
  // The points rejected are in the table's state column; the summary zelk-calc prints is not
  // needed here.
  std::ostringstream err;
  try {
    lotes::CalcularBarrido(d.barridos, d.base, r, opciones, archivo.Flujo(), err, nullptr,
                           static_cast<std::size_t>(std::max(1, QThread::idealThreadCount())));
  } catch (const archivos::ErrorEscritura& e) {
    return e.motivo;
  }
  if (auto motivo = archivo.Cerrar())
    return motivo;
  return archivo.Confirmar();
}

}  // namespace zelk::ui::estudios
