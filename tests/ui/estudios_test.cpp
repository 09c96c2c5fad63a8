// zelk Estudios' window: the case as the user types, a sweep and its plot, a PSS/E case, a study
// saved and opened back, a change asked about before it is lost, damaged files, exports, the
// keyboard and pictures of the window.
#include <qcustomplot.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <map>
#include <memory>
#include <sstream>

#include "lote/lotes.h"
#include "tests/regionales.h"
#include "tests/ui/dialogos_prueba.h"
#include "tests/ui/principal.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/aplicacion_estudios.h"
#include "ui/estudios/campo_con_motivo.h"
#include "ui/estudios/dialogo_buscar.h"
#include "ui/estudios/grafico_barrido.h"
#include "ui/estudios/modelo_barrido.h"
#include "ui/estudios/panel_barrido.h"
#include "ui/estudios/panel_caso.h"
#include "ui/estudios/panel_psse.h"
#include "ui/estudios/panel_resultados.h"
#include "ui/estudios/ventana_estudios.h"

using zelk::prueba::DialogosPrueba;
using zelk::ui::estudios::CampoConMotivo;
using zelk::ui::estudios::Dialogos;
using zelk::ui::estudios::VentanaEstudios;

namespace {

std::size_t Control(const char* nombre) {
  return static_cast<std::size_t>(zelk::BuscarControl(nombre) - zelk::kControl.data());
}
std::size_t Resultado(const char* nombre) {
  return zelk::Indice(zelk::BuscarResultado(nombre)->campo) - zelk::kNumParametros;
}

// Types `texto` over the field's text, key by key, as a user does (also letters beyond ASCII,
// which QTest's own typing does not take).
void Escribir(QLineEdit* campo, const QString& texto) {
  campo->setFocus();
  campo->selectAll();
  QTest::keyClick(campo, Qt::Key_Delete);
  for (const QChar c : texto) {
    QKeyEvent pulsada(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(campo, &pulsada);
  }
}

// The curves of the plot by name: those with points and a line, not the legend's samples nor the
// marks of lone points.
std::map<QString, QCPGraph*> Curvas(QCustomPlot* lienzo) {
  std::map<QString, QCPGraph*> curvas;
  for (int i = 0; i < lienzo->graphCount(); ++i) {
    QCPGraph* g = lienzo->graph(i);
    if (!g->data()->isEmpty() && g->lineStyle() != QCPGraph::lsNone)
      curvas[g->name()] = g;
  }
  return curvas;
}

// Through Qt, so that a name outside the ANSI code page opens on Windows too.
std::string Leer(const QString& ruta) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return f.readAll().toStdString();
}

}  // namespace

class EstudiosTest : public QObject {
  Q_OBJECT

  std::unique_ptr<DialogosPrueba> dialogos_;
  std::unique_ptr<VentanaEstudios> ventana_;
  QTemporaryDir carpeta_;

  void Abrir(const zelk::ConfiguracionRegional& r) {
    ventana_.reset();
    dialogos_ = std::make_unique<DialogosPrueba>();
    ventana_ = std::make_unique<VentanaEstudios>(r, *dialogos_);
    ventana_->show();
    QVERIFY(QTest::qWaitForWindowExposed(ventana_.get()));
    CalcularYEsperar();
  }

  void CalcularYEsperar() {
    QSignalSpy mostrado(ventana_->Barrido(), &zelk::ui::estudios::PanelBarrido::barridoMostrado);
    ventana_->Barrido()->Calcular();
    // Settings that make no sweep are told at once.
    if (mostrado.isEmpty())
      QVERIFY(mostrado.wait(20000));
  }

  CampoConMotivo* Campo(const char* nombre) {
    if (const auto* p = zelk::BuscarParametro(nombre))
      return ventana_->Caso()->Campo(zelk::Indice(p->campo));
    return ventana_->Caso()->CampoControl(Control(nombre));
  }
  QString ResultadoVisto(const char* nombre) {
    return ventana_->Resultados()->Resultado(Resultado(nombre))->text();
  }
  QString Ruta(const QString& nombre) { return carpeta_.filePath(nombre); }

 private slots:
  void initTestCase() {
    // The settings of these runs in a folder of their own, never the user's.
    qputenv("XDG_CONFIG_HOME", carpeta_.filePath(QStringLiteral("config")).toLocal8Bit());
    zelk::ui::estudios::PrepararEstudios();
    QSettings().clear();
  }

  void init() { Abrir(zelk::prueba::kEspana); }
  void cleanup() {
    if (ventana_)
      ventana_->setWindowModified(false);
    ventana_.reset();
  }

