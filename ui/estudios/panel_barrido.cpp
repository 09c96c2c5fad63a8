#include "ui/estudios/panel_barrido.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "lote/caso_estudio.h"
#include "lote/lectura.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/campo_con_motivo.h"
#include "ui/estudios/grafico_barrido.h"
#include "ui/estudios/modelo_barrido.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

namespace {

// The group's caption without its mnemonic, as messages name it.
QString SinMnemonico(std::string_view titulo) {
  return Q(titulo).remove(u'&');
}

// An axis of the study as a sweep; why not, naming it.
std::variant<lotes::Barrido, std::string> Eje(const lotes::EjeEstudio& eje, bool control,
                                              const ConfiguracionRegional& r) {
  lotes::Barrido b;
  b.parametro = BuscarParametro(eje.dato);
  if (b.parametro == nullptr)
    b.control = BuscarControl(eje.dato);
  if (b.parametro == nullptr && (b.control == nullptr || b.control->miembro == nullptr))
    return "no hay ningún dato «" + eje.dato + "» que barrer";
  if (b.control != nullptr && !control)
    return "«" + eje.dato + "» es un dato de control: active el grupo «" +
           U8(SinMnemonico(kGrupoControl)) + "»";
  const auto desde = NumeroDeHoja(eje.desde, r);
  if (!desde)
    return "«" + eje.dato + "» desde " + lotes::NoEsNumero(eje.desde, r, false);
  const auto hasta = NumeroDeHoja(eje.hasta, r);
  if (!hasta)
    return "«" + eje.dato + "» hasta " + lotes::NoEsNumero(eje.hasta, r, false);
  b.desde = *desde;
  b.hasta = *hasta;
  b.puntos = eje.puntos;
  return b;
}

QComboBox* ComboDeDatos(QWidget* padre) {
  auto* combo = new QComboBox(padre);
  for (const auto& p : kParametros)
    combo->addItem(Q(p.titulo), Q(p.nombre));
  for (const auto& d : kControl)
    if (d.miembro != nullptr)
      combo->addItem(Q(d.titulo), Q(d.nombre));
  return combo;
}

}  // namespace

std::variant<DefinicionBarrido, std::string> DefinirBarrido(const lotes::Estudio& e,
                                                            const ConfiguracionRegional& r) {
  DefinicionBarrido d;
  for (const auto* eje : {&e.barrido, &e.familia}) {
    if (eje == &e.familia && !e.conFamilia)
      break;
    auto b = Eje(*eje, e.control, r);
    if (const auto* motivo = std::get_if<std::string>(&b))
      return *motivo;
    d.barridos.push_back(std::get<lotes::Barrido>(b));
  }
  d.base = lotes::BaseDeEstudio(e, r);
  if (auto motivo = lotes::ComprobarBarridoEnMemoria(d.barridos, d.base, r))
    return *motivo;
  return d;
}

