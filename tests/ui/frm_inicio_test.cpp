// The main window: placement, texts, focus, keys, start-up under two regional settings, the
// buttons and the menu.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "regional/regional_qt.h"
#include "tests/regionales.h"
#include "tests/ui/avisador_prueba.h"
#include "tests/ui/principal.h"
#include "ui/comun/boton_ajustado.h"
#include "ui/main/aplicacion.h"
#include "ui/main/caja_texto.h"
#include "ui/main/frm_inicio.h"

using zelk::Campo;
using zelk::ui::FrmInicio;

namespace {

struct Lugar {
  const char* control;
  const char* padre;
  QRect pixeles;
};

// Every control's place in pixels, read off the window's drawing at 15 twips to the pixel.
std::vector<Lugar> LugaresEsperados() {
  std::vector<Lugar> lugares{
      {"fraDatos", "cliente", {8, 8, 209, 193}},
      {"Frame1", "cliente", {224, 8, 209, 193}},
      {"Frame2", "cliente", {440, 8, 209, 193}},
      {"Image1", "cliente", {48, 272, 565, 156}},
      {"cmdCalcular", "cliente", {16, 472, 65, 33}},
      {"cmdValoresDefault", "cliente", {96, 472, 65, 33}},
      {"cmdSalir", "cliente", {176, 472, 65, 33}},
      {"lblR4", "cliente", {16, 244, 41, 17}},
      {"txtTgphir", "cliente", {16, 264, 49, 19}},
      {"lblR2", "cliente", {80, 248, 49, 17}},
      {"txtIacr", "cliente", {80, 264, 49, 19}},
      {"lblR1", "cliente", {232, 248, 57, 17}},
      {"txtVdcr", "cliente", {232, 264, 49, 19}},
      {"lblR11", "cliente", {512, 248, 41, 17}},
      {"txtIaci", "cliente", {512, 264, 49, 19}},
      {"lblR13", "cliente", {576, 244, 33, 17}},
      {"txtTgphii", "cliente", {576, 264, 49, 19}},
      {"lblR6", "cliente", {16, 376, 41, 17}},
      {"txtPr", "cliente", {16, 392, 57, 19}},
      {"lblR7", "cliente", {16, 424, 65, 17}},
      {"txtQr", "cliente", {16, 440, 57, 19}},
      {"lblR5", "cliente", {192, 372, 41, 17}},
      {"txtAlpha", "cliente", {192, 392, 49, 19}},
      {"lblR3", "cliente", {192, 416, 33, 17}},
      {"txtMur", "cliente", {192, 432, 49, 19}},
      {"lblR10", "cliente", {336, 372, 57, 17}},
      {"txtGamma", "cliente", {352, 392, 49, 19}},
      {"lblR12", "cliente", {352, 416, 33, 17}},
      {"txtMui", "cliente", {352, 432, 49, 19}},
      {"lblR15", "cliente", {512, 368, 41, 17}},
      {"txtPi", "cliente", {512, 384, 57, 19}},
      {"lblR16", "cliente", {512, 408, 65, 17}},
      {"txtQi", "cliente", {512, 424, 57, 19}},
  };
  // The input rows: label at x 8, field at x 112, rows 24 pixels apart from y 32.
  struct Fila {
    const char *marco, *etiqueta, *campo;
    int fila, anchoEtiqueta;
  };
  const Fila filas[] = {
      {"fraDatos", "lbl1", "txtUacr", 0, 89},    {"fraDatos", "lbl2", "txtTapr", 1, 105},
      {"fraDatos", "lbl3", "txtNr", 2, 89},      {"fraDatos", "lbl4", "txtIdc", 3, 89},
      {"fraDatos", "lbl5", "txtRcr", 4, 89},     {"fraDatos", "lbl6", "txtXcr", 5, 89},
      {"Frame1", "lbl7", "txtUaci", 0, 89},      {"Frame1", "lbl8", "txtTapi", 1, 105},
      {"Frame1", "lbl9", "txtNi", 2, 89},        {"Frame1", "lbl10", "txtVdci", 3, 89},
      {"Frame1", "lbl11", "txtRci", 4, 89},      {"Frame1", "lbl12", "txtXci", 5, 89},
      {"Frame2", "lbl13", "txtRdc", 0, 89},      {"Frame2", "lbl14", "txtVdcnom", 1, 105},
      {"Frame2", "lbl15", "txtEacr_nom", 2, 89}, {"Frame2", "lbl16", "txtUacr_nom", 3, 89},
      {"Frame2", "lbl17", "txtEaci_nom", 4, 89}, {"Frame2", "lbl18", "txtUaci_nom", 5, 89},
  };
  for (const auto& f : filas) {
    const int y = 32 + 24 * f.fila;
    lugares.push_back({f.etiqueta, f.marco, {8, y, f.anchoEtiqueta, 17}});
    lugares.push_back({f.campo, f.marco, {112, y, 81, 19}});
  }
  return lugares;
}

// Where a control stands: its place in the drawing, but a result's label is as wide as its
// caption where the caption needs more room than its box.
QRect LugarVisto(QWidget* control, QRect lugar) {
  auto* etiqueta = qobject_cast<QLabel*>(control);
  if (etiqueta != nullptr && etiqueta->objectName().startsWith(QStringLiteral("lblR")))
    lugar.setWidth(
        std::max(lugar.width(), etiqueta->fontMetrics().horizontalAdvance(etiqueta->text())));
  return lugar;
}

struct Rotulo {
  const char* etiqueta;
  const char* campo;
  const char* titulo;
  const char* ayuda;
};

const Rotulo kRotulos[] = {
    {"lbl1", "txtUacr", "Uacr [kV]", "Tensión actual del lado primario del transformador"},
    {"lbl2", "txtTapr", "tapr [p.u.]",
     "Tap actual. La regulación se supone del  lado primario del transformador"},
    {"lbl3", "txtNr", "Nr", "Número de puentes en serie, respecto al lado DC."},
    {"lbl4", "txtIdc", "Idc [A]", "Valor deseado de corriente continua en el enlace"},
    {"lbl5", "txtRcr", "Rcr [ohm/fase]", "Resistencia de conmutación"},
    {"lbl6", "txtXcr", "Xcr [ohm/fase]", "Reactancia de conmutación"},
    {"lbl7", "txtUaci", "Uaci [kV]", "Tensión actual del lado primario del transformador"},
    {"lbl8", "txtTapi", "tapi [p.u.]",
     "Tap actual. La regulación se supone del  lado primario del transformador"},
    {"lbl9", "txtNi", "Ni", "Número de puentes en serie, respecto al lado DC."},
    {"lbl10", "txtVdci", "Vdci [kV]", "Valor deseado de tensión de continua en el lado inversor"},
    {"lbl11", "txtRci", "Rci [ohm/fase]", "Resistencia de conmutación"},
    {"lbl12", "txtXci", "Xci [ohm/fase]", "Reactancia de conmutación"},
    {"lbl13", "txtRdc", "Rdc [ohm]", "Resistencia de la línea de corriente continua."},
    {"lbl14", "txtVdcnom", "Vdcnom [kV]", "Tensión nominal de continua (por ahora no utilizada)."},
    {"lbl15", "txtEacr_nom", "Eacr_nom [kV]",
     "Tensión nominal del lado secundario del transformador, extremo rectificador"},
    {"lbl16", "txtUacr_nom", "Uacr_nom [kV]",
     "Tensión nominal del lado primario del transformador, extremo rectificador"},
    {"lbl17", "txtEaci_nom", "Eaci_nom [kV]",
     "Tensión nominal del lado secundario del transformador, extremo inversor"},
    {"lbl18", "txtUaci_nom", "Uaci_nom [kV]",
     "Tensión nominal del lado primario del transformador, extremo inversor"},
    {"lblR4", "txtTgphir", "tg phir", "Qr/Pr"},
    {"lblR2", "txtIacr", "Iacr [A]", "Corriente, lado primario del transformador"},
    {"lblR1", "txtVdcr", "Vdcr [kV]", ""},
    {"lblR11", "txtIaci", "Iaci [A]", "Corriente, lado primario del transformador"},
    {"lblR13", "txtTgphii", "tg phii", "Qi/Pi"},
    {"lblR6", "txtPr", "Pr [MW]", ""},
    {"lblR7", "txtQr", "Qr [MVAr]", ""},
    {"lblR5", "txtAlpha", "alpha [\u00BA]", "Angulo de disparo, lado rectificador"},
    {"lblR3", "txtMur", "mu r [\u00BA]",
     "Angulo correspondiente a la conmutación, lado rectificador."},
    {"lblR10", "txtGamma", "gamma [\u00BA]", "Margen de ángulo de disparo extremo inversor"},
    {"lblR12", "txtMui", "mu i [\u00BA]",
     "Angulo correspondiente a la conmutación, lado inversor."},
    {"lblR15", "txtPi", "Pi [MW]", ""},
    {"lblR16", "txtQi", "Qi [MVAr]", ""},
};

const char* const kOrdenFoco[] = {"txtUacr",     "txtTapr",     "txtNr",
                                  "txtIdc",      "txtRcr",      "txtXcr",
                                  "cmdCalcular", "txtXci",      "txtRci",
                                  "txtVdci",     "txtNi",       "txtTapi",
                                  "txtUaci",     "txtRdc",      "txtVdcnom",
                                  "txtEacr_nom", "txtUacr_nom", "txtEaci_nom",
                                  "txtUaci_nom", "txtGamma",    "txtIaci",
                                  "txtPi",       "txtQi",       "txtTgphii",
                                  "txtMui",      "txtQr",       "txtPr",
                                  "txtTgphir",   "txtAlpha",    "txtIacr",
                                  "txtMur",      "txtVdcr",     "cmdValoresDefault",
                                  "cmdSalir"};

// The 13 result fields in the order of writing, as the start-up leaves them under en_US.
const char* const kResultadosCampos[] = {"txtAlpha",  "txtMur",  "txtTgphir", "txtGamma", "txtMui",
                                         "txtTgphii", "txtVdcr", "txtIacr",   "txtPr",    "txtQr",
                                         "txtIaci",   "txtPi",   "txtQi"};

QString ConComa(QString texto) {
  return texto.replace('.', ',');
}

// A character drawn as text and its glyph's outline filled, at `escala` device pixels per pixel:
// the device pixels well inside the outline where the drawn text has no ink, nor a pixel away
// (hinting moves strokes by a pixel). A glyph cut or lost shows here; `tinta` counts those pixels.
// One character at a time: along a line, hinted advances drift from the outline's by more than a
// pixel without any glyph being damaged.
int TrazosPerdidosDe(const QFont& fuente, const QString& texto, qreal escala, int* tinta) {
  const QFontMetricsF medidas(fuente);
  const QSize tamano =
      (QSizeF(medidas.horizontalAdvance(texto) + 8, medidas.height() + 8) * escala).toSize();
  const auto lienzo = [&] {
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.setDevicePixelRatio(escala);
    imagen.fill(Qt::white);
    return imagen;
  };
  QImage dibujado = lienzo(), contorno = lienzo();
  const QPointF origen(4, 4 + medidas.ascent());
  {
    QPainter pintor(&dibujado);
    pintor.setFont(fuente);
    pintor.setPen(Qt::black);
    pintor.drawText(origen, texto);
  }
  {
    QPainter pintor(&contorno);
    pintor.setRenderHint(QPainter::Antialiasing);
    QPainterPath trazo;
    trazo.addText(origen, fuente, texto);
    pintor.fillPath(trazo, Qt::black);
  }
  int perdidos = 0, dentro = 0;
  for (int y = 1; y + 1 < tamano.height(); ++y)
    for (int x = 1; x + 1 < tamano.width(); ++x) {
      if (qGray(contorno.pixel(x, y)) >= 160)
        continue;
      ++dentro;
      bool hay = false;
      for (int dy = -1; dy <= 1 && !hay; ++dy)
        for (int dx = -1; dx <= 1 && !hay; ++dx)
          hay = qGray(dibujado.pixel(x + dx, y + dy)) < 192;
      perdidos += !hay;
    }
  if (tinta != nullptr)
    *tinta += dentro;
  return perdidos;
}

int TrazosPerdidos(const QFont& fuente, const QString& texto, qreal escala, int* tinta = nullptr) {
  if (tinta != nullptr)
    *tinta = 0;
  int perdidos = 0;
  for (const QChar c : texto)
    perdidos += TrazosPerdidosDe(fuente, QString(c), escala, tinta);
  return perdidos;
}

}  // namespace