  // Each text typed is read as a file's number: one that is not says why beside its field and
  // leaves every other field as it was; the results follow every key.
  void escribirEnElCaso_data() {
    QTest::addColumn<QString>("dato");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("motivo");  // beside the field; empty: taken
    QTest::addColumn<QString>("vdcr");    // the result shown, or empty for none
    QTest::newRow("Idc") << "Idc"
                         << "1000" << QString() << "537";
    QTest::newRow("grupos de tres") << "Idc"
                                    << "1.000" << QString() << "537";
    QTest::newRow("punto decimal") << "Xcr"
                                   << "3.88"
                                   << "«3.88» no es un número con coma decimal; lo es con punto "
                                      "decimal"
                                   << QString();
    QTest::newRow("cero") << "Nr"
                          << "0"
                          << "no puede valer 0" << QString();
    QTest::newRow("vacío") << "Rdc" << QString() << "«» no es un número" << QString();
  }
  void escribirEnElCaso() {
    QFETCH(QString, dato);
    QFETCH(QString, texto);
    QFETCH(QString, motivo);
    QFETCH(QString, vdcr);
    auto* campo = Campo(dato.toUtf8().constData());
    const QString rdc = Campo("Rdc")->text();
    Escribir(campo, texto);
    QCOMPARE(campo->text(), texto);
    QCOMPARE(campo->Motivo()->text(), motivo);
    QCOMPARE(campo->Marcado(), !motivo.isEmpty());
    QCOMPARE(campo->Motivo()->isVisible(), !motivo.isEmpty());
    if (!motivo.isEmpty())
      QVERIFY(campo->accessibleDescription().endsWith(motivo));
    if (dato != u"Rdc")
      QCOMPARE(Campo("Rdc")->text(), rdc);  // never reset
    QCOMPARE(ResultadoVisto("Vdcr"), vdcr);
    auto* porQue = ventana_->Resultados()->Motivo();
    QCOMPARE(porQue->isVisible(), vdcr.isEmpty());
    if (vdcr.isEmpty())
      QVERIFY2(porQue->text().contains(QStringLiteral("«") + dato + QStringLiteral("»")),
               qPrintable(porQue->text()));
    QVERIFY(ventana_->isWindowModified());
    QVERIFY(ventana_->windowTitle().endsWith(QStringLiteral("[*]")));
  }

  // Every ERROR says why under its field; every limit of the model is among the warnings.
  void motivosYAvisos() {
    Escribir(Campo("Idc"), QStringLiteral("12000"));
    auto* alpha = ventana_->Resultados()->Resultado(Resultado("alpha"));
    QCOMPARE(alpha->text(), QStringLiteral("ERROR"));
    QVERIFY2(alpha->Motivo()->text().startsWith(QStringLiteral("cos α = 1,28 > 1: ")),
             qPrintable(alpha->Motivo()->text()));
    QCOMPARE(ventana_->Resultados()->Resultado(Resultado("mur"))->Motivo()->text(),
             QStringLiteral("ERROR porque alpha lo es"));
    QVERIFY(!ventana_->Resultados()->Resultado(Resultado("Vdcr"))->Marcado());
    Escribir(Campo("Idc"), QStringLiteral("2000"));
    QVERIFY(!alpha->Marcado());
    QCOMPARE(ventana_->Resultados()->Avisos()->text(), QStringLiteral("Ninguno"));
    Escribir(Campo("Nr"), QStringLiteral("1,5"));
    QVERIFY2(ventana_->Resultados()->Avisos()->text().startsWith(
                 QStringLiteral("• Nr = 1,5: el número de puentes en serie es un entero positivo")),
             qPrintable(ventana_->Resultados()->Avisos()->text()));
  }

