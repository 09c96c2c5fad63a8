// Start-up cost: wall time and peak memory of a whole process, from fork to exit, for zelk's
// start-up and for a bare Qt program, run alternately in one run on the offscreen platform.
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/proceso_bench.h"

namespace {

using zelk::banco::Medida;

Medida Ejecutar(const char* programa) {
  return zelk::banco::EjecutarProceso({programa}, {"QT_QPA_PLATFORM=offscreen"});
}

void Arranque(benchmark::State& state, const char* programa) {
  long pico = 0;
  for (auto _ : state) {
    const Medida m = Ejecutar(programa);
    if (!m.bien) {
      state.SkipWithError("the program failed");
      return;
    }
    state.SetIterationTime(m.segundos);
    pico = std::max(pico, m.picoKb);
  }
  state.counters["pico_kB"] = static_cast<double>(pico);
}

void BM_ArranqueZelk(benchmark::State& state) {
  Arranque(state, ZELK_SONDA);
}
void BM_ArranqueQtDesnudo(benchmark::State& state) {
  Arranque(state, ZELK_DESNUDA);
}
BENCHMARK(BM_ArranqueQtDesnudo)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ArranqueZelk)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Both programs in turn, pair after pair, so that a change in the machine's load falls on both
// alike; the counters are the medians and their ratios (zelk over the bare program).
void BM_ArranqueComparado(benchmark::State& state) {
  std::vector<double> tZelk, tDesnudo, mZelk, mDesnudo;
  for (auto _ : state) {
    const Medida d = Ejecutar(ZELK_DESNUDA);
    const Medida z = Ejecutar(ZELK_SONDA);
    if (!d.bien || !z.bien) {
      state.SkipWithError("a program failed");
      return;
    }
    state.SetIterationTime(z.segundos);
    tDesnudo.push_back(d.segundos * 1e3);
    tZelk.push_back(z.segundos * 1e3);
    mDesnudo.push_back(static_cast<double>(d.picoKb));
    mZelk.push_back(static_cast<double>(z.picoKb));
  }
  state.counters["zelk_ms"] = Mediana(tZelk);
  state.counters["desnudo_ms"] = Mediana(tDesnudo);
  state.counters["relacion_tiempo"] = Mediana(tZelk) / Mediana(tDesnudo);
  state.counters["zelk_kB"] = Mediana(mZelk);
  state.counters["desnudo_kB"] = Mediana(mDesnudo);
  state.counters["relacion_memoria"] = Mediana(mZelk) / Mediana(mDesnudo);
}
BENCHMARK(BM_ArranqueComparado)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