PanelBarrido::PanelBarrido(ConfiguracionRegional regional, QWidget* padre)
    : QWidget(padre), regional_(std::move(regional)), reloj_(std::make_unique<QElapsedTimer>()) {
  estudio_ = lotes::EstudioDeInicio(regional_);
  // The settings in a column of their own beside the plot and the table, so that the window
  // keeps a small least size at any scale.
  auto* principal = new QHBoxLayout(this);
  principal->setContentsMargins(0, 0, 0, 0);
  lados_ = new QSplitter(Qt::Horizontal, this);
  lados_->setObjectName(QStringLiteral("divAjustesBarrido"));
  principal->addWidget(lados_);
  auto* desplazable = new QScrollArea(lados_);
  desplazable->setWidgetResizable(true);
  auto* hoja = new QWidget;
  desplazable->setWidget(hoja);
  auto* columna = new QVBoxLayout(hoja);
  auto* ajustes = new QGridLayout;
  ajustes->setVerticalSpacing(2);
  columna->addLayout(ajustes);
  for (std::size_t s = 0; s < 2; ++s) {
    QWidget* titulo = nullptr;
    if (s == 0) {
      titulo = new QLabel(Q(kTituloBarrer), hoja);
    } else {
      familia_ = new QCheckBox(Q(kTituloFamilia), hoja);
      familia_->setObjectName(QStringLiteral("chkFamilia"));
      titulo = familia_;
    }
    datos_[s] = ComboDeDatos(hoja);
    datos_[s]->setObjectName(s == 0 ? QStringLiteral("cboBarrido") : QStringLiteral("cboFamilia"));
    datos_[s]->setAccessibleName(s == 0 ? SinMnemonico(kTituloBarrer)
                                        : SinMnemonico(kTituloFamilia));
    if (auto* etiqueta = qobject_cast<QLabel*>(titulo))
      etiqueta->setBuddy(datos_[s]);
    desde_[s] = new CampoConMotivo(hoja);
    hasta_[s] = new CampoConMotivo(hoja);
    puntos_[s] = new QSpinBox(hoja);
    puntos_[s]->setRange(
        1, static_cast<int>(s == 0 ? lotes::kPuntosEnMemoria : lotes::kCurvasPorFamilia));
    const QString sufijo =
        s == 0 ? QString() : QStringLiteral(" (") + SinMnemonico(kTituloFamilia) + u')';
    desde_[s]->setObjectName(s == 0 ? QStringLiteral("txtDesde")
                                    : QStringLiteral("txtDesdeFamilia"));
    hasta_[s]->setObjectName(s == 0 ? QStringLiteral("txtHasta")
                                    : QStringLiteral("txtHastaFamilia"));
    puntos_[s]->setObjectName(s == 0 ? QStringLiteral("spnPuntos")
                                     : QStringLiteral("spnPuntosFamilia"));
    desde_[s]->setAccessibleName(Q(kTituloDesde) + sufijo);
    hasta_[s]->setAccessibleName(Q(kTituloHasta) + sufijo);
    puntos_[s]->setAccessibleName(Q(kTituloPuntos) + sufijo);
    int fila = ajustes->rowCount();
    if (s > 0)
      ajustes->setRowMinimumHeight(fila++, 8);
    ajustes->addWidget(titulo, fila++, 0, 1, 2);
    ajustes->addWidget(datos_[s], fila++, 0, 1, 2);
    for (auto [texto, campo, motivo] : {std::tuple<std::string_view, QWidget*, QWidget*>{
                                            kTituloDesde, desde_[s], desde_[s]->Motivo()},
                                        {kTituloHasta, hasta_[s], hasta_[s]->Motivo()},
                                        {kTituloPuntos, puntos_[s], nullptr}}) {
      auto* etiqueta = new QLabel(Q(texto), hoja);
      etiqueta->setBuddy(campo);
      ajustes->addWidget(etiqueta, fila, 0);
      ajustes->addWidget(campo, fila++, 1);
      if (motivo != nullptr)
        ajustes->addWidget(motivo, fila++, 0, 1, 2);
    }
    connect(datos_[s], &QComboBox::activated, this, &PanelBarrido::Tocado);
    connect(desde_[s], &QLineEdit::textEdited, this, &PanelBarrido::Tocado);
    connect(hasta_[s], &QLineEdit::textEdited, this, &PanelBarrido::Tocado);
    connect(puntos_[s], &QSpinBox::valueChanged, this, &PanelBarrido::Tocado);
  }
  connect(familia_, &QCheckBox::toggled, this, &PanelBarrido::Tocado);
  ajustes->setColumnStretch(1, 1);

  auto* grupoDibujar = new QGroupBox(Q(kTituloDibujar), hoja);
  auto* dibujar = new QGridLayout(grupoDibujar);
  dibujar->setVerticalSpacing(2);
  constexpr int kPorFila = 2;
  for (std::size_t n = 0; n < kNumResultados; ++n) {
    dibujados_[n] = new QCheckBox(Q(kResultados[n].titulo), grupoDibujar);
    dibujados_[n]->setObjectName(QStringLiteral("chk") + Q(kResultados[n].nombre));
    dibujados_[n]->setAccessibleDescription(SinMnemonico(kTituloDibujar));
    dibujar->addWidget(dibujados_[n], static_cast<int>(n) / kPorFila,
                       static_cast<int>(n) % kPorFila);
    // Another choice of curves is drawn from the points already computed.
    connect(dibujados_[n], &QCheckBox::toggled, this, [this] {
      if (poniendo_)
        return;
      lotes::Estudio e = estudio_;
      Leer(e);
      estudio_.dibujados = e.dibujados;
      std::vector<std::size_t> resultados;
      for (std::size_t i = 0; i < kNumResultados; ++i)
        if (dibujados_[i]->isChecked())
          resultados.push_back(i);
      grafico_->Mostrar(modelo_->Barrido(), resultados);
      emit cambiado();
    });
  }
  columna->addWidget(grupoDibujar);

  calcular_ = new QPushButton(Q(kBotonCalcular), hoja);
  calcular_->setObjectName(QStringLiteral("cmdCalcularBarrido"));
  estado_ = new QLabel(hoja);
  estado_->setObjectName(QStringLiteral("lblEstadoBarrido"));
  estado_->setWordWrap(true);
  estado_->setTextFormat(Qt::PlainText);
  estado_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  columna->addWidget(calcular_);
  columna->addWidget(estado_);
  columna->addStretch(1);
  connect(calcular_, &QPushButton::clicked, this, &PanelBarrido::Calcular);

  division_ = new QSplitter(Qt::Vertical, lados_);
  division_->setObjectName(QStringLiteral("divBarrido"));
  grafico_ = new GraficoBarrido(regional_, division_);
  modelo_ = new ModeloBarrido(regional_, this);
  tabla_ = new QTableView(division_);
  tabla_->setObjectName(QStringLiteral("tblBarrido"));
  tabla_->setAccessibleName(Q(kNombreTabla));
  tabla_->setModel(modelo_);
  tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tabla_->setAlternatingRowColors(true);
  tabla_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  tabla_->verticalHeader()->setDefaultSectionSize(tabla_->fontMetrics().height() + 6);
  division_->addWidget(grafico_);
  division_->addWidget(tabla_);
  division_->setStretchFactor(0, 3);
  division_->setStretchFactor(1, 2);
  lados_->addWidget(desplazable);
  lados_->addWidget(division_);
  // Either side may be made narrow, down to scrolling, never gone.
  lados_->setChildrenCollapsible(false);
  lados_->setStretchFactor(1, 1);

  espera_ = new QTimer(this);
  espera_->setSingleShot(true);
  espera_->setInterval(150);
  connect(espera_, &QTimer::timeout, this, &PanelBarrido::Calcular);
  Poner(estudio_);
}

