// The launcher on Windows for real: its own keys and values written with the registry API, a
// stand-in tool that leaves a mark when started, and what GetKeyValue and StartSysInfo make of
// them. It rewrites the keys of the system information tool, so it runs only under Wine, in a
// throw-away prefix.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "sysinfo/lanzador.h"
#include "sysinfo/plataforma_windows.h"
#include "tests/wine/comprobar.h"

using namespace zelk::sysinfo;

namespace {

using zelk::prueba::Marcas;

using zelk::prueba::fallos;

const char* const kPropia = "SOFTWARE\\zelk-prueba";

void Escribir(const std::string& clave, const char* valor, DWORD tipo, const std::string& datos) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, clave.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS) {
    std::printf("no se pudo crear %s\n", clave.c_str());
    ++fallos;
    return;
  }
  RegSetValueExA(k, valor, 0, tipo, reinterpret_cast<const BYTE*>(datos.data()),
                 static_cast<DWORD>(datos.size()));
  RegCloseKey(k);
}

void EscribirTexto(const std::string& clave, const char* valor, const std::string& texto) {
  Escribir(clave, valor, REG_SZ, texto + '\0');
}

void Borrar(const std::string& clave) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, clave.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, clave.c_str());
}

void BorrarLasDos() {
  Borrar(std::string(kClaveRuta));
  Borrar(std::string(kClaveCarpeta));
}

struct Resultado {
  bool encontrado;
  std::string texto;
};

Resultado Leer(PlataformaWindows& p, const char* valor) {
  std::string texto = "antes";
  const bool encontrado = GetKeyValue(p, kHkeyLocalMachine, kPropia, valor, texto);
  return {encontrado, texto};
}

