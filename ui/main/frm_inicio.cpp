#include "ui/main/frm_inicio.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>

#include "engine/formulario_memoria.h"
#include "ui/comun/boton_ajustado.h"
#include "ui/comun/dibujos.h"
#include "ui/comun/fuente.h"
#include "ui/comun/texto_qt.h"
#include "ui/main/disposicion.h"

namespace zelk::ui {

namespace {

// A text field of 19 pixels keeps 14 for its line inside the frame; a label of 17 has more.
constexpr int kAltoLinea = 14;

// What the font must fit besides the rows' height: the inputs' captions, tight between the frame's
// edge and their fields; the results shown at start-up, in the room their fields leave for text,
// so that the numbers read first show whole; and each word of a button's caption, which may wrap.
// The results' captions stand on the window and take the room their text needs (AjustarFuente):
// fitting the font to their narrow boxes would make every text of the window too small to read.
std::vector<Hueco> HuecosDeLaVentana(const ConfiguracionRegional& regional) {
  std::vector<Hueco> huecos;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    huecos.push_back({Q(kParametros[i].titulo), Px(kFilasEntrada[i].anchoEtiqueta)});
  FormularioMemoria inicio;
  Calculadora(inicio, regional).Inicio();
  for (std::size_t i = 0; i < kNumResultados; ++i)
    huecos.push_back({Q(inicio.Ver(kResultados[i].campo)),
                      Px(kPosicionesResultado[i].anchoCampo) - kMargenesCampo});
  for (const auto& b : kBotones)
    for (const auto& palabra : Q(b.titulo).split(' '))
      huecos.push_back({palabra, Px(kAnchoBoton) - 2 * BotonAjustado::kMargen});
  return huecos;
}

// Labels on the window are opaque, so that the schematic never shows through them; inside a frame
// a label takes the frame's own fill. Their tool tip is the only one of the window.
QLabel* NuevaEtiqueta(QWidget* padre, std::string_view nombre, std::string_view titulo,
                      std::string_view ayuda, const QRect& lugar, bool opaca) {
  auto* etiqueta = new QLabel(Q(titulo), padre);
  etiqueta->setObjectName(Q(nombre));
  etiqueta->setAutoFillBackground(opaca);
  etiqueta->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  etiqueta->setTextFormat(Qt::PlainText);
  if (!ayuda.empty())
    etiqueta->setToolTip(Q(ayuda));
  etiqueta->setGeometry(lugar);
  return etiqueta;
}

CajaTexto* NuevoCampo(QWidget* padre, std::string_view nombre, QLabel* etiqueta,
                      const QRect& lugar) {
  auto* campo = new CajaTexto(padre);
  campo->Escribir(Q(kTextoDiseno));
  campo->setObjectName(Q(nombre));
  campo->setAccessibleName(etiqueta->text());
  campo->setAccessibleDescription(etiqueta->toolTip());
  etiqueta->setBuddy(campo);
  campo->setGeometry(lugar);
  return campo;
}

}  // namespace

FrmInicio::FrmInicio(ConfiguracionRegional regional, Avisador& avisador, QWidget* padre)
    : QMainWindow(padre),
      formulario_(campos_, avisador),
      calculadora_(formulario_, std::move(regional)) {
  setObjectName(Q(kNombreVentana));
  setWindowTitle(Q(kTituloVentana));
  setWindowIcon(IconoAplicacion());
  // Closing unloads the window: nothing of it stays behind.
  setAttribute(Qt::WA_DeleteOnClose);

  auto* cliente = new QWidget(this);
  cliente->setObjectName(QStringLiteral("cliente"));
  setCentralWidget(cliente);

  // Created bottom to top: the picture, then labels, then fields and buttons.
  auto* esquema = new QLabel(cliente);
  esquema->setObjectName(Q(kNombreEsquema));
  esquema->setPixmap(DibujoEsquema(devicePixelRatioF()));
  esquema->setAccessibleName(Q(kNombreAccesibleEsquema));
  esquema->setAccessibleDescription(Q(kDescripcionEsquema));
  esquema->setGeometry(Pixeles(kEsquema.izquierda, kEsquema.arriba, kEsquema.ancho, kEsquema.alto));
  ConstruirMarcos(cliente);
  ConstruirResultados(cliente);

  auto* calcular = ConstruirBoton(cliente, 0);
  auto* valores = ConstruirBoton(cliente, 1);
  auto* salir = ConstruirBoton(cliente, 2);
  connect(calcular, &QPushButton::clicked, this, &FrmInicio::Calcular);
  connect(valores, &QPushButton::clicked, this, &FrmInicio::ValoresDefault);
  connect(salir, &QPushButton::clicked, this, &FrmInicio::Salir);

  ConstruirMenu();
  OrdenarFoco();
  AjustarFuente();
  resize(Px(kAnchoCliente), Px(kAltoCliente) + menuBar()->sizeHint().height());

  calculadora_.Inicio();
}

void FrmInicio::ConstruirMarcos(QWidget* cliente) {
  std::array<QGroupBox*, 3> marcos{};
  for (std::size_t m = 0; m < kMarcos.size(); ++m) {
    marcos[m] = new QGroupBox(Q(kMarcos[m].titulo), cliente);
    marcos[m]->setObjectName(Q(kMarcos[m].nombre));
    marcos[m]->setGeometry(Pixeles(kIzquierdaMarco[m], kArribaMarco, kAnchoMarco, kAltoMarco));
  }
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    const auto& fila = kFilasEntrada[i];
    auto* marco = marcos[static_cast<std::size_t>(p.marco)];
    const int arriba = kArribaFila + kPasoFila * fila.fila;
    auto* etiqueta = NuevaEtiqueta(
        marco, p.etiqueta, p.titulo, p.ayuda,
        Pixeles(kIzquierdaEtiqueta, arriba, fila.anchoEtiqueta, kAltoEtiqueta), false);
    campos_[Indice(p.campo)] = NuevoCampo(
        marco, p.control, etiqueta, Pixeles(kIzquierdaCampo, arriba, kAnchoCampo, kAltoCampo));
  }
}

