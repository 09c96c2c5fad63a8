// The table of operating points that batch, sweep and tap work write: the given input columns,
// the 13 results named as in ResultadosEnlace and `estado`, as CSV or as JSON, one row at a time.
// A failed write throws archivos::ErrorEscritura.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/control.h"
#include "engine/enlace.h"
#include "engine/pasada.h"
#include "engine/texto_numero.h"

namespace zelk::lotes {

inline constexpr std::string_view kEstadoBien = "OK";
inline constexpr std::string_view kEstadoRechazo = "ERROR EN DATOS";
// A row solved for a target that no value of the datum reaches within the range.
inline constexpr std::string_view kEstadoSinSolucion = "SIN SOLUCIÓN";
// The column of the reasons and warnings of each row.
inline constexpr std::string_view kColumnaMotivos = "motivos";

enum class Formato { Csv, Json };

struct OpcionesSalida {
  Formato formato = Formato::Csv;
  // Machine-readable numbers: shortest exact form, "." as decimal, "," between fields.
  bool crudo = false;
  // CSV that begins with a byte-order mark, without which Excel takes UTF-8 for the system's
  // code page.
  bool marca = false;
  // The run solves control data: the table adds their solution's columns (lote/control_lote.h).
  bool control = false;
  // The table adds a last column of each row's reasons and warnings (engine/motivos.h).
  bool motivos = false;
  // The datum solved for a target, as the column after the given ones; empty without a target.
  std::string resuelta;
};

// A point solved under control data: those data and the solution.
struct PuntoControl {
  DatosControl datos;
  SolucionControl solucion;
};

// One operating point as a pass gives it: its data when the checks accept the texts, and then
// its results; under control data, the solution's too.
struct Punto {
  std::optional<DatosEnlace> datos;
  ResultadosEnlace resultados;
  std::optional<PuntoControl> control;
  // Solved for a target: the datum's value found, or none within the range.
  std::optional<double> resuelto;
  bool sinSolucion = false;
  // Why its results are ERROR or its data rejected, and its warnings, when the table shows them.
  std::vector<std::string> motivos;
};

// The reasons and warnings of a point whose data were accepted, into `motivos`: those of the
// solution under control data, else of the pass; nothing for a point without a solution.
void AnadirMotivos(Punto& p, const ConfiguracionRegional& r);

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
  const DescripcionControl* control = nullptr;  // a control datum's column
};

// A text of the user's as a spreadsheet may safely read it in CSV: one that starts like a formula
// ("=", "+", "-", "@", a tab or a carriage return), also behind byte-order marks, and is not a
// number gets a leading "'", so that it stays text.
std::string TextoSeguro(std::string_view texto, const ConfiguracionRegional& r);

// How the table's rows are written: the header, and each row as text appended to a buffer. It
// changes nothing once made, so threads that format blocks of rows share one.
class FormatoTabla {
 public:
  FormatoTabla(const ConfiguracionRegional& r, OpcionesSalida opciones,
               std::vector<Columna> columnas);

  const std::vector<Columna>& Columnas() const { return columnas_; }
  const OpcionesSalida& Opciones() const { return opciones_; }

  // What opens the table: the CSV header line, or the JSON array's "[".
  std::string Cabecera() const;
  // One row; `textos` holds the texts of the input columns, in their order. `primera` is the
  // table's first row (JSON puts a comma before every other). `linea`, when not empty, is those
  // texts as one line joined by the output's separator, read without quotes: none needs any.
  void Fila(std::string& salida, std::span<const std::string_view> textos, const Punto& punto,
            bool primera, std::string_view linea = {}) const;
  char Separador() const { return separador_; }
  // What closes the table.
  std::string_view Cierre(bool conFilas) const;

 private:
  void CampoCsv(std::string& salida, std::string_view campo, bool primero) const;
  void TextoCsv(std::string& salida, std::string_view texto, bool primero,
                bool limpio = false) const;

  const ConfiguracionRegional& regional_;
  OpcionesSalida opciones_;
  std::vector<Columna> columnas_;
  char separador_;
  bool decimalSinComillas_ = false;  // a result's text never needs quotes in CSV
  bool decimalSinEscapes_ = false;   // nor escapes in JSON
  std::vector<std::string> claves_;  // JSON: `"name":` of every column, with the comma between
  std::vector<std::string> clavesComilla_;  // the same, each with the quote that opens a text
  // CSV: the end of a row without control data, from the separator before its state on.
  std::array<std::string, 3> finDeFila_;  // accepted, rejected, without a solution
};

// The table written to a stream as its rows come, or as blocks of rows formatted elsewhere.
class Tabla {
 public:
  Tabla(std::ostream& salida, const ConfiguracionRegional& r, OpcionesSalida opciones,
        std::vector<Columna> columnas);
  ~Tabla();
  Tabla(const Tabla&) = delete;
  Tabla& operator=(const Tabla&) = delete;

  const FormatoTabla& Formato() const { return formato_; }

  // `textos` holds the texts of the input columns, in their order.
  void Fila(std::span<const std::string_view> textos, const Punto& punto);
  // Rows formatted by FormatoTabla::Fila, the first of them the table's first when `primera`.
  void Filas(std::string_view filas);
  // Ends the table (the JSON array) and writes out what is pending.
  void Terminar();

 private:
  // Writes what is pending when it is enough, or `siempre`; then flushes the stream when both.
  void Volcar(bool siempre, bool vaciar = true);

  std::ostream& salida_;
  FormatoTabla formato_;
  std::string pendiente_;
  bool filas_ = false;
  bool terminada_ = false;
};

}  // namespace zelk::lotes
