#include "ui/estudios/ventana_estudios.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <sstream>

#include "psse/raw.h"
#include "ui/comun/manual.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/aplicacion_estudios.h"
#include "ui/estudios/archivos_estudio.h"
#include "ui/estudios/campo_con_motivo.h"
#include "ui/estudios/dialogo_buscar.h"
#include "ui/estudios/dialogos.h"
#include "ui/estudios/grafico_barrido.h"
#include "ui/estudios/panel_barrido.h"
#include "ui/estudios/panel_caso.h"
#include "ui/estudios/panel_psse.h"
#include "ui/estudios/panel_resultados.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

namespace {

// The settings kept between runs.
constexpr auto kClaveGeometria = "ventana/geometria";
constexpr auto kClaveDivision = "ventana/division";
constexpr auto kClaveDivisionBarrido = "ventana/divisionBarrido";
constexpr auto kClaveLadosBarrido = "ventana/ladosBarrido";
constexpr auto kClaveRecientes = "recientes";

QAction* Nueva(QMenu* menu, const Accion& a, const QKeySequence& tecla = {}) {
  QAction* accion = menu->addAction(Q(a.titulo));
  accion->setObjectName(Q(a.nombre));
  if (!tecla.isEmpty())
    accion->setShortcut(tecla);
  return accion;
}

QMenu* Menu(QMenuBar* barra, const Accion& a) {
  QMenu* menu = barra->addMenu(Q(a.titulo));
  menu->setObjectName(Q(a.nombre));
  return menu;
}

QString Nombre(const QString& ruta) {
  return QFileInfo(ruta).fileName();
}

// A name without an extension gets the one its filter names ("*.csv").
QString ConExtension(QString ruta, const QString& filtro) {
  const auto abre = filtro.lastIndexOf(QStringLiteral("(*"));
  if (abre < 0 || !QFileInfo(ruta).suffix().isEmpty())
    return ruta;
  const QString extension = filtro.mid(abre + 2).section(u' ', 0, 0).remove(u')');
  return ruta + extension;
}

}  // namespace

VentanaEstudios::VentanaEstudios(ConfiguracionRegional regional, Dialogos& dialogos, QWidget* padre)
    : QMainWindow(padre), regional_(std::move(regional)), dialogos_(dialogos) {
  setObjectName(QStringLiteral("frmEstudios"));
  setWindowIcon(IconoEstudios());
  estudio_ = lotes::EstudioDeInicio(regional_);

  division_ = new QSplitter(Qt::Horizontal, this);
  division_->setObjectName(QStringLiteral("divPrincipal"));
  desplazable_ = new QScrollArea(division_);
  desplazable_->setWidgetResizable(true);
  caso_ = new PanelCaso;
  desplazable_->setWidget(caso_);
  pestanas_ = new QTabWidget(division_);
  pestanas_->setObjectName(QStringLiteral("tabEstudio"));
  auto* desplazableResultados = new QScrollArea;
  desplazableResultados->setWidgetResizable(true);
  resultados_ = new PanelResultados;
  desplazableResultados->setWidget(resultados_);
  pestanas_->addTab(desplazableResultados, Q(kPestanaResultados));
  barrido_ = new PanelBarrido(regional_);
  pestanas_->addTab(barrido_, Q(kPestanaBarrido));
  psse_ = new PanelPsse(regional_);
  pestanas_->addTab(psse_, Q(kPestanaPsse));
  division_->addWidget(desplazable_);
  division_->addWidget(pestanas_);
  // The case may be made narrow, down to scrolling, never gone: at a large scale the window still
  // fits the screen.
  division_->setChildrenCollapsible(false);
  division_->setStretchFactor(1, 1);
  setCentralWidget(division_);
  statusBar();

  ConstruirMenus();
  connect(caso_, &PanelCaso::cambiado, this, &VentanaEstudios::CasoCambiado);
  connect(barrido_, &PanelBarrido::cambiado, this, &VentanaEstudios::BarridoCambiado);
  connect(psse_, &PanelPsse::lineaElegida, this, [this](const lotes::LineaResuelta& l) {
    lotes::Estudio e = estudio_;
    if (!lotes::PonerLinea(l, e, regional_))
      return;
    PonerEstudio(e);
    setWindowModified(true);
    statusBar()->showMessage(Q(l.nombre), 5000);
  });

  const QSettings ajustes;
  restoreGeometry(ajustes.value(kClaveGeometria).toByteArray());
  division_->restoreState(ajustes.value(kClaveDivision).toByteArray());
  barrido_->Division()->restoreState(ajustes.value(kClaveDivisionBarrido).toByteArray());
  barrido_->Lados()->restoreState(ajustes.value(kClaveLadosBarrido).toByteArray());
  if (ajustes.value(kClaveGeometria).isNull())
    resize(1200, 800);

  PonerEstudio(estudio_);
  PonerRuta({});
}