void FrmInicio::ConstruirResultados(QWidget* cliente) {
  for (std::size_t i = 0; i < kNumResultados; ++i) {
    const auto& r = kResultados[i];
    const auto& l = kPosicionesResultado[i];
    etiquetasResultado_[i] = NuevaEtiqueta(
        cliente, r.etiqueta, r.titulo, r.ayuda,
        Pixeles(l.izquierdaEtiqueta, l.arribaEtiqueta, l.anchoEtiqueta, kAltoEtiqueta), true);
  }
  for (std::size_t i = 0; i < kNumResultados; ++i) {
    const auto& r = kResultados[i];
    const auto& l = kPosicionesResultado[i];
    campos_[Indice(r.campo)] =
        NuevoCampo(cliente, r.control, etiquetasResultado_[i],
                   Pixeles(l.izquierdaCampo, l.arribaCampo, l.anchoCampo, kAltoCampo));
  }
}

void FrmInicio::AjustarFuente() {
  setFont(
      FuenteQueCabe(QApplication::font(), kAltoLinea, HuecosDeLaVentana(calculadora_.Regional())));
  // A result's caption wider than its box takes the room it needs to the right, over the picture
  // or the empty window, rather than losing its end ("mu r [º" under most fonts).
  for (std::size_t i = 0; i < kNumResultados; ++i) {
    const auto& l = kPosicionesResultado[i];
    QRect lugar = Pixeles(l.izquierdaEtiqueta, l.arribaEtiqueta, l.anchoEtiqueta, kAltoEtiqueta);
    auto* etiqueta = etiquetasResultado_[i];
    lugar.setWidth(
        std::max(lugar.width(), etiqueta->fontMetrics().horizontalAdvance(etiqueta->text())));
    etiqueta->setGeometry(lugar);
  }
}

bool FrmInicio::event(QEvent* evento) {
  // The desktop's font may come, or change, after the window is made (a platform theme sets it
  // once the event loop runs): the window fits it again.
  if (evento->type() == QEvent::ApplicationFontChange)
    AjustarFuente();
  return QMainWindow::event(evento);
}

QPushButton* FrmInicio::ConstruirBoton(QWidget* cliente, std::size_t i) {
  const auto& b = kBotones[i];
  auto* boton = new BotonAjustado(Q(b.titulo), cliente);
  boton->setObjectName(Q(b.nombre));
  // Enter and Esc press no button.
  boton->setAutoDefault(false);
  boton->setDefault(false);
  boton->setGeometry(Pixeles(b.izquierda, kArribaBoton, kAnchoBoton, kAltoBoton));
  return boton;
}

void FrmInicio::ConstruirMenu() {
  QMenu* archivo = menuBar()->addMenu(Q(kMenuArchivo.titulo));
  archivo->setObjectName(Q(kMenuArchivo.nombre));
  archivo->menuAction()->setObjectName(Q(kMenuArchivo.nombre));
  QAction* salir = archivo->addAction(Q(kMenuSalir.titulo));
  salir->setObjectName(Q(kMenuSalir.nombre));
  QAction* acerca = archivo->addAction(Q(kMenuAcercaDe.titulo));
  acerca->setObjectName(Q(kMenuAcercaDe.nombre));
  // The menu's "Salir" is the button's own action.
  connect(salir, &QAction::triggered, this,
          [this] { findChild<QPushButton*>(Q(kBotones[2].nombre))->click(); });
  connect(acerca, &QAction::triggered, this, &FrmInicio::acercaDePedido);
}

void FrmInicio::OrdenarFoco() {
  QWidget* anterior = nullptr;
  for (auto nombre : kOrdenFoco) {
    auto* control = findChild<QWidget*>(Q(nombre));
    control->setFocusPolicy(Qt::StrongFocus);
    if (anterior != nullptr)
      setTabOrder(anterior, control);
    anterior = control;
  }
  // setTabOrder leaves the chain closed: from the last control back to the first.
  findChild<QWidget*>(Q(kOrdenFoco.front()))->setFocus(Qt::OtherFocusReason);
}

void FrmInicio::showEvent(QShowEvent* evento) {
  QMainWindow::showEvent(evento);
  if (medida_)
    return;
  medida_ = true;
  const QSize falta = QSize(Px(kAnchoCliente), Px(kAltoCliente)) - centralWidget()->size();
  if (!falta.isNull())
    resize(size() + falta);
}

void FrmInicio::Calcular() {
  calculadora_.Calcular();
}

void FrmInicio::ValoresDefault() {
  calculadora_.ValoresDefault();
}

void FrmInicio::Salir() {
  close();
}

}  // namespace zelk::ui
