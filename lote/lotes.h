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
#include <variant>
#include <vector>

#include "lote/control_lote.h"
#include "lote/objetivo_lote.h"
#include "lote/tabla.h"

namespace zelk::lotes {

// The 18 input texts every point starts from: the window's start-up texts, with the user's
// assignments typed over them.
struct Base {
  std::array<std::string, kNumParametros> textos;
  std::array<bool, kNumParametros> asignado{};  // typed by the user as NAME=TEXT
  BaseControl control;
  // Each point solved for a target: its datum found, in a column after the given ones; rows with
  // no value in the range are "SIN SOLUCIÓN" and make the exit status 3.
  std::optional<PeticionObjetivo> objetivo;
};
Base BaseDeInicio(
    const ConfiguracionRegional& r,
    std::span<const std::pair<const DescripcionParametro*, std::string>> asignaciones);

// Rows of a CSV file: a header naming the columns, then one operating point per row. A column
// named as an input parameter feeds it; any other column (a case name, a note) is carried through
// unchanged, in its place. Exit status 0, 3 when a row was rejected, 2 for a malformed file
// (message naming the line on `err`). A failed read throws archivos::ErrorLectura, a failed write
// archivos::ErrorEscritura.
// Parameter columns hold numbers as a spreadsheet writes them; a row with any other text there is
// rejected. Rows made only of separators are skipped. Rejected and skipped rows are told on `err`
// at the end.
// Rows are computed on `hilos` threads in blocks, and written in their order.
int CalcularCsv(std::istream& entrada, const Base& base, const ConfiguracionRegional& r,
                OpcionesSalida opciones, std::ostream& salida, std::ostream& err,
                std::size_t hilos = 1);

// No sweep, and no grid as a whole, has more points: ten million rows of results are about a
// gigabyte of CSV.
inline constexpr std::size_t kPuntosMaximos = 10'000'000;

// NAME=FROM:TO:POINTS: POINTS values evenly from FROM to TO, both included; finite bounds give
// finite values, whatever their size.
struct Barrido {
  const DescripcionParametro* parametro = nullptr;
  double desde = 0, hasta = 0;
  std::size_t puntos = 0;
  const DescripcionControl* control = nullptr;  // instead of a parameter, a control datum
  double Valor(std::size_t k) const;
  std::string_view Nombre() const;
  std::string_view Titulo() const;
};
// Empty, with the reason in `error`, when the text is not such a sweep.
std::optional<Barrido> LeerBarrido(std::string_view texto, const ConfiguracionRegional& r,
                                   std::string& error);

// A point of a curve; one without a value is a gap.
struct PuntoCurva {
  double x;
  Resultado y;
};

// One curve thinned as its points arrive, in the order of the sweep, to what a picture of
// `columnas` columns can show: past four points per column, each column keeps its first, lowest,
// highest and last point, so no peak is lost and the memory stays bounded however many points
// there are. A gap at the edge of a column is kept; one within a column is narrower than a
// column and is not.
class CurvaReducida {
 public:
  CurvaReducida(std::size_t puntos, std::size_t columnas);
  // The point `k` of the sweep, from 0 up.
  void Anadir(std::size_t k, double x, Resultado y);
  // The curve, once every point has been added.
  std::vector<PuntoCurva> Terminar();

 private:
  struct Extremo {
    std::size_t k;
    double x, y;
  };
  void CerrarColumna();
  void Hueco();

