#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "calc/plataforma_archivos.h"

namespace zelk::archivos {

namespace fs = std::filesystem;

int CrearPrivado(const fs::path& ruta) {
  const int fd = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0)
    return errno;
  ::close(fd);
  return 0;
}

fs::perms PermisosDeArchivoNuevo() {
  const mode_t mascara = ::umask(0);
  ::umask(mascara);
  return static_cast<fs::perms>(0666 & ~mascara);
}

bool EsLaEntradaEstandar(const fs::path& ruta) {
  struct stat entrada {};
  struct stat archivo {};
  return ::fstat(STDIN_FILENO, &entrada) == 0 && S_ISREG(entrada.st_mode) &&
         ::stat(ruta.c_str(), &archivo) == 0 && entrada.st_dev == archivo.st_dev &&
         entrada.st_ino == archivo.st_ino;
}

namespace {

// Fixed room, so that the handler touches no memory that may be freed under it: a few output
// files at a time, each path at most PATH_MAX long.
constexpr int kVigilados = 8;
std::array<std::array<char, 4096>, kVigilados> rutas;
std::array<std::atomic<bool>, kVigilados> ocupados;
constexpr std::array<int, 3> kSenales{SIGINT, SIGTERM, SIGHUP};

extern "C" void AlTerminar(int senal) {
  for (int i = 0; i < kVigilados; ++i)
    if (ocupados[static_cast<std::size_t>(i)].load())
      ::unlink(rutas[static_cast<std::size_t>(i)].data());
  std::signal(senal, SIG_DFL);
  std::raise(senal);
}

void Instalar() {
  static std::atomic<bool> instalado{false};
  if (instalado.exchange(true))
    return;
  for (int senal : kSenales) {
    struct sigaction antes {};
    // A signal the user chose to ignore (nohup) stays ignored.
    if (::sigaction(senal, nullptr, &antes) == 0 && antes.sa_handler == SIG_IGN)
      continue;
    struct sigaction accion {};
    accion.sa_handler = AlTerminar;
    sigemptyset(&accion.sa_mask);
    for (int otra : kSenales)
      sigaddset(&accion.sa_mask, otra);
    ::sigaction(senal, &accion, nullptr);
  }
}

}  // namespace

int VigilarTemporal(const fs::path& ruta) {
  const std::string& nativa = ruta.native();
  if (nativa.size() >= rutas[0].size())
    return 0;
  Instalar();
  for (int i = 0; i < kVigilados; ++i) {
    auto& ocupado = ocupados[static_cast<std::size_t>(i)];
    if (ocupado.load())
      continue;
    auto& destino = rutas[static_cast<std::size_t>(i)];
    std::memcpy(destino.data(), nativa.c_str(), nativa.size() + 1);
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
