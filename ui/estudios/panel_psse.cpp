#include "ui/estudios/panel_psse.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "lote/control_lote.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

namespace {

// The columns of zelk-calc --psse: the line, the mode, the chosen values, the 13 results, the
// warnings.
constexpr int kColumnaModo = 1;
constexpr int kPrimerElegido = 2;
constexpr int kPrimerResultado = kPrimerElegido + static_cast<int>(kElegidos.size());
constexpr int kColumnaAvisos = kPrimerResultado + static_cast<int>(kNumResultados);

// Enter on the table brings the line, as a double click does.
class TablaConEnter final : public QTableView {
 public:
  using QTableView::QTableView;
  std::function<void()> alPulsarEnter;

 protected:
  void keyPressEvent(QKeyEvent* evento) override {
    if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) && alPulsarEnter) {
      alPulsarEnter();
      return;
    }
    QTableView::keyPressEvent(evento);
  }
};

}  // namespace

ModeloPsse::ModeloPsse(ConfiguracionRegional regional, QObject* padre)
    : QAbstractTableModel(padre), regional_(std::move(regional)) {}

void ModeloPsse::Poner(lotes::CasoResuelto caso) {
  beginResetModel();
  caso_ = std::move(caso);
  endResetModel();
}

int ModeloPsse::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(caso_.lineas.size());
}

int ModeloPsse::columnCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : kColumnaAvisos + 1;
}

QVariant ModeloPsse::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid())
    return {};
  const auto& l = caso_.lineas[static_cast<std::size_t>(indice.row())];
  const int c = indice.column();
  if (rol == Qt::TextAlignmentRole)
    return static_cast<int>(
        (c == 0 || c == kColumnaModo || c == kColumnaAvisos ? Qt::AlignLeft : Qt::AlignRight) |
        Qt::AlignVCenter);
  if (rol == Qt::ToolTipRole && (c == kColumnaAvisos || c == 0))
    return l.solucion ? Q(l.avisos.empty() ? std::string() : l.avisos.front())
                      : Q(lotes::TextoNoResuelta(l));
  if (rol != Qt::DisplayRole)
    return {};
  if (c == 0)
    return Q(l.nombre);
  if (c == kColumnaAvisos) {
    QStringList avisos;
    for (const auto& a : l.avisos)
      avisos << Q(a);
    return avisos.join(Q(lotes::kSeparadorAvisos));
  }
  if (!l.solucion)
    return {};
  const SolucionControl& s = *l.solucion;
  if (c == kColumnaModo)
    return Q(TextoModo(s.modo));
  if (c < kPrimerResultado)
    return Q(
        TextoElegido(kElegidos[static_cast<std::size_t>(c - kPrimerElegido)], s.datos, regional_));
  const auto& d = kResultados[static_cast<std::size_t>(c - kPrimerResultado)];
  return Q(TextoResultado(s.resultados.*d.miembro, d, regional_));
}

QVariant ModeloPsse::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (rol != Qt::DisplayRole)
    return {};
  if (orientacion == Qt::Vertical)
    return seccion + 1;
  if (seccion == 0)
    return Q(lotes::kColumnaLinea);
  if (seccion == kColumnaModo)
    return Q(lotes::kColumnasControl[0]);
  if (seccion == kColumnaAvisos)
    return Q(lotes::kColumnaAvisos);
  if (seccion < kPrimerResultado)
    return Q(BuscarParametro(kElegidos[static_cast<std::size_t>(seccion - kPrimerElegido)].nombre)
                 ->titulo);
  if (seccion < kColumnaAvisos)
    return Q(kResultados[static_cast<std::size_t>(seccion - kPrimerResultado)].titulo);
  return {};
}

PanelPsse::PanelPsse(ConfiguracionRegional regional, QWidget* padre) : QWidget(padre) {
  auto* columna = new QVBoxLayout(this);
  modelo_ = new ModeloPsse(std::move(regional), this);
  auto* tabla = new TablaConEnter(this);
  tabla->alPulsarEnter = [this] { LlevarElegida(); };
  tabla_ = tabla;
  tabla_->setObjectName(QStringLiteral("tblPsse"));
  tabla_->setAccessibleName(Q(kNombreTablaPsse));
  tabla_->setModel(modelo_);
  tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
  tabla_->setAlternatingRowColors(true);
  tabla_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  columna->addWidget(tabla_, 1);
  auto* fila = new QHBoxLayout;
  llevar_ = new QPushButton(Q(kBotonLlevarAlCaso), this);
  llevar_->setObjectName(QStringLiteral("cmdLlevarAlCaso"));
  llevar_->setToolTip(Q(kAyudaLlevarAlCaso));
  llevar_->setEnabled(false);
  fila->addWidget(llevar_);
  fila->addStretch(1);
  columna->addLayout(fila);
  notas_ = new QLabel(Q(kSinCaso), this);
  notas_->setObjectName(QStringLiteral("lblNotasPsse"));
  notas_->setWordWrap(true);
  notas_->setTextFormat(Qt::PlainText);
  notas_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  columna->addWidget(notas_);
  connect(llevar_, &QPushButton::clicked, this, &PanelPsse::LlevarElegida);
  connect(tabla_, &QTableView::doubleClicked, this, &PanelPsse::LlevarElegida);
  connect(tabla_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { llevar_->setEnabled(Elegida() != nullptr); });
}

void PanelPsse::Poner(lotes::CasoResuelto caso) {
  QStringList notas;
  for (const auto& l : caso.lineas)
    if (!l.solucion)
      notas << Q(lotes::TextoNoResuelta(l));
  for (const auto& n : caso.notas)
    notas << Q(n);
  modelo_->Poner(std::move(caso));
  tabla_->resizeColumnsToContents();
  notas_->setText(notas.join(u'\n'));
  if (modelo_->rowCount() > 0)
    tabla_->selectRow(0);
  llevar_->setEnabled(Elegida() != nullptr);
}

const lotes::LineaResuelta* PanelPsse::Elegida() const {
  const QModelIndex actual = tabla_->currentIndex();
  if (!actual.isValid())
    return nullptr;
  const auto& l = modelo_->Caso().lineas[static_cast<std::size_t>(actual.row())];
  return l.solucion ? &l : nullptr;
}

void PanelPsse::LlevarElegida() {
  if (const auto* l = Elegida())
    emit lineaElegida(*l);
}

}  // namespace zelk::ui::estudios
