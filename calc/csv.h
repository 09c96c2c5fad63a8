// CSV as spreadsheets write it (RFC 4180): fields split by one separator character, quoted with
// '"' where they hold the separator, a quote or a line break, a doubled quote inside quotes.
// Read and written one record at a time.
#pragma once

#include <cstddef>
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

class Lector {
 public:
  // Without a separator, the first record chooses: ";" when it holds one, else ",".
  explicit Lector(std::istream& entrada, std::optional<char> separador = std::nullopt)
      : entrada_(entrada), separador_(separador) {}

  std::optional<char> Separador() const { return separador_; }

  // The next record into `campos`; false at the end of the file. A record may span lines inside
  // quotes. Lines that are wholly empty are skipped. Throws ErrorCsv on bad quoting or text that
  // is not UTF-8.
  bool Siguiente(std::vector<std::string>& campos);

  // The line on which the last record read began.
  std::size_t Linea() const { return lineaRegistro_; }

  // The next physical line without its end ("\n" or "\r\n"); false at the end of the file.
  bool LeerLinea(std::string& linea);

 private:
  std::istream& entrada_;
  std::optional<char> separador_;
  std::size_t linea_ = 0;
  std::size_t lineaRegistro_ = 0;
  std::string linea_actual_;
};

// Appends one field, quoted where needed.
void EscribirCampo(std::string& salida, std::string_view campo, char separador);

}  // namespace zelk::csv
