#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <thread>

#include "archivos/plataforma.h"
#include "archivos/vigilados.h"

namespace zelk::archivos {

namespace fs = std::filesystem;

int CrearPrivado(const fs::path& ruta) {
  const int fd = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0)
    return errno;
  ::close(fd);
  return 0;
}

void EmpezarVolcado(const fs::path& ruta) {
#ifdef SYNC_FILE_RANGE_WRITE
  const int fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return;
  ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
  ::close(fd);
#else
  (void)ruta;
#endif
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

Vigilados<char, 4096> vigilados;  // PATH_MAX
constexpr std::array<int, 3> kSenales{SIGINT, SIGTERM, SIGHUP};

extern "C" void AlTerminar(int senal) {
  vigilados.ParaCada([](const char* nombre) { ::unlink(nombre); });
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
  Instalar();
  return vigilados.Anadir(ruta.native());
}

void OlvidarTemporal(int vigilado) {
  vigilados.Quitar(vigilado);
}

unsigned NucleosDisponibles() {
  cpu_set_t cpus;
  CPU_ZERO(&cpus);
  if (::sched_getaffinity(0, sizeof cpus, &cpus) == 0 && CPU_COUNT(&cpus) > 0)
    return static_cast<unsigned>(CPU_COUNT(&cpus));
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace zelk::archivos
