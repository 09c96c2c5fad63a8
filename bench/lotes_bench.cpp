// A CSV batch through zelk-calc as a whole process: 1,000,000 rows of all 18 columns, read,
// computed and written one at a time; and the plot of a million-point sweep, as SVG and as PNG.
// Wall time, rows per second and peak resident memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/proceso_bench.h"
#include "engine/enlace.h"

namespace {

constexpr long kFilas = 1'000'000;

// Made once per build folder: the start-up values with Uacr, Idc and Rdc varying row by row.
std::string Archivo() {
  const std::string ruta = ZELK_BANCO_DIR "/lote_1M.csv";
  if (std::filesystem::exists(ruta))
    return ruta;
  std::ofstream f(ruta + ".tmp", std::ios::binary);
  for (std::size_t i = 0; i < zelk::kNumParametros; ++i)
    f << (i ? "," : "") << zelk::kParametros[i].nombre;
  f << '\n';
  char fila[256];
  for (long i = 0; i < kFilas; ++i) {
    const int n = std::snprintf(
        fila, sizeof fila, "%ld,1,2,%ld,0,3.88,500,1,2,525,0,3.88,%ld.%ld,550,220,220,500,500\n",
        480 + i % 40, 1000 + i % 2000, 10 + (i % 50) / 10, (i % 50) % 10);
    f.write(fila, n);
  }
  f.close();
  std::filesystem::rename(ruta + ".tmp", ruta);
  return ruta;
}

// zelk-calc on a file of kFilas rows, as a whole process: wall time, rows per second, peak memory.
void LoteUnMillon(benchmark::State& state, const std::string& entrada, const std::string& salida) {
  long pico = 0;
  for (auto _ : state) {
    const auto m = zelk::banco::EjecutarProceso({ZELK_CALC, "--csv", entrada, "-o", salida});
    if (!m.bien) {
      state.SkipWithError("zelk-calc failed");
      return;
    }
    state.SetIterationTime(m.segundos);
    pico = std::max(pico, m.picoKb);
  }
  state.counters["filas_por_s"] = benchmark::Counter(static_cast<double>(kFilas),
                                                     benchmark::Counter::kIsIterationInvariantRate);
  state.counters["pico_kB"] = static_cast<double>(pico);
}

void BM_LoteCsvUnMillon(benchmark::State& state) {
  LoteUnMillon(state, Archivo(), ZELK_BANCO_DIR "/lote_1M.salida.csv");
}
BENCHMARK(BM_LoteCsvUnMillon)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The same million links under control data: as many columns, Idc and Vdci replaced by the order
// and its value, the rectifier's voltage and the power varying so that the taps walk.
std::string ArchivoControl() {
  const std::string ruta = ZELK_BANCO_DIR "/lote_control_1M.csv";
  if (std::filesystem::exists(ruta))
    return ruta;
  std::ofstream f(ruta + ".tmp", std::ios::binary);
  f << "Uacr,tapr,Nr,orden,Rcr,Xcr,Uaci,tapi,Ni,consigna,Rci,Xci,Rdc,Vdcnom,Eacr_nom,Eaci_nom,"
       "Uacr_nom,Uaci_nom\n";
  char fila[256];
  for (long i = 0; i < kFilas; ++i) {
    const int n =
        std::snprintf(fila, sizeof fila,
                      "%ld,1,2,potencia,0,3.88,500,1,2,%ld,0,3.88,%ld.%ld,550,220,220,500,500\n",
                      480 + i % 40, 500 + i % 1000, 10 + (i % 50) / 10, (i % 50) % 10);
    f.write(fila, n);
  }
  f.close();
  std::filesystem::rename(ruta + ".tmp", ruta);
  return ruta;
}

void BM_LoteControlUnMillon(benchmark::State& state) {
  LoteUnMillon(state, ArchivoControl(), ZELK_BANCO_DIR "/lote_control_1M.salida.csv");
}
BENCHMARK(BM_LoteControlUnMillon)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A sweep of a million points with its table and its plot: the curves are thinned as the sweep
// runs, so the plot costs about what the table does.
void BM_GraficoUnMillon(benchmark::State& state) {
  const std::string grafico =
      std::string(ZELK_BANCO_DIR "/barrido_1M.") + (state.range(0) == 0 ? "svg" : "png");
  const std::string salida = ZELK_BANCO_DIR "/barrido_1M.csv";
  long pico = 0;
  for (auto _ : state) {
    const auto m = zelk::banco::EjecutarProceso(
        {ZELK_CALC, "--sweep", "Idc=500:3000:1000000", "-o", salida, "--plot", grafico});
    if (!m.bien) {
      state.SkipWithError("zelk-calc failed");
      return;
    }
    state.SetIterationTime(m.segundos);
    pico = std::max(pico, m.picoKb);
  }
  state.SetLabel(state.range(0) == 0 ? "svg" : "png");
  state.counters["pico_kB"] = static_cast<double>(pico);
}
BENCHMARK(BM_GraficoUnMillon)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
