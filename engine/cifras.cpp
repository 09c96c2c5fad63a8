#include "engine/cifras.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace zelk {

namespace {

// "0", "0.0", "0.00", ... as display patterns.
constexpr std::array<std::string_view, kDecimalesMaximos + 1> kTextosPatron{
    "0",
    "0.0",
    "0.00",
    "0.000",
    "0.0000",
    "0.00000",
    "0.000000",
    "0.0000000",
    "0.00000000",
    "0.000000000",
    "0.0000000000",
    "0.00000000000",
    "0.000000000000",
    "0.0000000000000",
    "0.00000000000000",
    "0.000000000000000",
};

const Patron& PatronDe(int decimales) {
  static const auto kPatrones = [] {
    std::array<Patron, kDecimalesMaximos + 1> p{
        Patron(kTextosPatron[0]),  Patron(kTextosPatron[1]),  Patron(kTextosPatron[2]),
        Patron(kTextosPatron[3]),  Patron(kTextosPatron[4]),  Patron(kTextosPatron[5]),
        Patron(kTextosPatron[6]),  Patron(kTextosPatron[7]),  Patron(kTextosPatron[8]),
        Patron(kTextosPatron[9]),  Patron(kTextosPatron[10]), Patron(kTextosPatron[11]),
        Patron(kTextosPatron[12]), Patron(kTextosPatron[13]), Patron(kTextosPatron[14]),
        Patron(kTextosPatron[15])};
    return p;
  }();
  return kPatrones[static_cast<std::size_t>(std::clamp(decimales, 0, kDecimalesMaximos))];
}

}  // namespace

std::string CifraConDecimales(double valor, int decimales, const ConfiguracionRegional& r) {
  return NumeroConPatron(valor, PatronDe(decimales), r);
}

std::string CifraHacia(double valor, int decimales, bool arriba, const ConfiguracionRegional& r) {
  const double escala = std::pow(10.0, std::clamp(decimales, 0, kDecimalesMaximos));
  const double escalado = valor * escala;
  if (!std::isfinite(escalado) || std::fabs(escalado) >= 1e15)
    return CifraCompleta(valor, r);  // no decimal to round at within the digits written
  const double redondo = (arriba ? std::ceil(escalado) : std::floor(escalado)) / escala;
  return CifraConDecimales(redondo, decimales, r);
}

std::string CifraCompleta(double valor, const ConfiguracionRegional& r) {
  if (!std::isfinite(valor))
    return std::string(kMarcaError);
  std::array<char, 32> cifras{};
  const auto fin = std::to_chars(cifras.data(), cifras.data() + cifras.size(), valor).ptr;
  std::string texto;
  for (const char* c = cifras.data(); c != fin; ++c) {
    if (*c == '.')
      texto += r.Decimal();
    else
      texto.push_back(*c);
  }
  return texto;
}

std::string CifraDistinta(double valor, double otro, int decimales, const ConfiguracionRegional& r,
                          std::string* textoOtro) {
  for (int d = std::max(decimales, 0); d <= kDecimalesMaximos; ++d) {
    std::string a = CifraConDecimales(valor, d, r), b = CifraConDecimales(otro, d, r);
    if (a != b) {
      if (textoOtro != nullptr)
        *textoOtro = std::move(b);
      return a;
    }
  }
  if (textoOtro != nullptr)
    *textoOtro = CifraCompleta(otro, r);
  return CifraCompleta(valor, r);
}

}  // namespace zelk