  // "Buscar…": the value found, put into the case with a click, gives the result asked for.
  void buscar() {
    auto* dialogo = ventana_->Buscar();
    QVERIFY(dialogo->isVisible());
    dialogo->Resultado()->setCurrentIndex(dialogo->Resultado()->findData(QStringLiteral("Pr")));
    emit dialogo->Resultado()->activated(dialogo->Resultado()->currentIndex());
    Escribir(dialogo->Valor(), QStringLiteral("1.000"));
    QVERIFY(!dialogo->Valor()->Marcado());
    QTest::mouseClick(dialogo->BotonBuscar(), Qt::LeftButton);
    QCOMPARE(dialogo->Hallados()->count(), 1);
    QVERIFY(dialogo->Hallados()->item(0)->text().startsWith(QStringLiteral("Idc = 1828,35331")));
    QVERIFY2(dialogo->Notas()->text().startsWith(QStringLiteral("se busca Idc entre ")),
             qPrintable(dialogo->Notas()->text()));
    QTest::mouseClick(dialogo->BotonLlevar(), Qt::LeftButton);
    QCOMPARE(ResultadoVisto("Pr"), QStringLiteral("1000,0"));
    QCOMPARE(Campo("Idc")->text(), QStringLiteral("1828,353314106"));
    QVERIFY(ventana_->isWindowModified());
    QCOMPARE(ventana_->Estudio().busqueda.resultado, "Pr");
    QCOMPARE(ventana_->Estudio().busqueda.objetivo, "1.000");

    // A value no datum gives, and a range that is not one, say why.
    Escribir(dialogo->Valor(), QStringLiteral("50000"));
    QTest::mouseClick(dialogo->BotonBuscar(), Qt::LeftButton);
    QCOMPARE(dialogo->Hallados()->count(), 0);
    QVERIFY(!dialogo->BotonLlevar()->isEnabled());
    QVERIFY2(dialogo->Notas()->text().contains(QStringLiteral("ningún Idc entre")),
             qPrintable(dialogo->Notas()->text()));
    Escribir(dialogo->Desde(), QStringLiteral("x"));
    QVERIFY(dialogo->Desde()->Marcado());
    QTest::mouseClick(dialogo->BotonBuscar(), Qt::LeftButton);
    QCOMPARE(dialogo->Notas()->text(), QStringLiteral("margen, desde: «x» no es un número"));
    // Under control data the controls' data can be varied, and Idc is no longer a datum.
    ventana_->Caso()->GrupoControl()->setChecked(true);
    QVERIFY(dialogo->Dato()->findData(QStringLiteral("consigna")) >= 0);
    QCOMPARE(dialogo->Dato()->findData(QStringLiteral("Idc")), -1);
  }

  // With the group "Control" on the link settles under its controls; Idc and Vdci are theirs.
  void control() {
    auto* grupo = ventana_->Caso()->GrupoControl();
    QVERIFY(!grupo->isChecked());
    QVERIFY(!ventana_->Resultados()->Modo()->isVisibleTo(ventana_.get()));
    grupo->setChecked(true);
    QVERIFY(!Campo("Idc")->isEnabled());
    QCOMPARE(ventana_->Resultados()->Modo()->text(),
             QStringLiteral("corriente en el rectificador"));
    QCOMPARE(ventana_->Resultados()->Elegido(2)->text(), QStringLiteral("2000,00"));
    QCOMPARE(ventana_->Resultados()->Avisos()->text(), QStringLiteral("Ninguno"));
    // An Idc that is not a number does not matter to the controls.
    grupo->setChecked(false);
    Escribir(Campo("Idc"), QStringLiteral("x"));
    QVERIFY(Campo("Idc")->Marcado());
    grupo->setChecked(true);
    QVERIFY(!Campo("Idc")->Marcado());
    QVERIFY(!ventana_->Resultados()->Motivo()->isVisible());

    Escribir(Campo("alpha_min"), QStringLiteral("30"));
    QCOMPARE(Campo("alpha_min")->Motivo()->text(),
             QStringLiteral("no puede ser mayor que «alpha_max»"));
    QCOMPARE(ventana_->Resultados()->Motivo()->text(),
             QStringLiteral("Sin resultados: «alpha_min» = «30»: no puede ser mayor que "
                            "«alpha_max» = «20»"));
    Escribir(Campo("alpha_min"), QStringLiteral("5"));
    ventana_->Caso()->Orden()->setCurrentIndex(2);
    emit ventana_->Caso()->Orden()->activated(2);
    Escribir(Campo("consigna"), QStringLiteral("1500"));
    QCOMPARE(ventana_->Resultados()->Elegido(2)->text(), QStringLiteral("1500,00"));
    QCOMPARE(ventana_->Estudio().textosControl[Control("orden")], "corriente");
  }

