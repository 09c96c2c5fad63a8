// Runs a program as a whole process and measures it: wall time from fork to exit and peak
// resident memory.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace zelk::banco {

struct Medida {
  double segundos;
  long picoKb;
  bool bien;  // exited with status 0
};

inline Medida EjecutarProceso(const std::vector<std::string>& args,
                              const std::vector<std::string>& entorno = {}) {
  std::vector<char*> argv;
  std::vector<std::string> copia = args;
  for (auto& a : copia)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto inicio = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    for (const auto& e : entorno)
      putenv(const_cast<char*>(e.c_str()));
    execv(argv[0], argv.data());
    _exit(127);
  }
  int estado = 0;
  rusage uso{};
  wait4(pid, &estado, 0, &uso);
  const std::chrono::duration<double> t = std::chrono::steady_clock::now() - inicio;
  return {t.count(), uso.ru_maxrss, WIFEXITED(estado) && WEXITSTATUS(estado) == 0};
}

}  // namespace zelk::banco