VentanaEstudios::~VentanaEstudios() = default;

void VentanaEstudios::ConstruirMenus() {
  QMenu* archivo = Menu(menuBar(), kMenuArchivo);
  connect(Nueva(archivo, kNuevo, QKeySequence::New), &QAction::triggered, this,
          &VentanaEstudios::Nuevo);
  connect(Nueva(archivo, kAbrir, QKeySequence::Open), &QAction::triggered, this,
          &VentanaEstudios::Abrir);
  recientes_ = archivo->addMenu(Q(kRecientes.titulo));
  recientes_->setObjectName(Q(kRecientes.nombre));
  LlenarRecientes();
  connect(Nueva(archivo, kGuardar, QKeySequence::Save), &QAction::triggered, this,
          &VentanaEstudios::Guardar);
  connect(Nueva(archivo, kGuardarComo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
          &QAction::triggered, this, &VentanaEstudios::GuardarComo);
  archivo->addSeparator();
  connect(Nueva(archivo, kExportarTabla, QKeySequence(Qt::CTRL | Qt::Key_E)), &QAction::triggered,
          this, &VentanaEstudios::ExportarTabla);
  connect(Nueva(archivo, kExportarGrafico, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)),
          &QAction::triggered, this, &VentanaEstudios::ExportarGrafico);
  connect(Nueva(archivo, kCopiarResultados, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
          &QAction::triggered, this, &VentanaEstudios::CopiarResultados);
  archivo->addSeparator();
  connect(Nueva(archivo, kSalir, QKeySequence(Qt::CTRL | Qt::Key_Q)), &QAction::triggered, this,
          &QWidget::close);

  QMenu* estudio = Menu(menuBar(), kMenuEstudio);
  connect(Nueva(estudio, kCalcularBarrido, QKeySequence(Qt::Key_F5)), &QAction::triggered, this,
          [this] {
            pestanas_->setCurrentWidget(barrido_);
            barrido_->Calcular();
          });
  connect(Nueva(estudio, kBuscar, QKeySequence::Find), &QAction::triggered, this,
          &VentanaEstudios::Buscar);
  connect(Nueva(estudio, kValoresInicio), &QAction::triggered, this,
          &VentanaEstudios::ValoresDelInicio);

  QMenu* ver = Menu(menuBar(), kMenuVer);
  connect(Nueva(ver, kVerDatos, QKeySequence(Qt::CTRL | Qt::Key_1)), &QAction::triggered, this,
          [this] { caso_->Campo(0)->setFocus(Qt::ShortcutFocusReason); });
  int n = 2;
  // Each tab's first control takes the focus.
  for (const auto& [accion, pagina, foco] :
       {std::tuple<const Accion*, QWidget*, QWidget*>{&kVerResultados, pestanas_->widget(0),
                                                      resultados_->Resultado(0)},
        {&kVerBarrido, barrido_, barrido_->Dato(0)},
        {&kVerPsse, psse_, psse_->Tabla()}}) {
    connect(Nueva(ver, *accion, QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + n++))),
            &QAction::triggered, this, [this, pagina = pagina, foco = foco] {
              pestanas_->setCurrentWidget(pagina);
              foco->setFocus(Qt::ShortcutFocusReason);
            });
  }
  ver->addSeparator();
  connect(Nueva(ver, kZoomInicial, QKeySequence(Qt::CTRL | Qt::Key_0)), &QAction::triggered, this,
          [this] { barrido_->Grafico()->Encuadrar(); });

  QMenu* ayuda = Menu(menuBar(), kMenuAyuda);
  connect(Nueva(ayuda, kManual, QKeySequence::HelpContents), &QAction::triggered, this,
          &VentanaEstudios::AbrirManual);
  connect(Nueva(ayuda, kAcercaDe), &QAction::triggered, this, &VentanaEstudios::AcercaDe);
}

void VentanaEstudios::PonerEstudio(const lotes::Estudio& e) {
  estudio_ = e;
  caso_->Poner(e);
  barrido_->Poner(e);
  if (buscar_ != nullptr)
    buscar_->Poner(e);
  Evaluar();
}