// The tool starts as a process of its own; give it a few seconds to leave its mark.
bool EsperarMarcas(const std::string& carpeta, int n) {
  for (int i = 0; i < 100; ++i) {
    if (Marcas(carpeta) >= n)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || !zelk::prueba::BajoWine()) {
    std::printf("uso, bajo Wine: lanzador_wine_test RUTA\\msinfo32_prueba.exe\n");
    return 2;
  }
  std::vector<std::string> mensajes;
  PlataformaWindows p([&](std::string_view t) { mensajes.emplace_back(t); });

  // GetKeyValue against the real registry.
  EscribirTexto(kPropia, "conCero", "abc");
  Escribir(kPropia, "sinCero", REG_SZ, "abc");
  Escribir(kPropia, "t1024", REG_SZ, std::string(1023, 'x') + '\0');
  Escribir(kPropia, "t1024sinCero", REG_SZ, std::string(1024, 'y'));
  Escribir(kPropia, "t1025", REG_SZ, std::string(1024, 'x') + '\0');
  Escribir(kPropia, "numero", REG_DWORD, std::string("\x78\x56\x34\x12", 4));
  Escribir(kPropia, "expandible", REG_EXPAND_SZ, std::string("%SystemRoot%") + '\0');
  Escribir(kPropia, "vacio", REG_BINARY, "");

  const auto conCero = Leer(p, "conCero");
  COMPROBAR(conCero.encontrado && conCero.texto == "abc");
  const auto sinCero = Leer(p, "sinCero");
  COMPROBAR(sinCero.encontrado && sinCero.texto == "abc");
  const auto t1024 = Leer(p, "t1024");
  COMPROBAR(t1024.encontrado && t1024.texto == std::string(1023, 'x'));
  // The narrow interface hands a text back with its terminating zero even where it was stored
  // without one: 1024 characters come back as 1025 bytes, too many for the buffer.
  const auto t1024sin = Leer(p, "t1024sinCero");
  COMPROBAR(!t1024sin.encontrado && t1024sin.texto.empty());
  Escribir(kPropia, "t1023sinCero", REG_SZ, std::string(1023, 'z'));
  const auto t1023sin = Leer(p, "t1023sinCero");
  COMPROBAR(t1023sin.encontrado && t1023sin.texto == std::string(1023, 'z'));
  const auto t1025 = Leer(p, "t1025");
  COMPROBAR(!t1025.encontrado && t1025.texto.empty());
  const auto numero = Leer(p, "numero");
  COMPROBAR(numero.encontrado && numero.texto == "&h12345678");
  const auto expandible = Leer(p, "expandible");
  COMPROBAR(expandible.encontrado && expandible.texto == "antes");
  const auto ausente = Leer(p, "ausente");
  COMPROBAR(!ausente.encontrado && ausente.texto.empty());
  bool lanzada = false;
  try {
    Leer(p, "vacio");
  } catch (const ValorVacio&) {
    lanzada = true;
  }
  COMPROBAR(lanzada);
  Borrar(kPropia);

  // Folders with and without the stand-in tool.
  // On the prefix's own drive: a new prefix need not have a user's temporary folder yet.
  const std::string base = "C:\\zelk-lanzador-" + std::to_string(GetCurrentProcessId());
  // Not "con": that is a device name.
  const std::string con = base + "\\con-herramienta", sin = base + "\\sin-herramienta",
                    hueca = base + "\\hueca";
  for (const auto& c : {base, con, sin, hueca, hueca + "\\MSINFO32.EXE"})
    CreateDirectoryA(c.c_str(), nullptr);
  const std::string herramienta = con + "\\MSINFO32.EXE";
  if (!CopyFileA(argv[1], herramienta.c_str(), FALSE)) {
    std::printf("no se pudo copiar %s a %s: error %lu\n", argv[1], herramienta.c_str(),
                GetLastError());
    return 1;
  }
  const std::string escondida = sin + "\\MSINFO32.EXE";
  CopyFileA(argv[1], escondida.c_str(), FALSE);
  SetFileAttributesA(escondida.c_str(), FILE_ATTRIBUTE_HIDDEN);

  const auto Pulsar = [&](bool iniciada) {
    mensajes.clear();
    const int antes = Marcas(con);
    StartSysInfo(p);
    if (iniciada) {
      COMPROBAR(mensajes.empty());
      COMPROBAR(EsperarMarcas(con, antes + 1));
    } else {
      COMPROBAR(mensajes == std::vector<std::string>{std::string(kMensajeNoDisponible)});
    }
  };

  // The first key names the program file; the second is never needed.
  BorrarLasDos();
  EscribirTexto(std::string(kClaveRuta), "PATH", herramienta);
  EscribirTexto(std::string(kClaveCarpeta), "MSINFO", sin);
  Pulsar(true);
  Pulsar(true);  // a second press starts it again

  // Only the folder of the second key.
  BorrarLasDos();
  EscribirTexto(std::string(kClaveCarpeta), "MSINFO", con);
  Pulsar(true);
  // A first value too large for the buffer counts as missing.
  Escribir(std::string(kClaveRuta), "PATH", REG_SZ, std::string(1100, 'x') + '\0');
  Pulsar(true);

  const int marcasAntes = Marcas(con);
  // The folder lacks the file, hides it, or holds a folder of that name.
  for (const auto& carpeta : {sin, hueca, base + "\\no-existe"}) {
    BorrarLasDos();
    EscribirTexto(std::string(kClaveCarpeta), "MSINFO", carpeta);
    Pulsar(false);
  }
  // Neither key.
  BorrarLasDos();
  Pulsar(false);
  // "PATH" names a missing file: the second location is not tried.
  EscribirTexto(std::string(kClaveRuta), "PATH", con + "\\no-existe.exe");
  EscribirTexto(std::string(kClaveCarpeta), "MSINFO", con);
  Pulsar(false);
  // An expandable text, a number and a value of no bytes in "PATH": the message.
  Escribir(std::string(kClaveRuta), "PATH", REG_EXPAND_SZ, herramienta + '\0');
  Pulsar(false);
  Escribir(std::string(kClaveRuta), "PATH", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
  Pulsar(false);
  Escribir(std::string(kClaveRuta), "PATH", REG_SZ, "");
  Pulsar(false);
  // None of the failed presses started anything.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  COMPROBAR(Marcas(con) == marcasAntes);

  BorrarLasDos();
  std::printf(fallos == 0 ? "lanzador bajo Wine: bien\n" : "lanzador bajo Wine: %d fallos\n",
              fallos);
  return fallos == 0 ? 0 : 1;
}
