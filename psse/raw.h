// A PSS/E RAW power-flow case, versions 33, 34 and 35, read as far as a two-terminal DC link
// needs: the buses' base voltages and voltage magnitudes, and the two-terminal DC lines with both
// converters. VSC and multi-terminal DC lines are only named. Nothing here knows of a command line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk::psse {

// A case that cannot be read: the line of the file (from 1) and why.
struct ErrorRaw {
  std::size_t linea;
  std::string motivo;
};

// No case of any size comes near this; a larger input is not a RAW case.
inline constexpr std::size_t kTamanoMaximo = std::size_t{256} << 20;

struct Barra {
  double baskv = 0;  // base voltage, kV
  double vm = 1;     // voltage magnitude, per unit
  std::size_t linea = 0;
};

// One converter of a two-terminal line, with the record's names: IP, NB, ANMX, ANMN, RC, XC, EBAS,
// TR, TAP, TMX, TMN, STP, XCAP (R or I appended in the file).
struct Convertidor {
  long ip = 0;
  double nb = 0, anmx = 0, anmn = 0, rc = 0, xc = 0, ebas = 0;
  double tr = 1, tap = 1, tmx = 1.5, tmn = 0.51, stp = 0.00625, xcap = 0;
  std::size_t linea = 0;
};

struct LineaDosTerminales {
  std::string nombre;  // UTF-8
  std::size_t linea = 0;
  double mdc = 0, rdc = 0, setvl = 0, vschd = 0, vcmod = 0, rcomp = 0, delti = 0;
  Convertidor rectificador, inversor;
};

// A DC line of another kind, which is named and not solved.
struct LineaOmitida {
  std::string_view tipo;  // "VSC", "multiterminal"
  std::string nombre;
  std::size_t linea = 0;
};

struct Caso {
  int version = 0;
  std::unordered_map<long, Barra> barras;
  std::vector<LineaDosTerminales> lineas;
  std::vector<LineaOmitida> omitidas;
  // Why reading stopped after the two-terminal lines, when the rest could not be followed; empty
  // when it could. The lines already read stand.
  std::string notaFinal;
};

// The case in `texto`, the whole file. Throws ErrorRaw. Names that are not UTF-8 are read as
// Latin-1, as older tools write them.
Caso LeerCaso(std::string_view texto);

}  // namespace zelk::psse