  // The default sweep of Idc draws alpha, gamma, Pr and Qr; past some current alpha is ERROR,
  // and its curve stops there, a gap and not a line to the next value.
  void barrido_data() {
    QTest::addColumn<QString>("dato");
    QTest::addColumn<QString>("desde");
    QTest::addColumn<QString>("hasta");
    QTest::addColumn<int>("puntos");
    QTest::addColumn<int>("errores");     // points where alpha is ERROR
    QTest::addColumn<int>("rechazados");  // points whose data are rejected
    QTest::newRow("Idc hasta ERROR") << "Idc"
                                     << "500"
                                     << "12.000" << 47 << 34 << 0;
    QTest::newRow("Nr con un cero") << "Nr"
                                    << "-2"
                                    << "2" << 5 << 2 << 1;
    QTest::newRow("cien mil puntos") << "Rdc"
                                     << "0,5"
                                     << "30" << 100000 << 0 << 0;
  }
  void barrido() {
    QFETCH(QString, dato);
    QFETCH(QString, desde);
    QFETCH(QString, hasta);
    QFETCH(int, puntos);
    QFETCH(int, errores);
    QFETCH(int, rechazados);
    auto* panel = ventana_->Barrido();
    ventana_->Pestanas()->setCurrentWidget(panel);
    auto* combo = panel->Dato(0);
    combo->setCurrentIndex(combo->findData(dato));
    emit combo->activated(combo->currentIndex());
    Escribir(panel->Desde(0), desde);
    Escribir(panel->Hasta(0), hasta);
    panel->Puntos(0)->setValue(puntos);
    CalcularYEsperar();
    const auto b = panel->Barrido();
    QVERIFY(b);
    QCOMPARE(static_cast<int>(b->puntos), puntos);
    QCOMPARE(panel->Modelo()->rowCount(), puntos);
    QCOMPARE(static_cast<int>(b->rechazados), rechazados);

    const auto curvas = Curvas(panel->Grafico()->Lienzo());
    QCOMPARE(curvas.size(), 4u);
    // The angles, and the powers, in a panel each.
    QCOMPARE(panel->Grafico()->Lienzo()->axisRectCount(), 2);
    for (const char* nombre : {"alpha", "gamma", "Pr", "Qr"}) {
      const std::size_t n = Resultado(nombre);
      QVERIFY(curvas.count(zelk::ui::Q(zelk::kResultados[n].titulo)));
      const auto datos = curvas.at(zelk::ui::Q(zelk::kResultados[n].titulo))->data();
      int huecos = 0, valores = 0;
      for (auto it = datos->constBegin(); it != datos->constEnd(); ++it)
        (std::isnan(it->value) ? huecos : valores)++;
      // Thinned to what the plot's columns show, never more than four points a column.
      QVERIFY(datos->size() <= std::min(puntos + 2, 4 * 4000));
      int esperados = 0;
      for (std::size_t k = 0; k < b->puntos; ++k)
        esperados += !std::isnan(b->ResultadoEn(k, n));
      if (puntos <= 100)
        QCOMPARE(valores, esperados);
      // A gap after a value wherever a point has none, never a line across it.
      bool conHueco = false, antes = false;
      for (std::size_t k = 0; k < b->puntos; ++k) {
        const bool hay = !std::isnan(b->ResultadoEn(k, n));
        conHueco = conHueco || (antes && !hay);
        antes = antes || hay;
      }
      QVERIFY2((huecos > 0) == conHueco, nombre);
    }
    if (errores > 0) {
      const auto* modelo = panel->Modelo();
      int vistos = 0;
      const int columnaAlpha = static_cast<int>(b->barridos.size() + Resultado("alpha"));
      for (int f = 0; f < modelo->rowCount(); ++f)
        vistos += modelo->index(f, columnaAlpha).data().toString() == QStringLiteral("ERROR");
      QCOMPARE(vistos, errores);
    }
    // The value under the pointer, on a point of the first curve.
    QCPGraph* alpha = curvas.at(zelk::ui::Q(zelk::kResultados[Resultado("alpha")].titulo));
    auto punto = alpha->data()->constBegin();
    while (std::isnan(punto->value))
      ++punto;
    const QPointF pixel(alpha->keyAxis()->coordToPixel(punto->key),
                        alpha->valueAxis()->coordToPixel(punto->value));
    const QString leido = panel->Grafico()->LeerEn(pixel);
    QVERIFY2(leido.startsWith(zelk::ui::Q(b->barridos[0].Titulo()) + QStringLiteral(" = ")),
             qPrintable(leido));
    QVERIFY2(leido.contains(QStringLiteral(" — alpha [º] = ")), qPrintable(leido));
    QCOMPARE(panel->Grafico()->Lectura()->text(), leido);
  }

  // Zooming in draws the visible stretch again from every point kept, one beyond each edge.
  void zoom() {
    auto* panel = ventana_->Barrido();
    panel->Puntos(0)->setValue(100001);
    CalcularYEsperar();
    auto* eje = panel->Grafico()->Lienzo()->axisRect(0)->axis(QCPAxis::atBottom);
    eje->setRange(1000, 1001);
    QTRY_VERIFY(Curvas(panel->Grafico()->Lienzo()).begin()->second->data()->size() < 100);
    const auto datos = Curvas(panel->Grafico()->Lienzo()).begin()->second->data();
    QVERIFY(datos->size() >= 40);  // 0.025 A apart: 41 points in view
    QVERIFY(datos->constBegin()->key >= 999.9);
    QVERIFY((datos->constEnd() - 1)->key <= 1001.1);
    // Every panel shows the same stretch, and keeps it once thinned again.
    QCOMPARE(panel->Grafico()->Lienzo()->axisRect(1)->axis(QCPAxis::atBottom)->range().lower,
             1000.0);
  }

