#include "ui/main/formulario_ventana.h"

#include "ui/comun/texto_qt.h"

namespace zelk::ui {

std::string FormularioVentana::Texto(Campo campo) const {
  return U8(campos_[Indice(campo)]->text());
}

void FormularioVentana::PonerTexto(Campo campo, std::string_view texto) {
  campos_[Indice(campo)]->Escribir(Q(texto));
}

void FormularioVentana::MostrarMensaje(std::string_view texto) {
  avisador_.Avisar(Q(texto));
}

}  // namespace zelk::ui
