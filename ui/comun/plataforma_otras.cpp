// Linux desktops: Qt's own choice of platform and font engine (fontconfig and FreeType).
#include "ui/comun/plataforma.h"

namespace zelk::ui {

void PrepararPlataforma() {}

}  // namespace zelk::ui
