// The About window and the lifetime of both windows: one instance, reloaded at every opening,
// its keys and its launcher, and the end of the program with the last window.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QtTest>
#include <memory>

#include "tests/regionales.h"
#include "tests/ui/avisador_prueba.h"
#include "tests/ui/principal.h"
#include "ui/main/aplicacion.h"
#include "ui/main/ventanas.h"

using zelk::ui::FrmAbout;
using zelk::ui::Ventanas;

namespace {

int AcercasAbiertas() {
  int n = 0;
  for (auto* w : QApplication::topLevelWidgets())
    if (qobject_cast<FrmAbout*>(w) != nullptr && w->isVisible())
      ++n;
  return n;
}

template <typename T>
T* Hijo(QWidget* ventana, const char* nombre) {
  auto* c = ventana->findChild<T*>(QString::fromUtf8(nombre));
  if (c == nullptr)
    qFatal("no control %s", nombre);
  return c;
}

// Every accessible object below `raiz`, depth first.
void Recorrer(QAccessibleInterface* raiz, QList<QAccessibleInterface*>& todos) {
  if (raiz == nullptr)
    return;
  todos << raiz;
  for (int i = 0; i < raiz->childCount(); ++i)
    Recorrer(raiz->child(i), todos);
}

}  // namespace

class VentanasTest : public QObject {
  Q_OBJECT

  std::unique_ptr<zelk::prueba::AvisadorPrueba> avisador_;
  std::unique_ptr<Ventanas> ventanas_;
  int lanzamientos_ = 0;

  FrmAbout* AbrirAcerca() {
    ventanas_->AbrirAcerca();
    auto* acerca = ventanas_->Acerca();
    if (acerca != nullptr && !QTest::qWaitForWindowExposed(acerca))
      qWarning("About window not exposed");
    return acerca;
  }

 private slots:
  void initTestCase() { zelk::ui::PrepararAplicacion(); }
  void init() {
    avisador_ = std::make_unique<zelk::prueba::AvisadorPrueba>();
    ventanas_ = std::make_unique<Ventanas>(zelk::prueba::kEstadosUnidos, *avisador_);
    ventanas_->MostrarInicio();
    QVERIFY(QTest::qWaitForWindowExposed(ventanas_->Inicio()));
    lanzamientos_ = 0;
  }
  void cleanup() {
    ventanas_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(AcercasAbiertas(), 0);
  }

  // A minimised About window comes back with "Acerca De...": restored, in front and active, so
  // that closing the main window never leaves the program running with nothing on screen.
  void acercaMinimizadaVuelve() {
    auto* acerca = AbrirAcerca();
    acerca->showMinimized();
    QTRY_VERIFY(acerca->isMinimized());
    ventanas_->AbrirAcerca();
    QCOMPARE(ventanas_->Acerca(), acerca);
    QVERIFY(!acerca->isMinimized());
    QVERIFY(acerca->isVisible());
    QTRY_VERIFY(acerca->isActiveWindow());
    QCOMPARE(AcercasAbiertas(), 1);
  }

  // Desktops pair a window with its launcher by the desktop entry's name (Wayland, KDE) or by
  // the window's class, which on X11 is the application's name.
  void emparejadaConSuEntradaDeEscritorio() {
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.zelk.zelk"));
    QFile entrada(QStringLiteral(ZELK_ENTRADA_ESCRITORIO));
    QVERIFY(entrada.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QFileInfo(entrada).completeBaseName(), QGuiApplication::desktopFileName());
    QStringList clases;
    for (const QString& linea : QString::fromUtf8(entrada.readAll()).split(u'\n'))
      if (linea.startsWith(QStringLiteral("StartupWMClass=")))
        clases << linea.section(u'=', 1);
    QCOMPARE(clases, QStringList{QCoreApplication::applicationName()});
  }

