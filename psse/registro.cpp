// The records of a RAW file: lines within bounds, their first fields, numbers of their kind.
#include "psse/registro.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "engine/texto_numero.h"

namespace zelk::psse {

namespace {

constexpr std::string_view kMarcaDeOrden = "\xEF\xBB\xBF";

bool Blanco(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

void Partir(Registro& r) {
  r.campos.clear();
  r.comentario = {};
  const std::string_view texto = r.texto;
  std::size_t i = 0;
  bool trasComa = false;
  while (r.campos.size() < kCamposMaximos) {
    while (i < texto.size() && Blanco(texto[i]))
      ++i;
    if (i == texto.size())
      break;
    const char c = texto[i];
    if (c == '/') {
      r.comentario = texto.substr(i + 1);
      break;
    }
    if (c == ',') {
      if (trasComa || r.campos.empty())
        r.campos.push_back({});
      trasComa = true;
      ++i;
      continue;
    }
    trasComa = false;
    if (c == '\'' || c == '"') {
      const auto cierre = texto.find(c, i + 1);
      if (cierre == std::string_view::npos)
        throw ErrorRaw{r.linea, "comillas sin cerrar"};
      r.campos.push_back({texto.substr(i + 1, cierre - i - 1), true});
      i = cierre + 1;
      continue;
    }
    const std::size_t inicio = i;
    while (i < texto.size() && !Blanco(texto[i]) && texto[i] != ',' && texto[i] != '/')
      ++i;
    r.campos.push_back({texto.substr(inicio, i - inicio), false});
  }
}

std::string_view SinBlancos(std::string_view t) {
  while (!t.empty() && t.back() == ' ')
    t.remove_suffix(1);
  while (!t.empty() && t.front() == ' ')
    t.remove_prefix(1);
  return t;
}

}  // namespace

bool Lineas::LeerLinea(std::string& linea) {
  linea.clear();
  bool hay = false;
  while (true) {
    if (pos_ == fin_) {
      if (agotada_)
        return hay;
      fin_ = fuente_.Leer(bloque_.data(), bloque_.size());
      pos_ = 0;
      if (fin_ == 0) {
        agotada_ = true;
        return hay;  // what follows the last line break is a line only when it holds something
      }
      leidos_ += fin_;
      if (leidos_ > kTamanoMaximo)
        ComprobarTamano(leidos_);
      continue;
    }
    const char* inicio = bloque_.data() + pos_;
    const auto* salto = static_cast<const char*>(std::memchr(inicio, '\n', fin_ - pos_));
    const std::size_t n = salto != nullptr ? static_cast<std::size_t>(salto - inicio) : fin_ - pos_;
    if (linea.size() + n > kLineaMaxima)
      throw ErrorRaw{numero_ + 1, "la línea tiene más de " + std::to_string(kLineaMaxima >> 20) +
                                      " MB: no es un registro RAW"};
    linea.append(inicio, n);
    hay = true;
    pos_ += n;
    if (salto != nullptr) {
      ++pos_;
      return true;
    }
  }
}

bool Lineas::Siguiente(Registro& r, bool crudo) {
  while (LeerLinea(r.texto)) {
    ++numero_;
    if (numero_ == 1 && r.texto.starts_with(kMarcaDeOrden))
      r.texto.erase(0, kMarcaDeOrden.size());
    if (!r.texto.empty() && r.texto.back() == '\r')
      r.texto.pop_back();
    r.linea = numero_;
    if (crudo) {
      r.comentario = {};
      r.campos.assign(1, {r.texto, false});
      return true;
    }
    const std::string_view linea = r.texto;
    std::size_t i = 0;
    while (i < linea.size() && (linea[i] == ' ' || linea[i] == '\t'))
      ++i;
    if (i == linea.size() || linea.substr(i).starts_with("@!"))
      continue;
    Partir(r);
    if (r.campos.empty())
      continue;  // a comment alone
    return true;
  }
  return false;
}

namespace {

// The file's bytes when they are UTF-8, else read as Latin-1, as older tools write them.
std::string Utf8(std::string_view t) {
  if (EsUtf8(t))
    return std::string(t);
  std::string u;
  for (const unsigned char c : t) {
    if (c < 0x80) {
      u.push_back(static_cast<char>(c));
    } else {
      u.push_back(static_cast<char>(0xC0 | (c >> 6)));
      u.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return u;
}

}  // namespace

std::string Mostrar(std::string_view t) {
  return "«" + Utf8(t) + "»";
}

bool EmpiezaPorLetra(const Campo& c) {
  if (c.comillas || c.texto.empty())
    return false;
  const char x = c.texto.front();
  return (x >= 'A' && x <= 'Z') || (x >= 'a' && x <= 'z');
}

std::optional<double> Real(const Registro& r, std::size_t i, std::string_view nombre) {
  if (i >= r.campos.size() || r.campos[i].texto.empty())
    return std::nullopt;
  std::string t(r.campos[i].texto);
  if (!r.campos[i].comillas) {
    // One sign at most: "+-5.0" is no number.
    if (t.front() == '+' && t.size() > 1 && t[1] != '-' && t[1] != '+')
      t.erase(0, 1);
    for (char& c : t)
      if (c == 'D' || c == 'd')
        c = 'E';
    double v = 0;
    const auto fin = std::from_chars(t.data(), t.data() + t.size(), v);
    if (fin.ec == std::errc() && fin.ptr == t.data() + t.size() && std::isfinite(v))
      return v;
  }
  throw ErrorRaw{r.linea,
                 std::string(nombre) + " = " + Mostrar(r.campos[i].texto) + " no es un número"};
}

double Real(const Registro& r, std::size_t i, std::string_view nombre, double porDefecto) {
  return Real(r, i, nombre).value_or(porDefecto);
}

double Obligatorio(const Registro& r, std::size_t i, std::string_view nombre) {
  const auto v = Real(r, i, nombre);
  if (!v)
    throw ErrorRaw{r.linea,
                   std::string(nombre) + ": falta el valor, que no tiene valor por defecto"};
  return *v;
}

long Entero(const Registro& r, std::size_t i, std::string_view nombre, long minimo, long maximo,
            std::optional<long> porDefecto) {
  if (i < r.campos.size() && r.campos[i].comillas)
    throw ErrorRaw{r.linea, std::string(nombre) + " = " + Mostrar(r.campos[i].texto) +
                                ": se espera un número (los nombres de barra no se admiten)"};
  const auto v = Real(r, i, nombre);
  if (!v) {
    if (porDefecto)
      return *porDefecto;
    throw ErrorRaw{r.linea,
                   std::string(nombre) + ": falta el valor, que no tiene valor por defecto"};
  }
  if (!(*v == std::floor(*v) && *v >= static_cast<double>(minimo) &&
        *v <= static_cast<double>(maximo)))
    throw ErrorRaw{r.linea, std::string(nombre) + " = " + Mostrar(r.campos[i].texto) +
                                ": se espera un número entero entre " + std::to_string(minimo) +
                                " y " + std::to_string(maximo)};
  return static_cast<long>(*v);
}

long EnteroCualquiera(const Registro& r, std::size_t i, std::string_view nombre,
                      std::optional<long> porDefecto) {
  constexpr long kMaximo = 999'999'999;
  const auto rechazo = [&](std::string_view por) {
    return ErrorRaw{r.linea, std::string(nombre) + " = " + Mostrar(r.campos[i].texto) + ": " +
                                 std::string(por)};
  };
  if (i < r.campos.size() && r.campos[i].comillas)
    throw rechazo("se espera un número entero");
  const auto v = Real(r, i, nombre);
  if (!v) {
    if (porDefecto)
      return *porDefecto;
    throw ErrorRaw{r.linea,
                   std::string(nombre) + ": falta el valor, que no tiene valor por defecto"};
  }
  if (*v != std::floor(*v))
    throw rechazo("se espera un número entero");
  if (std::fabs(*v) > static_cast<double>(kMaximo))
    throw rechazo("se espera un número entero de nueve cifras a lo sumo");
  return static_cast<long>(*v);
}

std::string_view Texto(const Registro& r, std::size_t i, std::string_view porDefecto) {
  if (i >= r.campos.size() || (r.campos[i].texto.empty() && !r.campos[i].comillas))
    return porDefecto;
  return SinBlancos(r.campos[i].texto);
}

std::string Nombre(std::string_view t) {
  return Utf8(SinBlancos(t));
}

}  // namespace zelk::psse
