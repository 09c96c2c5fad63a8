// The records of a RAW file: its lines read a block at a time within bounds, each split into its
// first fields, and the fields read as the format writes them (numbers of their kind, names).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "psse/raw.h"

namespace zelk::psse {

// The longest record read, a converter's, has 18 fields; what follows these on a line is not read.
inline constexpr std::size_t kCamposMaximos = 20;

struct Campo {
  std::string_view texto;
  bool comillas = false;
};

// One record line split into fields: a comma, or blanks, separate them; text in single or double
// quotes is one field; "/" outside quotes starts a comment. A field left empty between commas
// takes its default. The fields look into the record's own copy of its line.
struct Registro {
  std::string texto;
  std::vector<Campo> campos;
  std::string_view comentario;
  std::size_t linea = 0;

  Registro() = default;
  Registro(const Registro&) = delete;
  Registro& operator=(const Registro&) = delete;

  // The first field, unquoted, is exactly `t` ("0" ends a section, "Q" the data).
  bool Es(std::string_view t) const {
    return !campos.empty() && !campos[0].comillas && campos[0].texto == t;
  }
};

// The lines of a file, with their numbers, skipping the column headings ("@!") of versions 34
// and 35, blank lines and a byte order mark at the start. At most kTamanoMaximo bytes are read in
// all, and no line may be longer than kLineaMaxima: neither a pipe nor a file without line breaks
// makes the reader hold more than that.
class Lineas {
 public:
  explicit Lineas(Fuente& fuente) : fuente_(fuente), bloque_(std::size_t{1} << 16) {}

  // The next line into `r` (split unless `crudo`); false at the end of the file.
  bool Siguiente(Registro& r, bool crudo = false);

  std::size_t Numero() const { return numero_; }

 private:
  bool LeerLinea(std::string& linea);

  Fuente& fuente_;
  std::vector<char> bloque_;
  std::size_t pos_ = 0, fin_ = 0;
  std::uint64_t leidos_ = 0;
  bool agotada_ = false;
  std::size_t numero_ = 0;
};

// A field's text quoted for a message, as UTF-8 (see Nombre).
std::string Mostrar(std::string_view t);

// The field starts with a letter, unquoted ("GENERAL, THRSHZ=..." of the system-wide data).
bool EmpiezaPorLetra(const Campo& c);

// A real number as the file writes it ("1.05", "-.5", "0.1110000E-01", "1.0D+00"); empty for a
// field left out. Throws when the text is not one.
std::optional<double> Real(const Registro& r, std::size_t i, std::string_view nombre);
double Real(const Registro& r, std::size_t i, std::string_view nombre, double porDefecto);
double Obligatorio(const Registro& r, std::size_t i, std::string_view nombre);

// A whole number such as a bus number or a count, within [minimo, maximo]. "7" and "7.0" are 7;
// "7.5" and a quoted text are refused.
long Entero(const Registro& r, std::size_t i, std::string_view nombre, long minimo, long maximo,
            std::optional<long> porDefecto = std::nullopt);

// A whole number where the format has one and the checks that follow judge its value (MDC, NB):
// "2.5" is refused here, 0 there.
long EnteroCualquiera(const Registro& r, std::size_t i, std::string_view nombre,
                      std::optional<long> porDefecto = std::nullopt);

// A text field, unquoted or quoted, without its surrounding blanks; `porDefecto` when left out.
std::string_view Texto(const Registro& r, std::size_t i, std::string_view porDefecto);

// A name as UTF-8, without its surrounding blanks: the file's bytes when they are UTF-8, else read
// as Latin-1, as older tools write them.
std::string Nombre(std::string_view t);

}  // namespace zelk::psse
