#include "calc/csv.h"

#include <cerrno>
#include <ios>
#include <streambuf>
#include <system_error>

#include "calc/archivos.h"
#include "engine/texto_numero.h"

namespace zelk::csv {

namespace {
// U+FEFF in UTF-8, as "CSV UTF-8" files begin.
constexpr std::string_view kMarcaDeOrden = "\xEF\xBB\xBF";
}  // namespace

bool Lector::LeerLinea(std::string& linea) {
  linea.clear();
  std::streambuf* fuente = entrada_.rdbuf();
  if (fuente == nullptr)
    return false;
  using Rasgos = std::char_traits<char>;
  try {
    // Byte by byte from the stream's buffer: lines may end in any of the three ways, and a line
    // without end cannot take all the memory.
    int c = fuente->sbumpc();
    if (Rasgos::eq_int_type(c, Rasgos::eof()))
      return false;
    while (!Rasgos::eq_int_type(c, Rasgos::eof()) && c != '\n' && c != '\r') {
      if (linea.size() == kLargoMaximo)
        throw ErrorCsv{linea_ + 1, "línea de más de 1 MB"};
      linea.push_back(Rasgos::to_char_type(c));
      c = fuente->sbumpc();
    }
    if (c == '\r' && fuente->sgetc() == '\n')
      fuente->sbumpc();
  } catch (const std::ios_base::failure& e) {
    // The file buffer reports a failed read (a folder, an unreadable device) this way.
    const int numero = errno;
    const std::error_code codigo = e.code();
    if (codigo && codigo.category() != std::iostream_category())
      throw archivos::ErrorLectura{codigo.message()};
    throw archivos::ErrorLectura{archivos::TextoDelError(numero)};
  }
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