  void acercaComoSeDibuja() {
    auto* acerca = AbrirAcerca();
    QCOMPARE(acerca->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(acerca->windowTitle(), QStringLiteral("Acerca de este programa..."));
    QCOMPARE(acerca->size(), QSize(382, 237));
    QCOMPARE(acerca->minimumSize(), acerca->maximumSize());
    QCOMPARE(acerca->parentWidget(), nullptr);
    QVERIFY(!acerca->isModal());
    const auto banderas = acerca->windowFlags();
    QVERIFY(!(banderas & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(banderas & Qt::WindowMaximizeButtonHint));
    QVERIFY(banderas & Qt::WindowCloseButtonHint);
    QVERIFY(!acerca->windowIcon().isNull());

    struct Esperado {
      const char* nombre;
      QRect lugar;
      const char* texto;
    };
    const Esperado controles[] = {
        {"cmdOK", {283, 175, 84, 23}, "OK"},
        {"cmdSysInfo", {284, 205, 83, 23}, "&System Info..."},
        {"lblDescription",
         {70, 75, 259, 78},
         "Este programa calcula en base a los datos de los extremos rectificador e inversor, y "
         "de la corriente continua transmitida, las potencias en corriente alterna de ambos "
         "extremos."},
        {"lblDisclaimer", {16, 175, 258, 55}, "Desarrollado por el equipo de zelk."},
        {"lblTitle", {70, 16, 259, 32}, "ZELK"},
        {"lblVersion", {72, 48, 75, 15}, "Version 1.2"},
    };
    for (const auto& c : controles) {
      auto* control = Hijo<QWidget>(acerca, c.nombre);
      QCOMPARE(control->geometry(), c.lugar);
      const auto* boton = qobject_cast<QPushButton*>(control);
      const QString texto =
          boton != nullptr ? boton->text() : qobject_cast<QLabel*>(control)->text();
      QCOMPARE(texto, QString::fromUtf8(c.texto));
    }
    QVERIFY(Hijo<QLabel>(acerca, "lblDescription")->wordWrap());
    QCOMPARE(Hijo<QWidget>(acerca, "Line1_1")->geometry(), QRect(6, 163, 371, 1));
    QCOMPARE(Hijo<QWidget>(acerca, "Line1_0")->geometry(), QRect(7, 164, 370, 2));
    QCOMPARE(Hijo<QWidget>(acerca, "Line1_1")->palette().color(QPalette::Window),
             QColor(128, 128, 128));
    QCOMPARE(Hijo<QWidget>(acerca, "Line1_0")->palette().color(QPalette::Window),
             QColor(255, 255, 255));
    QVERIFY(Hijo<QPushButton>(acerca, "cmdOK")->isDefault());
    acerca->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(acerca));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdSysInfo"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdOK"));
  }

  void unaSolaInstancia() {
    auto* primera = AbrirAcerca();
    auto* segunda = AbrirAcerca();
    QCOMPARE(segunda, primera);
    QCOMPARE(AcercasAbiertas(), 1);
    ventanas_->Inicio()->findChild<QAction*>(QStringLiteral("mnuAcercaDe"))->trigger();
    QCOMPARE(ventanas_->Acerca(), primera);
    QCOMPARE(AcercasAbiertas(), 1);
  }

  void cierreYRecarga_data() {
    QTest::addColumn<int>("como");
    QTest::newRow("OK") << 0;
    QTest::newRow("Enter") << 1;
    QTest::newRow("Esc") << 2;
    QTest::newRow("barra de título") << 3;
  }
  void cierreYRecarga() {
    QFETCH(int, como);
    QPointer<FrmAbout> acerca = AbrirAcerca();
    acerca->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(acerca));
    Hijo<QLabel>(acerca, "lblTitle")->setText(QStringLiteral("cambiado"));
    Hijo<QLabel>(acerca, "lblVersion")->setText(QStringLiteral("cambiado"));
    switch (como) {
      case 0:
        QTest::mouseClick(Hijo<QPushButton>(acerca, "cmdOK"), Qt::LeftButton);
        break;
      case 1:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
      case 2:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        break;
      default:
        acerca->close();
    }
    QTRY_VERIFY(acerca.isNull());
    QCOMPARE(ventanas_->Acerca(), nullptr);
    auto* otra = AbrirAcerca();
    QCOMPARE(Hijo<QLabel>(otra, "lblTitle")->text(), QStringLiteral("ZELK"));
    QCOMPARE(Hijo<QLabel>(otra, "lblVersion")->text(), QStringLiteral("Version 1.2"));
    QCOMPARE(otra->windowTitle(), QStringLiteral("Acerca de este programa..."));
  }

  void altSLanzaLaHerramienta() {
    ventanas_->PonerLanzador([this] { ++lanzamientos_; });
    auto* acerca = AbrirAcerca();
    acerca->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(acerca));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(lanzamientos_, 1);  // an access key animates the click
    QTest::mouseClick(Hijo<QPushButton>(acerca, "cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(lanzamientos_, 2);
    QVERIFY(acerca->isVisible());
  }

  // Without a registry the lookups fail and the user gets the one message; the window stays.
  void sinRegistroAvisa() {
    auto* acerca = AbrirAcerca();
    QTest::mouseClick(Hijo<QPushButton>(acerca, "cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(avisador_->mensajes, QStringList{"System Information Is Unavailable At This Time"});
    QVERIFY(acerca->isVisible());
    QCOMPARE(ventanas_->Acerca(), acerca);
  }

  void calcularConAcercaAbierto() {
    AbrirAcerca();
    auto* inicio = ventanas_->Inicio();
    Hijo<QLineEdit>(inicio, "txtIdc")->setText(QStringLiteral("1000"));
    QTest::mouseClick(Hijo<QPushButton>(inicio, "cmdCalcular"), Qt::LeftButton);
    QCOMPARE(Hijo<QLineEdit>(inicio, "txtVdcr")->text(), QStringLiteral("537"));
    QCOMPARE(AcercasAbiertas(), 1);
  }

  // The program ends when its last window closes, whichever that is.
  void finConLaUltimaVentana_data() {
    QTest::addColumn<bool>("acercaAbierta");
    QTest::newRow("solo la principal") << false;
    QTest::newRow("con Acerca de abierta") << true;
  }
  void finConLaUltimaVentana() {
    QFETCH(bool, acercaAbierta);
    QPointer<FrmAbout> acerca = acercaAbierta ? AbrirAcerca() : nullptr;
    bool siguioTrasSalir = false;
    QTimer::singleShot(0, this, [&] {
      QTest::mouseClick(Hijo<QPushButton>(ventanas_->Inicio(), "cmdSalir"), Qt::LeftButton);
    });
    // Once the main window is gone (however long a loaded machine takes), the About must still be
    // there; closing it ends the program.
    QTimer sondeo;
    connect(&sondeo, &QTimer::timeout, this, [&] {
      if (ventanas_->Inicio() != nullptr)
        return;
      sondeo.stop();
      siguioTrasSalir = acerca && acerca->isVisible();
      if (acerca)
        acerca->close();
    });
    if (acercaAbierta)
      sondeo.start(20);
    QTimer guarda;
    guarda.setSingleShot(true);
    connect(&guarda, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    guarda.start(5000);
    QCOMPARE(QApplication::exec(), 0);  // ended by the last window, not by the guard
    QCOMPARE(ventanas_->Inicio(), nullptr);
    QCOMPARE(siguioTrasSalir, acercaAbierta);
  }

  // What a screen reader finds: the schematic named and described, each field described by its
  // label's tool tip, the About's texts in reading order, and no frame without a name.
  void accesibilidad() {
    auto* acerca = AbrirAcerca();
    QList<QAccessibleInterface*> todos;
    Recorrer(QAccessible::queryAccessibleInterface(ventanas_->Inicio()), todos);
    const auto principal = todos.size();
    Recorrer(QAccessible::queryAccessibleInterface(acerca), todos);
    QStringList textosAcerca;
    int campos = 0;
    for (int i = 0; i < todos.size(); ++i) {
      auto* a = todos[i];
      const QString nombre = a->text(QAccessible::Name);
      const QString objeto = a->object() ? a->object()->objectName() : QString();
      if (a->role() == QAccessible::Border || a->role() == QAccessible::Grouping ||
          a->role() == QAccessible::Pane || a->role() == QAccessible::Separator)
        QVERIFY2(!nombre.isEmpty(), qPrintable(objeto));
      if (objeto == QStringLiteral("Image1")) {
        QCOMPARE(nombre, QStringLiteral("Esquema del enlace"));
        QVERIFY(a->text(QAccessible::Description).startsWith(QStringLiteral("Un polo del enlace")));
      }
      if (auto* campo = qobject_cast<QLineEdit*>(a->object())) {
        ++campos;
        auto* etiqueta =
            ventanas_->Inicio()->findChild<QLabel*>(QString(), Qt::FindChildrenRecursively);
        for (auto* l : ventanas_->Inicio()->findChildren<QLabel*>())
          if (l->buddy() == campo)
            etiqueta = l;
        QCOMPARE(nombre, etiqueta->text());
        QCOMPARE(a->text(QAccessible::Description), etiqueta->toolTip());
      }
      if (i >= principal && a->role() == QAccessible::StaticText)
        textosAcerca << nombre;
    }
    QCOMPARE(campos, 31);
    QCOMPARE(textosAcerca,
             (QStringList{"ZELK", "Version 1.2", Hijo<QLabel>(acerca, "lblDescription")->text(),
                          "Desarrollado por el equipo de zelk."}));
  }

  // The About's texts read under any palette: under a dark one the window keeps the light look it
  // was drawn with (black texts as specified, the etched separator); and every text fits its box
  // whatever the desktop's font.
  void acercaLegible_data() {
    QTest::addColumn<bool>("oscura");
    QTest::addColumn<int>("puntos");
    QTest::newRow("la del escritorio") << false << 0;
    QTest::newRow("oscura") << true << 0;
    QTest::newRow("oscura, DejaVu Sans 11") << true << 11;
  }
  void acercaLegible() {
    QFETCH(bool, oscura);
    QFETCH(int, puntos);
    const QPalette paleta = QApplication::palette();
    const QFont fuente = QApplication::font();
    if (oscura)
      QApplication::setPalette(QPalette(QColor(53, 53, 53)));
    if (puntos > 0)
      QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), puntos));
    auto* acerca = AbrirAcerca();
    QCoreApplication::processEvents();
    const QImage imagen = acerca->grab().toImage();
    const int fondo = qGray(imagen.pixel(2, 2));
    for (const char* nombre : {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"}) {
      auto* etiqueta = Hijo<QLabel>(acerca, nombre);
      const int texto = qGray(etiqueta->palette().color(QPalette::WindowText).rgb());
      QVERIFY2(std::abs(texto - fondo) > 128, nombre);
      const QRect ocupa = etiqueta->fontMetrics().boundingRect(
          etiqueta->rect(), Qt::TextWordWrap * etiqueta->wordWrap(), etiqueta->text());
      QVERIFY2(etiqueta->rect().contains(ocupa), nombre);
    }
    for (auto* boton : acerca->findChildren<QPushButton*>()) {
      QStyleOptionButton opcion;
      opcion.initFrom(boton);
      const QRect bisel =
          boton->style()->subElementRect(QStyle::SE_PushButtonContents, &opcion, boton);
      QVERIFY(boton->fontMetrics().horizontalAdvance(boton->text().remove(u'&')) <= bisel.width());
    }
    QApplication::setPalette(paleta);
    QApplication::setFont(fuente);
  }

  void captura_data() {
    QTest::addColumn<bool>("coma");
    QTest::newRow("en_US") << false;
    QTest::newRow("es_ES") << true;
  }
  void captura() {
    QFETCH(bool, coma);
    ventanas_ = std::make_unique<Ventanas>(
        coma ? zelk::prueba::kEspana : zelk::prueba::kEstadosUnidos, *avisador_);
    auto* acerca = AbrirAcerca();
    const QString archivo = QStringLiteral(ZELK_CAPTURAS "/frmAbout_%1.png")
                                .arg(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(acerca->grab().save(archivo));
  }
};

ZELK_PRUEBA_VENTANAS(VentanasTest)
#include "ventanas_test.moc"
