#include "calc/csv.h"

#include <algorithm>
#include <cerrno>
#include <ios>
#include <streambuf>
#include <system_error>

#include "calc/archivos.h"
#include "engine/texto_numero.h"

namespace zelk::csv {

namespace {
constexpr std::streamsize kBloque = 1 << 16;
}  // namespace

bool Lector::Rellenar() {
  std::streambuf* fuente = entrada_.rdbuf();
  if (fuente == nullptr)
    return false;
  try {
    // What the stream holds already, or can give without waiting; at least one byte, so that a
    // pipe is read as its data come.
    const std::streamsize disponible = fuente->in_avail();
    if (disponible < 0)
      return false;
    const auto n = std::clamp<std::streamsize>(disponible, 1, kBloque);
    bloque_.resize(static_cast<std::size_t>(n));
    const std::streamsize leidos = fuente->sgetn(bloque_.data(), n);
    bloque_.resize(static_cast<std::size_t>(std::max<std::streamsize>(leidos, 0)));
  } catch (const std::ios_base::failure& e) {
    // The file buffer reports a failed read (a folder, an unreadable device) this way.
    const int numero = errno;
    const std::error_code codigo = e.code();
    if (codigo && codigo.category() != std::iostream_category())
      throw archivos::ErrorLectura{codigo.message()};
    throw archivos::ErrorLectura{archivos::TextoDelError(numero)};
  }
  posicion_ = 0;
  return !bloque_.empty();
}

bool Lector::LeerLinea(std::string& linea) {
  linea.clear();
  bool leido = false;
  while (true) {
    if (posicion_ == bloque_.size() && !Rellenar())
      break;
    if (trasCr_) {
      // "\r\n" is one line end, even when a block ends between the two.
      trasCr_ = false;
      if (bloque_[posicion_] == '\n')
        ++posicion_;
      continue;
    }
    leido = true;
    // A plain loop: find_first_of would call memchr once per byte.
    std::size_t hasta = posicion_;
    while (hasta < bloque_.size() && bloque_[hasta] != '\n' && bloque_[hasta] != '\r')
      ++hasta;
    linea.append(bloque_, posicion_, hasta - posicion_);
    if (linea.size() > kLargoMaximo)
      throw ErrorCsv{linea_ + 1, "línea de más de 1 MB"};
    posicion_ = hasta;
    if (hasta < bloque_.size()) {
      trasCr_ = bloque_[hasta] == '\r';
      ++posicion_;
      break;
    }
  }
  if (!leido)
    return false;
  if (linea_ == 0 && linea.starts_with(kMarcaDeOrden))
    linea.erase(0, kMarcaDeOrden.size());
  ++linea_;
  return true;
}

bool Lector::Siguiente(std::vector<std::string>& campos) {
  campos.clear();
  std::string& linea = linea_actual_;
  do {
    if (!LeerLinea(linea))
      return false;
  } while (linea.empty());
  lineaRegistro_ = linea_;
  if (!zelk::EsUtf8(linea))
    throw ErrorCsv{linea_, std::string(kNoEsUtf8)};
  // Spreadsheets under a decimal comma separate with ";": the first record tells which it is.
  if (!separador_) {
    if (linea.find(';') != std::string::npos)
      separador_ = ';';
    else if (linea.find(',') != std::string::npos)
      separador_ = ',';
    else
      separador_ = porDefecto_;
  }
  const char separador = *separador_;

  std::string campo;
  std::size_t i = 0;
  while (true) {
    campo.clear();
    if (i < linea.size() && linea[i] == '"') {
      // A quoted field: up to the closing quote, across lines if need be.
      ++i;
      while (true) {
        const std::size_t comilla = linea.find('"', i);
        if (comilla == std::string::npos) {
          campo.append(linea, i, std::string::npos);
          campo.push_back('\n');
          if (campo.size() > kLargoMaximo)
            throw ErrorCsv{lineaRegistro_, "campo de más de 1 MB"};
          if (!LeerLinea(linea))
            throw ErrorCsv{lineaRegistro_, "comillas sin cerrar"};
          if (!zelk::EsUtf8(linea))
            throw ErrorCsv{linea_, std::string(kNoEsUtf8)};
          i = 0;
          continue;
        }
        campo.append(linea, i, comilla - i);
        i = comilla + 1;
        if (i < linea.size() && linea[i] == '"') {
          campo.push_back('"');
          ++i;
          continue;
        }
        break;
      }
      if (i < linea.size() && linea[i] != separador)
        throw ErrorCsv{linea_, "texto tras las comillas de cierre"};
    } else {
      const std::size_t fin = linea.find(separador, i);
      const std::size_t hasta = fin == std::string::npos ? linea.size() : fin;
      campo.assign(linea, i, hasta - i);
      if (campo.find('"') != std::string::npos)
        throw ErrorCsv{linea_, "comillas dentro de un campo sin comillas"};
      i = hasta;
    }
    campos.push_back(campo);
    if (i >= linea.size())
      return true;
    ++i;  // the separator
    if (i == linea.size()) {
      campos.emplace_back();  // a separator at the end leaves an empty last field
      return true;
    }
  }
}

void EscribirCampo(std::string& salida, std::string_view campo, char separador) {
  bool comillas = false;
  for (char c : campo)
    comillas = comillas || c == separador || c == '"' || c == '\n' || c == '\r';
  if (!comillas) {
    salida.append(campo);
    return;
  }
  salida.push_back('"');
  for (char c : campo) {
    if (c == '"')
      salida.push_back('"');
    salida.push_back(c);
  }
  salida.push_back('"');
}

}  // namespace zelk::csv
