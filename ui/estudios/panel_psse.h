// A PSS/E case opened in the study: the table of its two-terminal DC lines with the point each
// settles at, its mode and its warnings (a line whose data were refused, with why), the lines
// left aside listed with why, and the chosen line brought into the case.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include "lote/psse_calc.h"

class QLabel;
class QPushButton;
class QTableView;

namespace zelk::ui::estudios {

class ModeloPsse final : public QAbstractTableModel {
 public:
  ModeloPsse(ConfiguracionRegional regional, QObject* padre = nullptr);
  void Poner(lotes::CasoResuelto caso);
  const lotes::CasoResuelto& Caso() const { return caso_; }

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion,
                      int rol = Qt::DisplayRole) const override;

 private:
  ConfiguracionRegional regional_;
  lotes::CasoResuelto caso_;
};

class PanelPsse final : public QWidget {
  Q_OBJECT

 public:
  explicit PanelPsse(ConfiguracionRegional regional, QWidget* padre = nullptr);

  void Poner(lotes::CasoResuelto caso);
  QTableView* Tabla() const { return tabla_; }
  QLabel* Notas() const { return notas_; }
  QPushButton* Llevar() const { return llevar_; }
  ModeloPsse* Modelo() const { return modelo_; }
  // The line chosen in the table; null when none, or when its data were refused.
  const lotes::LineaResuelta* Elegida() const;

 signals:
  // "Llevar al caso", a double click or Enter on a solved line.
  void lineaElegida(const lotes::LineaResuelta& linea);

 private:
  void LlevarElegida();

  ModeloPsse* modelo_;
  QTableView* tabla_;
  QLabel* notas_;
  QPushButton* llevar_;
};

}  // namespace zelk::ui::estudios
