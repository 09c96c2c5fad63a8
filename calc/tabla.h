// The table of operating points that batch, sweep and tap work write: the given input columns,
// the 13 results named as in ResultadosEnlace and `estado`, as CSV or as JSON, one row at a time.
// A failed write throws archivos::ErrorEscritura.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/enlace.h"
#include "engine/pasada.h"
#include "engine/texto_numero.h"

namespace zelk::lotes {

inline constexpr std::string_view kEstadoBien = "OK";
inline constexpr std::string_view kEstadoRechazo = "ERROR EN DATOS";

enum class Formato { Csv, Json };

struct OpcionesSalida {
  Formato formato = Formato::Csv;
  // Machine-readable numbers: shortest exact form, "." as decimal, "," between fields.
  bool crudo = false;
  // CSV that begins with a byte-order mark, without which Excel takes UTF-8 for the system's
  // code page.
  bool marca = false;
};

// One operating point as a pass gives it: its data when the checks accept the texts, and then
// its results.
struct Punto {
  std::optional<DatosEnlace> datos;
  ResultadosEnlace resultados;
};

// The checks and the computation of one pass, without a form and without the window's reset.
Punto Evaluar(const TextosEntrada& textos, const ConfiguracionRegional& r);

// The field separator of the CSV a spreadsheet under these settings reads: ";" under a decimal
// comma, "," otherwise.
char SeparadorCsv(const ConfiguracionRegional& r);

// An input column: a parameter, or a column of the user's own (a case name, a note) whose texts
// are carried through unchanged.
struct Columna {
  std::string nombre;
  const DescripcionParametro* parametro = nullptr;
};

// A text of the user's as a spreadsheet may safely read it in CSV: one that starts like a formula
// ("=", "+", "-", "@", a tab or a carriage return), also behind byte-order marks, and is not a
// number gets a leading "'", so that it stays text.
std::string TextoSeguro(std::string_view texto, const ConfiguracionRegional& r);

class Tabla {
 public:
  Tabla(std::ostream& salida, const ConfiguracionRegional& r, OpcionesSalida opciones,
        std::vector<Columna> columnas);
  ~Tabla();
  Tabla(const Tabla&) = delete;
  Tabla& operator=(const Tabla&) = delete;

  // `textos` holds the texts of the input columns, in their order.
  void Fila(std::span<const std::string_view> textos, const Punto& punto);
  // Ends the table (the JSON array) and writes out what is pending.
  void Terminar();

 private:
  void Cabecera();
  void Volcar(bool siempre);
  void CampoCsv(std::string_view campo, bool primero);
  void TextoCsv(std::string_view texto, bool primero);
  void TextoJson(std::string_view texto);
  void NumeroJson(double v);
  std::string Numero(double v) const;

  std::ostream& salida_;
  const ConfiguracionRegional& regional_;
  OpcionesSalida opciones_;
  std::vector<Columna> columnas_;
  char separador_;
  std::string pendiente_;
  std::vector<std::string> claves_;  // JSON: `"name":` of every column, with the comma between
  bool filas_ = false;
  bool terminada_ = false;
};

}  // namespace zelk::lotes
