// A sweep computed into memory for a window's table and plot: every point kept, computed on every
// core through the same reading and checks as zelk-calc's sweeps, so that a point shows what
// zelk-calc writes for it; and its curves thinned to what a picture of some columns can show.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "lote/lotes.h"

namespace zelk::lotes {

// In a window no sweep has more points: each keeps its 13 results and its chosen values
// (about 150 bytes a point).
inline constexpr std::size_t kPuntosEnMemoria = 1'000'000;

struct BarridoEnMemoria {
  std::vector<Barrido> barridos;  // one, or two for a grid (the first outermost)
  bool control = false;           // solved under control data
  std::size_t puntos = 0;
  // Each axis's values, as the points read them (the value typed as zelk shows a number).
  std::array<std::vector<double>, 2> valores;
  // Per point: its 13 results in the order of kResultados, NaN where "ERROR" or rejected.
  std::vector<double> resultados;
  std::vector<std::uint8_t> aceptado;
  // Under control data, per point: the mode, the warnings and the values of kElegidos.
  std::vector<Modo> modos;
  std::vector<Avisos> avisos;
  std::vector<double> elegidos;
  std::size_t rechazados = 0;
  std::string primerRechazo;  // where and why the first rejected point was

  // Points of the inner axis for each value of the outer one (1 for a single sweep).
  std::size_t Interior() const { return barridos.size() > 1 ? barridos[1].puntos : 1; }
  // The value of axis `eje` at point `punto`.
  double Valor(std::size_t punto, std::size_t eje) const {
    return eje == 0 ? valores[0][punto / Interior()] : valores[1][punto % Interior()];
  }
  double ResultadoEn(std::size_t punto, std::size_t resultado) const {
    return resultados[punto * kNumResultados + resultado];
  }
  double ElegidoEn(std::size_t punto, std::size_t elegido) const {
    return elegidos[punto * kElegidos.size() + elegido];
  }
};

// Why these sweeps cannot be computed from `base` (too many points for a window, Idc or Vdci swept
// under control data, a control datum given twice); empty when they can.
std::optional<std::string> ComprobarBarridoEnMemoria(std::span<const Barrido> barridos,
                                                     const Base& base,
                                                     const ConfiguracionRegional& r);

// One sweep, or a grid of two, on `hilos` threads; the reason when ComprobarBarridoEnMemoria
// refuses it. `parar` is looked at between blocks of points: once it is true the computation
// ends early and what it gives is incomplete, for the caller to drop.
std::variant<BarridoEnMemoria, std::string> CalcularEnMemoria(
    std::span<const Barrido> barridos, const Base& base, const ConfiguracionRegional& r,
    std::size_t hilos, const std::atomic<bool>* parar = nullptr);

// The curve of result `resultado` against the first axis, for the value `miembro` of the second
// (0 for a single sweep), from the points whose value lies between `xMin` and `xMax` and the one
// beyond each end, in increasing order of the value; thinned by CurvaReducida to `columnas`
// columns. Points where the result is "ERROR" or rejected are gaps.
std::vector<PuntoCurva> CurvaEnMemoria(const BarridoEnMemoria& b, std::size_t resultado,
                                       std::size_t miembro, double xMin, double xMax,
                                       std::size_t columnas);

// The curves of the results `resultados` (indices into kResultados) as a plot takes them, from
// the points whose first value lies between `xMin` and `xMax` (and the one beyond each end), each
// thinned to `columnas` columns: a member per value of the second axis, one without it.
Curvas CurvasEnMemoria(const BarridoEnMemoria& b, std::span<const std::size_t> resultados,
                       double xMin, double xMax, std::size_t columnas,
                       const ConfiguracionRegional& r);

}  // namespace zelk::lotes
