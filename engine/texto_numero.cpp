#include "engine/texto_numero.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

namespace zelk {

bool EsUtf8(std::string_view texto) {
  std::size_t i = 0;
  const std::size_t n = texto.size();
  // Plain ASCII eight bytes at a time.
  for (std::uint64_t ocho; i + 8 <= n; i += 8) {
    std::memcpy(&ocho, texto.data() + i, 8);
    if (ocho & 0x8080808080808080ull)
      break;
  }
  while (i < n) {
    const auto c = static_cast<unsigned char>(texto[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t largo;
    unsigned minimo;
    unsigned valor;
    if ((c & 0xE0) == 0xC0) {
      largo = 2, minimo = 0x80, valor = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      largo = 3, minimo = 0x800, valor = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      largo = 4, minimo = 0x10000, valor = c & 0x07;
    } else {
      return false;
    }
    if (i + largo > n)
      return false;
    for (std::size_t k = 1; k < largo; ++k) {
      const auto s = static_cast<unsigned char>(texto[i + k]);
      if ((s & 0xC0) != 0x80)
        return false;
      valor = (valor << 6) | (s & 0x3F);
    }
    // No overlong forms, no surrogates, nothing beyond U+10FFFF.
    if (valor < minimo || valor > 0x10FFFF || (valor >= 0xD800 && valor <= 0xDFFF))
      return false;
    i += largo;
  }
  return true;
}

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
  if (!EsUtf8(s))
    return false;
  for (char c : s)
    if (EsDigito(c) || c == '+' || c == '-' || c == 'e' || c == 'E' || c == '\t')
      return false;
  return !s.empty();
}

// Exponents beyond this are out of range whatever the digits; the cap keeps the sum in an int.
constexpr std::int64_t kTopeExponente = 1'000'000'000;

constexpr std::array<double, 23> kPotencias = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::array<std::uint64_t, 20> kPotenciasEnteras = {1ull,
                                                             10ull,
                                                             100ull,
                                                             1'000ull,
                                                             10'000ull,
                                                             100'000ull,
                                                             1'000'000ull,
                                                             10'000'000ull,
                                                             100'000'000ull,
                                                             1'000'000'000ull,
                                                             10'000'000'000ull,
                                                             100'000'000'000ull,
                                                             1'000'000'000'000ull,
                                                             10'000'000'000'000ull,
                                                             100'000'000'000'000ull,
                                                             1'000'000'000'000'000ull,
                                                             10'000'000'000'000'000ull,
                                                             100'000'000'000'000'000ull,
                                                             1'000'000'000'000'000'000ull,
                                                             10'000'000'000'000'000'000ull};

// A positive magnitude rounded to 15 significant digits: n x 10^(e - 14), 10^14 <= n < 10^15.
struct Quince {
  std::uint64_t n;
  int e;
};

// The exact value rounded to 15 digits, from the precision-14 scientific form.
Quince QuinceExacto(double magnitud) {
  // "d.dddddddddddddde+XXX": at most 1 + 1 + 14 + 5 characters.
  std::array<char, 32> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), magnitud,
                                 std::chars_format::scientific, 14);
  Quince q{static_cast<std::uint64_t>(buf[0] - '0'), 0};
  for (int i = 2; i < 16; ++i)
    q.n = q.n * 10 + static_cast<std::uint64_t>(buf[static_cast<std::size_t>(i)] - '0');
  const char* p = buf.data() + 17;  // past "d.", 14 digits and the "e"
  const bool negativo = *p++ == '-';
  std::from_chars(p, res.ptr, q.e);
  if (negativo)
    q.e = -q.e;
  return q;
}

