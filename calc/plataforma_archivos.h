// What files need of the operating system beyond the standard library: a file only its owner may
// read, the mode of a new file, the identity of standard input, and temporary files that a signal
// ending the program removes first. One implementation per platform, chosen by the build.
#pragma once

#include <filesystem>

namespace zelk::archivos {

// Creates `ruta`, which must not exist, readable and writable by its owner only. 0 on success,
// else the C library's error number.
int CrearPrivado(const std::filesystem::path& ruta);

// The permissions a new file gets from the user's settings (the umask on POSIX systems).
std::filesystem::perms PermisosDeArchivoNuevo();

// True when standard input reads the very file `ruta` names.
bool EsLaEntradaEstandar(const std::filesystem::path& ruta);

// Temporary files removed when SIGINT, SIGTERM or SIGHUP (Ctrl+C or a closed console on Windows)
// ends the program; the program then ends as the signal would have ended it. A handle of 0 is
// none: the table of watched files is full.
int VigilarTemporal(const std::filesystem::path& ruta);
void OlvidarTemporal(int vigilado);

}  // namespace zelk::archivos