  std::size_t puntos_, columnas_;
  bool todos_;  // few enough points to keep them all
  std::vector<PuntoCurva> curva_;
  std::size_t columna_ = 0;
  std::optional<Extremo> primero_, ultimo_, minimo_, maximo_;
  bool huecoAntes_ = false, huecoDespues_ = false;
};

// A sweep's curves, for a plot: per result, its curve against the swept datum. A grid plots as a
// family: its second datum gives one curve per value, against the first.
struct Curvas {
  std::size_t columnas = 1000;      // set by the caller: the picture's width in pixels
  std::string_view nombre, titulo;  // of the datum along the curves ("Idc", "Idc [A]")
  std::string decimal = ".";        // for the axes' numbers
  double desde = 0, hasta = 0;
  std::string_view nombreFamilia, tituloFamilia;  // of the second datum; empty without one
  struct Miembro {
    double valor = 0;  // of the second datum
    std::array<std::vector<PuntoCurva>, kNumResultados> y;
  };
  std::vector<Miembro> miembros;  // one without a second datum
};

// A family has few enough curves to tell apart by their colour.
inline constexpr std::size_t kCurvasPorFamilia = 10;

enum class FormatoGrafico { Svg, Png, Pdf };

// One sweep, or a grid of two (the first outermost). Exit status 0, or 3 when a point was
// rejected, told on `err`. With `curvas`, the curves are formed there too: a grid's only when its
// second sweep has at most kCurvasPorFamilia points. A failed write throws
// archivos::ErrorEscritura.
int CalcularBarrido(std::span<const Barrido> barridos, const Base& base,
                    const ConfiguracionRegional& r, OpcionesSalida opciones, std::ostream& salida,
                    std::ostream& err, Curvas* curvas, std::size_t hilos = 1);

// The converter end whose tap sets the angle: the rectifier's for alpha, the inverter's for gamma.
enum class Angulo { alpha, gamma };

// The tap at which the angle takes `grados`, everything else as in `d`; empty when no positive
// tap gives it (the cosine would pass 1, or the data leave the angle undefined).
std::optional<double> TapPara(const DatosEnlace& d, Angulo angulo, double grados);

// Tap positions MIN, MIN + STEP, ... up to MAX.
struct Escalones {
  double paso, minimo, maximo;
};
// A tap changer has a few dozen positions; more than this means a step too small for the range.
inline constexpr double kPosicionesMaximas = 1'000'000;
// Empty when the positions make sense (0 < MIN <= MAX, STEP > 0, at most kPosicionesMaximas of
// them); else the reason, naming the step and the range as the caller's user gives them.
struct NombresEscalones {
  std::string_view paso = "--tap-step", margen = "--tap-range MIN:MAX";
  std::string_view minimo = "MIN", maximo = "MAX";
  // A range as the user writes it: "0.9:1.1" on the command line.
  std::string_view abre = "", entre = ":", cierra = "";
};
std::optional<std::string> ComprobarEscalones(const Escalones& e, const ConfiguracionRegional& r,
                                              NombresEscalones nombres = {});
// The position nearest `tap`; empty when `tap` lies outside [MIN, MAX].
std::optional<double> PosicionMasCercana(double tap, const Escalones& e);

// The tap that sets the angle (tapr for alpha, tapi for gamma), and the angle's name.
const DescripcionParametro& TapDe(Angulo angulo);
std::string_view NombreDe(Angulo angulo);

// The tap found for an angle: the exact one, and the position chosen (the exact one again when
// no positions are given).
struct TapHallado {
  double exacto, elegido;
};
// TapPara, then the nearest of the positions `escalones` when given; else why no tap serves, in
// the words zelk-calc and the Python module share, numbers written under `r`.
std::variant<TapHallado, std::string> HallarTap(const DatosEnlace& d, Angulo angulo, double grados,
                                                const std::optional<Escalones>& escalones,
                                                const ConfiguracionRegional& r);
// Why a tap found cannot be used: at `textoTap` the angle cannot be formed, or the data with it
// are rejected; then `oferta`, when there is one.
std::string MotivoTapInservible(Angulo angulo, std::string_view textoTap, bool datosRechazados,
                                std::string_view oferta = {});
// Where the position nearest the exact tap cannot form the angle: the nearest one that can, with
// the angle there ("; la posición más cercana que lo forma es tapr = 1 (alpha = 18.40)"); empty
// when none can. Each position is judged at its text under `r`, as a user would type it.
std::string OfertaDeTap(const DatosEnlace& d, Angulo angulo, double exacto, const Escalones& e,
                        const ConfiguracionRegional& r);

}  // namespace zelk::lotes
