// A name folded for comparison with the data's names: what Unicode says is invisible dropped, the
// Greek and Cyrillic look-alikes of Latin letters and the full-width forms read as the ASCII they
// mimic, so that a header that looks like "Idc" on the screen is judged as "Idc".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelk::lotes {

struct Plegado {
  std::string texto;
  // The code points dropped as invisible or read as a Latin letter or digit, each once, in order.
  std::vector<char32_t> raros;
};

// Bytes that are not UTF-8 pass as they are. Every blank (U+00A0, U+202F, U+3000…) becomes " ";
// a Greek or Cyrillic letter with no Latin look-alike becomes "z", a letter no name holds, so that
// it ends no name early as a unit would.
Plegado Plegar(std::string_view nombre);

}  // namespace zelk::lotes
