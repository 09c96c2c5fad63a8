#include "tests/proceso.h"

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstring>

extern char** environ;

namespace zelk::prueba {

namespace {
bool EsVariableDeLocale(const char* v) {
  return std::strncmp(v, "LC_", 3) == 0 || std::strncmp(v, "LANG=", 5) == 0 ||
         std::strncmp(v, "LANGUAGE=", 9) == 0 || std::strncmp(v, "LOCPATH=", 8) == 0;
}
}  // namespace

Proceso Ejecutar(const std::string& programa, const std::vector<std::string>& args,
                 const std::vector<std::string>& entorno,
                 const std::optional<std::string>& entrada) {
  std::vector<std::string> vars;
  for (char** e = environ; *e; ++e)
    if (!EsVariableDeLocale(*e))
      vars.emplace_back(*e);
  vars.insert(vars.end(), entorno.begin(), entorno.end());
  std::vector<char*> envp, argv;
  for (auto& v : vars)
    envp.push_back(v.data());
  envp.push_back(nullptr);
  std::string nombre = programa;
  argv.push_back(nombre.data());
  std::vector<std::string> copia = args;
  for (auto& a : copia)
    argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2], err[2], in[2] = {-1, -1};
  if (pipe(out) != 0 || pipe(err) != 0 || (entrada && pipe(in) != 0))
    return {};
  const pid_t pid = fork();
  if (pid == 0) {
    if (entrada) {
      dup2(in[0], 0);
      close(in[0]);
      close(in[1]);
    }
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]);
    close(err[0]);
    close(out[1]);
    close(err[1]);
    execve(programa.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  if (entrada) {
    // A program that stops reading early must not end the test with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    close(in[0]);
    for (std::size_t hecho = 0; hecho < entrada->size();) {
      const ssize_t n = write(in[1], entrada->data() + hecho, entrada->size() - hecho);
      if (n <= 0)
        break;
      hecho += static_cast<std::size_t>(n);
    }
    close(in[1]);
  }
  Proceso p;
  std::array<pollfd, 2> fds{{{out[0], POLLIN, 0}, {err[0], POLLIN, 0}}};
  std::string* destinos[2] = {&p.out, &p.err};
  int abiertos = 2;
  while (abiertos > 0 && poll(fds.data(), fds.size(), 10000) > 0) {
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP)))
        continue;
      char buf[4096];
      const ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n > 0) {
        destinos[i]->append(buf, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --abiertos;
      }
    }
  }
  int estado = 0;
  rusage uso{};
  wait4(pid, &estado, 0, &uso);
  p.estado = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
  p.memoriaKb = uso.ru_maxrss;
  return p;
}

}  // namespace zelk::prueba