// The same, several times cheaper where the value times a power of ten up to 10^22 lands between
// 10^14 and 10^15. A product of two doubles is off the exact one by a remainder that fma gives
// exactly, so its rounding to an integer is exact; a quotient is off by at most 1/16, which only
// matters when its fraction is close to one half. Subnormal values carry fewer digits than 15 and
// take the exact way.
Quince RedondeoQuince(double magnitud) {
  if (!(magnitud >= 1e-8 && magnitud < 1e36))
    return QuinceExacto(magnitud);
  // floor(log2 x) from the exponent bits, times log10 2: one too low at most; the loop mends it.
  const int exp2 = static_cast<int>((std::bit_cast<std::uint64_t>(magnitud) >> 52) & 0x7FF) - 1023;
  int e = static_cast<int>(std::floor(exp2 * 0.30102999566398120));
  double y = 0;
  int k = 0;
  for (int intento = 0; intento < 3; ++intento) {
    k = 14 - e;
    if (k < -22 || k > 22)
      return QuinceExacto(magnitud);
    y = k >= 0 ? magnitud * kPotencias[static_cast<std::size_t>(k)]
               : magnitud / kPotencias[static_cast<std::size_t>(-k)];
    if (y < 1e14)
      --e;
    else if (y >= 1e15)
      ++e;
    else
      break;
  }
  if (!(y >= 1e14 && y < 1e15))
    return QuinceExacto(magnitud);
  const double base = std::floor(y);
  const double fraccion = y - base;
  bool arriba = fraccion > 0.5;
  if (k >= 0) {
    // y < 2^50 keeps y - base exact and the remainder far below one half.
    const double resto = std::fma(magnitud, kPotencias[static_cast<std::size_t>(k)], -y);
    const double exacta = fraccion + resto;
    if (std::fabs(exacta - 0.5) < 1e-3)
      return QuinceExacto(magnitud);
    arriba = exacta > 0.5;
  } else if (std::fabs(fraccion - 0.5) <= 0.0625) {
    return QuinceExacto(magnitud);
  }
  Quince q{static_cast<std::uint64_t>(base) + (arriba ? 1 : 0), e};
  if (q.n == kPotenciasEnteras[15]) {
    q.n /= 10;
    ++q.e;
  }
  return q;
}

// n without its last `cuantas` digits (1 to 15), rounded half up on the first digit dropped. The
// divisors are constants, so that no division instruction is needed.
template <std::size_t... I>
std::uint64_t SoltarCifrasEn(std::uint64_t n, int cuantas, std::index_sequence<I...>) {
  std::uint64_t m = 0;
  const bool hecho = ((cuantas == static_cast<int>(I) + 1
                           ? (m = n / kPotenciasEnteras[I + 1] +
                                  (n % kPotenciasEnteras[I + 1] >= kPotenciasEnteras[I + 1] / 2),
                              true)
                           : false) ||
                      ...);
  static_cast<void>(hecho);
  return m;
}

std::uint64_t SoltarCifras(std::uint64_t n, int cuantas) {
  return SoltarCifrasEn(n, cuantas, std::make_index_sequence<15>{});
}

// The shown digits of a magnitude under n decimals as one integer, straight from the double: the
// exact value times 10^n rounded half up. That is what rounding to 15 digits and then to n
// decimals gives, unless the exact value lies within the 15-digit rounding of a half: then, and
// for magnitudes whose shown digits are more than 15, empty.
std::optional<std::uint64_t> RedondeoDirecto(double magnitud, int n) {
  // 10^15 / 10^n, exactly, without the division.
  if (n < 0 || n > 6 || !(magnitud < kPotencias[static_cast<std::size_t>(15 - n)]))
    return std::nullopt;
  const double y = magnitud * kPotencias[static_cast<std::size_t>(n)];
  // Below 10^15 the conversion truncates exactly, and y - base is exact. The product is off the
  // exact value by far less than the margin below, so outside it the rounding is the same.
  const double base = static_cast<double>(static_cast<std::uint64_t>(y));
  const double fraccion = y - base;
  // Rounding to 15 digits moves the value by at most 5e-15 of itself.
  if (std::fabs(fraccion - 0.5) <= 1e-13 * std::max(y, 1.0))
    return std::nullopt;
  return static_cast<std::uint64_t>(base) + (fraccion > 0.5 ? 1 : 0);
}

// How many digits m has (1 for 0).
int CifrasDe(std::uint64_t m) {
  const int t = (64 - std::countl_zero(m | 1)) * 1233 >> 12;  // log10 from log2, maybe one over
  return t + (m >= kPotenciasEnteras[static_cast<std::size_t>(t)] ? 1 : 0);
}

