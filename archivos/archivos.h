// The user's files: reads and writes that fail say why, and an output file takes the place of
// its name only when the run succeeds, so a failed run leaves any earlier file as it was. Only
// the standard library: the same code serves Linux and Windows.
#pragma once

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zelk::archivos {

// A read or a write that failed, with the system's reason; the caller names the file.
struct ErrorLectura {
  std::string motivo;
};
struct ErrorEscritura {
  std::string motivo;
};

// The file of a name given as UTF-8, as the user typed it: on Windows a wide name, whatever the
// ANSI code page, so that "resultados Ω.csv" is that file and no other; and a file's name as UTF-8.
std::filesystem::path RutaUtf8(std::string_view nombre);
std::string TextoDeRuta(const std::filesystem::path& ruta);

// The text, in Spanish, of an error number of the C library (errno), with the code's name
// ("permiso denegado (EACCES)"); a plain "error de entrada o salida" when the operation left none.
std::string TextoDelError(int numero);
std::string TextoDelError(const std::error_code& codigo);

// True when both names lead to the same file: the same file of the same device where it exists,
// else the same absolute path once "." and ".." are resolved.
bool MismoArchivo(const std::filesystem::path& a, const std::filesystem::path& b);

// An output file written beside its name (same folder, a temporary name) and renamed over it by
// Confirmar. A device or a pipe cannot be replaced and is written in place. When the object goes
// without Confirmar, the temporary file is removed.
class ArchivoSalida {
 public:
  explicit ArchivoSalida(std::filesystem::path ruta) : ruta_(std::move(ruta)) {}
  ~ArchivoSalida();
  ArchivoSalida(const ArchivoSalida&) = delete;
  ArchivoSalida& operator=(const ArchivoSalida&) = delete;

  // Creates the temporary file; the reason when it cannot be (a folder, no permission, no such
  // folder). An existing file must be writable: the run would replace it.
  std::optional<std::string> Abrir();

  std::ostream& Flujo() { return flujo_; }

  // Writes all of `bytes`; the reason when the write fails.
  std::optional<std::string> Escribir(std::string_view bytes);

  // Flushes and closes the file; the reason when either fails.
  std::optional<std::string> Cerrar();

  // Puts the closed file in place of its name, with the permissions of the file it replaces and,
  // as far as the process may, its owner and group.
  std::optional<std::string> Confirmar();

  // What the replaced file had that the new one has not, once confirmed, each a note for the
  // user: "«x.csv» era de pepe; el nuevo es de root", "«x.csv» tenía otro nombre (un enlace
  // duro), que sigue con el contenido anterior".
  const std::vector<std::string>& Notas() const { return notas_; }

 private:
  std::filesystem::path ruta_;      // as the user gave it
  std::filesystem::path destino_;   // the file replaced: the name, or where its link leads
  std::filesystem::path temporal_;  // empty when written in place or not created
  // Every few megabytes, the system is asked to start writing to the disk what it has of a file
  // that will replace another: the file system would otherwise write all of it out at the rename
  // (ext4 does, to keep the replaced data safe), with the run waiting at its very end.
  class Buffer : public std::filebuf {
   public:
    const std::filesystem::path* adelantar = nullptr;

   protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override;

   private:
    std::streamsize sinAdelantar_ = 0;
  };
  Buffer buffer_;
  std::ostream flujo_{&buffer_};
  std::vector<std::string> notas_;
  bool existia_ = false;
  bool confirmado_ = false;
  int vigilado_ = 0;  // the temporary file's place among those a signal removes
};

}  // namespace zelk::archivos
