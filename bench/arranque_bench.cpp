// Start-up cost: wall time and peak memory of a whole process, from fork to exit, for zelk's
// start-up and for a bare Qt program, run alternately in one run on the offscreen platform.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

struct Medida {
  double segundos;
  long picoKb;
  bool bien;
};

Medida Ejecutar(const char* programa) {
  const auto inicio = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    execl(programa, programa, static_cast<char*>(nullptr));
    _exit(127);
  }
  int estado = 0;
  rusage uso{};
  wait4(pid, &estado, 0, &uso);
  const std::chrono::duration<double> t = std::chrono::steady_clock::now() - inicio;
  return {t.count(), uso.ru_maxrss, WIFEXITED(estado) && WEXITSTATUS(estado) == 0};
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

}  // namespace

BENCHMARK_MAIN();
