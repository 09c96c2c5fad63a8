#include "ui/estudios/modelo_barrido.h"

#include <cmath>

#include "lote/control_lote.h"
#include "lote/tabla.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

ModeloBarrido::ModeloBarrido(ConfiguracionRegional regional, QObject* padre)
    : QAbstractTableModel(padre), regional_(std::move(regional)) {}

void ModeloBarrido::Poner(std::shared_ptr<const lotes::BarridoEnMemoria> barrido) {
  beginResetModel();
  barrido_ = std::move(barrido);
  columnas_.clear();
  if (barrido_) {
    for (std::size_t s = 0; s < barrido_->barridos.size(); ++s)
      columnas_.push_back({Tipo::Eje, s});
    if (barrido_->control) {
      columnas_.push_back({Tipo::Modo, 0});
      for (std::size_t e = 0; e < kElegidos.size(); ++e)
        columnas_.push_back({Tipo::Elegido, e});
    }
    for (std::size_t n = 0; n < kNumResultados; ++n)
      columnas_.push_back({Tipo::Resultado, n});
    if (barrido_->control)
      columnas_.push_back({Tipo::Avisos, 0});
    columnas_.push_back({Tipo::Estado, 0});
  }
  endResetModel();
}

int ModeloBarrido::rowCount(const QModelIndex& padre) const {
  return padre.isValid() || !barrido_ ? 0 : static_cast<int>(barrido_->puntos);
}

int ModeloBarrido::columnCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(columnas_.size());
}

QString ModeloBarrido::Texto(std::size_t punto, const Columna& c) const {
  const auto& b = *barrido_;
  const bool aceptado = b.aceptado[punto] != 0;
  switch (c.tipo) {
    case Tipo::Eje:
      return Q(NumeroATexto(b.Valor(punto, c.i), regional_));
    case Tipo::Estado:
      return Q(aceptado ? lotes::kEstadoBien : lotes::kEstadoRechazo);
    default:
      break;
  }
  if (!aceptado)
    return {};
  switch (c.tipo) {
    case Tipo::Modo:
      return Q(TextoModo(b.modos[punto]));
    case Tipo::Elegido: {
      DatosEnlace d;
      d.*kElegidos[c.i].miembro = b.ElegidoEn(punto, c.i);
      return Q(TextoElegido(kElegidos[c.i], d, regional_));
    }
    case Tipo::Resultado: {
      const double v = b.ResultadoEn(punto, c.i);
      return Q(
          TextoResultado(std::isnan(v) ? Resultado() : Resultado(v), kResultados[c.i], regional_));
    }
    case Tipo::Avisos: {
      QStringList avisos;
      for (std::size_t a = 0; a < kNumAvisos; ++a)
        if (Tiene(b.avisos[punto], static_cast<Aviso>(a)))
          avisos << Q(TextoAviso(static_cast<Aviso>(a)));
      return avisos.join(Q(lotes::kSeparadorAvisos));
    }
    default:
      return {};
  }
}

QVariant ModeloBarrido::data(const QModelIndex& indice, int rol) const {
  if (!barrido_ || !indice.isValid())
    return {};
  const auto punto = static_cast<std::size_t>(indice.row());
  const Columna& c = columnas_[static_cast<std::size_t>(indice.column())];
  if (rol == Qt::DisplayRole || (rol == Qt::ToolTipRole && c.tipo == Tipo::Avisos))
    return Texto(punto, c);
  if (rol == Qt::TextAlignmentRole) {
    const bool texto = c.tipo == Tipo::Modo || c.tipo == Tipo::Avisos || c.tipo == Tipo::Estado;
    return static_cast<int>((texto ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
  }
  return {};
}

QVariant ModeloBarrido::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion == Qt::Vertical)
    return rol == Qt::DisplayRole ? QVariant(seccion + 1) : QVariant();
  if (rol != Qt::DisplayRole || !barrido_ || seccion < 0 ||
      static_cast<std::size_t>(seccion) >= columnas_.size())
    return {};
  const Columna& c = columnas_[static_cast<std::size_t>(seccion)];
  switch (c.tipo) {
    case Tipo::Eje: {
      const auto& s = barrido_->barridos[c.i];
      return Q(s.parametro != nullptr ? s.parametro->titulo : s.control->titulo);
    }
    case Tipo::Modo:
      return Q(lotes::kColumnasControl[0]);
    case Tipo::Elegido:
      return Q(BuscarParametro(kElegidos[c.i].nombre)->titulo);
    case Tipo::Resultado:
      return Q(kResultados[c.i].titulo);
    case Tipo::Avisos:
      return Q(lotes::kColumnaAvisos);
    case Tipo::Estado:
      return Q(kColumnaEstado);
  }
  return {};
}

}  // namespace zelk::ui::estudios
