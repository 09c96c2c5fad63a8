// The regional settings a fuzz input asks for: one of the usual ones, or separators of its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/texto_numero.h"

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
