// The toolkit's default dialog font, made smaller where it would not fit the windows' rows and
// captions.
#pragma once

#include <QFont>
#include <QString>
#include <vector>

namespace zelk::ui {

// A text and the room it has, in pixels: one line of `ancho`, or with `alto`, lines wrapped at
// word boundaries within `ancho` that together fit `alto`.
struct Hueco {
  QString texto;
  int ancho;
  int alto = 0;
};

// The smallest size the fitting goes down to; below it text is no longer readable.
inline constexpr int kPixelesMinimos = 8;

// `base` when its line is at most `alto` pixels and every text fits its room; otherwise the
// largest pixel size of the same family that does, but not below kPixelesMinimos. A base already at
// kPixelesMinimos or below, or no font at all, is kept as it is.
QFont FuenteQueCabe(const QFont& base, int alto, const std::vector<Hueco>& huecos);

}  // namespace zelk::ui
