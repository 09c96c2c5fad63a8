// The number text conversions on any text under any regional settings: no crash, the numeric test
// agrees with the conversion, and a value written in the general form reads back to the same 15
// significant digits.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "engine/texto_numero.h"
#include "fuzz/comun_fuzz.h"

namespace {

// Zero has no sign in the display: -0 and 0 are the same digits.
std::string QuinceCifras(double v) {
  v += 0.0;
  char texto[40];
  const auto r = std::to_chars(texto, texto + sizeof texto, v, std::chars_format::scientific, 14);
  return {texto, r.ptr};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t n) {
  std::string_view datos(reinterpret_cast<const char*>(bytes), n);
  const zelk::ConfiguracionRegional r = zelk::fuzz::TomarRegional(datos);

  const auto valor = zelk::TextoANumero(datos, r);
  Comprobar(zelk::EsNumerico(datos, r) == valor.has_value());
  if (!valor)
    return 0;
  Comprobar(std::isfinite(*valor));

  const std::string texto = zelk::NumeroATexto(*valor, r);
  const auto leido = zelk::TextoANumero(texto, r);
  // Rounded to 15 digits, the largest doubles pass beyond the range and cannot read back.
  const std::string quince = QuinceCifras(*valor);
  double redondeado = 0;
  if (std::from_chars(quince.data(), quince.data() + quince.size(), redondeado).ec ==
      std::errc::result_out_of_range)
    return 0;
  Comprobar(leido.has_value());
  Comprobar(QuinceCifras(*leido) == QuinceCifras(*valor));

  // Under a pattern the value is off by at most half a unit of its last decimal, plus what the
  // cut to 15 significant digits takes.
  for (const auto* p : {&zelk::kPatronAngulo, &zelk::kPatronTresDec, &zelk::kPatronPotencia}) {
    const auto conPatron = zelk::TextoANumero(zelk::NumeroConPatron(*valor, *p, r), r);
    Comprobar(conPatron.has_value());
    const double tolerancia =
        (0.5 * std::pow(10.0, -p->decimales) + std::fabs(*valor) * 1e-14) * (1 + 1e-9);
    Comprobar(std::fabs(*conPatron - *valor) <= tolerancia);
  }
  return 0;
}
