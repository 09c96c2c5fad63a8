// The abstract form of the pass over the 31 text fields of the main window.
#pragma once

#include <array>

#include "engine/formulario.h"
#include "ui/comun/avisador.h"
#include "ui/main/caja_texto.h"

namespace zelk::ui {

class FormularioVentana final : public Formulario {
 public:
  using Campos = std::array<CajaTexto*, kNumCampos>;

  FormularioVentana(const Campos& campos, Avisador& avisador)
      : campos_(campos), avisador_(avisador) {}

  std::string Texto(Campo campo) const override;
  void PonerTexto(Campo campo, std::string_view texto) override;
  void MostrarMensaje(std::string_view texto) override;

 private:
  const Campos& campos_;
  Avisador& avisador_;
};

}  // namespace zelk::ui
