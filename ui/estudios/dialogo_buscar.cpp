#include "ui/estudios/dialogo_buscar.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "lote/control_lote.h"
#include "lote/lectura.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/campo_con_motivo.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

namespace {

// The number a field holds as a file's numbers are read, or why not, beside it.
void Comprobar(CampoConMotivo* campo, const ConfiguracionRegional& r, bool vacioVale) {
  const std::string texto = U8(campo->text());
  campo->PonerMotivo((vacioVale && texto.empty()) || NumeroDeHoja(texto, r)
                         ? QString()
                         : Q(lotes::NoEsNumero(texto, r, false)));
}

}  // namespace

DialogoBuscar::DialogoBuscar(ConfiguracionRegional regional, QWidget* padre)
    : QDialog(padre), regional_(std::move(regional)) {
  setObjectName(QStringLiteral("dlgBuscar"));
  setWindowTitle(Q(kTituloBuscar));
  auto* columna = new QVBoxLayout(this);
  auto* formulario = new QFormLayout;
  columna->addLayout(formulario);
  resultado_ = new QComboBox(this);
  resultado_->setObjectName(QStringLiteral("cboResultadoBuscado"));
  valor_ = new CampoConMotivo(this);
  valor_->setObjectName(QStringLiteral("txtValorBuscado"));
  dato_ = new QComboBox(this);
  dato_->setObjectName(QStringLiteral("cboDatoVariado"));
  desde_ = new CampoConMotivo(this);
  desde_->setObjectName(QStringLiteral("txtDesdeBuscado"));
  hasta_ = new CampoConMotivo(this);
  hasta_->setObjectName(QStringLiteral("txtHastaBuscado"));
  desde_->setPlaceholderText(Q(kMargenHabitual));
  hasta_->setPlaceholderText(Q(kMargenHabitual));
  for (auto [titulo, campo, motivo] : {std::tuple<std::string_view, QWidget*, QWidget*>{
                                           kTituloResultadoBuscado, resultado_, nullptr},
                                       {kTituloValorBuscado, valor_, valor_->Motivo()},
                                       {kTituloDatoVariado, dato_, nullptr},
                                       {kTituloDesde, desde_, desde_->Motivo()},
                                       {kTituloHasta, hasta_, hasta_->Motivo()}}) {
    auto* etiqueta = new QLabel(Q(titulo), this);
    etiqueta->setBuddy(campo);
    campo->setAccessibleName(Q(titulo).remove(u'&'));
    formulario->addRow(etiqueta, campo);
    if (motivo != nullptr)
      formulario->addRow(QString(), motivo);
  }
  buscar_ = new QPushButton(Q(kBotonBuscar), this);
  buscar_->setObjectName(QStringLiteral("cmdBuscar"));
  buscar_->setDefault(true);
  columna->addWidget(buscar_, 0, Qt::AlignRight);
  auto* tituloHallados = new QLabel(Q(kTituloHallados), this);
  hallados_ = new QListWidget(this);
  hallados_->setObjectName(QStringLiteral("lstHallados"));
  hallados_->setAccessibleName(Q(kTituloHallados).remove(u'&'));
  tituloHallados->setBuddy(hallados_);
  columna->addWidget(tituloHallados);
  columna->addWidget(hallados_, 1);
  notas_ = new QLabel(this);
  notas_->setObjectName(QStringLiteral("lblNotasBuscar"));
  notas_->setWordWrap(true);
  notas_->setTextFormat(Qt::PlainText);
  notas_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  columna->addWidget(notas_);
  auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, this);
  llevar_ = botones->addButton(Q(kBotonLlevarAlCaso), QDialogButtonBox::ActionRole);
  llevar_->setObjectName(QStringLiteral("cmdLlevarHallado"));
  llevar_->setEnabled(false);
  columna->addWidget(botones);

  connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buscar_, &QPushButton::clicked, this, &DialogoBuscar::buscarPedido);
  connect(llevar_, &QPushButton::clicked, this, &DialogoBuscar::Llevar);
  connect(hallados_, &QListWidget::itemActivated, this, &DialogoBuscar::Llevar);
  connect(hallados_, &QListWidget::currentRowChanged, this,
          [this](int fila) { llevar_->setEnabled(fila >= 0); });
  const auto tocado = [this] {
    if (poniendo_)
      return;
    Comprobar(valor_, regional_, false);
    Comprobar(desde_, regional_, true);
    Comprobar(hasta_, regional_, true);
    emit cambiado();
  };
  for (auto* campo : {valor_, desde_, hasta_})
    connect(campo, &QLineEdit::textEdited, this, tocado);
  for (auto* combo : {resultado_, dato_})
    connect(combo, &QComboBox::activated, this, tocado);
}

