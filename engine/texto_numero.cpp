#include "engine/texto_numero.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace zelk {

namespace {

constexpr std::string_view kEspacio = " ";
constexpr std::string_view kEspacioFijo = "\u00A0";
constexpr std::string_view kEspacioFijoEstrecho = "\u202F";
constexpr std::string_view kApostrofo = "'";
constexpr std::string_view kApostrofoTipografico = "\u2019";

bool EsDigito(char c) {
  return c >= '0' && c <= '9';
}
bool EsBlanco(char c) {
  return c == ' ' || c == '\t';
}

// A separator must not be mistaken for a part of the number itself.
bool PuedeSerSeparador(std::string_view s) {
  for (char c : s)
    if (EsDigito(c) || c == '+' || c == '-' || c == 'e' || c == 'E' || c == '\t')
      return false;
  return !s.empty();
}

// Exponents beyond this are out of range whatever the digits; the cap keeps the sum in an int.
constexpr std::int64_t kTopeExponente = 1'000'000'000;

// The magnitude rounded to 15 significant digits: value = d[0].d[1]...d[14] x 10^exp.
struct Digitos {
  std::array<char, 15> d;
  int exp;
};

Digitos Significativos(double magnitud) {
  // "d.dddddddddddddde+XXX": at most 1 + 1 + 14 + 5 characters.
  std::array<char, 32> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitud,
                                 std::chars_format::scientific, 14);
  Digitos out{};
  out.d[0] = buf[0];
  for (int i = 1; i < 15; ++i)
    out.d[i] = buf[i + 1];
  const char* e = buf.data() + 16;  // past "d." and 14 digits, at the "e"
  int exponente = 0;
  const char* p = e + 1;
  const bool negativo = *p == '-';
  ++p;
  std::from_chars(p, res.ptr, exponente);
  out.exp = negativo ? -exponente : exponente;
  return out;
}

}  // namespace

ConfiguracionRegional::ConfiguracionRegional(std::string_view decimal, std::string_view grupo)
    : decimal_(PuedeSerSeparador(decimal) && decimal != kEspacio ? decimal : "."),
      grupo_(PuedeSerSeparador(grupo) && grupo != decimal_ ? grupo : "") {
  if (grupo_ == kEspacio || grupo_ == kEspacioFijo || grupo_ == kEspacioFijoEstrecho)
    familia_ = Familia::Espacio;
  else if (grupo_ == kApostrofo || grupo_ == kApostrofoTipografico)
    familia_ = Familia::Apostrofo;
}

std::size_t ConfiguracionRegional::GrupoEn(std::string_view texto) const {
  const auto empieza = [&](std::string_view s) { return texto.starts_with(s) ? s.size() : 0; };
  switch (familia_) {
    case Familia::Espacio:
      for (auto s : {kEspacio, kEspacioFijo, kEspacioFijoEstrecho})
        if (auto n = empieza(s))
          return n;
      return 0;
    case Familia::Apostrofo:
      for (auto s : {kApostrofo, kApostrofoTipografico})
        if (auto n = empieza(s))
          return n;
      return 0;
    case Familia::Exacta:
      return grupo_.empty() ? 0 : empieza(grupo_);
  }
  return 0;
}

std::optional<double> TextoANumero(std::string_view texto, const ConfiguracionRegional& r) {
  while (!texto.empty() && EsBlanco(texto.front()))
    texto.remove_prefix(1);
  while (!texto.empty() && EsBlanco(texto.back()))
    texto.remove_suffix(1);

  std::size_t pos = 0;
  const auto hay = [&] { return pos < texto.size(); };
  bool negativo = false;
  if (hay() && (texto[pos] == '+' || texto[pos] == '-')) {
    negativo = texto[pos] == '-';
    ++pos;
  }

  // The mantissa as plain ASCII digits with "." for D, ready for from_chars.
  std::string mantisa;
  mantisa.reserve(texto.size() + 1);
  std::size_t digitosEnteros = 0;
  bool trasGrupo = false;  // a group separator must stand between two digits
  while (hay()) {
    if (EsDigito(texto[pos])) {
      mantisa.push_back(texto[pos++]);
      ++digitosEnteros;
      trasGrupo = false;
    } else if (std::size_t g = digitosEnteros > 0 ? r.GrupoEn(texto.substr(pos)) : 0) {
      pos += g;
      trasGrupo = true;
    } else {
      break;
    }
  }
  if (trasGrupo)
    return std::nullopt;

  std::size_t digitosFraccion = 0;
  if (texto.substr(pos).starts_with(r.Decimal())) {
    pos += r.Decimal().size();
    mantisa.push_back('.');
    while (hay() && EsDigito(texto[pos])) {
      mantisa.push_back(texto[pos++]);
      ++digitosFraccion;
    }
  }
  if (digitosEnteros + digitosFraccion == 0)
    return std::nullopt;

  std::int64_t exponente = 0;
  if (hay() && (texto[pos] == 'e' || texto[pos] == 'E')) {
    ++pos;
    bool expNegativo = false;
    if (hay() && (texto[pos] == '+' || texto[pos] == '-')) {
      expNegativo = texto[pos] == '-';
      ++pos;
    }
    if (!hay() || !EsDigito(texto[pos]))
      return std::nullopt;
    while (hay() && EsDigito(texto[pos])) {
      if (exponente < kTopeExponente)
        exponente = exponente * 10 + (texto[pos] - '0');
      ++pos;
    }
    if (expNegativo)
      exponente = -exponente;
  }
  if (pos != texto.size())
    return std::nullopt;

  // Decimal exponent of the first significant digit; tells overflow from underflow below.
  const auto primero = mantisa.find_first_not_of("0.");
  if (primero == std::string::npos)
    return negativo ? -0.0 : 0.0;
  const std::int64_t puestoPrimero = primero < digitosEnteros
                                         ? static_cast<std::int64_t>(digitosEnteros - primero - 1)
                                         : -static_cast<std::int64_t>(primero - digitosEnteros);
  const std::int64_t exponenteDecimal = puestoPrimero + exponente;
  if (exponenteDecimal > 400)
    return std::nullopt;
  if (exponenteDecimal < -400)
    return negativo ? -0.0 : 0.0;

  mantisa.push_back('e');
  std::array<char, 24> buf{};
  const auto fin = std::to_chars(buf.data(), buf.data() + buf.size(), exponente).ptr;
  mantisa.append(buf.data(), fin);

  double valor = 0;
  const auto res = std::from_chars(mantisa.data(), mantisa.data() + mantisa.size(), valor,
                                   std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    if (exponenteDecimal > 0)
      return std::nullopt;
    valor = 0.0;
  } else if (res.ec != std::errc() || res.ptr != mantisa.data() + mantisa.size() ||
             !std::isfinite(valor)) {
    return std::nullopt;
  }
  return negativo ? -valor : valor;
}

