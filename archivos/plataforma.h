// What zelk-calc needs of the operating system beyond the standard library: a file only its owner
// may read, the mode of a new file, the owner of a replaced one, the identity of standard input,
// temporary files that a signal ending the program removes first, and the cores it may use. One
// implementation per platform, chosen by the build.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zelk::archivos {

// Creates `ruta`, which must not exist, readable and writable by its owner only. 0 on success,
// else the C library's error number.
int CrearPrivado(const std::filesystem::path& ruta);

// Asks the system to start writing to the disk what the file at `ruta` holds, without waiting for
// it; nothing where the system has no such request.
void EmpezarVolcado(const std::filesystem::path& ruta);

// The permissions a new file gets from the user's settings (the umask on POSIX systems).
std::filesystem::perms PermisosDeArchivoNuevo();

// True when standard input reads the very file `ruta` names.
bool EsLaEntradaEstandar(const std::filesystem::path& ruta);

// Temporary files removed when a signal whose default action ends the program arrives (SIGINT,
// SIGTERM, SIGHUP, SIGQUIT, SIGUSR1…; Ctrl+C or a closed console on Windows); the program then
// ends as the signal would have ended it. SIGPIPE and SIGXFSZ that the program's own write meets
// end nothing: the write fails with EPIPE or EFBIG. A handle of 0 is none: the table of watched
// files is full.
int VigilarTemporal(const std::filesystem::path& ruta);
void OlvidarTemporal(int vigilado);

// Gives the file `nuevo`, which is to replace `anterior`, the owner and group of `anterior` as far
// as the process may (the group alone where only that is allowed). Empty when nothing was lost;
// else, for a note, what was: "era de pepe; el nuevo es de root". Windows' files take their
// folder's access list instead: nothing to keep there.
std::optional<std::string> ConservarDueno(const std::filesystem::path& anterior,
                                          const std::filesystem::path& nuevo);

// The cores this process may run on (its affinity), at least 1.
unsigned NucleosDisponibles();

}  // namespace zelk::archivos