// m as a number of n decimals at `destino`, after `antes` unless it is NUL: "-" unless it is zero,
// the integer digits (at least one), D and n digits. Written in place, from its last digit back,
// with no buffer in between: a copy that read bytes just stored one by one would wait for them.
char* EscribirRedondeadoEn(char* destino, std::uint64_t m, int n, bool negativo, std::string_view D,
                           char antes) {
  static constexpr char kPares[] =
      "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243"
      "4445464748495051525354555657585960616263646566676869707172737475767778798081828384858687"
      "888990919293949596979899";
  const bool signo = negativo && m != 0;
  const int enteras = std::max(CifrasDe(m) - n, 1);
  char* const fin = destino + (antes != '\0') + signo + enteras + (n > 0 ? D.size() : 0) + n;
  char* p = fin;
  for (int i = 0; i < n; ++i) {
    *--p = static_cast<char>('0' + m % 10);
    m /= 10;
  }
  if (n > 0) {
    if (D.size() == 1) {
      *--p = D.front();
    } else {
      p -= D.size();
      std::memcpy(p, D.data(), D.size());
    }
  }
  while (m >= 100) {
    const auto par = static_cast<std::size_t>(m % 100) * 2;
    m /= 100;
    *--p = kPares[par + 1];
    *--p = kPares[par];
  }
  if (m >= 10) {
    *--p = kPares[m * 2 + 1];
    *--p = kPares[m * 2];
  } else {
    *--p = static_cast<char>('0' + m);
  }
  if (signo)
    *--p = '-';
  if (antes != '\0')
    *--p = antes;
  return fin;
}

// The common field: digits with at most one D of one byte among them, 15 digits at most, nothing
// else. Such a text needs no rounding beyond one exact division. Empty for any other text, which
// may still be a number.
std::optional<double> Sencillo(std::string_view texto, const ConfiguracionRegional& r) {
  if (texto.empty() || texto.size() > 16 || r.Decimal().size() != 1)
    return std::nullopt;
  const char* p = texto.data();
  const char* const fin = p + texto.size();
  std::uint64_t entero = 0;
  while (p != fin && EsDigito(*p))
    entero = entero * 10 + static_cast<std::uint64_t>(*p++ - '0');
  const auto cifrasEnteras = p - texto.data();
  std::ptrdiff_t fraccion = 0;
  if (p != fin) {
    if (*p++ != r.Decimal().front())
      return std::nullopt;
    const char* const inicioFraccion = p;
    while (p != fin && EsDigito(*p))
      entero = entero * 10 + static_cast<std::uint64_t>(*p++ - '0');
    if (p != fin)
      return std::nullopt;
    fraccion = p - inicioFraccion;
  }
  const auto cifras = cifrasEnteras + fraccion;
  if (cifras == 0 || cifras > 15)
    return std::nullopt;
  const double m = static_cast<double>(entero);
  return fraccion == 0 ? m : m / kPotencias[static_cast<std::size_t>(fraccion)];
}