DialogoBuscar* VentanaEstudios::Buscar() {
  if (buscar_ == nullptr) {
    buscar_ = new DialogoBuscar(regional_, this);
    connect(buscar_, &DialogoBuscar::cambiado, this, [this] {
      buscar_->Leer(estudio_);
      setWindowModified(true);
    });
    connect(buscar_, &DialogoBuscar::buscarPedido, this, [this] {
      buscar_->Leer(estudio_);
      buscar_->Buscar(estudio_);
    });
    connect(buscar_, &DialogoBuscar::valorElegido, this, [this](Variable v, double x) {
      lotes::PonerValorHallado(estudio_, v, x, regional_);
      caso_->Poner(estudio_);
      setWindowModified(true);
      Evaluar();
    });
    buscar_->Poner(estudio_);
  }
  buscar_->show();
  buscar_->raise();
  buscar_->activateWindow();
  return buscar_;
}

void VentanaEstudios::Evaluar() {
  evaluacion_ = lotes::EvaluarCaso(estudio_, regional_);
  caso_->Mostrar(estudio_, evaluacion_);
  resultados_->Mostrar(evaluacion_, regional_);
  barrido_->Actualizar(estudio_);
}

void VentanaEstudios::CasoCambiado() {
  const bool control = estudio_.control;
  caso_->Leer(estudio_);
  setWindowModified(true);
  // What can be searched for follows the group "Control".
  if (buscar_ != nullptr && control != estudio_.control)
    buscar_->Poner(estudio_);
  Evaluar();
}

void VentanaEstudios::BarridoCambiado() {
  barrido_->Leer(estudio_);
  setWindowModified(true);
}

void VentanaEstudios::PonerRuta(const QString& ruta) {
  ruta_ = ruta;
  setWindowFilePath(ruta);
  setWindowTitle(ruta.isEmpty() ? Q(kNombrePrograma) + QStringLiteral("[*]")
                                : Q(kNombrePrograma) + Q(kSeparadorTitulo) + Nombre(ruta) +
                                      QStringLiteral("[*]"));
  setWindowModified(false);
}

bool VentanaEstudios::PuedeCerrar() {
  if (!isWindowModified())
    return true;
  const QString nombre = ruta_.isEmpty() ? Q(kSinTitulo) : Nombre(ruta_);
  switch (dialogos_.PreguntarGuardar(this, Q(kPreguntaGuardar).arg(nombre))) {
    case Dialogos::Respuesta::Guardar:
      return Guardar();
    case Dialogos::Respuesta::Descartar:
      return true;
    case Dialogos::Respuesta::Cancelar:
      return false;
  }
  return false;
}

void VentanaEstudios::Nuevo() {
  if (!PuedeCerrar())
    return;
  esCaso_ = false;
  psse_->Poner({});
  PonerEstudio(lotes::EstudioDeInicio(regional_));
  PonerRuta({});
}

void VentanaEstudios::Abrir() {
  if (!PuedeCerrar())
    return;
  const QString ruta =
      dialogos_.ArchivoParaAbrir(this, Q(kAbrir.titulo).remove(u'&'), Q(kFiltroAbrir));
  if (!ruta.isEmpty())
    AbrirArchivo(ruta);
}

bool VentanaEstudios::AbrirArchivo(const QString& ruta) {
  const auto fallo = [&](const std::string& motivo) {
    dialogos_.Avisar(this, Q(kNoSeAbre).arg(Nombre(ruta), Q(motivo)));
    return false;
  };
  auto leido = LeerArchivo(ruta, psse::kTamanoMaximo);
  if (leido.index() == 1)
    return fallo(std::get<1>(leido));
  const std::string& texto = std::get<0>(leido);
  if (EsCasoPsse(ruta, std::string_view(texto).substr(0, 64))) {
    std::istringstream entrada(texto);
    auto caso = lotes::ResolverCaso(entrada, U8(Nombre(ruta)));
    if (const auto* motivo = std::get_if<psse::Rechazo>(&caso))
      return fallo(lotes::TextoNoLeido(*motivo));
    // A case opens as a new study of its first line that solves.
    lotes::Estudio e = lotes::EstudioDeInicio(regional_);
    for (const auto& l : std::get<lotes::CasoResuelto>(caso).lineas)
      if (lotes::PonerLinea(l, e, regional_))
        break;
    psse_->Poner(std::move(std::get<lotes::CasoResuelto>(caso)));
    esCaso_ = true;
    PonerEstudio(e);
    pestanas_->setCurrentWidget(psse_);
  } else {
    auto estudio = lotes::EstudioDeJson(texto, regional_);
    if (const auto* motivo = std::get_if<std::string>(&estudio))
      return fallo(*motivo);
    esCaso_ = false;
    psse_->Poner({});
    PonerEstudio(std::get<lotes::Estudio>(estudio));
  }
  PonerRuta(ruta);
  AnadirReciente(ruta);
  return true;
}

