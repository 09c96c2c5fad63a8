#include "sysinfo/plataforma_windows.h"

#include <windows.h>

#include <vector>

namespace zelk::sysinfo {

namespace {

HKEY Manejador(Clave clave) {
  return reinterpret_cast<HKEY>(clave);
}

}  // namespace

CodigoError PlataformaWindows::AbrirClave(Clave raiz, const std::string& nombre,
                                          std::uint32_t acceso, Clave& clave) {
  HKEY abierta = nullptr;
  const LONG error = RegOpenKeyExA(Manejador(raiz), nombre.c_str(), 0, acceso, &abierta);
  if (error == ERROR_SUCCESS)
    clave = reinterpret_cast<Clave>(abierta);
  return error;
}

CodigoError PlataformaWindows::LeerValor(Clave clave, const std::string& nombre,
                                         std::uint32_t& tipo, unsigned char* datos,
                                         std::uint32_t& bytes) {
  DWORD t = 0;
  DWORD n = bytes;
  const LONG error = RegQueryValueExA(Manejador(clave), nombre.c_str(), nullptr, &t, datos, &n);
  tipo = t;
  bytes = n;
  return error;
}

void PlataformaWindows::CerrarClave(Clave clave) {
  RegCloseKey(Manejador(clave));
}

bool PlataformaWindows::EsArchivo(const std::string& ruta) {
  const DWORD atributos = GetFileAttributesA(ruta.c_str());
  if (atributos == INVALID_FILE_ATTRIBUTES)
    return false;
  return (atributos & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) ==
         0;
}

bool PlataformaWindows::Iniciar(const std::string& lineaOrdenes) {
  if (lineaOrdenes.empty())
    return false;
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> linea(lineaOrdenes.begin(), lineaOrdenes.end());
  linea.push_back('\0');
  STARTUPINFOA inicio{};
  inicio.cb = sizeof inicio;
  inicio.dwFlags = STARTF_USESHOWWINDOW;
  inicio.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION proceso{};
  if (!CreateProcessA(nullptr, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &inicio,
                      &proceso))
    return false;
  // The tool runs on as a process of its own; nothing waits for it or watches it.
  CloseHandle(proceso.hThread);
  CloseHandle(proceso.hProcess);
  return true;
}

}  // namespace zelk::sysinfo