// A text of 1 to 8 bytes, digits with at most one D among them, read from the 8 bytes at its start
// (which must be readable) at once; empty for any other text. Little-endian machines only. The
// value is Sencillo's: the same integer of the digits, divided by the same power of ten.
bool OchoCifras(std::string_view texto, char D, double& valor) {
  constexpr std::uint64_t kUnos = 0x0101010101010101ull, kAltos = 0x8080808080808080ull;
  constexpr std::uint64_t kCeros = 0x3030303030303030ull;  // "00000000"
  const auto bytes = [](std::size_t n) { return 8 * static_cast<unsigned>(n); };
  std::uint64_t w;
  std::memcpy(&w, texto.data(), 8);
  const std::size_t largo = texto.size();
  w &= ~std::uint64_t{0} >> (64 - bytes(largo));
  // The first D: the lowest byte that equals it (a borrow only marks bytes above a true one).
  const std::uint64_t x = w ^ (kUnos * static_cast<unsigned char>(D));
  const std::uint64_t esD = (x - kUnos) & ~x & kAltos & (~std::uint64_t{0} >> (64 - bytes(largo)));
  std::size_t cifras = largo, fraccion = 0;
  if (esD != 0) {
    // D taken out; a second one stays among the digits and fails below.
    const auto pos = static_cast<std::size_t>(std::countr_zero(esD)) / 8;
    const std::uint64_t alto = (w >> bytes(pos)) >> 8;
    w = (w & ((std::uint64_t{1} << bytes(pos)) - 1)) | (alto << bytes(pos));
    cifras = largo - 1;
    fraccion = largo - 1 - pos;
    if (cifras == 0)
      return false;
  }
  // Bytes beyond the digits read as "0"; then every byte must lie in '0'..'9': a byte outside
  // sets its own high bit in one of the two sums, and below the lowest such byte nothing carries.
  w |= kCeros & ~(~std::uint64_t{0} >> (64 - bytes(cifras)));
  if ((((w + 0x4646464646464646ull) | (w - kCeros)) & kAltos) != 0)
    return false;
  // The digits to the top with zeros before them, then joined in pairs, fours and eights.
  const unsigned k = bytes(8 - cifras);
  w = (w << k) | (kCeros & ((std::uint64_t{1} << k) - 1));
  w -= kCeros;
  w = w * 10 + (w >> 8);
  w = (((w & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
       (((w >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
      32;
  const double m = static_cast<double>(w);
  valor = fraccion == 0 ? m : m / kPotencias[fraccion];
  return true;
}

// The 15 digits as characters.
std::array<char, 15> Cifras(Quince q) {
  std::array<char, 15> d{};
  for (auto i = d.size(); i-- > 0; q.n /= 10)
    d[i] = static_cast<char>('0' + q.n % 10);
  return d;
}

}  // namespace

ConfiguracionRegional::ConfiguracionRegional(std::string_view decimal, std::string_view grupo)
    : decimal_(PuedeSerSeparador(decimal) && decimal != kEspacio ? decimal : "."),
      grupo_(PuedeSerSeparador(grupo) && grupo != decimal_ ? grupo : "") {
  if (grupo_ == kEspacio || grupo_ == kEspacioFijo || grupo_ == kEspacioFijoEstrecho)
    familia_ = Familia::Espacio;
  else if (grupo_ == kApostrofo || grupo_ == kApostrofoTipografico)
    familia_ = Familia::Apostrofo;
  // A G that begins D, or that D begins (any member of its family), would make "0" D "5" read
  // as a group: such a G is dropped.
  const auto solapa = [&](std::string_view g) {
    return decimal_.starts_with(g) || g.starts_with(decimal_);
  };
  bool ambiguo = false;
  switch (familia_) {
    case Familia::Espacio:
      ambiguo = solapa(kEspacio) || solapa(kEspacioFijo) || solapa(kEspacioFijoEstrecho);
      break;
    case Familia::Apostrofo:
      ambiguo = solapa(kApostrofo) || solapa(kApostrofoTipografico);
      break;
    case Familia::Exacta:
      ambiguo = !grupo_.empty() && solapa(grupo_);
      break;
  }
  if (ambiguo) {
    grupo_.clear();
    familia_ = Familia::Exacta;
  }
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
  // Most fields hold a plain number of a few digits.
  if (const auto v = Sencillo(texto, r))
    return v;
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

  // The digits as one integer (its first 19 significant digits) and their count.
  std::uint64_t entero = 0;
  int significativos = 0;
  const auto digito = [&] {
    const char c = texto[pos++];
    if (significativos == 0 && c == '0')
      return;
    if (significativos < 19)
      entero = entero * 10 + static_cast<std::uint64_t>(c - '0');
    ++significativos;
  };

  const std::size_t inicioMantisa = pos;
  std::size_t digitosEnteros = 0;
  bool trasGrupo = false;  // a group separator must stand between two digits
  while (hay()) {
    if (EsDigito(texto[pos])) {
      digito();
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

  std::size_t posDecimal = std::string_view::npos;
  std::size_t digitosFraccion = 0;
  if (texto.substr(pos).starts_with(r.Decimal())) {
    posDecimal = pos;
    pos += r.Decimal().size();
    while (hay() && EsDigito(texto[pos])) {
      digito();
      ++digitosFraccion;
    }
  }
  if (digitosEnteros + digitosFraccion == 0)
    return std::nullopt;
  const std::size_t finMantisa = pos;

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

  const double cero = negativo ? -0.0 : 0.0;
  if (significativos == 0)
    return cero;
  // value = digits x 10^escala; its first significant digit stands at 10^exponenteDecimal.
  const std::int64_t escala = exponente - static_cast<std::int64_t>(digitosFraccion);
  const std::int64_t exponenteDecimal = significativos - 1 + escala;
  if (exponenteDecimal > 400)
    return std::nullopt;
  if (exponenteDecimal < -400)
    return cero;

  // Up to 15 digits and a power of ten up to 10^22 are exact doubles: one multiplication or
  // division rounds the exact quotient to the nearest double.
  if (significativos <= 15 && escala >= -22 && escala <= 22) {
    const double m = static_cast<double>(entero);
    const double v = escala >= 0 ? m * kPotencias[static_cast<std::size_t>(escala)]
                                 : m / kPotencias[static_cast<std::size_t>(-escala)];
    return negativo ? -v : v;
  }

  // Otherwise the digits go to from_chars as plain ASCII with "." for D.
  std::string ascii;
  ascii.reserve(finMantisa - inicioMantisa + 24);
  for (std::size_t i = inicioMantisa; i < finMantisa;) {
    if (i == posDecimal) {
      ascii.push_back('.');
      i += r.Decimal().size();
    } else {
      if (EsDigito(texto[i]))
        ascii.push_back(texto[i]);
      ++i;  // group separators hold no ASCII digit
    }
  }
  ascii.push_back('e');
  std::array<char, 24> buf{};
  ascii.append(buf.data(), std::to_chars(buf.data(), buf.data() + buf.size(), exponente).ptr);

  double valor = 0;
  const auto res =
      std::from_chars(ascii.data(), ascii.data() + ascii.size(), valor, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    if (exponenteDecimal > 0)
      return std::nullopt;
    return cero;
  }
  if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size() || !std::isfinite(valor))
    return std::nullopt;
  return negativo ? -valor : valor;
}

namespace {

// True when every group separator of the integer part closes a group of one to three digits at
// its start and of exactly three after it, and none stands in a number with an exponent: a
// spreadsheet writes "2.5E+03", so "2.500E+03" under D "," is a number written with D "."; the
// text may be anything else.
bool GruposDeTres(std::string_view texto, const ConfiguracionRegional& r) {
  std::size_t pos = 0;
  while (pos < texto.size() && EsBlanco(texto[pos]))
    ++pos;
  if (pos < texto.size() && (texto[pos] == '+' || texto[pos] == '-'))
    ++pos;
  std::size_t cifras = 0;  // digits since the last separator
  bool grupos = false;
  while (pos < texto.size()) {
    if (EsDigito(texto[pos])) {
      ++cifras;
      ++pos;
    } else if (std::size_t g = cifras > 0 ? r.GrupoEn(texto.substr(pos)) : 0) {
      if (grupos ? cifras != 3 : cifras > 3)
        return false;
      grupos = true;
      cifras = 0;
      pos += g;
    } else {
      break;
    }
  }
  // No separator may hold an "e": one after the integer part begins an exponent.
  return !grupos || (cifras == 3 && texto.find_first_of("eE", pos) == std::string_view::npos);
}

}  // namespace

std::optional<double> NumeroDeHoja(std::string_view texto, const ConfiguracionRegional& r) {
  if (const auto v = Sencillo(texto, r))
    return v;
  if (!GruposDeTres(texto, r))
    return std::nullopt;
  return TextoANumero(texto, r);
}

bool NumeroDeHojaConMargen(std::string_view texto, const ConfiguracionRegional& r, double& valor) {
  if constexpr (std::endian::native == std::endian::little) {
    if (!texto.empty() && texto.size() <= kMargenDeLectura && r.Decimal().size() == 1 &&
        OchoCifras(texto, r.Decimal().front(), valor))
      return true;
  }
  const auto v = NumeroDeHoja(texto, r);
  valor = v.value_or(0);
  return v.has_value();
}

bool GrupoMalPuesto(std::string_view texto, const ConfiguracionRegional& r) {
  return !GruposDeTres(texto, r) && EsNumerico(texto, r);
}

bool EsNumerico(std::string_view texto, const ConfiguracionRegional& r) {
  return TextoANumero(texto, r).has_value();
}

char* EscribirConPatronDirecto(char* p, double valor, const Patron& patron,
                               const ConfiguracionRegional& r, char antes) {
  if (r.Decimal().size() > kLargoDecimalDirecto)
    return nullptr;
  const auto m = RedondeoDirecto(std::fabs(valor), patron.decimales);
  if (!m)
    return nullptr;
  return EscribirRedondeadoEn(p, *m, patron.decimales, std::signbit(valor), r.Decimal(), antes);
}

void AnadirConPatron(std::string& salida, double valor, const Patron& patron,
                     const ConfiguracionRegional& r, char antes) {
  const int n = patron.decimales;
  const double magnitud = std::fabs(valor);
  std::array<char, kLargoDirecto> directo;
  if (char* fin = EscribirConPatronDirecto(directo.data(), valor, patron, r, antes)) {
    salida.append(directo.data(), static_cast<std::size_t>(fin - directo.data()));
    return;
  }
  if (antes != '\0')
    salida.push_back(antes);
  if (!std::isfinite(valor)) {
    salida.append(kMarcaError);
    return;
  }
  const Quince q = magnitud == 0 ? Quince{0, 0} : RedondeoQuince(magnitud);

  // The shown digits as one integer: value x 10^n, rounded half away from zero on the 15 digits.
  // The first dropped digit is 5 or more exactly when the dropped part is half a unit or more.
  // Beyond 18 digits the carry goes through a digit string instead.
  std::array<char, 352> local;  // every double under a pattern of up to 40 decimals
  std::string grande;
  char* cifras = local.data();
  std::size_t largo = 0;  // digits in `cifras`, at least n + 1
  if (q.e + n <= 17) {
    const int soltar = 14 - q.e - n;
    std::uint64_t m = 0;
    if (soltar <= 0) {
      m = q.n * kPotenciasEnteras[static_cast<std::size_t>(-soltar)];
    } else if (soltar <= 15) {
      m = SoltarCifras(q.n, soltar);
    }
    // Written from the last digit back, padded with zeros to n + 1 digits.
    char* p = cifras + 24;
    do {
      *--p = static_cast<char>('0' + m % 10);
      m /= 10;
    } while (m != 0 || cifras + 24 - p < n + 1);
    largo = static_cast<std::size_t>(cifras + 24 - p);
    cifras = p;
  } else {
    // Positions 10^alto down to 10^-n, after one '0' for a carry.
    const int alto = q.e;
    largo = static_cast<std::size_t>(alto + n + 2);
    if (largo > local.size()) {
      grande.resize(largo);
      cifras = grande.data();
    }
    const auto d = Cifras(q);
    const auto digitoEn = [&](int puesto) {
      const int i = q.e - puesto;
      return i >= 0 && i < 15 ? d[static_cast<std::size_t>(i)] : '0';
    };
    cifras[0] = '0';
    for (int puesto = alto; puesto >= -n; --puesto)
      cifras[alto - puesto + 1] = digitoEn(puesto);
    if (digitoEn(-n - 1) >= '5') {
      for (auto i = largo; i-- > 0;) {
        if (cifras[i] != '9') {
          ++cifras[i];
          break;
        }
        cifras[i] = '0';
      }
    }
    std::size_t inicio = 0;
    while (inicio + static_cast<std::size_t>(n) + 1 < largo && cifras[inicio] == '0')
      ++inicio;
    cifras += inicio;
    largo -= inicio;
  }

  const std::size_t enteras = largo - static_cast<std::size_t>(n);
  bool esCero = true;
  for (std::size_t i = 0; i < largo && esCero; ++i)
    esCero = cifras[i] == '0';
  const bool signo = std::signbit(valor) && !esCero;
  const std::string& D = r.Decimal();
  const std::size_t inicio = salida.size();
  salida.resize(inicio + signo + enteras + (n > 0 ? D.size() + static_cast<std::size_t>(n) : 0),
                '-');
  // Plain loops: these runs are a few characters long, too short for memcpy to pay.
  char* p = salida.data() + inicio + signo;
  for (std::size_t i = 0; i < enteras; ++i)
    *p++ = cifras[i];
  if (n > 0) {
    for (char c : D)
      *p++ = c;
    for (std::size_t i = enteras; i < largo; ++i)
      *p++ = cifras[i];
  }
}

std::string NumeroConPatron(double valor, const Patron& patron, const ConfiguracionRegional& r) {
  std::string texto;
  AnadirConPatron(texto, valor, patron, r);
  return texto;
}

void AnadirNumeroATexto(std::string& out, double valor, const ConfiguracionRegional& r) {
  if (!std::isfinite(valor)) {
    out.append(kMarcaError);
    return;
  }
  if (valor == 0) {
    out.push_back('0');
    return;
  }
  const Quince q = RedondeoQuince(std::fabs(valor));
  const auto cifras = Cifras(q);
  std::size_t k = cifras.size();
  while (k > 1 && cifras[k - 1] == '0')
    --k;
  const std::string_view d(cifras.data(), k);
  const int e = q.e;

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
}

std::string NumeroATexto(double valor, const ConfiguracionRegional& r) {
  std::string texto;
  AnadirNumeroATexto(texto, valor, r);
  return texto;
}

std::string TextoResultado(const Resultado& valor, const DescripcionResultado& d,
                           const ConfiguracionRegional& r) {
  std::string texto;
  AnadirTextoResultado(texto, valor, d, r);
  return texto;
}

void AnadirTextoResultado(std::string& salida, const Resultado& valor,
                          const DescripcionResultado& d, const ConfiguracionRegional& r,
                          char antes) {
  if (valor && d.patron) {
    AnadirConPatron(salida, *valor, *d.patron, r, antes);
    return;
  }
  if (antes != '\0')
    salida.push_back(antes);
  if (!valor)
    salida.append(kMarcaError);
  else
    AnadirNumeroATexto(salida, *valor, r);
}

}  // namespace zelk