bool VentanaEstudios::Guardar() {
  if (ruta_.isEmpty() || esCaso_)
    return GuardarComo();
  return EscribirEstudio(ruta_);
}

bool VentanaEstudios::GuardarComo() {
  const QFileInfo actual(ruta_);
  const QString propuesto =
      ruta_.isEmpty() ? Q(kSinTitulo) + Q(kExtensionEstudio)
                      : actual.dir().filePath(actual.completeBaseName() + Q(kExtensionEstudio));
  int filtro = 0;
  QString ruta = dialogos_.ArchivoParaGuardar(this, Q(kGuardarComo.titulo).remove(u'&'), propuesto,
                                              {Q(kFiltroEstudio)}, filtro);
  if (ruta.isEmpty())
    return false;
  ruta = ConExtension(ruta, Q(kFiltroEstudio));
  if (!EscribirEstudio(ruta))
    return false;
  esCaso_ = false;
  PonerRuta(ruta);
  AnadirReciente(ruta);
  return true;
}

bool VentanaEstudios::EscribirEstudio(const QString& ruta) {
  if (const auto motivo = EscribirArchivo(ruta, lotes::EstudioAJson(estudio_, regional_))) {
    dialogos_.Avisar(this, Q(kNoSeGuarda).arg(Nombre(ruta), Q(*motivo)));
    return false;
  }
  setWindowModified(false);
  return true;
}

void VentanaEstudios::ExportarTabla() {
  auto definicion = DefinirBarrido(estudio_, regional_);
  if (const auto* motivo = std::get_if<std::string>(&definicion)) {
    dialogos_.Avisar(this, Q(kSinBarrido) + QStringLiteral(": ") + Q(*motivo));
    return;
  }
  const QStringList filtros{Q(kFiltroCsv), Q(kFiltroCsvCrudo), Q(kFiltroJson)};
  int filtro = 0;
  QString ruta = dialogos_.ArchivoParaGuardar(this, Q(kExportarTabla.titulo).remove(u'&'),
                                              QString(), filtros, filtro);
  if (ruta.isEmpty())
    return;
  ruta = ConExtension(ruta, filtros.value(filtro));
  lotes::OpcionesSalida opciones;
  opciones.crudo = filtro == 1;
  opciones.formato = filtro == 2 ? lotes::Formato::Json : lotes::Formato::Csv;
  if (const auto motivo = estudios::ExportarTabla(ruta, std::get<DefinicionBarrido>(definicion),
                                                  regional_, opciones))
    dialogos_.Avisar(this, Q(kNoSeGuarda).arg(Nombre(ruta), Q(*motivo)));
}

