// The small abstract form the pass runs against: the window implements it, and so do the
// command-line front end and the tests.
#pragma once

#include <string>
#include <string_view>

#include "engine/enlace.h"

namespace zelk {

class Formulario {
 public:
  virtual ~Formulario() = default;
  virtual std::string Texto(Campo campo) const = 0;
  // Replaces the whole text of the field at once.
  virtual void PonerTexto(Campo campo, std::string_view texto) = 0;
  // A modal message: the text, an OK button only, no icon, the application's title; returns when
  // the user has closed it.
  virtual void MostrarMensaje(std::string_view texto) = 0;
};

}  // namespace zelk