bool EsNumerico(std::string_view texto, const ConfiguracionRegional& r) {
  return TextoANumero(texto, r).has_value();
}

std::string NumeroConPatron(double valor, const Patron& patron, const ConfiguracionRegional& r) {
  if (!std::isfinite(valor))
    return std::string(kMarcaError);
  const int n = patron.decimales;
  const double magnitud = std::fabs(valor);

  // Digits from position `alto` (10^alto) down to 10^-n, one extra '0' in front for a carry.
  Digitos dig{};
  dig.d.fill('0');
  if (magnitud != 0)
    dig = Significativos(magnitud);
  const int alto = dig.exp > 0 ? dig.exp : 0;
  std::string cifras(static_cast<std::size_t>(alto + n + 2), '0');
  const auto digitoEn = [&](int puesto) {
    const int i = dig.exp - puesto;
    return i >= 0 && i < 15 ? dig.d[i] : '0';
  };
  for (int puesto = alto; puesto >= -n; --puesto)
    cifras[static_cast<std::size_t>(alto - puesto + 1)] = digitoEn(puesto);
  if (digitoEn(-n - 1) >= '5') {
    for (auto i = cifras.size(); i-- > 0;) {
      if (cifras[i] == '9') {
        cifras[i] = '0';
      } else {
        ++cifras[i];
        break;
      }
    }
  }

  const auto finEntero = static_cast<std::size_t>(alto + 2);
  std::size_t inicio = 0;
  while (inicio + 1 < finEntero && cifras[inicio] == '0')
    ++inicio;
  const bool esCero = cifras.find_first_not_of('0') == std::string::npos;

  std::string out;
  out.reserve(cifras.size() + r.Decimal().size() + 1);
  if (std::signbit(valor) && !esCero)
    out.push_back('-');
  out.append(cifras, inicio, finEntero - inicio);
  if (n > 0) {
    out += r.Decimal();
    out.append(cifras, finEntero, std::string::npos);
  }
  return out;
}

std::string NumeroATexto(double valor, const ConfiguracionRegional& r) {
  if (!std::isfinite(valor))
    return std::string(kMarcaError);
  if (valor == 0)
    return "0";
  const Digitos dig = Significativos(std::fabs(valor));
  int k = 15;
  while (k > 1 && dig.d[k - 1] == '0')
    --k;
  const std::string_view d(dig.d.data(), static_cast<std::size_t>(k));
  const int e = dig.exp;

  std::string out;
  if (valor < 0)
    out.push_back('-');
  if (e >= -4 && e < 15) {
    if (e >= 0) {
      const auto enteros = static_cast<std::size_t>(e + 1);
      out.append(d.substr(0, enteros));
      if (d.size() < enteros)
        out.append(enteros - d.size(), '0');
      if (d.size() > enteros) {
        out += r.Decimal();
        out.append(d.substr(enteros));
      }
    } else {
      out.push_back('0');
      out += r.Decimal();
      out.append(static_cast<std::size_t>(-e - 1), '0');
      out.append(d);
    }
  } else {
    out.push_back(d[0]);
    if (d.size() > 1) {
      out += r.Decimal();
      out.append(d.substr(1));
    }
    out.push_back('E');
    out.push_back(e < 0 ? '-' : '+');
    const int absoluto = e < 0 ? -e : e;
    if (absoluto < 10)
      out.push_back('0');
    std::array<char, 8> buf{};
    out.append(buf.data(), std::to_chars(buf.data(), buf.data() + buf.size(), absoluto).ptr);
  }
  return out;
}

std::string TextoResultado(const Resultado& valor, const DescripcionResultado& d,
                           const ConfiguracionRegional& r) {
  if (!valor)
    return std::string(kMarcaError);
  return d.patron ? NumeroConPatron(*valor, *d.patron, r) : NumeroATexto(*valor, r);
}

}  // namespace zelk
