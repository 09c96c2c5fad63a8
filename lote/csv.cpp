#include "lote/csv.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ios>
#include <streambuf>
#include <system_error>

#include "archivos/archivos.h"
#include "engine/texto_numero.h"

namespace zelk::csv {

namespace {
constexpr std::streamsize kBloque = 1 << 16;

// One line split at `separador` as a record; false when its quoting does not fit that separator.
// A quote still open at the end of the line closes there: only this line is judged.
bool PartirLinea(std::string_view linea, char separador, std::vector<std::string>& campos,
                 bool& fuera) {
  campos.clear();
  fuera = false;  // whether the separator stands outside quotes
  std::size_t i = 0;
  while (true) {
    std::string campo;
    if (i < linea.size() && linea[i] == '"') {
      ++i;
      while (i < linea.size()) {
        if (linea[i] == '"') {
          if (i + 1 < linea.size() && linea[i + 1] == '"') {
            campo.push_back('"');
            i += 2;
            continue;
          }
          break;
        }
        campo.push_back(linea[i++]);
      }
      if (i < linea.size())
        ++i;  // the closing quote
      if (i < linea.size() && linea[i] != separador)
        return false;
    } else {
      const std::size_t fin = std::min(linea.find(separador, i), linea.size());
      campo.assign(linea.substr(i, fin - i));
      if (campo.find('"') != std::string::npos)
        return false;
      i = fin;
    }
    campos.push_back(std::move(campo));
    if (i >= linea.size())
      return true;
    fuera = true;
    if (++i == linea.size()) {
      campos.emplace_back();
      return true;
    }
  }
}

// Where the first `separador` or quote stands in `linea` from `i` on (its size when nowhere).
// Eight bytes at a time: a byte equal to either leaves a zero in one of two words, and the lowest
// zero byte of a word is found exactly.
std::size_t SeparadorOComilla(std::string_view linea, std::size_t i, char separador) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kUnos = 0x0101010101010101ull, kAltos = 0x8080808080808080ull;
    const std::uint64_t s = kUnos * static_cast<unsigned char>(separador);
    const std::uint64_t q = kUnos * static_cast<unsigned char>('"');
    for (; i + 8 <= linea.size(); i += 8) {
      std::uint64_t w;
      std::memcpy(&w, linea.data() + i, 8);
      const std::uint64_t a = w ^ s, b = w ^ q;
      const std::uint64_t cero = (((a - kUnos) & ~a) | ((b - kUnos) & ~b)) & kAltos;
      if (cero != 0)
        return i + static_cast<std::size_t>(std::countr_zero(cero)) / 8;
    }
  }
  while (i < linea.size() && linea[i] != separador && linea[i] != '"')
    ++i;
  return i;
}

// Appends to `fines` where each field of a line without quotes ends, counted from `base`: every
// place of `separador` in it, then its end. Eight bytes at a time, each byte tested on its own, so
// that every separator of a word is found from one read.
void FinesSinComillas(std::string_view linea, char separador, std::size_t base,
                      std::vector<std::size_t>& fines) {
  std::size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kUnos = 0x0101010101010101ull, kAltos = 0x8080808080808080ull;
    const std::uint64_t s = kUnos * static_cast<unsigned char>(separador);
    for (; i + 8 <= linea.size(); i += 8) {
      std::uint64_t w;
      std::memcpy(&w, linea.data() + i, 8);
      const std::uint64_t a = w ^ s;
      // A byte of `a` is zero exactly when its high bit stays clear here: no carry crosses bytes.
      std::uint64_t cero = ~(((a & ~kAltos) + ~kAltos) | a) & kAltos;
      while (cero != 0) {
        fines.push_back(base + i + static_cast<std::size_t>(std::countr_zero(cero)) / 8);
        cero &= cero - 1;
      }
    }
  }
  for (; i < linea.size(); ++i)
    if (linea[i] == separador)
      fines.push_back(base + i);
  fines.push_back(base + linea.size());
}

}  // namespace

char Lector::ElegirSeparador(std::string_view linea) const {
  // The default first, so that it wins among equals that all stand (or none) in the line.
  std::vector<char> candidatos{porDefecto_};
  for (char c : {';', ',', '\t'})
    if (c != porDefecto_)
      candidatos.push_back(c);
  char mejor = porDefecto_;
  std::optional<std::pair<std::size_t, bool>> mejorNota;
  std::vector<std::string> campos;
  for (char c : candidatos) {
    bool fuera = false;
    if (!PartirLinea(linea, c, campos, fuera))
      continue;
    const std::pair nota{puntuar_ ? puntuar_(campos) : 0, fuera};
    if (!mejorNota || nota > *mejorNota) {
      mejor = c;
      mejorNota = nota;
    }
  }
  return mejor;
}

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
      throw archivos::ErrorLectura{archivos::TextoDelError(codigo)};
    throw archivos::ErrorLectura{archivos::TextoDelError(numero)};
  }
  posicion_ = 0;
  siguienteLf_ = siguienteCr_ = std::string::npos;
  return !bloque_.empty();
}

