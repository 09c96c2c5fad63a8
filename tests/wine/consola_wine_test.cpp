// zelk-calc's platform layer on Windows: arguments from the wide command line, whatever the ANSI
// code page ("resultados Ω.csv", the de-CH group separator "1’500"), and UTF-8 text written to a
// console as the console shows it, under the code page of a Spanish cmd (850).
#include <windows.h>

#include <cwchar>
#include <iostream>
#include <string>
#include <vector>

#include "apps/zelk-calc/consola.h"
#include "tests/wine/comprobar.h"

namespace {

const wchar_t* const kArgumentos[] = {L"resultados \u03A9.csv", L"Idc=1\u2019500", L"a b", L""};
const char* const kUtf8[] = {"resultados \xCE\xA9.csv",
                             "Idc=1\xE2\x80\x99"
                             "500",
                             "a b", ""};

// The child: its arguments as the layer gives them, compared with the expected UTF-8.
int Hijo(int argc, char** argv) {
  const auto args = zelk::ArgumentosUtf8(argc, argv);
  if (args.size() != 5)
    return 10 + static_cast<int>(args.size());
  for (std::size_t i = 0; i < 4; ++i)
    if (args[i + 1] != kUtf8[i])
      return 20 + static_cast<int>(i);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--hijo")
    return Hijo(argc, argv);

  // Arguments: the program again, with names no ANSI code page holds.
  wchar_t programa[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, programa, MAX_PATH);
  std::wstring linea = L"\"" + std::wstring(programa) + L"\" --hijo";
  for (const wchar_t* a : kArgumentos)
    linea += L" \"" + std::wstring(a) + L"\"";
  STARTUPINFOW inicio{};
  inicio.cb = sizeof inicio;
  PROCESS_INFORMATION proceso{};
  COMPROBAR(CreateProcessW(programa, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &inicio, &proceso));
  WaitForSingleObject(proceso.hProcess, 20000);
  DWORD salida = 1;
  GetExitCodeProcess(proceso.hProcess, &salida);
  CloseHandle(proceso.hThread);
  CloseHandle(proceso.hProcess);
  if (salida != 0)
    std::printf("el hijo salió con %lu\n", salida);
  COMPROBAR(salida == 0);

  // A console of its own, with the code page of a Spanish cmd.
  FreeConsole();
  COMPROBAR(AllocConsole());
  SetConsoleOutputCP(850);
  zelk::PrepararConsola();
  const std::string texto = "configuraci\xC3\xB3n \xCE\xA9 1\xE2\x80\x99";
  // Split inside a character: its bytes wait for the rest.
  std::cout << texto.substr(0, 12) << std::flush << texto.substr(12) << "500" << std::flush;
  std::cerr << "\xC2\xBA" << std::flush;
  wchar_t leido[64] = {};
  DWORD n = 0;
  const HANDLE pantalla =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  COMPROBAR(ReadConsoleOutputCharacterW(pantalla, leido, 22, COORD{0, 0}, &n));
  const std::wstring visto(leido, n);
  COMPROBAR(visto == L"configuraci\u00F3n \u03A9 1\u2019500\u00BA");
  if (visto != L"configuraci\u00F3n \u03A9 1\u2019500\u00BA")
    std::fprintf(stderr, "la consola muestra %ls\n", visto.c_str());
  CloseHandle(pantalla);
  FreeConsole();
  std::fprintf(
      stderr,
      zelk::prueba::fallos == 0 ? "consola bajo Wine: bien\n" : "consola bajo Wine: %d fallos\n",
      zelk::prueba::fallos);
  return zelk::prueba::fallos == 0 ? 0 : 1;
}
