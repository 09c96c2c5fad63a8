#include <windows.h>

#include <array>
#include <atomic>
#include <cwchar>

#include "calc/plataforma_archivos.h"

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

fs::perms PermisosDeArchivoNuevo() {
  return fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
         fs::perms::group_write | fs::perms::others_read | fs::perms::others_write;
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

constexpr int kVigilados = 8;
std::array<std::array<wchar_t, 32768>, kVigilados> rutas;
std::array<std::atomic<bool>, kVigilados> ocupados;

// Runs on a thread of its own; returning FALSE lets the next handler, the system's, end the
// program as Ctrl+C or a closed console does.
BOOL WINAPI AlTerminar(DWORD) {
  for (int i = 0; i < kVigilados; ++i)
    if (ocupados[static_cast<std::size_t>(i)].load())
      ::DeleteFileW(rutas[static_cast<std::size_t>(i)].data());
  return FALSE;
}

}  // namespace

int VigilarTemporal(const fs::path& ruta) {
  const std::wstring& nativa = ruta.native();
  if (nativa.size() >= rutas[0].size())
    return 0;
  static std::atomic<bool> instalado{false};
  if (!instalado.exchange(true))
    ::SetConsoleCtrlHandler(AlTerminar, TRUE);
  for (int i = 0; i < kVigilados; ++i) {
    auto& ocupado = ocupados[static_cast<std::size_t>(i)];
    if (ocupado.load())
      continue;
    auto& destino = rutas[static_cast<std::size_t>(i)];
    std::wmemcpy(destino.data(), nativa.c_str(), nativa.size() + 1);
    ocupado.store(true);
    return i + 1;
  }
  return 0;
}

void OlvidarTemporal(int vigilado) {
  if (vigilado > 0 && vigilado <= kVigilados)
    ocupados[static_cast<std::size_t>(vigilado - 1)].store(false);
}

}  // namespace zelk::archivos
