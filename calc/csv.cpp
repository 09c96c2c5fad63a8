#include "calc/csv.h"

#include "engine/texto_numero.h"

namespace zelk::csv {

bool Lector::LeerLinea(std::string& linea) {
  // Read in blocks, so that a line without end cannot take all the memory.
  linea.clear();
  bool leido = false;
  char bloque[8192];
  while (true) {
    entrada_.getline(bloque, sizeof bloque);
    const auto n = static_cast<std::size_t>(entrada_.gcount());
    if (entrada_.fail() && !entrada_.eof() && n == sizeof bloque - 1) {
      // The block filled up before the end of the line.
      linea.append(bloque, n);
      leido = true;
      entrada_.clear();
      if (linea.size() > kLargoMaximo)
        throw ErrorCsv{linea_ + 1, "línea de más de 1 MB"};
      continue;
    }
    if (n == 0 && entrada_.eof() && !leido)
      return false;
    // Where the line ended in '\n', it was taken out and counted but not stored.
    linea.append(bloque, entrada_.eof() ? n : n - 1);
    break;
  }
  ++linea_;
  if (linea.size() > kLargoMaximo)
    throw ErrorCsv{linea_, "línea de más de 1 MB"};
  if (!linea.empty() && linea.back() == '\r')
    linea.pop_back();
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
    throw ErrorCsv{linea_, "el texto no es UTF-8"};
  // Spreadsheets under a decimal comma separate with ";": the first record tells which it is.
  if (!separador_)
    separador_ = linea.find(';') != std::string::npos ? ';' : ',';
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
            throw ErrorCsv{linea_, "el texto no es UTF-8"};
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
