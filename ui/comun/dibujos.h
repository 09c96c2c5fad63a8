// The application's icon and the schematic picture of the main window, both drawn in the SVG
// files of recursos/ and rendered into images during the build.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace zelk::ui {

// The monitor icon at 16 and 32 pixels (and larger on request, from the same drawing).
QIcon IconoAplicacion();

// The link's schematic at its own size, for a device pixel ratio of `escala`.
QPixmap DibujoEsquema(qreal escala = 1.0);

}  // namespace zelk::ui
