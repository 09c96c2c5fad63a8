#include <windows.h>

#include <array>
#include <atomic>
#include <cwchar>

#include "archivos/plataforma.h"
#include "archivos/vigilados.h"

namespace zelk::archivos {

namespace fs = std::filesystem;

int CrearPrivado(const fs::path& ruta) {
  // A new file inherits its folder's access list, which keeps other users' accounts out of a
  // user's own folders.
  const HANDLE h = ::CreateFileW(ruta.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    switch (::GetLastError()) {
      case ERROR_FILE_EXISTS:
      case ERROR_ALREADY_EXISTS:
        return EEXIST;
      case ERROR_ACCESS_DENIED:
        return EACCES;
      case ERROR_PATH_NOT_FOUND:
      case ERROR_FILE_NOT_FOUND:
        return ENOENT;
      case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
      case ERROR_DISK_FULL:
        return ENOSPC;
      default:
        return EIO;
    }
  }
  ::CloseHandle(h);
  return 0;
}

// Windows writes a file out at its own pace; a rename does not wait for it.
void EmpezarVolcado(const fs::path&) {}

fs::perms PermisosDeArchivoNuevo() {
  return fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
         fs::perms::group_write | fs::perms::others_read | fs::perms::others_write;
}

std::optional<std::string> ConservarDueno(const fs::path&, const fs::path&) {
  return std::nullopt;
}

bool EsLaEntradaEstandar(const fs::path& ruta) {
  BY_HANDLE_FILE_INFORMATION entrada{}, archivo{};
  const HANDLE h = ::GetStdHandle(STD_INPUT_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE || ::GetFileType(h) != FILE_TYPE_DISK ||
      !::GetFileInformationByHandle(h, &entrada))
    return false;
  const HANDLE f =
      ::CreateFileW(ruta.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (f == INVALID_HANDLE_VALUE)
    return false;
  const bool leido = ::GetFileInformationByHandle(f, &archivo);
  ::CloseHandle(f);
  return leido && entrada.dwVolumeSerialNumber == archivo.dwVolumeSerialNumber &&
         entrada.nFileIndexHigh == archivo.nFileIndexHigh &&
         entrada.nFileIndexLow == archivo.nFileIndexLow;
}

namespace {

Vigilados<wchar_t, 32768> vigilados;  // the longest name Windows takes

// Runs on a thread of its own; returning FALSE lets the next handler, the system's, end the
// program as Ctrl+C or a closed console does.
BOOL WINAPI AlTerminar(DWORD) {
  vigilados.ParaCada([](const wchar_t* nombre) { ::DeleteFileW(nombre); });
  return FALSE;
}

}  // namespace

int VigilarTemporal(const fs::path& ruta) {
  static std::atomic<bool> instalado{false};
  if (!instalado.exchange(true))
    ::SetConsoleCtrlHandler(AlTerminar, TRUE);
  return vigilados.Anadir(ruta.native());
}

void OlvidarTemporal(int vigilado) {
  vigilados.Quitar(vigilado);
}

unsigned NucleosDisponibles() {
  DWORD_PTR proceso = 0, sistema = 0;
  if (::GetProcessAffinityMask(::GetCurrentProcess(), &proceso, &sistema) && proceso != 0) {
    unsigned n = 0;
    for (; proceso != 0; proceso &= proceso - 1)
      ++n;
    return n;
  }
  return 1;
}

}  // namespace zelk::archivos
