// What the fuzz targets share: the regional settings an input asks for (one of the usual ones,
// or separators of its own) and the check of a property.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/texto_numero.h"

// A broken property: say which, then crash so that libFuzzer keeps the input.
#define Comprobar(condicion)                                                            \
  do {                                                                                  \
    if (!(condicion)) {                                                                 \
      std::fprintf(stderr, "%s:%d: no se cumple %s\n", __FILE__, __LINE__, #condicion); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

namespace zelk::fuzz {

// Takes what it uses from the front of `datos`.
inline ConfiguracionRegional TomarRegional(std::string_view& datos) {
  static const std::array<ConfiguracionRegional, 6> kUsuales{{
      {".", ","},
      {",", "."},
      {",", "\u202F"},
      {".", "\u2019"},
      {",", " "},
      {".", ""},
  }};
  if (datos.empty())
    return kUsuales[0];
  const auto eleccion = static_cast<std::uint8_t>(datos.front());
  datos.remove_prefix(1);
  if (eleccion < 240)
    return kUsuales[eleccion % kUsuales.size()];
  // Separators of the input's own: one to three bytes each.
  const std::size_t nd = std::min<std::size_t>(1 + (eleccion & 3) % 3, datos.size());
  const std::string_view d = datos.substr(0, nd);
  datos.remove_prefix(nd);
  const std::size_t ng = std::min<std::size_t>(1 + ((eleccion >> 2) & 3) % 3, datos.size());
  const std::string_view g = datos.substr(0, ng);
  datos.remove_prefix(ng);
  return {d, g};
}

}  // namespace zelk::fuzz
