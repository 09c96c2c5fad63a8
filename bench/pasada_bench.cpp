// The cost of one calculation pass: from the 18 field texts of a form to its 13 result texts, and
// the computation alone.
#include <benchmark/benchmark.h>

#include "engine/calculo.h"
#include "engine/formulario_memoria.h"
#include "engine/pasada.h"

namespace zelk {
namespace {

void BM_PasadaCompleta(benchmark::State& state) {
  FormularioMemoria form;
  Calculadora calc(form, ConfiguracionRegional::EstadosUnidos());
  calc.Inicio();
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc.Calcular());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PasadaCompleta);

void BM_PasadaCompletaEspana(benchmark::State& state) {
  FormularioMemoria form;
  Calculadora calc(form, ConfiguracionRegional(",", "."));
  calc.Inicio();
  form.PonerTexto(Campo::Idc, "2.000,5");
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc.Calcular());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PasadaCompletaEspana);

void BM_SoloCalculo(benchmark::State& state) {
  FormularioMemoria form;
  Calculadora calc(form, ConfiguracionRegional::EstadosUnidos());
  calc.Inicio();
  DatosEnlace datos = calc.Datos();
  for (auto _ : state) {
    benchmark::DoNotOptimize(datos);
    auto r = CalcularEnlace(datos);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_SoloCalculo);

void BM_LecturaYEscritura(benchmark::State& state) {
  const auto r = ConfiguracionRegional::EstadosUnidos();
  for (auto _ : state) {
    benchmark::DoNotOptimize(TextoANumero("1372.2675", r));
    benchmark::DoNotOptimize(NumeroConPatron(1372.267529, kPatronDosDec, r));
  }
}
BENCHMARK(BM_LecturaYEscritura);

}  // namespace
}  // namespace zelk

BENCHMARK_MAIN();
