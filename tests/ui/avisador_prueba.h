// Takes the messages of the windows instead of a message box.
#pragma once

#include <QStringList>

#include "ui/comun/avisador.h"

namespace zelk::prueba {

class AvisadorPrueba final : public ui::Avisador {
 public:
  void Avisar(const QString& texto) override { mensajes.append(texto); }
  QStringList mensajes;
};

}  // namespace zelk::prueba
