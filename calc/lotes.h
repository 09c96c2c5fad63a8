// Many operating points through the same checks and computation as the window's pass: rows of a
// CSV file, sweeps of one or two parameters, and the tap that gives an angle.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/tabla.h"

namespace zelk::lotes {

// The 18 input texts every point starts from: the window's start-up texts, with the user's
// assignments typed over them.
struct Base {
  std::array<std::string, kNumParametros> textos;
};
Base BaseDeInicio(
    const ConfiguracionRegional& r,
    std::span<const std::pair<const DescripcionParametro*, std::string>> asignaciones);

// Rows of a CSV file: a header naming input parameters, then one operating point per row. Exit
// status 0, 3 when a row was rejected, 2 for a malformed file (message naming the line on `err`).
int CalcularCsv(std::istream& entrada, const Base& base, const ConfiguracionRegional& r,
                OpcionesSalida opciones, std::ostream& salida, std::ostream& err);

// NAME=FROM:TO:POINTS: POINTS values evenly from FROM to TO, both included.
struct Barrido {
  const DescripcionParametro* parametro = nullptr;
  double desde = 0, hasta = 0;
  std::size_t puntos = 0;
  double Valor(std::size_t k) const;
};
// Empty, with the reason in `error`, when the text is not such a sweep.
std::optional<Barrido> LeerBarrido(std::string_view texto, const ConfiguracionRegional& r,
                                   std::string& error);

// A sweep's curves, for a plot: the swept values and, per result, its value at each of them.
struct Curvas {
  const DescripcionParametro* parametro = nullptr;
  std::string decimal = ".";  // for the axes' numbers
  std::vector<double> x;
  std::array<std::vector<Resultado>, kNumResultados> y;
};

// One sweep, or a grid of two (the first outermost). Exit status 0, or 3 when a point was
// rejected. With `curvas`, a single sweep's results are kept there too.
int CalcularBarrido(std::span<const Barrido> barridos, const Base& base,
                    const ConfiguracionRegional& r, OpcionesSalida opciones, std::ostream& salida,
                    Curvas* curvas);

// The converter end whose tap sets the angle: the rectifier's for alpha, the inverter's for gamma.
enum class Angulo { alpha, gamma };

// The tap at which the angle takes `grados`, everything else as in `d`; empty when no positive
// tap gives it (the cosine would pass 1, or the data leave the angle undefined).
std::optional<double> TapPara(const DatosEnlace& d, Angulo angulo, double grados);

// Tap positions MIN, MIN + STEP, ... up to MAX.
struct Escalones {
  double paso, minimo, maximo;
};
// The position nearest `tap`; empty when `tap` lies outside [MIN, MAX].
std::optional<double> PosicionMasCercana(double tap, const Escalones& e);

}  // namespace zelk::lotes
