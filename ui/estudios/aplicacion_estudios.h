// What zelk Estudios sets on its application object, and its start: the window shown under the
// user's regional settings, with the file it was given opened.
#pragma once

#include <QIcon>
#include <QStringList>
#include <memory>
#include <optional>

namespace zelk::ui::estudios {

class Dialogos;
class VentanaEstudios;

// The program's icon, zelk's monitor showing a study, at 16, 32 and 64 pixels.
QIcon IconoEstudios();

// --version and --help, answered before any window: the exit status, or empty to go on.
std::optional<int> OpcionesSinVentana(int argc, char** argv);

// Its names (the one its settings are kept under and the one shown), the desktop entry it belongs
// to, Qt's texts in Spanish and every window's icon. Needs the application object.
void PrepararEstudios();

// PrepararEstudios, then the window made and shown; the first of `archivos` (a study or a PSS/E
// case) opened in it. `dialogos` must outlive the window.
std::unique_ptr<VentanaEstudios> IniciarEstudios(Dialogos& dialogos, const QStringList& archivos);

}  // namespace zelk::ui::estudios