class FrmInicioTest : public QObject {
  Q_OBJECT

  std::unique_ptr<zelk::prueba::AvisadorPrueba> avisador_;
  QPointer<FrmInicio> ventana_;

  FrmInicio* Abrir(const zelk::ConfiguracionRegional& regional) {
    ventana_ = new FrmInicio(regional, *avisador_);
    return ventana_;
  }
  template <typename T = QLineEdit>
  T* Control(const char* nombre) const {
    auto* c = ventana_->findChild<T*>(QString::fromUtf8(nombre));
    if (c == nullptr)
      qFatal("no control %s", nombre);
    return c;
  }
  QString Texto(const char* nombre) const { return Control(nombre)->text(); }
  void Mostrar() {
    ventana_->show();
    ventana_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ventana_));
  }

 private slots:
  void initTestCase() { zelk::ui::PrepararAplicacion(); }
  void init() {
    avisador_ = std::make_unique<zelk::prueba::AvisadorPrueba>();
    Abrir(zelk::prueba::kEstadosUnidos);
  }
  void cleanup() {
    delete ventana_;
    QVERIFY(avisador_->mensajes.isEmpty() ||
            QTest::currentTestFunction() == QByteArray("pasadaRechazada"));
  }

  void geometria_data() {
    QTest::addColumn<QString>("padre");
    QTest::addColumn<QRect>("lugar");
    for (const auto& l : LugaresEsperados())
      QTest::newRow(l.control) << QString::fromUtf8(l.padre) << l.pixeles;
  }
  void geometria() {
    QFETCH(QString, padre);
    QFETCH(QRect, lugar);
    Mostrar();
    auto* control = Control<QWidget>(QTest::currentDataTag());
    QCOMPARE(control->parentWidget()->objectName(), padre);
    QCOMPARE(control->geometry(), LugarVisto(control, lugar));
  }

  // The room a result's label took for its caption covers no other control, only the picture or
  // the empty window (the field a label's box already touches by a pixel row, as drawn, may go
  // on under it); and each result shown at start-up fits its field whole.
  void resultadosCabenEnteros() {
    Mostrar();
    auto* cliente = ventana_->centralWidget();
    for (const auto& l : LugaresEsperados()) {
      auto* etiqueta = Control<QWidget>(l.control);
      const QRect visto = etiqueta->geometry();
      if (visto.width() <= l.pixeles.width())
        continue;
      const QRect anadido(l.pixeles.x() + l.pixeles.width(), l.pixeles.y(),
                          visto.width() - l.pixeles.width(), l.pixeles.height());
      for (auto* otro : cliente->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (otro != etiqueta && otro->objectName() != QStringLiteral("Image1") &&
            !otro->geometry().intersects(l.pixeles))
          QVERIFY2(!anadido.intersects(otro->geometry()),
                   qPrintable(etiqueta->objectName() + QStringLiteral(" ~ ") + otro->objectName()));
    }
    for (const auto& r : kRotulos) {
      auto* campo = Control(r.campo);
      QVERIFY2(campo->fontMetrics().horizontalAdvance(campo->text()) <= campo->width() - 9,
               r.campo);
    }
  }

  void areaCliente() {
    Mostrar();
    QCOMPARE(ventana_->objectName(), QStringLiteral("frmInicio"));
    QCOMPARE(ventana_->windowTitle(),
             QStringLiteral("Cálculos para transmisión en Corriente Continua (ZELK)"));
    QCOMPARE(ventana_->centralWidget()->size(), QSize(657, 519));
    QVERIFY(!ventana_->windowIcon().isNull());
    QVERIFY(ventana_->windowIcon().availableSizes().contains(QSize(16, 16)));
    QVERIFY(ventana_->windowIcon().availableSizes().contains(QSize(32, 32)));
  }

  void rotulos_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("ayuda");
    for (const auto& r : kRotulos)
      QTest::newRow(r.etiqueta) << QString::fromUtf8(r.campo) << QString::fromUtf8(r.titulo)
                                << QString::fromUtf8(r.ayuda);
  }
  void rotulos() {
    QFETCH(QString, campo);
    QFETCH(QString, titulo);
    QFETCH(QString, ayuda);
    auto* etiqueta = Control<QLabel>(QTest::currentDataTag());
    auto* texto = Control(campo.toUtf8().constData());
    QCOMPARE(etiqueta->text(), titulo);
    QCOMPARE(etiqueta->toolTip(), ayuda);
    // Opaque over the picture; inside a frame the frame's own fill shows through.
    const bool enMarco = qobject_cast<QGroupBox*>(etiqueta->parentWidget()) != nullptr;
    QCOMPARE(etiqueta->autoFillBackground(), !enMarco);
    QCOMPARE(etiqueta->focusPolicy(), Qt::NoFocus);
    // The font chosen for the window shows every caption whole.
    QVERIFY(QFontMetrics(etiqueta->font()).horizontalAdvance(titulo) <= etiqueta->width());
    QVERIFY(QFontMetrics(texto->font()).height() <= 14);
    QCOMPARE(texto->toolTip(), QString());
    QCOMPARE(texto->accessibleName(), titulo);
    QCOMPARE(texto->maxLength(), 32767);
    QVERIFY(!texto->isReadOnly());
    QCOMPARE(texto->validator(), nullptr);
    QVERIFY(texto->alignment() & Qt::AlignLeft);
  }

  // Below its caption (the font leaves the label's bottom rows empty) a label inside a frame shows
  // the same colour as the frame just under the label: no lighter box around the caption.
  void etiquetasSinRecuadroEnLosMarcos() {
    Mostrar();
    for (const char* nombre : {"fraDatos", "Frame1", "Frame2"}) {
      auto* marco = Control<QGroupBox>(nombre);
      const QImage imagen = marco->grab().toImage();
      for (auto* etiqueta : marco->findChildren<QLabel*>()) {
        const QRect r = etiqueta->geometry();
        const QPoint dentro(r.center().x(), r.bottom());
        const QPoint fuera(r.center().x(), r.bottom() + 3);
        QCOMPARE(QColor(imagen.pixel(dentro)).name(), QColor(imagen.pixel(fuera)).name());
      }
    }
  }

  void marcosBotonesYMenu() {
    QCOMPARE(Control<QGroupBox>("fraDatos")->title(), QStringLiteral("Datos rectificador"));
    QCOMPARE(Control<QGroupBox>("Frame1")->title(), QStringLiteral("Datos inversor"));
    QCOMPARE(Control<QGroupBox>("Frame2")->title(), QStringLiteral("Otros datos"));
    const std::pair<const char*, const char*> botones[] = {
        {"cmdCalcular", "Calcular"},
        {"cmdValoresDefault", "Valores del inicio"},
        {"cmdSalir", "Salir"}};
    for (auto [nombre, titulo] : botones) {
      auto* boton = Control<QPushButton>(nombre);
      QCOMPARE(boton->text(), QString::fromUtf8(titulo));
      QVERIFY(!boton->isDefault());
      QVERIFY(!boton->autoDefault());
      QVERIFY(boton->toolTip().isEmpty());
    }
    const auto menus = ventana_->menuBar()->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus[0]->text(), QStringLiteral("Archivo"));
    QCOMPARE(menus[0]->objectName(), QStringLiteral("mnuArchivo"));
    const auto items = menus[0]->menu()->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->objectName(), QStringLiteral("mnuSalir"));
    QCOMPARE(items[0]->text(), QStringLiteral("Salir"));
    QCOMPARE(items[1]->objectName(), QStringLiteral("mnuAcercaDe"));
    QCOMPARE(items[1]->text(), QStringLiteral("Acerca De..."));
    for (auto* item : items) {
      QVERIFY(item->shortcut().isEmpty());
      QVERIFY(!item->isSeparator());
    }
  }

  // Labels over the picture are drawn above it, and fields and buttons above the labels.
  void ordenDeDibujo() {
    Mostrar();
    auto* cliente = ventana_->centralWidget();
    for (const auto& r : kRotulos) {
      auto* etiqueta = Control<QLabel>(r.etiqueta);
      if (etiqueta->parentWidget() != cliente)
        continue;
      auto* campo = Control(r.campo);
      QCOMPARE(cliente->childAt(etiqueta->geometry().topLeft() + QPoint(1, 1)), etiqueta);
      QCOMPARE(cliente->childAt(campo->geometry().center()), campo);
    }
  }

  void focoYTabulador() {
    Mostrar();
    QCOMPARE(QApplication::focusWidget(), Control("txtUacr"));
    const int n = static_cast<int>(std::size(kOrdenFoco));
    for (int vuelta = 1; vuelta <= n; ++vuelta) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(),
               QString::fromUtf8(kOrdenFoco[vuelta % n]));
    }
    for (int vuelta = n - 1; vuelta >= 0; --vuelta) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
      QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromUtf8(kOrdenFoco[vuelta]));
    }
  }

  void teclasSinEfecto_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("tecla");
    for (const char* campo : {"txtUacr", "txtXci", "txtAlpha"}) {
      QTest::addRow("Enter en %s", campo) << QString::fromUtf8(campo) << int(Qt::Key_Return);
      QTest::addRow("Intro en %s", campo) << QString::fromUtf8(campo) << int(Qt::Key_Enter);
      QTest::addRow("Esc en %s", campo) << QString::fromUtf8(campo) << int(Qt::Key_Escape);
    }
  }
  void teclasSinEfecto() {
    QFETCH(QString, campo);
    QFETCH(int, tecla);
    Mostrar();
    Control("txtIdc")->setText(QStringLiteral("1000"));
    Control("txtVdcr")->setText(QStringLiteral("sin tocar"));
    auto* destino = Control(campo.toUtf8().constData());
    destino->setFocus();
    QTest::keyClick(destino, static_cast<Qt::Key>(tecla));
    QCOMPARE(Texto("txtVdcr"), QStringLiteral("sin tocar"));
    QCOMPARE(Texto("txtIdc"), QStringLiteral("1000"));
    QVERIFY(ventana_->isVisible());
    QCOMPARE(QApplication::focusWidget(), destino);
  }

  void inicio_data() {
    QTest::addColumn<bool>("coma");
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_US") << false << QString();
    QTest::newRow("es_ES") << true << QString();
    // The settings as the program takes them from Qt's locale data.
    QTest::newRow("QLocale en_US") << false << QStringLiteral("en_US");
    QTest::newRow("QLocale es_ES") << true << QStringLiteral("es_ES");
  }
  void inicio() {
    QFETCH(bool, coma);
    QFETCH(QString, locale);
    delete ventana_;
    if (locale.isEmpty())
      Abrir(coma ? zelk::prueba::kEspana : zelk::prueba::kEstadosUnidos);
    else
      Abrir(*zelk::RegionalPorNombre(locale.toStdString()));
    const char* const esperados[] = {"18.40",   "7.57",    "0.412",   "24.71",  "6.14",
                                     "0.53",    "549",     "1372.27", "1098.0", "452.4",
                                     "1372.27", "-1050.0", "555.4"};
    for (std::size_t i = 0; i < std::size(esperados); ++i) {
      const QString esperado = QString::fromUtf8(esperados[i]);
      QCOMPARE(Texto(kResultadosCampos[i]), coma ? ConComa(esperado) : esperado);
    }
    const QString reactancia = coma ? QStringLiteral("3,88") : QStringLiteral("3.88");
    QCOMPARE(Texto("txtXcr"), reactancia);
    QCOMPARE(Texto("txtXci"), reactancia);
    QCOMPARE(Texto("txtUacr"), QStringLiteral("500"));
    QVERIFY(avisador_->mensajes.isEmpty());
    for (const char* nombre : kOrdenFoco)
      if (nombre[0] == 't')
        QVERIFY2(Texto(nombre) != QStringLiteral("Text1"), nombre);
  }

  void calcularTrasEditar() {
    Control("txtIdc")->setText(QStringLiteral("1000"));
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    const char* const esperados[][2] = {
        {"txtVdcr", "537"},    {"txtIacr", "686.13"}, {"txtPr", "537.0"}, {"txtQr", "254.2"},
        {"txtIaci", "686.13"}, {"txtPi", "-525.0"},   {"txtQi", "278.2"}};
    for (const auto& e : esperados)
      QCOMPARE(Texto(e[0]), QString::fromUtf8(e[1]));
  }

  void pasadaRechazada() {
    Control("txtUacr")->setText(QStringLiteral("abc"));
    Control("txtNr")->setText(QStringLiteral("7"));
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    QCOMPARE(avisador_->mensajes,
             QStringList{"ERROR EN DATOS. Se sobreescriben con los valores por defecto."});
    QCOMPARE(Texto("txtUacr"), QStringLiteral("500"));
    QCOMPARE(Texto("txtNr"), QStringLiteral("2"));
    QCOMPARE(Texto("txtXcr"), QStringLiteral("4"));
    QCOMPARE(Texto("txtXci"), QStringLiteral("4"));
    QCOMPARE(Texto("txtAlpha"), QStringLiteral("18.26"));
    QCOMPARE(Texto("txtGamma"), QStringLiteral("24.60"));
    QCOMPARE(ventana_->Calculo().Datos().Xcr, 4.0);
  }

  void valoresDelInicio() {
    Control("txtIdc")->setText(QStringLiteral("1000"));
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    Control("txtUacr")->setText(QStringLiteral("400"));
    QTest::mouseClick(Control<QPushButton>("cmdValoresDefault"), Qt::LeftButton);
    QCOMPARE(Texto("txtUacr"), QStringLiteral("500"));
    QCOMPARE(Texto("txtIdc"), QStringLiteral("2000"));
    QCOMPARE(Texto("txtXcr"), QStringLiteral("4"));
    QCOMPARE(ventana_->Calculo().Datos().Xci, 4.0);
    QCOMPARE(Texto("txtVdcr"), QStringLiteral("537"));  // the last pass's, untouched
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    QCOMPARE(Texto("txtAlpha"), QStringLiteral("18.26"));
    QCOMPARE(Texto("txtGamma"), QStringLiteral("24.60"));
  }

  // A text written into a field shows from its first character, however long: a DC voltage of
  // 549,69 must not read as 9,69. The test compares the field's left part with the same field
  // holding only the text's first characters.
  void textoLargoSeVeDesdeElPrincipio_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("dato");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<QString>("esperado");
    // Long enough to overflow the field in any dialog font (Tahoma under Wine included).
    QTest::newRow("Vdcr") << "txtVdcr"
                          << "txtRdc"
                          << "12,34567890123"
                          << "549,69135780246";
    QTest::newRow("Iacr") << "txtIacr"
                          << "txtIdc"
                          << "2000000000000"
                          << "1372267529276,06";
  }
  void textoLargoSeVeDesdeElPrincipio() {
    QFETCH(QString, campo);
    QFETCH(QString, dato);
    QFETCH(QString, valor);
    QFETCH(QString, esperado);
    delete ventana_;
    Abrir(zelk::prueba::kEspana);
    Mostrar();
    Control(dato.toUtf8().constData())->setText(valor);
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    auto* resultado = Control(campo.toUtf8().constData());
    const QString completo = resultado->text();
    QCOMPARE(completo, esperado);
    QCOMPARE(resultado->cursorPosition(), 0);
    QVERIFY(QFontMetrics(resultado->font()).horizontalAdvance(completo) > resultado->width());
    // Every field, inputs included after a reset, is written the same way.
    QTest::mouseClick(Control<QPushButton>("cmdValoresDefault"), Qt::LeftButton);
    for (const char* nombre : kOrdenFoco)
      if (nombre[0] == 't')
        QVERIFY2(Control(nombre)->cursorPosition() == 0, nombre);
    const QImage visto = resultado->grab().toImage();
    resultado->setText(completo.left(3));
    const QImage principio = resultado->grab().toImage();
    const int ancho = QFontMetrics(resultado->font()).horizontalAdvance(completo.left(3));
    QCOMPARE(visto.copy(0, 0, ancho, visto.height()), principio.copy(0, 0, ancho, visto.height()));
  }

  // Alt with a letter or digit is meant for a menu: it types nothing, so the next pass still
  // accepts the user's data. AltGr, which Windows reports as Ctrl+Alt, still types.
  void altConLetraNoEscribe_data() {
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("modificadores");
    QTest::addColumn<QString>("texto");
    QTest::newRow("Alt+A") << int(Qt::Key_A) << int(Qt::AltModifier) << "500";
    QTest::newRow("Alt+Mayús+S") << int(Qt::Key_S) << int(Qt::AltModifier | Qt::ShiftModifier)
                                 << "500";
    QTest::newRow("Alt+1") << int(Qt::Key_1) << int(Qt::AltModifier) << "500";
    QTest::newRow("A sola") << int(Qt::Key_A) << int(Qt::NoModifier) << "500a";
    QTest::newRow("Ctrl+Alt+2 (AltGr)")
        << int(Qt::Key_2) << int(Qt::ControlModifier | Qt::AltModifier) << "5002";
  }
  void altConLetraNoEscribe() {
    QFETCH(int, tecla);
    QFETCH(int, modificadores);
    QFETCH(QString, texto);
    Mostrar();
    auto* uacr = Control("txtUacr");
    uacr->setFocus();
    uacr->end(false);
    QTest::keyClick(uacr, static_cast<Qt::Key>(tecla), Qt::KeyboardModifiers(modificadores));
    QCOMPARE(uacr->text(), texto);
    if (texto == QStringLiteral("500")) {
      Control("txtIdc")->setText(QStringLiteral("1000"));
      QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
      QVERIFY(avisador_->mensajes.isEmpty());
      QCOMPARE(Texto("txtIdc"), QStringLiteral("1000"));
      QCOMPARE(Texto("txtVdcr"), QStringLiteral("537"));
    }
  }

  // Text drawn whole at the screen's scale, whatever the font engine: the minus of "-1050,0" (lost
  // at 120 dpi under Wine's default smoothing with GDI's engine), the digits' tops and strokes.
  void textoIntacto() {
    delete ventana_;
    Abrir(zelk::prueba::kEspana);
    Mostrar();
    auto* pi = Control("txtPi");
    QCOMPARE(pi->text(), QStringLiteral("-1050,0"));
    const qreal escala = pi->devicePixelRatioF();
    qInfo("%.2f píxeles del dispositivo por píxel", escala);
    int tinta = 0;
    QCOMPARE(TrazosPerdidos(pi->font(), QStringLiteral("-"), escala, &tinta), 0);
    QVERIFY(tinta >= QFontMetrics(pi->font()).horizontalAdvance(u'-') * escala / 2);
    QCOMPARE(TrazosPerdidos(pi->font(), pi->text(), escala), 0);
    QCOMPARE(TrazosPerdidos(pi->font(), QStringLiteral("ÁÉÍ 0123456789 [ºkV] Cálculos"), escala),
             0);
  }

  // The window fits whatever font the desktop gives it, also when the desktop sets it after the
  // window is made (as qt6ct does): every caption, start-up result and button word whole.
  void fuenteDelEscritorio_data() {
    QTest::addColumn<QString>("familia");
    QTest::addColumn<int>("puntos");
    QTest::newRow("la del escritorio") << QString() << 0;
    QTest::newRow("DejaVu Sans 9") << "DejaVu Sans" << 9;
    QTest::newRow("DejaVu Sans 11") << "DejaVu Sans" << 11;
    QTest::newRow("DejaVu Serif 16") << "DejaVu Serif" << 16;
  }
  void fuenteDelEscritorio() {
    QFETCH(QString, familia);
    QFETCH(int, puntos);
    Mostrar();
    const QFont antes = QApplication::font();
    // Under a platform theme, the font it was set to give (so that the check is of that font).
    if (qEnvironmentVariableIsSet("ZELK_FUENTE_DEL_TEMA") && familia.isEmpty())
      QCOMPARE(QStringLiteral("%1 %2").arg(antes.family()).arg(antes.pointSize()),
               qEnvironmentVariable("ZELK_FUENTE_DEL_TEMA"));
    if (!familia.isEmpty())
      QApplication::setFont(QFont(familia, puntos));
    QCoreApplication::processEvents();
    for (const auto& r : kRotulos) {
      auto* etiqueta = Control<QLabel>(r.etiqueta);
      QVERIFY2(etiqueta->fontMetrics().horizontalAdvance(etiqueta->text()) <= etiqueta->width(),
               r.etiqueta);
      auto* campo = dynamic_cast<zelk::ui::CajaTexto*>(Control(r.campo));
      QVERIFY2(!campo->Desborda(), r.campo);
      QVERIFY(campo->fontMetrics().height() <= 14);
    }
    for (auto* boton : ventana_->findChildren<zelk::ui::BotonAjustado*>())
      for (const QString& palabra : boton->text().split(u' '))
        QVERIFY2(boton->fontMetrics().horizontalAdvance(palabra) <=
                     boton->width() - 2 * zelk::ui::BotonAjustado::kMargen,
                 qPrintable(palabra));
    QApplication::setFont(antes);
  }

  // A result wider than its field shows that it goes on: "…" where it is cut, on the right while
  // the field shows its beginning, on the left once scrolled to its end, and the whole text as
  // the field's tool tip; a text that fits has neither.
  void resultadoQueNoCabe() {
    Mostrar();
    Control("txtIdc")->setText(QStringLiteral("1e12"));
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    auto* iacr = dynamic_cast<zelk::ui::CajaTexto*>(Control("txtIacr"));
    QVERIFY(iacr->Desborda());
    QCOMPARE(iacr->toolTip(), iacr->text());
    // The same field without the mark, drawn by QLineEdit alone.
    QLineEdit llano(iacr->text(), iacr->parentWidget());
    llano.setGeometry(iacr->geometry());
    llano.setFont(iacr->font());
    llano.setCursorPosition(0);
    const auto diferencias = [&] {
      const QImage a = iacr->grab().toImage(), b = llano.grab().toImage();
      int izquierda = 0, derecha = 0;
      for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
          if (a.pixel(x, y) != b.pixel(x, y))
            ++(x < a.width() / 2 ? izquierda : derecha);
      return std::pair{izquierda, derecha};
    };
    auto [izquierda, derecha] = diferencias();
    QCOMPARE(izquierda, 0);
    QVERIFY(derecha > 0);
    iacr->end(false);
    llano.end(false);
    std::tie(izquierda, derecha) = diferencias();
    QVERIFY(izquierda > 0);
    QCOMPARE(derecha, 0);
    Control("txtIdc")->setText(QStringLiteral("2000"));
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    QVERIFY(!iacr->Desborda());
    QCOMPARE(iacr->toolTip(), QString());
  }

  // Without any font (a system with no font installed) the fitting leaves the font alone rather
  // than asking Qt for a pixel size of 0 or less.
  void sinAvisoDeTamano() {
    static QStringList avisos;
    avisos.clear();
    const auto anterior = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& texto) { avisos << texto; });
    delete ventana_;
    Abrir(zelk::prueba::kEstadosUnidos);
    ventana_->show();
    QCoreApplication::processEvents();
    qInstallMessageHandler(anterior);
    for (const QString& aviso : avisos)
      QVERIFY2(!aviso.contains(QStringLiteral("Pixel size")), qPrintable(aviso));
  }

  // Qt's own texts are Spanish, like every other text of the program, whatever the locale.
  void textosDeQtEnEspanol() {
    std::unique_ptr<QMenu> menu(Control("txtUacr")->createStandardContextMenu());
    QStringList textos;
    for (auto* accion : menu->actions())
      if (!accion->isSeparator())
        textos << accion->text().section(u'\t', 0, 0);
    QCOMPARE(textos.first(), QStringLiteral("&Deshacer"));
    QVERIFY(!textos.contains(QStringLiteral("&Undo")));
    QVERIFY(!textos.contains(QStringLiteral("Select All")));
  }

  void resultadoEscritoIgnorado() {
    Control("txtAlpha")->setText(QStringLiteral("99"));
    Control("txtVdcr")->setText(QStringLiteral("abc"));
    QTest::keyClicks(Control("txtPr"), QStringLiteral("xyz"));
    QCOMPARE(Texto("txtAlpha"), QStringLiteral("99"));
    QTest::mouseClick(Control<QPushButton>("cmdCalcular"), Qt::LeftButton);
    QCOMPARE(Texto("txtAlpha"), QStringLiteral("18.40"));
    QCOMPARE(Texto("txtVdcr"), QStringLiteral("549"));
    QCOMPARE(Texto("txtPr"), QStringLiteral("1098.0"));
  }

  void nadaSeMueveAlRedimensionar_data() {
    QTest::addColumn<QSize>("tamano");
    QTest::newRow("mayor") << QSize(1200, 900);
    QTest::newRow("menor") << QSize(300, 200);
  }
  void nadaSeMueveAlRedimensionar() {
    QFETCH(QSize, tamano);
    Mostrar();
    const auto lugares = LugaresEsperados();
    ventana_->resize(tamano);
    QTRY_COMPARE(ventana_->size(), tamano);
    for (const auto& l : lugares) {
      auto* control = Control<QWidget>(l.control);
      QCOMPARE(control->geometry(), LugarVisto(control, l.pixeles));
    }
  }

  void salirCierraSinPreguntar_data() {
    QTest::addColumn<int>("como");
    QTest::newRow("botón") << 0;
    QTest::newRow("menú") << 1;
    QTest::newRow("barra de título") << 2;
  }
  void salirCierraSinPreguntar() {
    QFETCH(int, como);
    Mostrar();
    Control("txtUacr")->setText(QStringLiteral("123"));
    if (como == 0)
      QTest::mouseClick(Control<QPushButton>("cmdSalir"), Qt::LeftButton);
    else if (como == 1)
      ventana_->findChild<QAction*>(QStringLiteral("mnuSalir"))->trigger();
    else
      ventana_->close();
    QTRY_VERIFY(ventana_.isNull());
  }

  void acercaDeAvisa() {
    QSignalSpy pedido(ventana_.data(), &FrmInicio::acercaDePedido);
    ventana_->findChild<QAction*>(QStringLiteral("mnuAcercaDe"))->trigger();
    QCOMPARE(pedido.count(), 1);
  }

  // Offscreen pictures of the window for a person to look at.
  void captura_data() {
    QTest::addColumn<bool>("coma");
    QTest::newRow("en_US") << false;
    QTest::newRow("es_ES") << true;
  }
  void captura() {
    QFETCH(bool, coma);
    delete ventana_;
    Abrir(coma ? zelk::prueba::kEspana : zelk::prueba::kEstadosUnidos);
    Mostrar();
    // At other than one device pixel per pixel, the ratio in the name: "frmInicio_es_ES@1.25.png".
    const qreal escala = ventana_->devicePixelRatioF();
    const QString archivo = QStringLiteral(ZELK_CAPTURAS "/frmInicio_%1%2.png")
                                .arg(QString::fromUtf8(QTest::currentDataTag()),
                                     escala == 1.0 ? QString() : QStringLiteral("@%1").arg(escala));
    QVERIFY(ventana_->grab().save(archivo));
  }
};

ZELK_PRUEBA_VENTANAS(FrmInicioTest)
#include "frm_inicio_test.moc"