void DialogoBuscar::Llenar(bool conControl) {
  conControl_ = conControl;
  const QString resultado = resultado_->currentData().toString();
  const QString dato = dato_->currentData().toString();
  resultado_->clear();
  for (const auto& d : kResultados)
    resultado_->addItem(Q(d.titulo), Q(d.nombre));
  dato_->clear();
  for (const auto& p : kParametros)
    if (!conControl || !lotes::DatoFijadoPorElControl(p))
      dato_->addItem(Q(p.titulo), Q(p.nombre));
  if (conControl) {
    // Under control data the values the controls choose can be asked for, and their data varied.
    for (const auto& e : kElegidos)
      resultado_->addItem(
          Q(BuscarParametro(e.nombre)->titulo) + QStringLiteral(" (") + Q(kElegido) + u')',
          Q(e.nombre));
    for (const auto& d : kControl)
      if (d.miembro != nullptr)
        dato_->addItem(Q(d.titulo), Q(d.nombre));
  }
  resultado_->setCurrentIndex(std::max(0, resultado_->findData(resultado)));
  dato_->setCurrentIndex(std::max(0, dato_->findData(dato)));
}

void DialogoBuscar::Poner(const lotes::Estudio& e) {
  poniendo_ = true;
  Llenar(e.control);
  resultado_->setCurrentIndex(std::max(0, resultado_->findData(Q(e.busqueda.resultado))));
  dato_->setCurrentIndex(std::max(0, dato_->findData(Q(e.busqueda.dato))));
  valor_->setText(Q(e.busqueda.objetivo));
  desde_->setText(Q(e.busqueda.desde));
  hasta_->setText(Q(e.busqueda.hasta));
  Comprobar(valor_, regional_, false);
  Comprobar(desde_, regional_, true);
  Comprobar(hasta_, regional_, true);
  poniendo_ = false;
}

void DialogoBuscar::Leer(lotes::Estudio& e) const {
  e.busqueda.resultado = U8(resultado_->currentData().toString());
  e.busqueda.objetivo = U8(valor_->text());
  e.busqueda.dato = U8(dato_->currentData().toString());
  e.busqueda.desde = U8(desde_->text());
  e.busqueda.hasta = U8(hasta_->text());
}

void DialogoBuscar::Buscar(const lotes::Estudio& e) {
  hallados_->clear();
  hecha_.reset();
  auto hecha = lotes::BuscarEnEstudio(e, regional_);
  if (const auto* motivo = std::get_if<std::string>(&hecha)) {
    notas_->setText(Q(*motivo));
    llevar_->setEnabled(false);
    return;
  }
  hecha_ = std::move(std::get<lotes::BusquedaHecha>(hecha));
  const std::string dato(hecha_->peticion.variable.Nombre());
  for (const auto& raiz : hecha_->hallado.busqueda.raices)
    hallados_->addItem(Q(dato) + QStringLiteral(" = ") + Q(NumeroATexto(raiz.x, regional_)));
  QStringList notas;
  for (const auto& n : hecha_->notas)
    notas << Q(n);
  notas_->setText(notas.join(u'\n'));
  if (hallados_->count() > 0)
    hallados_->setCurrentRow(0);
  llevar_->setEnabled(hallados_->count() > 0);
}

void DialogoBuscar::Llevar() {
  const int fila = hallados_->currentRow();
  if (!hecha_ || fila < 0 ||
      static_cast<std::size_t>(fila) >= hecha_->hallado.busqueda.raices.size())
    return;
  emit valorElegido(hecha_->peticion.variable,
                    hecha_->hallado.busqueda.raices[static_cast<std::size_t>(fila)].x);
}

}  // namespace zelk::ui::estudios
