// The cost of the answers: one target solved over one link (in the process, as zelk-calc's
// --target and zelk.buscar do it), the reasons of a link shown as ERROR, and a table of 100,000
// rows through zelk-calc solved for a target per row against the plain table of the same rows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/proceso_bench.h"
#include "engine/calculo.h"
#include "engine/motivos.h"
#include "engine/pasada.h"
#include "lote/objetivo_lote.h"

namespace zelk {
namespace {

DatosEnlace Inicio() {
  const auto& r = ConfiguracionRegional::EstadosUnidos();
  DatosEnlace d;
  for (const auto& p : kParametros)
    d.*p.miembro = *TextoANumero(TextoDeCarga(p, r), r);
  return d;
}

DatosControl ControlInicio() {
  const auto& r = ConfiguracionRegional::EstadosUnidos();
  DatosControl c;
  for (const auto& d : kControl)
    if (d.miembro != nullptr)
      c.*d.miembro = *TextoANumero(d.valorDefault, r);
  return c;
}

struct Caso {
  const char* resultado;
  double valor;
  const char* dato;
  bool control;
};
constexpr Caso kCasos[] = {
    {"Pr", 500, "Idc", false},   {"alpha", 15, "tapr", false},  {"Qr", 300, "Vdci", false},
    {"alpha", 0, "Vdci", false}, {"Pr", 700, "consigna", true},
};

void BM_Objetivo(benchmark::State& state) {
  const Caso& c = kCasos[state.range(0)];
  const auto leido = lotes::ComprobarObjetivo(c.resultado, c.valor, c.dato, std::nullopt, c.control,
                                              ConfiguracionRegional::EstadosUnidos());
  const auto& p = std::get<lotes::PeticionObjetivo>(leido);
  const DatosEnlace d = Inicio();
  std::optional<DatosControl> control;
  if (c.control)
    control = ControlInicio();
  std::size_t raices = 0;
  for (auto _ : state) {
    const auto h = lotes::BuscarObjetivo(p, d, control);
    raices = h.busqueda.raices.size();
    benchmark::DoNotOptimize(raices);
  }
  state.SetLabel(std::string(c.resultado) + "=" + std::to_string(static_cast<int>(c.valor)) +
                 " --vary " + c.dato + ": " + std::to_string(raices));
}
BENCHMARK(BM_Objetivo)->DenseRange(0, std::size(kCasos) - 1)->Unit(benchmark::kMicrosecond);

void BM_MotivosDeUnEnlaceSinSolucion(benchmark::State& state) {
  DatosEnlace d = Inicio();
  d.Vdci = 700;
  const ResultadosEnlace r = CalcularEnlace(d);
  for (auto _ : state)
    benchmark::DoNotOptimize(Motivos(d, r, ConfiguracionRegional::EstadosUnidos()));
}
BENCHMARK(BM_MotivosDeUnEnlaceSinSolucion)->Unit(benchmark::kMicrosecond);

constexpr long kFilas = 100'000;

// Made once per build folder: the inverter's voltage and the line varying row by row.
std::string Archivo() {
  const std::string ruta = ZELK_BANCO_DIR "/objetivo_100k.csv";
  if (std::filesystem::exists(ruta))
    return ruta;
  std::ofstream f(ruta + ".tmp", std::ios::binary);
  f << "Vdci,Rdc\n";
  for (long i = 0; i < kFilas; ++i)
    f << 450 + i % 100 << ',' << 10 + (i % 50) / 10 << '.' << (i % 50) % 10 << '\n';
  f.close();
  std::filesystem::rename(ruta + ".tmp", ruta);
  return ruta;
}

// zelk-calc on the file, plain (0), solved for alpha = 20 by Idc per row (1), and with the
// reasons of every row (2).
void BM_TablaCienMil(benchmark::State& state) {
  std::vector<std::string> args{ZELK_CALC, "--csv", Archivo(), "-o",
                                ZELK_BANCO_DIR "/objetivo_100k.salida.csv"};
  if (state.range(0) == 1)
    args.insert(args.end(), {"--target", "alpha=20", "--vary", "Idc"});
  if (state.range(0) == 2)
    args.push_back("--motivos");
  for (auto _ : state) {
    const auto m = banco::EjecutarProceso(args);
    if (!m.bien) {
      state.SkipWithError("zelk-calc failed");
      return;
    }
    state.SetIterationTime(m.segundos);
  }
  state.SetLabel(state.range(0) == 0   ? "sin objetivo"
                 : state.range(0) == 1 ? "--target"
                                       : "--motivos");
  state.counters["filas_por_s"] = benchmark::Counter(static_cast<double>(kFilas),
                                                     benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TablaCienMil)
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace zelk

BENCHMARK_MAIN();
