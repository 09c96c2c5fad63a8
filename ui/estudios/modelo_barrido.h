// The points of a sweep as a table: every point kept, each cell written when it is shown, in the
// columns of zelk-calc's table (the swept data, the control's choice, the 13 results, the
// warnings and the state).
#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "lote/barrido_memoria.h"

namespace zelk::ui::estudios {

class ModeloBarrido final : public QAbstractTableModel {
 public:
  ModeloBarrido(ConfiguracionRegional regional, QObject* padre = nullptr);

  void Poner(std::shared_ptr<const lotes::BarridoEnMemoria> barrido);
  const std::shared_ptr<const lotes::BarridoEnMemoria>& Barrido() const { return barrido_; }

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion,
                      int rol = Qt::DisplayRole) const override;

 private:
  enum class Tipo { Eje, Modo, Elegido, Resultado, Avisos, Estado };
  struct Columna {
    Tipo tipo;
    std::size_t i;
  };
  QString Texto(std::size_t punto, const Columna& c) const;

  ConfiguracionRegional regional_;
  std::shared_ptr<const lotes::BarridoEnMemoria> barrido_;
  std::vector<Columna> columnas_;
};

}  // namespace zelk::ui::estudios
