// zelk Estudios' figures: its start-up against a bare Qt window holding one empty QCustomPlot,
// both as whole processes run in turn; and a sweep of 100,000 points computed on every core and
// drawn in the window's plot, with the peak memory of the process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <qcustomplot.h>
#include <QApplication>
#include <QThread>
#include <algorithm>
#include <string>
#include <vector>

#include "bench/proceso_bench.h"
#include "lote/barrido_memoria.h"
#include "ui/estudios/grafico_barrido.h"

namespace {

using zelk::banco::Medida;

Medida Ejecutar(const char* programa) {
  return zelk::banco::EjecutarProceso({programa}, {"QT_QPA_PLATFORM=offscreen"});
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Both programs in turn, pair after pair, so that a change in the machine's load falls on both
// alike; the counters are the medians and their ratios (zelk Estudios over the bare program).
void BM_ArranqueEstudiosComparado(benchmark::State& state) {
  std::vector<double> tEstudios, tDesnudo, mEstudios, mDesnudo;
  for (auto _ : state) {
    const Medida d = Ejecutar(ZELK_DESNUDA_GRAFICO);
    const Medida e = Ejecutar(ZELK_SONDA_ESTUDIOS);
    if (!d.bien || !e.bien) {
      state.SkipWithError("a program failed");
      return;
    }
    state.SetIterationTime(e.segundos);
    tDesnudo.push_back(d.segundos * 1e3);
    tEstudios.push_back(e.segundos * 1e3);
    mDesnudo.push_back(static_cast<double>(d.picoKb));
    mEstudios.push_back(static_cast<double>(e.picoKb));
  }
  state.counters["estudios_ms"] = Mediana(tEstudios);
  state.counters["desnudo_ms"] = Mediana(tDesnudo);
  state.counters["relacion_tiempo"] = Mediana(tEstudios) / Mediana(tDesnudo);
  state.counters["estudios_kB"] = Mediana(mEstudios);
  state.counters["desnudo_kB"] = Mediana(mDesnudo);
  state.counters["relacion_memoria"] = Mediana(mEstudios) / Mediana(mDesnudo);
}
BENCHMARK(BM_ArranqueEstudiosComparado)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// The window's work for a sweep of `puntos` points of Idc: computed into memory on every core,
// then the plot laid out with four results (two panels) and drawn.
void BM_BarridoCalculadoYDibujado(benchmark::State& state) {
  const auto& r = zelk::ConfiguracionRegional::EstadosUnidos();
  std::string error;
  const auto b =
      *zelk::lotes::LeerBarrido("Idc=500:3000:" + std::to_string(state.range(0)), r, error);
  const zelk::lotes::Base base = zelk::lotes::BaseDeInicio(r, {});
  const auto hilos = static_cast<std::size_t>(std::max(1, QThread::idealThreadCount()));
  zelk::ui::estudios::GraficoBarrido grafico(r);
  grafico.resize(1000, 700);
  grafico.show();
  QApplication::processEvents();
  for (auto _ : state) {
    auto calculado = zelk::lotes::CalcularEnMemoria({&b, 1}, base, r, hilos);
    auto barrido = std::make_shared<const zelk::lotes::BarridoEnMemoria>(
        std::move(std::get<zelk::lotes::BarridoEnMemoria>(calculado)));
    grafico.Mostrar(barrido, {0, 3, 8, 9});
    grafico.Lienzo()->repaint();
  }
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  state.counters["pico_kB"] = static_cast<double>(uso.ru_maxrss);
}
BENCHMARK(BM_BarridoCalculadoYDibujado)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(11)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication aplicacion(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