  // A second datum gives a family: one curve per value, each named by it.
  void familia() {
    auto* panel = ventana_->Barrido();
    panel->Familia()->setChecked(true);
    panel->Dibujado(Resultado("gamma"))->setChecked(false);
    panel->Dibujado(Resultado("Pr"))->setChecked(false);
    panel->Dibujado(Resultado("Qr"))->setChecked(false);
    CalcularYEsperar();
    const auto curvas = Curvas(panel->Grafico()->Lienzo());
    QCOMPARE(curvas.size(), 3u);
    QVERIFY(curvas.count(QStringLiteral("alpha [º], Rdc [ohm] = 12")));
    QCOMPARE(panel->Modelo()->columnCount(), 2 + 13 + 1);
    QCOMPARE(ventana_->Estudio().dibujados, std::vector<std::string>{"alpha"});
    // Sweeping a control datum needs the group on; Idc under control is the controls'.
    auto* combo = panel->Dato(0);
    combo->setCurrentIndex(combo->findData(QStringLiteral("consigna")));
    emit combo->activated(combo->currentIndex());
    CalcularYEsperar();
    QVERIFY2(panel->Estado()->text().contains(QStringLiteral("active el grupo «Control»")),
             qPrintable(panel->Estado()->text()));
    QVERIFY(!panel->Barrido());
    QCOMPARE(panel->Grafico()->Lienzo()->graphCount(), 0);
    QCOMPARE(panel->Grafico()->Lienzo()->axisRectCount(), 0);
  }

  // A RAW case: its line solved as zelk-calc solves it, the lines left aside named, and the line
  // brought into the case.
  void casoPsse() {
    QVERIFY(ventana_->AbrirArchivo(QStringLiteral(ZELK_PSSE_CASOS "/kundur_v33.raw")));
    QCOMPARE(ventana_->windowTitle(), QStringLiteral("zelk Estudios — kundur_v33.raw[*]"));
    QVERIFY(!ventana_->isWindowModified());
    auto* psse = ventana_->Psse();
    QCOMPARE(ventana_->Pestanas()->currentWidget(), psse);
    QCOMPARE(psse->Modelo()->rowCount(), 1);
    QCOMPARE(psse->Modelo()->index(0, 0).data().toString(), QStringLiteral("DC1"));
    QCOMPARE(psse->Modelo()->index(0, 1).data().toString(),
             QStringLiteral("corriente en el rectificador"));
    QCOMPARE(psse->Modelo()->index(0, 2).data().toString(), QStringLiteral("0,9375"));
    QVERIFY(psse->Notas()->text().contains(QStringLiteral("«VSC1», línea de continua VSC")));
    QVERIFY(psse->Notas()->text().contains(QStringLiteral("«MTDC1»")));
    // Opened as a study of its line.
    QVERIFY(ventana_->Caso()->GrupoControl()->isChecked());
    QCOMPARE(ventana_->Resultados()->Elegido(0)->text(), QStringLiteral("0,9375"));
    QCOMPARE(ventana_->Resultados()->Elegido(2)->text(), QStringLiteral("990,20"));
    QCOMPARE(ResultadoVisto("gamma"), QStringLiteral("24,61"));
    // Brought again after a change: the case is the line's once more, and changed.
    Escribir(Campo("Rdc"), QStringLiteral("3"));
    QVERIFY(psse->Llevar()->isEnabled());
    QTest::mouseClick(psse->Llevar(), Qt::LeftButton);
    QCOMPARE(ResultadoVisto("gamma"), QStringLiteral("24,61"));
    QVERIFY(ventana_->isWindowModified());
    // Saving a case asks for a study's name.
    dialogos_->archivos.push_back(Ruta(QStringLiteral("kundur")));
    QVERIFY(ventana_->Guardar());
    QCOMPARE(ventana_->Ruta(), Ruta(QStringLiteral("kundur.zelk")));
  }

