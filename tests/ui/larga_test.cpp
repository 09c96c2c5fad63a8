// A long run of the real window: start-up, 10,000 presses of "Calcular" over changing texts,
// resets, rejected data through the seam and 200 openings of the About window. Under the
// sanitizer build LeakSanitizer checks the end; here the resident memory after warm-up must stay
// flat, and Qt must not warn.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "tests/regionales.h"
#include "tests/ui/avisador_prueba.h"
#include "tests/ui/memoria.h"
#include "tests/ui/principal.h"
#include "ui/main/aplicacion.h"
#include "ui/main/ventanas.h"

namespace {

int avisosDeQt = 0;
QtMessageHandler anterior = nullptr;

// The offscreen platform says that it cannot raise a window or pass on size hints, and Wine that
// it lacks the scaling of window frames; those are notes of the test platform, not warnings
// about the program.
void Contar(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
  if (tipo != QtDebugMsg && tipo != QtInfoMsg &&
      !texto.startsWith(QLatin1String("This plugin does not support")) &&
      !texto.startsWith(QLatin1String("EnableNonClientDpiScaling() failed")))
    ++avisosDeQt;
  anterior(tipo, contexto, texto);
}

// Under a sanitizer or valgrind the allocator holds freed memory back on purpose.
bool BajoHerramientaDeMemoria() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  const char* precarga = std::getenv("LD_PRELOAD");
  return precarga != nullptr && std::strstr(precarga, "vgpreload") != nullptr;
#endif
}

}  // namespace

class LargaTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    anterior = qInstallMessageHandler(Contar);
    zelk::ui::PrepararAplicacion();
  }

  void diezMilPasadas() {
    zelk::prueba::AvisadorPrueba avisador;
    auto ventanas = std::make_unique<zelk::ui::Ventanas>(zelk::prueba::kEspana, avisador);
    ventanas->MostrarInicio();
    QVERIFY(QTest::qWaitForWindowExposed(ventanas->Inicio()));
    auto* inicio = ventanas->Inicio();
    auto* calcular = inicio->findChild<QPushButton*>(QStringLiteral("cmdCalcular"));
    auto* valores = inicio->findChild<QPushButton*>(QStringLiteral("cmdValoresDefault"));
    auto* acercaDe = inicio->findChild<QAction*>(QStringLiteral("mnuAcercaDe"));
    auto* idc = inicio->CampoTexto(zelk::Campo::Idc);
    auto* uacr = inicio->CampoTexto(zelk::Campo::Uacr);
    auto* xcr = inicio->CampoTexto(zelk::Campo::Xcr);
    auto* alpha = inicio->CampoTexto(zelk::Campo::alpha);

    constexpr int kPasadas = 10000, kCalentamiento = 1000;
    long trasCalentar = 0;
    int aperturas = 0, rechazos = 0;
    for (int i = 0; i < kPasadas; ++i) {
      idc->setText(QString::number(500 + i % 3000));
      uacr->setText(QStringLiteral("%1,%2").arg(400 + i % 200).arg(i % 10));
      xcr->setText(i % 7 == 0 ? QStringLiteral("1.000,5") : QStringLiteral("3,88"));
      if (i % 250 == 0) {
        uacr->setText(QStringLiteral("no es un número"));
        ++rechazos;
      }
      calcular->click();
      QVERIFY(!alpha->text().isEmpty());
      if (i % 100 == 99)
        valores->click();
      if (i % 50 == 0 && aperturas < 200) {
        acercaDe->trigger();
        QVERIFY(ventanas->Acerca() != nullptr);
        ventanas->Acerca()->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        ++aperturas;
      }
      if (i % 50 == 0) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
      }
      if (i == kCalentamiento)
        trasCalentar = zelk::prueba::KilobytesResidentes();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    // The last few openings ran after the pass loop's own.
    while (aperturas < 200) {
      acercaDe->trigger();
      ventanas->Acerca()->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      ++aperturas;
    }
    const long alFinal = zelk::prueba::KilobytesResidentes();
    const long crecimientoKb = alFinal - trasCalentar;
    qInfo("memoria residente tras calentar %ld kB, al final %ld kB, crecimiento %ld kB",
          trasCalentar, alFinal, crecimientoKb);

    QCOMPARE(aperturas, 200);
    QCOMPARE(avisador.mensajes.size(), rechazos);
    QCOMPARE(ventanas->Acerca(), nullptr);
    QCOMPARE(avisosDeQt, 0);
    // Allocators keep a little slack; a leak of one field text per pass would be far more.
    if (!BajoHerramientaDeMemoria())
      QVERIFY2(crecimientoKb <= 256, qPrintable(QString::number(crecimientoKb)));
  }
};

ZELK_PRUEBA_VENTANAS(LargaTest)
#include "larga_test.moc"
