// Watches the opening of the graphical display. Where none can be opened Qt aborts with a
// message about reinstalling the application, which misleads: the program says instead, in
// Spanish, what is missing and how to run it, and ends with status 1.
#pragma once

#include <QString>

// What is missing and what to do, on this platform; a line each.
QString TextoSinPantalla();

class VigiaDePantalla {
 public:
  // From before the QApplication is made until the object goes out of scope.
  VigiaDePantalla();
  ~VigiaDePantalla();
  VigiaDePantalla(const VigiaDePantalla&) = delete;
  VigiaDePantalla& operator=(const VigiaDePantalla&) = delete;
};