  // Saved and opened back, under other regional settings too: the same case and sweep.
  void guardarYAbrir() {
    Escribir(Campo("Idc"), QStringLiteral("1.500,5"));
    Escribir(Campo("Xcr"), QStringLiteral("no sé"));
    ventana_->Caso()->GrupoControl()->setChecked(true);
    ventana_->Barrido()->Familia()->setChecked(true);
    const QString ruta = Ruta(QStringLiteral("estudio ñ.zelk"));
    dialogos_->archivos.push_back(ruta);
    QVERIFY(ventana_->GuardarComo());
    QVERIFY(!ventana_->isWindowModified());
    QCOMPARE(ventana_->windowTitle(), QStringLiteral("zelk Estudios — estudio ñ.zelk[*]"));
    QCOMPARE(ventana_->windowFilePath(), ruta);
    const auto guardado = ventana_->Estudio();
    QVERIFY(Leer(ruta).find("\"Idc\": 1500.5") != std::string::npos);

    ventana_->Nuevo();
    QCOMPARE(Campo("Idc")->text(), QStringLiteral("2000"));
    QVERIFY(ventana_->AbrirArchivo(ruta));
    QCOMPARE(Campo("Idc")->text(), QStringLiteral("1500,5"));
    QCOMPARE(Campo("Xcr")->text(), QStringLiteral("no sé"));
    QVERIFY(Campo("Xcr")->Marcado());
    QVERIFY(ventana_->Caso()->GrupoControl()->isChecked());
    QVERIFY(ventana_->Barrido()->Familia()->isChecked());
    // In the recent files, first.
    const auto acciones = ventana_->Recientes()->actions();
    QVERIFY(!acciones.isEmpty());
    QCOMPARE(acciones.front()->toolTip(), QFileInfo(ruta).absoluteFilePath());

    Abrir(zelk::prueba::kEstadosUnidos);
    QVERIFY(ventana_->AbrirArchivo(ruta));
    QCOMPARE(Campo("Idc")->text(), QStringLiteral("1500.5"));
  }

  // A changed study is asked about before it goes, whichever way it goes.
  void cambioSinGuardar_data() {
    QTest::addColumn<int>("respuesta");
    QTest::addColumn<bool>("cerrada");
    QTest::addColumn<bool>("guardado");
    QTest::newRow("cancelar") << static_cast<int>(Dialogos::Respuesta::Cancelar) << false << false;
    QTest::newRow("descartar") << static_cast<int>(Dialogos::Respuesta::Descartar) << true << false;
    QTest::newRow("guardar") << static_cast<int>(Dialogos::Respuesta::Guardar) << true << true;
  }
  void cambioSinGuardar() {
    QFETCH(int, respuesta);
    QFETCH(bool, cerrada);
    QFETCH(bool, guardado);
    // Unchanged: nothing asked.
    QVERIFY(ventana_->close());
    QVERIFY(dialogos_->preguntas.isEmpty());
    ventana_->show();
    Escribir(Campo("Rdc"), QStringLiteral("10"));
    const QString ruta = Ruta(QStringLiteral("guardado-%1.zelk").arg(respuesta));
    dialogos_->respuestas.push_back(static_cast<Dialogos::Respuesta>(respuesta));
    dialogos_->archivos.push_back(ruta);
    QCOMPARE(ventana_->close(), cerrada);
    QCOMPARE(dialogos_->preguntas,
             QStringList{QStringLiteral("El estudio «Sin título» tiene cambios sin guardar. "
                                        "¿Guardarlos antes de cerrarlo?")});
    QCOMPARE(QFileInfo::exists(ruta), guardado);
    // "Nuevo" and "Abrir…" ask the same.
    if (!cerrada) {
      dialogos_->respuestas.push_back(Dialogos::Respuesta::Cancelar);
      ventana_->Nuevo();
      QCOMPARE(Campo("Rdc")->text(), QStringLiteral("10"));
      QCOMPARE(dialogos_->preguntas.size(), 2);
    }
  }