PanelBarrido::~PanelBarrido() {
  Parar();
}

void PanelBarrido::Parar() {
  // The computation looks at the flag between blocks of points: it ends within one.
  parar_ = true;
  if (hilo_.joinable())
    hilo_.join();
  parar_ = false;
}

void PanelBarrido::Poner(const lotes::Estudio& e) {
  poniendo_ = true;
  estudio_ = e;
  const std::array<const lotes::EjeEstudio*, 2> ejes{&e.barrido, &e.familia};
  for (std::size_t s = 0; s < 2; ++s) {
    const int i = datos_[s]->findData(Q(ejes[s]->dato));
    datos_[s]->setCurrentIndex(std::max(0, i));
    desde_[s]->setText(Q(ejes[s]->desde));
    hasta_[s]->setText(Q(ejes[s]->hasta));
    puntos_[s]->setValue(static_cast<int>(
        std::min<std::size_t>(ejes[s]->puntos, static_cast<std::size_t>(puntos_[s]->maximum()))));
  }
  familia_->setChecked(e.conFamilia);
  for (std::size_t n = 0; n < kNumResultados; ++n)
    dibujados_[n]->setChecked(std::find(e.dibujados.begin(), e.dibujados.end(),
                                        kResultados[n].nombre) != e.dibujados.end());
  poniendo_ = false;
  MostrarMotivos(e);
}

void PanelBarrido::Leer(lotes::Estudio& e) const {
  const std::array<lotes::EjeEstudio*, 2> ejes{&e.barrido, &e.familia};
  for (std::size_t s = 0; s < 2; ++s) {
    ejes[s]->dato = U8(datos_[s]->currentData().toString());
    ejes[s]->desde = U8(desde_[s]->text());
    ejes[s]->hasta = U8(hasta_[s]->text());
    ejes[s]->puntos = static_cast<std::size_t>(puntos_[s]->value());
  }
  e.conFamilia = familia_->isChecked();
  e.dibujados.clear();
  for (std::size_t n = 0; n < kNumResultados; ++n)
    if (dibujados_[n]->isChecked())
      e.dibujados.emplace_back(kResultados[n].nombre);
}

