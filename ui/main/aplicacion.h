// What the program sets on its application object, and its start: the main window loaded and
// shown under the user's regional settings.
#pragma once

#include <memory>

#include "ui/comun/avisador.h"
#include "ui/main/ventanas.h"

namespace zelk::ui {

// The name and the desktop entry it belongs to, Qt's texts in Spanish and every window's icon. Each
// window fits the font the desktop gives it to its own rows and captions.
void PrepararAplicacion();

// PrepararAplicacion, then the main window made (which calculates it) and shown. Needs a
// QApplication; `avisador` must outlive the windows.
std::unique_ptr<Ventanas> IniciarPrograma(Avisador& avisador);

}  // namespace zelk::ui