  // A file that is not a study this version reads is refused with why, and the open study stays.
  void archivoDanado_data() {
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("no JSON") << QByteArray("{\"formato\": ") << "no es JSON válido";
    QTest::newRow("más nuevo") << QByteArray(R"({"formato": "zelk-estudio", "version": 7})")
                               << "versión 7 del formato";
    QTest::newRow("binario") << QByteArray("\x00\x01\x02{", 4) << "no es JSON válido";
    QTest::newRow("dato raro") << QByteArray(R"({"formato": "zelk-estudio", "version": 1,
                                                 "datos": {"Idc": [1]}})")
                               << "«datos.Idc» ha de ser un número o un texto";
  }
  void archivoDanado() {
    QFETCH(QByteArray, contenido);
    QFETCH(QString, motivo);
    Escribir(Campo("Rdc"), QStringLiteral("11"));
    const auto antes = ventana_->Estudio();
    const QString ruta = Ruta(QStringLiteral("dañado.zelk"));
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenido);
    f.close();
    QVERIFY(!ventana_->AbrirArchivo(ruta));
    QCOMPARE(dialogos_->mensajes.size(), 1);
    QVERIFY2(
        dialogos_->mensajes.front().startsWith(QStringLiteral("No se puede abrir «dañado.zelk»")),
        qPrintable(dialogos_->mensajes.front()));
    QVERIFY2(dialogos_->mensajes.front().contains(motivo), qPrintable(dialogos_->mensajes.front()));
    QVERIFY(ventana_->Estudio() == antes);
    QVERIFY(ventana_->isWindowModified());
  }

  // The sweep's table is zelk-calc's; the plot a picture in each format.
  void exportar() {
    const QString csv = Ruta(QStringLiteral("tabla.csv"));
    dialogos_->archivos.push_back(csv);
    dialogos_->filtro = 0;
    ventana_->ExportarTabla();
    QVERIFY(dialogos_->mensajes.isEmpty());
    std::ostringstream esperado, err;
    std::string error;
    const auto b = *zelk::lotes::LeerBarrido("Idc=500:3000:101", zelk::prueba::kEspana, error);
    zelk::lotes::CalcularBarrido({&b, 1}, zelk::lotes::BaseDeInicio(zelk::prueba::kEspana, {}),
                                 zelk::prueba::kEspana, {}, esperado, err, nullptr);
    QCOMPARE(Leer(csv), esperado.str());

    const QString json = Ruta(QStringLiteral("tabla"));
    dialogos_->archivos.push_back(json);
    dialogos_->filtro = 2;
    ventana_->ExportarTabla();
    QVERIFY(Leer(json + QStringLiteral(".json")).starts_with("[\n{\"Idc\":"));

    for (const auto& [filtro, nombre, principio] :
         {std::tuple{0, "grafico.png", "\x89PNG"}, std::tuple{1, "grafico.pdf", "%PDF"},
          std::tuple{2, "grafico.svg", "<?xml"}}) {
      dialogos_->archivos.push_back(Ruta(QString::fromUtf8(nombre)));
      dialogos_->filtro = filtro;
      ventana_->ExportarGrafico();
      QVERIFY2(Leer(Ruta(QString::fromUtf8(nombre))).starts_with(principio), nombre);
    }
    QVERIFY(dialogos_->mensajes.isEmpty());
    // A file that cannot be written says so, and leaves nothing behind.
    dialogos_->archivos.push_back(Ruta(QStringLiteral("no/hay/carpeta.csv")));
    dialogos_->filtro = 0;
    ventana_->ExportarTabla();
    QCOMPARE(dialogos_->mensajes.size(), 1);
    QVERIFY(dialogos_->mensajes.front().startsWith(QStringLiteral("No se puede guardar")));
  }

  // At twice the size of every text (200 % on a 1920 by 1080 screen leaves 960 by 540) the window
  // still fits: the case and the sweep's settings scroll, the rest shrinks.
  void cabeAlDobleDeEscala() {
    const QFont fuente = QApplication::font();
    QFont doble = fuente;
    doble.setPointSizeF(fuente.pointSizeF() * 2);
    QApplication::setFont(doble);
    Abrir(zelk::prueba::kEspana);
    const QSize minimo = ventana_->minimumSizeHint();
    QApplication::setFont(fuente);
    QVERIFY2(minimo.width() <= 960 && minimo.height() <= 540,
             qPrintable(QStringLiteral("%1x%2").arg(minimo.width()).arg(minimo.height())));
  }
  void copiarResultados() {
    ventana_->CopiarResultados();
    const QString texto = QGuiApplication::clipboard()->text();
    QVERIFY2(texto.startsWith(QStringLiteral("alpha\t")), qPrintable(texto));
    QVERIFY(texto.contains(QStringLiteral("\nVdcr\t549\n")));
  }

  // Every action has a shortcut or a mnemonic; every control a name; Tab walks the data in the
  // order of their groups.
  void teclado() {
    const auto barra = ventana_->menuBar()->actions();
    std::vector<QAction*> acciones(barra.begin(), barra.end());
    for (std::size_t i = 0; i < acciones.size(); ++i) {
      QVERIFY2(acciones[i]->text().contains(u'&'), qPrintable(acciones[i]->text()));
      if (acciones[i]->menu())
        for (auto* a : acciones[i]->menu()->actions())
          if (!a->isSeparator())
            acciones.push_back(a);
    }
    // The parts a spin box, a combo box or a table is made of are named by it.
    const auto interno = [](QWidget* w) {
      for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget())
        if (qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QComboBox*>(p) ||
            qobject_cast<QAbstractItemView*>(p))
          return true;
      return false;
    };
    for (auto* w : ventana_->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractSpinBox*>(w) ||
                           qobject_cast<QAbstractItemView*>(w) || w->inherits("QCustomPlot");
      if (control && !interno(w))
        QVERIFY2(
            !w->accessibleName().isEmpty(),
            qPrintable(w->objectName() + u' ' + w->metaObject()->className() + u' ' +
                       (w->parentWidget() ? w->parentWidget()->metaObject()->className() : "")));
    }
    QWidget* actual = Campo("Uacr");
    actual->setFocus();
    std::vector<QString> orden;
    for (int i = 0; i < 19; ++i) {
      orden.push_back(actual->objectName());
      actual = actual->nextInFocusChain();
      while (!(actual->focusPolicy() & Qt::TabFocus) || !actual->isEnabled() ||
             !actual->isVisible())
        actual = actual->nextInFocusChain();
    }
    for (std::size_t i = 0; i < zelk::kNumParametros; ++i)
      QCOMPARE(orden[i], zelk::ui::Q(zelk::kParametros[i].control));
    QCOMPARE(orden[18], QStringLiteral("fraControl"));
  }

  // F1 opens the manual the build made, in the desktop's viewer.
  void manual() {
    auto* accion = ventana_->findChild<QAction*>(QStringLiteral("accManual"));
    QVERIFY(accion != nullptr);
    QCOMPARE(accion->shortcut(), QKeySequence(QKeySequence::HelpContents));
    accion->trigger();
    if (dialogos_->documentos.isEmpty()) {
      // A build without the manual (the sanitizers') says so, and how it is made.
      QCOMPARE(dialogos_->mensajes.size(), 1);
      QVERIFY(dialogos_->mensajes.front().startsWith(QStringLiteral("No se encuentra el manual")));
      return;
    }
    QVERIFY2(dialogos_->mensajes.isEmpty(), qPrintable(dialogos_->mensajes.join(u'\n')));
    QCOMPARE(dialogos_->documentos.size(), 1);
    QVERIFY(dialogos_->documentos.front().endsWith(QStringLiteral("/index.html")));
    QVERIFY(QFileInfo(dialogos_->documentos.front()).isFile());
  }

  // The window comes back where and as large as it was left.
  void geometriaRecordada() {
    ventana_->resize(933, 587);
    QVERIFY(ventana_->close());
    Abrir(zelk::prueba::kEspana);
    QCOMPARE(ventana_->size(), QSize(933, 587));
  }

  // Pictures for a person to look at, light and dark, under both settings.
  void captura_data() {
    QTest::addColumn<bool>("coma");
    QTest::addColumn<bool>("oscura");
    QTest::newRow("en_US") << false << false;
    QTest::newRow("es_ES") << true << false;
    QTest::newRow("en_US_oscura") << false << true;
    QTest::newRow("es_ES_oscura") << true << true;
  }
  void captura() {
    QFETCH(bool, coma);
    QFETCH(bool, oscura);
    const QPalette paleta = QApplication::palette();
    if (oscura)
      QApplication::setPalette(QPalette(QColor(53, 53, 53)));
    Abrir(coma ? zelk::prueba::kEspana : zelk::prueba::kEstadosUnidos);
    ventana_->resize(1280, 860);
    ventana_->Barrido()->Familia()->setChecked(true);
    CalcularYEsperar();
    for (int pestana : {0, 1}) {
      ventana_->Pestanas()->setCurrentIndex(pestana);
      QTest::qWait(20);
      // The scale and a platform theme, when there are, in the name: "zelkEstudios_es_ES_caso@2".
      const qreal escala = ventana_->devicePixelRatioF();
      const QString archivo =
          QStringLiteral(ZELK_CAPTURAS "/zelkEstudios_%1%2_%3%4.png")
              .arg(QString::fromUtf8(QTest::currentDataTag()),
                   qEnvironmentVariableIsSet("QT_QPA_PLATFORMTHEME") ? QStringLiteral("_tema")
                                                                     : QString(),
                   pestana == 0 ? QStringLiteral("caso") : QStringLiteral("barrido"),
                   escala == 1.0 ? QString() : QStringLiteral("@%1").arg(escala));
      QVERIFY(ventana_->grab().save(archivo));
    }
    // The plot keeps its paper's look, dark on white, whatever the palette: as it is exported.
    const QImage lienzo = ventana_->Barrido()->Grafico()->Lienzo()->grab().toImage();
    QVERIFY(qGray(lienzo.pixel(2, 2)) > 200);
    QApplication::setPalette(paleta);
  }
};

ZELK_PRUEBA_VENTANAS(EstudiosTest)
#include "estudios_test.moc"