void VentanaEstudios::ExportarGrafico() {
  if (!barrido_->Barrido()) {
    dialogos_.Avisar(this, Q(kSinBarrido));
    return;
  }
  struct Opcion {
    std::string_view filtro;
    lotes::FormatoGrafico formato;
  };
  std::vector<Opcion> opciones;
  for (const Opcion o : {Opcion{kFiltroPng, lotes::FormatoGrafico::Png},
                         Opcion{kFiltroPdf, lotes::FormatoGrafico::Pdf},
                         Opcion{kFiltroSvg, lotes::FormatoGrafico::Svg}})
    if (EscribeFormato(o.formato))
      opciones.push_back(o);
  QStringList filtros;
  for (const auto& o : opciones)
    filtros << Q(o.filtro);
  int filtro = 0;
  QString ruta = dialogos_.ArchivoParaGuardar(this, Q(kExportarGrafico.titulo).remove(u'&'),
                                              QString(), filtros, filtro);
  if (ruta.isEmpty())
    return;
  ruta = ConExtension(ruta, filtros.value(filtro));
  // The format the name's extension says, else the filter's.
  lotes::FormatoGrafico formato = opciones[static_cast<std::size_t>(std::clamp(
                                               filtro, 0, static_cast<int>(opciones.size()) - 1))]
                                      .formato;
  const QString sufijo = QStringLiteral("(*.") + QFileInfo(ruta).suffix().toLower() + u')';
  for (const auto& o : opciones)
    if (Q(o.filtro).endsWith(sufijo))
      formato = o.formato;
  auto* grafico = barrido_->Grafico();
  const QSize tamano = grafico->size().expandedTo(QSize(640, 480));
  QByteArray bytes;
  auto motivo = grafico->Imagen(formato, tamano.width(), tamano.height(), bytes);
  if (!motivo)
    motivo = EscribirArchivo(
        ruta, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (motivo)
    dialogos_.Avisar(this, Q(kNoSeGuarda).arg(Nombre(ruta), Q(*motivo)));
}

void VentanaEstudios::CopiarResultados() {
  QGuiApplication::clipboard()->setText(Q(lotes::TextoDeResultados(evaluacion_, regional_)));
}

void VentanaEstudios::ValoresDelInicio() {
  const lotes::Estudio inicio = lotes::EstudioDeInicio(regional_);
  estudio_.datos = inicio.datos;
  estudio_.textosControl = inicio.textosControl;
  estudio_.control = inicio.control;
  caso_->Poner(estudio_);
  if (buscar_ != nullptr)
    buscar_->Poner(estudio_);
  setWindowModified(true);
  Evaluar();
}

void VentanaEstudios::AbrirManual() {
  const QString ruta = RutaDelManual();
  if (ruta.isEmpty())
    dialogos_.Avisar(this, Q(kSinManual));
  else if (!dialogos_.AbrirDocumento(ruta))
    dialogos_.Avisar(this, Q(kManualNoSeAbre).arg(QDir::toNativeSeparators(ruta)));
}

void VentanaEstudios::AcercaDe() {
  dialogos_.Informar(this, Q(kAcercaDe.titulo).remove(u'&'),
                     Q(kNombrePrograma) + u' ' + QApplication::applicationVersion() +
                         QStringLiteral("\n\n") + Q(kDescripcion) + QStringLiteral("\n\n") +
                         Q(kLicencia));
}

void VentanaEstudios::AnadirReciente(const QString& ruta) {
  QSettings ajustes;
  QStringList lista = ajustes.value(kClaveRecientes).toStringList();
  const QString absoluta = QFileInfo(ruta).absoluteFilePath();
  lista.removeAll(absoluta);
  lista.prepend(absoluta);
  while (lista.size() > kRecientesMaximos)
    lista.removeLast();
  ajustes.setValue(kClaveRecientes, lista);
  LlenarRecientes();
}

void VentanaEstudios::LlenarRecientes() {
  recientes_->clear();
  const QStringList lista = QSettings().value(kClaveRecientes).toStringList();
  for (int i = 0; i < lista.size(); ++i) {
    const QString ruta = lista[i];
    QAction* accion = recientes_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(Nombre(ruta)));
    accion->setToolTip(ruta);
    accion->setStatusTip(ruta);
    connect(accion, &QAction::triggered, this, [this, ruta] {
      if (PuedeCerrar() && !AbrirArchivo(ruta) && !QFileInfo::exists(ruta)) {
        // A file that is gone leaves the list.
        QSettings ajustes;
        QStringList l = ajustes.value(kClaveRecientes).toStringList();
        l.removeAll(ruta);
        ajustes.setValue(kClaveRecientes, l);
        LlenarRecientes();
      }
    });
  }
  if (!lista.isEmpty())
    recientes_->addSeparator();
  QAction* vaciar = recientes_->addAction(Q(kVaciarRecientes.titulo));
  vaciar->setObjectName(Q(kVaciarRecientes.nombre));
  vaciar->setEnabled(!lista.isEmpty());
  connect(vaciar, &QAction::triggered, this, [this] {
    QSettings().remove(kClaveRecientes);
    LlenarRecientes();
  });
}

void VentanaEstudios::Recordar() const {
  QSettings ajustes;
  ajustes.setValue(kClaveGeometria, saveGeometry());
  ajustes.setValue(kClaveDivision, division_->saveState());
  ajustes.setValue(kClaveDivisionBarrido, barrido_->Division()->saveState());
  ajustes.setValue(kClaveLadosBarrido, barrido_->Lados()->saveState());
}

void VentanaEstudios::closeEvent(QCloseEvent* evento) {
  if (!PuedeCerrar()) {
    evento->ignore();
    return;
  }
  Recordar();
  evento->accept();
}

}  // namespace zelk::ui::estudios