std::size_t Lector::Proximo(char c, std::size_t& guardado) const {
  // Each byte is looked at once per block: the position found is kept until passed.
  if (guardado < posicion_ || guardado == std::string::npos) {
    const void* hallado = std::memchr(bloque_.data() + posicion_, c, bloque_.size() - posicion_);
    guardado = hallado == nullptr
                   ? bloque_.size()
                   : static_cast<std::size_t>(static_cast<const char*>(hallado) - bloque_.data());
  }
  return guardado;
}

bool Lector::LeerLinea(std::string_view& linea) {
  linea_actual_.clear();
  bool leido = false, copiada = false;
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
    const std::size_t hasta = std::min(Proximo('\n', siguienteLf_), Proximo('\r', siguienteCr_));
    const std::string_view trozo(bloque_.data() + posicion_, hasta - posicion_);
    posicion_ = hasta;
    if (hasta < bloque_.size()) {
      // The whole line lies in the block: it is read where it lies.
      if (copiada) {
        linea_actual_.append(trozo);
        linea = linea_actual_;
      } else {
        linea = trozo;
      }
      if (linea.size() > kLargoMaximo)
        throw ErrorCsv{linea_ + 1, "línea de más de 1 MB"};
      trasCr_ = bloque_[hasta] == '\r';
      ++posicion_;
      break;
    }
    linea_actual_.append(trozo);
    copiada = true;
    linea = linea_actual_;
    if (linea_actual_.size() > kLargoMaximo)
      throw ErrorCsv{linea_ + 1, "línea de más de 1 MB"};
  }
  if (!leido)
    return false;
  if (linea_ == 0 && linea.starts_with(kMarcaDeOrden)) {
    linea.remove_prefix(kMarcaDeOrden.size());
    marca_ = true;
  }
  ++linea_;
  return true;
}

bool Lector::Siguiente(std::vector<std::string>& campos) {
  campos.clear();
  textos_.clear();
  fines_.clear();
  if (!SiguienteEn(textos_, fines_))
    return false;
  for (std::size_t k = 0, desde = 0; k < fines_.size(); desde = fines_[k++] + 1)
    campos.emplace_back(textos_, desde, fines_[k] - desde);
  return true;
}

bool Lector::SiguienteEn(std::string& textos, std::vector<std::size_t>& fines) {
  std::string_view& linea = lineaVista_;
  do {
    if (!LeerLinea(linea))
      return false;
  } while (linea.empty());
  lineaRegistro_ = linea_;
  if (!zelk::EsUtf8(linea))
    throw ErrorCsv{linea_, std::string(kNoEsUtf8)};
  if (!separador_)
    separador_ = ElegirSeparador(linea);
  const char separador = *separador_;

  // Most lines hold no quote: the whole line goes in at once, its separators standing for the
  // byte after each field, and only their places are looked for.
  if (std::memchr(linea.data(), '"', linea.size()) == nullptr) {
    conComillas_ = false;
    const std::size_t base = textos.size();
    textos.append(linea);
    textos.push_back('\n');
    FinesSinComillas(linea, separador, base, fines);
    return true;
  }
  conComillas_ = false;
  std::size_t i = 0;
  while (true) {
    const std::size_t inicio = textos.size();
    if (i < linea.size() && linea[i] == '"') {
      conComillas_ = true;
      // A quoted field: up to the closing quote, across lines if need be.
      ++i;
      while (true) {
        const std::size_t comilla = linea.find('"', i);
        if (comilla == std::string::npos) {
          textos.append(linea, i, std::string::npos);
          textos.push_back('\n');
          if (textos.size() - inicio > kLargoMaximo)
            throw ErrorCsv{lineaRegistro_, "campo de más de 1 MB"};
          if (!LeerLinea(linea))
            throw ErrorCsv{lineaRegistro_, "comillas sin cerrar"};
          if (!zelk::EsUtf8(linea))
            throw ErrorCsv{linea_, std::string(kNoEsUtf8)};
          i = 0;
          continue;
        }
        textos.append(linea, i, comilla - i);
        i = comilla + 1;
        if (i < linea.size() && linea[i] == '"') {
          textos.push_back('"');
          ++i;
          continue;
        }
        break;
      }
      if (i < linea.size() && linea[i] != separador)
        throw ErrorCsv{linea_, "texto tras las comillas de cierre"};
    } else {
      const std::size_t hasta = SeparadorOComilla(linea, i, separador);
      if (hasta < linea.size() && linea[hasta] == '"')
        throw ErrorCsv{linea_, "comillas dentro de un campo sin comillas"};
      textos.append(linea, i, hasta - i);
      i = hasta;
    }
    fines.push_back(textos.size());
    if (i >= linea.size()) {
      textos.push_back('\n');
      return true;
    }
    ++i;  // the separator
    textos.push_back(separador);
    if (i == linea.size()) {
      fines.push_back(textos.size());  // a separator at the end leaves an empty last field
      textos.push_back('\n');
      return true;
    }
  }
}

void EscribirCampo(std::string& salida, std::string_view campo, char separador) {
  // Most fields are short and plain: one test per byte against the four that matter.
  bool comillas = false;
  for (const char c : campo) {
    if (c == separador || c == '"' || c == '\n' || c == '\r') {
      comillas = true;
      break;
    }
  }
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
