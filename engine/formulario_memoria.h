// A form held in memory: the fields as strings and the messages as a list. Used where there is no
// window (the command line, batch work, tests, benchmarks).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/formulario.h"

namespace zelk {

class FormularioMemoria : public Formulario {
 public:
  FormularioMemoria() { textos_.fill(std::string(kTextoDiseno)); }

  std::string Texto(Campo campo) const override { return textos_[Indice(campo)]; }
  void PonerTexto(Campo campo, std::string_view texto) override {
    textos_[Indice(campo)].assign(texto);
  }
  void MostrarMensaje(std::string_view texto) override { mensajes_.emplace_back(texto); }

  const std::string& Ver(Campo campo) const { return textos_[Indice(campo)]; }
  const std::vector<std::string>& Mensajes() const { return mensajes_; }
  void OlvidarMensajes() { mensajes_.clear(); }

 private:
  std::array<std::string, kNumCampos> textos_;
  std::vector<std::string> mensajes_;
};

}  // namespace zelk
