// Conversions between the text of a field and a number, under the user's regional settings.
// Nothing here consults the C library's locale: the separators arrive as values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/enlace.h"

namespace zelk {

// The decimal separator D and the digit-group separator G of the user's number format, as UTF-8.
class ConfiguracionRegional {
 public:
  // A D that is empty, not UTF-8, or that could be read as part of a number (a digit, a sign,
  // "E", a blank), falls back to "."; such a G, or one equal to D, is dropped.
  ConfiguracionRegional(std::string_view decimal, std::string_view grupo);

  const std::string& Decimal() const { return decimal_; }
  const std::string& Grupo() const { return grupo_; }

  // Length of the group separator at the start of `texto`, 0 when none starts there. Where G is a
  // space-like character, any of U+0020, U+00A0 and U+202F counts as G; where it is "’" or "'",
  // either of the two does: users type what their keyboard has.
  std::size_t GrupoEn(std::string_view texto) const;

  static ConfiguracionRegional EstadosUnidos() { return {".", ","}; }

 private:
  std::string decimal_;
  std::string grupo_;
  enum class Familia { Exacta, Espacio, Apostrofo } familia_ = Familia::Exacta;
};

// True when `texto` is valid UTF-8: no stray or overlong bytes, no surrogates, nothing beyond
// U+10FFFF. Separators must be; files read in batches must be too.
bool EsUtf8(std::string_view texto);

// The field conversion: the text of an input field to a double; no value when the text is not a
// number or its value lies beyond the range of a double. A value too small for a double reads as
// zero of its sign.
std::optional<double> TextoANumero(std::string_view texto, const ConfiguracionRegional& r);

// A number as a spreadsheet writes it, for tables that are read as data: the field conversion,
// with group separators only between groups of exactly three digits of the integer part
// ("1.000,5" where D is ","; not "1000.5" nor "3.88" there, which the field conversion reads as
// 10005 and 388), and none in a number with an exponent (not "2.500E+03" there, which is 2500
// written with D "."). Empty for any other text.
std::optional<double> NumeroDeHoja(std::string_view texto, const ConfiguracionRegional& r);
// The same for a text followed in memory by at least kMargenDeLectura more readable bytes (the
// fields of a block read with a margin at its end): a short text is read in one load.
inline constexpr std::size_t kMargenDeLectura = 8;
// False when it is not a number, `valor` then 0.
bool NumeroDeHojaConMargen(std::string_view texto, const ConfiguracionRegional& r, double& valor);

// True when the field conversion reads `texto` but a spreadsheet would not: a group separator
// where no group of three digits ends, or in a number with an exponent.
bool GrupoMalPuesto(std::string_view texto, const ConfiguracionRegional& r);

// The numeric test: true exactly when the field conversion succeeds.
bool EsNumerico(std::string_view texto, const ConfiguracionRegional& r);

// A value under a display pattern: at most 15 significant digits, then rounded half away from
// zero to the pattern's decimals; no exponent, no group separators. A value that rounds to zero
// carries no sign. A value that is not finite gives the marker.
std::string NumeroConPatron(double valor, const Patron& patron, const ConfiguracionRegional& r);
// The same, appended to `salida`, after `antes` (a field separator) unless that is NUL.
void AnadirConPatron(std::string& salida, double valor, const Patron& patron,
                     const ConfiguracionRegional& r, char antes = '\0');

// The same written at `p`, which has room for kLargoDirecto bytes, when the value needs no more
// than one rounding from its double and the decimal separator has at most kLargoDecimalDirecto
// bytes, as most values of a table do: the end of the text. Otherwise nullptr, and nothing is
// written.
inline constexpr std::size_t kLargoDirecto = 48;
inline constexpr std::size_t kLargoDecimalDirecto = 16;
char* EscribirConPatronDirecto(char* p, double valor, const Patron& patron,
                               const ConfiguracionRegional& r, char antes = '\0');

// The general text form: 15 significant digits without trailing zeros, positional for decimal
// exponents from -4 to 14, otherwise "d.dddE+XX". A value that is not finite gives the marker.
std::string NumeroATexto(double valor, const ConfiguracionRegional& r);
// The same, appended to `salida`.
void AnadirNumeroATexto(std::string& salida, double valor, const ConfiguracionRegional& r);

// The text of a result field: its value under its pattern (or the general form), or the marker.
std::string TextoResultado(const Resultado& valor, const DescripcionResultado& d,
                           const ConfiguracionRegional& r);
// The same, appended to `salida`, after `antes` (a field separator) unless that is NUL.
void AnadirTextoResultado(std::string& salida, const Resultado& valor,
                          const DescripcionResultado& d, const ConfiguracionRegional& r,
                          char antes = '\0');

}  // namespace zelk
