// The cost of solving one link under control data: the engine's solution from numbers, with the
// taps staying, walking a few positions, or running to the end of their range into the current
// margin; and a batch row's whole point from its texts.
#include <benchmark/benchmark.h>

#include "engine/control.h"
#include "lote/control_lote.h"
#include "lote/lotes.h"

namespace zelk {
namespace {

const ConfiguracionRegional kRegional = ConfiguracionRegional::EstadosUnidos();

DatosEnlace Kundur() {
  DatosEnlace d{};
  d.Uacr = 0.9595 * 230;
  d.Uacr_nom = 230;
  d.Eacr_nom = 230 * 0.92630;
  d.tapr = 0.9375;
  d.Nr = 2;
  d.Xcr = 13.5939;
  d.Uaci = 0.9647 * 230;
  d.Uaci_nom = 230;
  d.Eaci_nom = 230 * 0.90970;
  d.tapi = 0.94375;
  d.Ni = 2;
  d.Xci = 13.3174;
  d.Rdc = 5;
  return d;
}

DatosControl ControlKundur() {
  DatosControl c;
  c.orden = Orden::Potencia;
  c.consigna = 500;
  c.Vprog = 500;
  c.alpha_min = c.gamma_min = 15;
  c.alpha_max = c.gamma_max = 90;
  c.tapr_min = c.tapi_min = 0.8;
  c.tapr_max = c.tapi_max = 1.2;
  c.tapr_paso = c.tapi_paso = 0.00625;
  return c;
}

// The start-up link under the default control data, with the rectifier's voltage of the argument:
// 500 kV leaves the taps, 530 kV walks tapr 8 positions, 330 kV runs it to the end of its range and
// into the current margin, where tapi walks 25 positions.
void BM_ResolverControl(benchmark::State& state) {
  lotes::Base base = lotes::BaseDeInicio(kRegional, {});
  base.textos[0] = std::to_string(state.range(0));
  TextosEntrada textos;
  std::copy(base.textos.begin(), base.textos.end(), textos.begin());
  TextosControl control;
  std::copy(base.control.textos.begin(), base.control.textos.end(), control.begin());
  const DatosEnlace d = *LeerDatos(textos, kRegional);
  const DatosControl c = std::get<DatosControl>(LeerControl(control, kRegional));
  for (auto _ : state) {
    auto s = ResolverControl(d, c);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_ResolverControl)->Arg(500)->Arg(530)->Arg(330);

void BM_ResolverKundur(benchmark::State& state) {
  const DatosEnlace d = Kundur();
  const DatosControl c = ControlKundur();
  for (auto _ : state) {
    auto s = ResolverControl(d, c);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_ResolverKundur);

// A row of a batch: 18 texts and 16 control texts read and checked, then solved.
void BM_PuntoDesdeTextos(benchmark::State& state) {
  const lotes::Base base = lotes::BaseDeInicio(kRegional, {});
  TextosEntrada textos;
  std::copy(base.textos.begin(), base.textos.end(), textos.begin());
  TextosControl control;
  std::copy(base.control.textos.begin(), base.control.textos.end(), control.begin());
  for (auto _ : state) {
    auto p = lotes::EvaluarControl(textos, control, kRegional);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_PuntoDesdeTextos);

// The same row without control data, as a plain batch computes it.
void BM_PuntoSinControl(benchmark::State& state) {
  const lotes::Base base = lotes::BaseDeInicio(kRegional, {});
  TextosEntrada textos;
  std::copy(base.textos.begin(), base.textos.end(), textos.begin());
  for (auto _ : state) {
    auto p = lotes::Evaluar(textos, kRegional);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_PuntoSinControl);

}  // namespace
}  // namespace zelk

BENCHMARK_MAIN();
