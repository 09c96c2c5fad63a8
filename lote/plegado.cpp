// Folding of names for comparison: compact tables of the code points concerned, no Unicode library.
#include "lote/plegado.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelk::lotes {

namespace {

// Default-ignorable code points and format characters (general category Cf): nothing a reader
// sees, so nothing a name may differ by.
constexpr std::array<std::pair<char32_t, char32_t>, 25> kInvisibles{{
    {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x0600, 0x0605},   {0x061C, 0x061C},
    {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},
    {0x115F, 0x1160},   {0x17B4, 0x17B5},   {0x180B, 0x180F},   {0x200B, 0x200F},
    {0x202A, 0x202E},   {0x2060, 0x206F},   {0x3164, 0x3164},   {0xFE00, 0xFE0F},
    {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},   {0xFFF0, 0xFFFB},   {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
    {0xE0000, 0xE0FFF},
}};

// Blanks other than the space (general category Zs).
constexpr std::array<std::pair<char32_t, char32_t>, 5> kBlancos{{
    {0x00A0, 0x00A0},
    {0x1680, 0x1680},
    {0x2000, 0x200A},
    {0x202F, 0x202F},
    {0x205F, 0x205F},
}};

// Letters drawn like a Latin one in common fonts, in order of code point.
constexpr std::array<std::pair<char32_t, char>, 64> kParecidas{{
    {0x0131, 'i'}, {0x0237, 'j'}, {0x0391, 'A'}, {0x0392, 'B'}, {0x0395, 'E'}, {0x0396, 'Z'},
    {0x0397, 'H'}, {0x0399, 'I'}, {0x039A, 'K'}, {0x039C, 'M'}, {0x039D, 'N'}, {0x039F, 'O'},
    {0x03A1, 'P'}, {0x03A4, 'T'}, {0x03A5, 'Y'}, {0x03A7, 'X'}, {0x03B1, 'a'}, {0x03B3, 'y'},
    {0x03B9, 'i'}, {0x03BA, 'k'}, {0x03BD, 'v'}, {0x03BF, 'o'}, {0x03C1, 'p'}, {0x03C5, 'u'},
    {0x03C7, 'x'}, {0x03F2, 'c'}, {0x03F3, 'j'}, {0x03F9, 'C'}, {0x0405, 'S'}, {0x0406, 'I'},
    {0x0408, 'J'}, {0x0410, 'A'}, {0x0412, 'B'}, {0x0415, 'E'}, {0x041A, 'K'}, {0x041C, 'M'},
    {0x041D, 'H'}, {0x041E, 'O'}, {0x0420, 'P'}, {0x0421, 'C'}, {0x0422, 'T'}, {0x0423, 'Y'},
    {0x0425, 'X'}, {0x0430, 'a'}, {0x0435, 'e'}, {0x043E, 'o'}, {0x0440, 'p'}, {0x0441, 'c'},
    {0x0443, 'y'}, {0x0445, 'x'}, {0x0455, 's'}, {0x0456, 'i'}, {0x0458, 'j'}, {0x0474, 'V'},
    {0x0475, 'v'}, {0x04AE, 'Y'}, {0x04BB, 'h'}, {0x04C0, 'I'}, {0x04CF, 'l'}, {0x0501, 'd'},
    {0x051A, 'Q'}, {0x051B, 'q'}, {0x051C, 'W'}, {0x051D, 'w'},
}};
static_assert(std::is_sorted(kParecidas.begin(), kParecidas.end()));

template <typename Tabla>
bool EnRangos(char32_t c, const Tabla& rangos) {
  return std::any_of(rangos.begin(), rangos.end(),
                     [c](const auto& r) { return c >= r.first && c <= r.second; });
}

char Parecida(char32_t c) {
  const auto it = std::lower_bound(kParecidas.begin(), kParecidas.end(), c,
                                   [](const auto& p, char32_t x) { return p.first < x; });
  return it != kParecidas.end() && it->first == c ? it->second : '\0';
}

// Greek and Cyrillic letters (the signs Ω and µ of units stay themselves).
bool EsGriegaOCirilica(char32_t c) {
  return ((c >= 0x0370 && c <= 0x03FF) || (c >= 0x0400 && c <= 0x052F)) && c != 0x03A9 &&
         c != 0x03BC && c != 0x037E && c != 0x0387;
}

bool EsLetraOCifra(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The code point at `i` and its length; a byte that begins none is its own, of length 0.
std::pair<char32_t, std::size_t> Leer(std::string_view t, std::size_t i) {
  const auto c = static_cast<unsigned char>(t[i]);
  std::size_t largo = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
  if (c >= 0xF5 || largo == 0 || i + largo > t.size())
    return {c, 0};
  char32_t valor = c & (0x7F >> largo);
  for (std::size_t k = 1; k < largo; ++k) {
    const auto s = static_cast<unsigned char>(t[i + k]);
    if ((s & 0xC0) != 0x80)
      return {c, 0};
    valor = (valor << 6) | (s & 0x3F);
  }
  return {valor, largo};
}

}  // namespace

Plegado Plegar(std::string_view nombre) {
  Plegado p;
  p.texto.reserve(nombre.size());
  const auto raro = [&](char32_t c) {
    if (std::find(p.raros.begin(), p.raros.end(), c) == p.raros.end())
      p.raros.push_back(c);
  };
  for (std::size_t i = 0; i < nombre.size();) {
    if (static_cast<unsigned char>(nombre[i]) < 0x80) {
      p.texto.push_back(nombre[i++]);
      continue;
    }
    const auto [c, largo] = Leer(nombre, i);
    if (largo == 0) {
      p.texto.push_back(nombre[i++]);
      continue;
    }
    const std::string_view original = nombre.substr(i, largo);
    i += largo;
    if (EnRangos(c, kInvisibles)) {
      raro(c);
    } else if (EnRangos(c, kBlancos) || c == 0x3000) {
      p.texto.push_back(' ');
    } else if (c >= 0xFF01 && c <= 0xFF5E) {
      const char ascii = static_cast<char>(c - 0xFEE0);
      if (EsLetraOCifra(ascii))
        raro(c);
      p.texto.push_back(ascii);
    } else if (const char latina = Parecida(c)) {
      raro(c);
      p.texto.push_back(latina);
    } else if (EsGriegaOCirilica(c)) {
      p.texto.push_back('z');
    } else {
      p.texto.append(original);
    }
  }
  return p;
}

}  // namespace zelk::lotes
