// A press of "Calcular" in the real window (offscreen): the pass and the 13 field writes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>

#include "engine/texto_numero.h"
#include "ui/comun/avisador.h"
#include "ui/main/aplicacion.h"
#include "ui/main/frm_inicio.h"

namespace {

class SinAviso final : public zelk::ui::Avisador {
 public:
  void Avisar(const QString&) override {}
};

// The main window shown offscreen, calculated, with its "Calcular" button.
struct VentanaAbierta {
  VentanaAbierta() : ventana(zelk::ConfiguracionRegional::EstadosUnidos(), avisador) {
    ventana.show();
    QApplication::processEvents();
    calcular = ventana.findChild<QPushButton*>(QStringLiteral("cmdCalcular"));
  }
  SinAviso avisador;
  zelk::ui::FrmInicio ventana;
  QPushButton* calcular = nullptr;
};

void BM_PulsarCalcular(benchmark::State& state) {
  VentanaAbierta v;
  for (auto _ : state)
    v.calcular->click();
}
BENCHMARK(BM_PulsarCalcular)->Unit(benchmark::kMicrosecond);

// The same press followed by drawing the window, as the user sees it.
void BM_PulsarCalcularYDibujar(benchmark::State& state) {
  VentanaAbierta v;
  for (auto _ : state) {
    v.calcular->click();
    v.ventana.repaint();
  }
}
BENCHMARK(BM_PulsarCalcularYDibujar)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  zelk::ui::PrepararAplicacion();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
