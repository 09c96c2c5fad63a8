// CSV as spreadsheets write it (RFC 4180): fields split by one separator character, quoted with
// '"' where they hold the separator, a quote or a line break, a doubled quote inside quotes.
// Read and written one record at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zelk::csv {

// No line and no field may be longer: a record of the link's 18 data is well under 1 kB.
inline constexpr std::size_t kLargoMaximo = 1 << 20;

// A file that is not CSV: the message names the line where the fault starts (from 1).
struct ErrorCsv {
  std::size_t linea;
  std::string motivo;
};

// How well a header split one way reads: the count of the names it knows.
using PuntuarCabecera = std::function<std::size_t(const std::vector<std::string>&)>;

class Lector {
 public:
  // Without a separator, the first record chooses among ";", "," and a tab (what a spreadsheet
  // puts on the clipboard): the one under which `puntuar` knows most of its names; among equals,
  // one that stands in the record outside quotes, `porDefecto` first (a one-column file says
  // nothing of its separator).
  explicit Lector(std::istream& entrada, std::optional<char> separador = std::nullopt,
                  char porDefecto = ',', PuntuarCabecera puntuar = {})
      : entrada_(entrada),
        separador_(separador),
        porDefecto_(porDefecto),
        puntuar_(std::move(puntuar)) {}

  std::optional<char> Separador() const { return separador_; }

  // The next record into `campos`; false at the end of the file. A record may span lines inside
  // quotes. Lines that are wholly empty are skipped. Throws ErrorCsv on bad quoting or text that
  // is not UTF-8, archivos::ErrorLectura when the input cannot be read.
  bool Siguiente(std::vector<std::string>& campos);
  // The same, the fields appended to `textos` one after another, each followed by one byte (the
  // separator between fields, a line feed after the last), and where each ends in `fines`: a
  // field begins one byte after the end of the one before. A record read without quotes lies in
  // `textos` as its line did. A record cut short by an exception may leave some of its fields
  // there.
  bool SiguienteEn(std::string& textos, std::vector<std::size_t>& fines);

  // Whether the last record read had a field in quotes: one without holds no separator, quote or
  // line break in any field.
  bool ConComillas() const { return conComillas_; }

  // The line on which the last record read began.
  std::size_t Linea() const { return lineaRegistro_; }

  // Whether the input began with a byte-order mark, as spreadsheets save "CSV UTF-8".
  bool TeniaMarca() const { return marca_; }

  // The next physical line without its end ("\n", "\r\n", or a lone "\r" as old spreadsheets
  // write), valid until the next call; false at the end of the file. The byte-order mark that
  // spreadsheets put at the start of "CSV UTF-8" is dropped.
  bool LeerLinea(std::string_view& linea);

 private:
  char ElegirSeparador(std::string_view linea) const;

  std::istream& entrada_;
  std::optional<char> separador_;
  char porDefecto_;
  PuntuarCabecera puntuar_;
  // The next bytes of the input into `bloque_`; false at its end. Throws archivos::ErrorLectura.
  bool Rellenar();
  // Where the next `c` stands in the block from posicion_ on (its size when nowhere), kept in
  // `guardado`.
  std::size_t Proximo(char c, std::size_t& guardado) const;

  std::size_t linea_ = 0;
  std::size_t lineaRegistro_ = 0;
  std::string linea_actual_;     // a line the block's end cut
  std::string_view lineaVista_;  // the line being split
  std::string textos_;           // a record's fields for Siguiente
  std::vector<std::size_t> fines_;
  // Bytes read from the input and not yet taken: bloque_ from posicion_ on.
  std::string bloque_;
  std::size_t posicion_ = 0;
  std::size_t siguienteLf_ = std::string::npos, siguienteCr_ = std::string::npos;
  bool trasCr_ = false;  // the last line ended in "\r": a "\n" next belongs to it
  bool marca_ = false;
  bool conComillas_ = false;
};

// U+FEFF in UTF-8, as "CSV UTF-8" files begin.
inline constexpr std::string_view kMarcaDeOrden = "\xEF\xBB\xBF";

// The reason given for text that is not UTF-8, with what to do about it.
inline constexpr std::string_view kNoEsUtf8 =
    "el texto no es UTF-8: guarde la hoja como «CSV UTF-8»";

// Appends one field, quoted where needed.
void EscribirCampo(std::string& salida, std::string_view campo, char separador);

}  // namespace zelk::csv
