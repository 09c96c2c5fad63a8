// The plot module: zelk::grafico's plot of the sweep, off screen, written into memory; the caller
// writes the file, and checks that write.
#include "apps/zelk-calc/grafico_qt.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QBuffer>
#include <cstdio>
#include <memory>

#include "grafico/archivo.h"
#include "grafico/grafico.h"

namespace zelk {

namespace {

// Qt's notes about the platform and the runtime folder are not the user's business on a command
// line; errors still get through.
void Callar(QtMsgType tipo, const QMessageLogContext& /*contexto*/, const QString& texto) {
  if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
    std::fprintf(stderr, "%s\n", texto.toLocal8Bit().constData());
}

class SilencioDeQt {
 public:
  SilencioDeQt() : anterior_(qInstallMessageHandler(Callar)) {}
  ~SilencioDeQt() { qInstallMessageHandler(anterior_); }
  SilencioDeQt(const SilencioDeQt&) = delete;
  SilencioDeQt& operator=(const SilencioDeQt&) = delete;

 private:
  QtMessageHandler anterior_;
};

}  // namespace

std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, lotes::FormatoGrafico formato,
                                         int ancho, int alto, std::string& error) {
  const SilencioDeQt silencio;
  // QCustomPlot is a widget and needs a widget application; nothing is shown. Off screen where
  // there is such a platform without a display; Windows' own elsewhere, with the font engine the
  // windows use (ui/comun/plataforma_windows.cpp says why).
  std::unique_ptr<QApplication> aplicacion;
  static int argc = 1;
  static char nombrePrograma[] = "zelk-calc";
  static char* argv[] = {nombrePrograma, nullptr};
  if (QApplication::instance() == nullptr) {
#ifdef _WIN32
    qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    aplicacion = std::make_unique<QApplication>(argc, argv);
  } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    error = "no se puede dibujar el gráfico: el programa tiene una aplicación de Qt sin widgets";
    return std::nullopt;
  }
  QCustomPlot grafico;
  const auto paneles = grafico::PanelesHabituales();
  if (auto motivo = grafico::Configurar(grafico, curvas, paneles)) {
    error = *motivo;
    return std::nullopt;
  }
  QByteArray bytes;
  QBuffer memoria(&bytes);
  memoria.open(QIODevice::WriteOnly);
  if (auto motivo = grafico::Escribir(grafico, formato, QSize(ancho, alto), memoria)) {
    error = *motivo;
    return std::nullopt;
  }
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace zelk

// The module's entry, looked up by name.
extern "C" Q_DECL_EXPORT zelk::FuncionDibujar zelk_grafico_dibujar() {
  return &zelk::DibujarCurvas;
}
