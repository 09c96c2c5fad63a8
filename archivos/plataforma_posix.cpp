#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
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

namespace {

// "de pepe", "del usuario 12345" where the system has no name for it.
std::string DeUsuario(uid_t uid) {
  struct passwd entrada {};
  struct passwd* hallada = nullptr;
  std::array<char, 4096> memoria{};
  if (::getpwuid_r(uid, &entrada, memoria.data(), memoria.size(), &hallada) == 0 &&
      hallada != nullptr)
    return "de " + std::string(hallada->pw_name);
  return "del usuario " + std::to_string(uid);
}

std::string Grupo(gid_t gid) {
  struct group entrada {};
  struct group* hallado = nullptr;
  std::array<char, 4096> memoria{};
  if (::getgrgid_r(gid, &entrada, memoria.data(), memoria.size(), &hallado) == 0 &&
      hallado != nullptr)
    return "grupo " + std::string(hallado->gr_name);
  return "grupo " + std::to_string(gid);
}

}  // namespace

std::optional<std::string> ConservarDueno(const fs::path& anterior, const fs::path& nuevo) {
  struct stat antes {};
  struct stat ahora {};
  if (::stat(anterior.c_str(), &antes) != 0 || ::stat(nuevo.c_str(), &ahora) != 0)
    return std::nullopt;
  if (ahora.st_uid == antes.st_uid && ahora.st_gid == antes.st_gid)
    return std::nullopt;
  // Before the mode is set: a change of owner may clear the set-user-ID and set-group-ID bits.
  if (::chown(nuevo.c_str(), antes.st_uid, antes.st_gid) != 0)
    ::chown(nuevo.c_str(), static_cast<uid_t>(-1), antes.st_gid);
  if (::stat(nuevo.c_str(), &ahora) != 0)
    return std::nullopt;
  const bool dueno = ahora.st_uid != antes.st_uid;
  const bool grupo = ahora.st_gid != antes.st_gid;
  if (dueno && grupo)
    return "era " + DeUsuario(antes.st_uid) + ", " + Grupo(antes.st_gid) + "; el nuevo es " +
           DeUsuario(ahora.st_uid) + ", " + Grupo(ahora.st_gid);
  if (dueno)
    return "era " + DeUsuario(antes.st_uid) + "; el nuevo es " + DeUsuario(ahora.st_uid);
  if (grupo)
    return "era del " + Grupo(antes.st_gid) + "; el nuevo es del " + Grupo(ahora.st_gid);
  return std::nullopt;
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

// Every signal whose default action ends the process; SIGKILL and SIGSTOP cannot be caught.
constexpr int kSenales[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1, SIGSEGV,
    SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGIO
    SIGIO,
#endif
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGEMT
    SIGEMT,
#endif
#ifdef SIGLOST
    SIGLOST,
#endif
};

// The system sends SIGPIPE and SIGXFSZ to the process whose write meets a pipe without a reader or
// the file size limit; that write then fails with EPIPE or EFBIG, which the program reports as it
// reports any failed write. Sent by another process, they end it as the others do.
bool DeUnaEscritura(int senal, const siginfo_t* info) {
  return (senal == SIGPIPE || senal == SIGXFSZ) && info != nullptr && info->si_code == SI_USER &&
         info->si_pid == ::getpid();
}

extern "C" void AlTerminar(int senal, siginfo_t* info, void*) {
  if (DeUnaEscritura(senal, info))
    return;
  vigilados.ParaCada([](const char* nombre) { ::unlink(nombre); });
  struct sigaction normal {};
  normal.sa_handler = SIG_DFL;
  sigemptyset(&normal.sa_mask);
  ::sigaction(senal, &normal, nullptr);
  // Blocked until the handler returns, when it ends the process as it would have: a fault then
  // with the registers of the faulting instruction in its core dump.
  ::raise(senal);
}

template <typename Cada>
void ParaCadaSenal(Cada cada) {
  for (int senal : kSenales)
    cada(senal);
#ifdef SIGRTMIN
  for (int senal = SIGRTMIN; senal <= SIGRTMAX; ++senal)
    cada(senal);
#endif
}

void Instalar() {
  static std::atomic<bool> instalado{false};
  if (instalado.exchange(true))
    return;
  struct sigaction accion {};
  accion.sa_sigaction = AlTerminar;
  accion.sa_flags = SA_SIGINFO;
  sigemptyset(&accion.sa_mask);
  ParaCadaSenal([&](int senal) { sigaddset(&accion.sa_mask, senal); });
  ParaCadaSenal([&](int senal) {
    // Only where the default action stands: a signal the user chose to ignore (nohup) stays
    // ignored, and one a library handles (a sanitizer's report of a fault) stays its own.
    struct sigaction antes {};
    if (::sigaction(senal, nullptr, &antes) == 0 && (antes.sa_flags & SA_SIGINFO) == 0 &&
        antes.sa_handler == SIG_DFL)
      ::sigaction(senal, &accion, nullptr);
  });
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
