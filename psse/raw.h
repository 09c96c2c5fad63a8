// A PSS/E RAW power-flow case, versions 33, 34 and 35, read as far as a two-terminal DC link
// needs: the buses' base voltages, voltage magnitudes and types, and the two-terminal DC lines with
// both converters, each record's fields checked as the format gives them. VSC and multi-terminal
// DC lines are only named. Nothing here knows of a command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk::psse {

// A case that cannot be read: the line of the file (from 1; 0 for the file as a whole) and why.
struct ErrorRaw {
  std::size_t linea;
  std::string motivo;
};

// The largest cases, whole interconnections, take some tens of megabytes: a file ten times that
// is no case. The reader holds one line at a time, so the bound is of time, not of memory.
inline constexpr std::size_t kTamanoMaximo = std::size_t{256} << 20;
// A record takes a few hundred bytes; a line of this length is not one.
inline constexpr std::size_t kLineaMaxima = std::size_t{1} << 20;

// Throws ErrorRaw for a file of `bytes` bytes, more than kTamanoMaximo; for a file whose size is
// known, before reading it.
void ComprobarTamano(std::uint64_t bytes);

// Where the reader takes a file's bytes from, a block at a time: a file, a pipe, a Python file.
class Fuente {
 public:
  virtual ~Fuente() = default;
  // Up to `n` bytes into `destino`: how many, 0 at the end of the file. A failed read throws.
  virtual std::size_t Leer(char* destino, std::size_t n) = 0;
};

struct Barra {
  double baskv = 0;  // base voltage, kV
  double vm = 1;     // voltage magnitude, per unit
  long ide = 1;      // bus type: 4 is isolated
  std::size_t linea = 0;
};

// One converter of a two-terminal line, with the record's names: IP, NB, ANMX, ANMN, RC, XC, EBAS,
// TR, TAP, TMX, TMN, STP, XCAP (R or I appended in the file).
struct Convertidor {
  long ip = 0;
  long nb = 0;
  double anmx = 0, anmn = 0, rc = 0, xc = 0, ebas = 0;
  double tr = 1, tap = 1, tmx = 1.5, tmn = 0.51, stp = 0.00625, xcap = 0;
  std::size_t linea = 0;
};

struct LineaDosTerminales {
  std::string nombre;  // UTF-8
  std::size_t linea = 0;
  long mdc = 0;
  double rdc = 0, setvl = 0, vschd = 0, vcmod = 0, rcomp = 0, delti = 0;
  Convertidor rectificador, inversor;
};

// A DC line of another kind, which is named and not solved.
struct LineaOmitida {
  std::string_view tipo;  // "VSC", "multiterminal"
  std::string nombre;
  std::size_t linea = 0;
};

// Something the case says that the solution leaves out although it changes what the case means
// ("IFR = 5, ITR = 6...": the case regulates with an AC transformer that is not modelled).
struct Nota {
  std::size_t linea;
  std::string texto;
};

struct Caso {
  int version = 0;
  std::unordered_map<long, Barra> barras;
  std::vector<LineaDosTerminales> lineas;
  std::vector<LineaOmitida> omitidas;
  std::vector<Nota> notas;  // in the order of the file
  // Why reading stopped after the two-terminal lines, when the rest could not be followed; empty
  // when it could. The lines already read stand.
  std::string notaFinal;
};

// The case in `fuente`, or in `texto`, the whole file. Throws ErrorRaw, and what `fuente` throws.
// Names that are not UTF-8 are read as Latin-1, as older tools write them.
Caso LeerCaso(Fuente& fuente);
Caso LeerCaso(std::string_view texto);

}  // namespace zelk::psse