void PanelBarrido::MostrarMotivos(const lotes::Estudio& e) {
  const std::array<const lotes::EjeEstudio*, 2> ejes{&e.barrido, &e.familia};
  for (std::size_t s = 0; s < 2; ++s) {
    for (auto [campo, texto] :
         {std::pair{desde_[s], &ejes[s]->desde}, {hasta_[s], &ejes[s]->hasta}})
      campo->PonerMotivo(NumeroDeHoja(*texto, regional_)
                             ? QString()
                             : Q(lotes::NoEsNumero(*texto, regional_, false)));
  }
  for (QWidget* w : {static_cast<QWidget*>(datos_[1]), static_cast<QWidget*>(desde_[1]),
                     static_cast<QWidget*>(hasta_[1]), static_cast<QWidget*>(puntos_[1])})
    w->setEnabled(e.conFamilia);
}

void PanelBarrido::Tocado() {
  if (poniendo_)
    return;
  lotes::Estudio e = estudio_;
  Leer(e);
  estudio_ = e;
  MostrarMotivos(e);
  emit cambiado();
  espera_->start();
}

void PanelBarrido::Actualizar(const lotes::Estudio& e) {
  estudio_ = e;
  MostrarMotivos(e);
  espera_->start();
}

std::shared_ptr<const lotes::BarridoEnMemoria> PanelBarrido::Barrido() const {
  return modelo_->Barrido();
}

void PanelBarrido::Calcular() {
  espera_->stop();
  auto definicion = DefinirBarrido(estudio_, regional_);
  Parar();
  ++vez_;
  if (const auto* motivo = std::get_if<std::string>(&definicion)) {
    // No sweep while the settings make none: what was drawn goes, so that nothing stale is shown.
    calculando_ = false;
    modelo_->Poner(nullptr);
    grafico_->Mostrar(nullptr, {});
    estado_->setText(Q(*motivo));
    emit barridoMostrado();
    return;
  }
  const std::size_t hilos = static_cast<std::size_t>(std::max(1, QThread::idealThreadCount()));
  calculando_ = true;
  estado_->setText(Q(kCalculando));
  reloj_->start();
  // The result comes back through the event loop; a panel destroyed first joins the thread, and
  // the event addressed to it is dropped with it.
  hilo_ = std::thread([this, vez = vez_, d = std::get<DefinicionBarrido>(std::move(definicion)),
                       r = regional_, hilos] {
    auto resultado = std::make_shared<Resultado>(
        lotes::CalcularEnMemoria(d.barridos, d.base, r, hilos, &parar_));
    if (!parar_)
      QMetaObject::invokeMethod(
          this, [this, vez, resultado] { Terminado(vez, resultado); }, Qt::QueuedConnection);
  });
}

void PanelBarrido::Terminado(unsigned vez, std::shared_ptr<Resultado> r) {
  if (vez != vez_ || !calculando_)
    return;
  calculando_ = false;
  if (hilo_.joinable())
    hilo_.join();
  if (auto* motivo = std::get_if<std::string>(r.get())) {
    modelo_->Poner(nullptr);
    grafico_->Mostrar(nullptr, {});
    estado_->setText(Q(*motivo));
    emit barridoMostrado();
    return;
  }
  auto barrido = std::make_shared<const lotes::BarridoEnMemoria>(
      std::move(std::get<lotes::BarridoEnMemoria>(*r)));
  modelo_->Poner(barrido);
  std::vector<std::size_t> resultados;
  for (std::size_t n = 0; n < kNumResultados; ++n)
    if (dibujados_[n]->isChecked())
      resultados.push_back(n);
  grafico_->Mostrar(barrido, resultados);
  lotes::Rechazos rechazos("punto", "puntos", false);
  rechazos.Sumar(barrido->rechazados, barrido->primerRechazo);
  const double segundos = static_cast<double>(reloj_->elapsed()) / 1000;
  QString texto = QStringLiteral("%1 puntos en %2 s")
                      .arg(Q(NumeroATexto(static_cast<double>(barrido->puntos), regional_)),
                           Q(NumeroConPatron(segundos, Patron("0.000"), regional_)));
  if (rechazos.Alguno())
    texto += QStringLiteral("; ") + Q(rechazos.Texto(barrido->puntos));
  estado_->setText(texto);
  emit barridoMostrado();
}

}  // namespace zelk::ui::estudios
