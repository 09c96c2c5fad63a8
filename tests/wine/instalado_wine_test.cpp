// The installed program, from outside, as a user meets it: zelk.exe starts and shows its main
// window with its client area at its size, opens the About window from the menu, and "System
// Info..." starts the tool that the registry names, first through the first key, then, without it,
// through the second key's folder. Keys are pressed through the system's input queue. It rewrites
// the keys of the system information tool, so it runs only under Wine, in a throw-away prefix.
//   instalado_wine_test RUTA\zelk.exe RUTA\msinfo32_prueba.exe
#include <windows.h>
// After windows.h.
#include <tlhelp32.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "sysinfo/lanzador.h"
#include "tests/wine/comprobar.h"

namespace {

using zelk::prueba::Marcas;

using zelk::prueba::fallos;

const wchar_t* const kTituloInicio = L"Cálculos para transmisión en Corriente Continua (ZELK)";
const wchar_t* const kTituloAcerca = L"Acerca de este programa...";
// The schematic stands 48 pixels from the left of the client area and 272 from its top, below the
// menu bar; its background is this grey.
constexpr int kIzquierdaEsquema = 48, kArribaEsquema = 272, kAnchoEsquema = 565;
constexpr COLORREF kGrisEsquema = RGB(191, 191, 191);

bool Esperar(const std::function<bool()>& condicion, int milisegundos = 20000) {
  for (int t = 0; t < milisegundos; t += 50) {
    if (condicion())
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condicion();
}

// The visible top-level window of the process with exactly this title.
HWND Ventana(DWORD proceso, const wchar_t* titulo) {
  struct Busqueda {
    DWORD proceso;
    const wchar_t* titulo;
    HWND hallada;
  } b{proceso, titulo, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* busqueda = reinterpret_cast<Busqueda*>(p);
        DWORD de = 0;
        GetWindowThreadProcessId(w, &de);
        wchar_t texto[256] = {};
        GetWindowTextW(w, texto, 256);
        if (de == busqueda->proceso && IsWindowVisible(w) &&
            std::wcscmp(texto, busqueda->titulo) == 0) {
          busqueda->hallada = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&b));
  return b.hallada;
}

// The client area's pixels, as the window shows them.
std::vector<COLORREF> Pixeles(HWND w, int ancho, int alto) {
  std::vector<COLORREF> pixeles;
  HDC ventana = GetDC(w);
  HDC memoria = CreateCompatibleDC(ventana);
  HBITMAP mapa = CreateCompatibleBitmap(ventana, ancho, alto);
  HGDIOBJ antes = SelectObject(memoria, mapa);
  BitBlt(memoria, 0, 0, ancho, alto, ventana, 0, 0, SRCCOPY);
  SelectObject(memoria, antes);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = ancho;
  info.bmiHeader.biHeight = -alto;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> bgr(static_cast<std::size_t>(ancho) * alto);
  if (GetDIBits(memoria, mapa, 0, alto, bgr.data(), &info, DIB_RGB_COLORS) == alto)
    for (DWORD p : bgr)
      pixeles.push_back(RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff));
  DeleteObject(mapa);
  DeleteDC(memoria);
  ReleaseDC(w, ventana);
  return pixeles;
}

// The height of the menu bar: where the schematic's first row of grey is, less its place in the
// client area; -1 while it is not drawn.
int AltoDelMenu(HWND w, int ancho, int alto) {
  const auto pixeles = Pixeles(w, ancho, alto);
  if (pixeles.empty() || ancho < kIzquierdaEsquema + kAnchoEsquema)
    return -1;
  // Result fields stand over parts of the picture: most of its first row is enough.
  for (int y = 0; y < alto; ++y) {
    int grises = 0;
    for (int x = kIzquierdaEsquema; x < kIzquierdaEsquema + kAnchoEsquema; ++x)
      grises += pixeles[static_cast<std::size_t>(y) * ancho + x] == kGrisEsquema;
    if (grises > kAnchoEsquema / 2)
      return y - kArribaEsquema;
  }
  return -1;
}

void Tecla(WORD tecla, bool soltar) {
  INPUT e{};
  e.type = INPUT_KEYBOARD;
  e.ki.wVk = tecla;
  e.ki.wScan = static_cast<WORD>(MapVirtualKeyW(tecla, MAPVK_VK_TO_VSC));
  e.ki.dwFlags = soltar ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &e, sizeof e);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

void Pulsar(WORD tecla) {
  Tecla(tecla, false);
  Tecla(tecla, true);
}

void ConAlt(WORD tecla) {
  Tecla(VK_MENU, false);
  Pulsar(tecla);
  Tecla(VK_MENU, true);
}

int Procesos(const wchar_t* nombre) {
  int n = 0;
  HANDLE foto = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W p{};
  p.dwSize = sizeof p;
  for (BOOL hay = Process32FirstW(foto, &p); hay; hay = Process32NextW(foto, &p))
    n += _wcsicmp(p.szExeFile, nombre) == 0;
  CloseHandle(foto);
  return n;
}

void TerminarProcesos(const wchar_t* nombre) {
  HANDLE foto = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W p{};
  p.dwSize = sizeof p;
  for (BOOL hay = Process32FirstW(foto, &p); hay; hay = Process32NextW(foto, &p))
    if (_wcsicmp(p.szExeFile, nombre) == 0)
      if (HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, p.th32ProcessID)) {
        TerminateProcess(h, 0);
        CloseHandle(h);
      }
  CloseHandle(foto);
}

void EscribirTexto(const std::string_view clave, const char* valor, const std::string& texto) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, std::string(clave).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &k, nullptr) != ERROR_SUCCESS) {
    std::printf("no se pudo crear %s\n", std::string(clave).c_str());
    ++fallos;
    return;
  }
  RegSetValueExA(k, valor, 0, REG_SZ, reinterpret_cast<const BYTE*>(texto.c_str()),
                 static_cast<DWORD>(texto.size() + 1));
  RegCloseKey(k);
}

void Borrar(const std::string_view clave) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, std::string(clave).c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, std::string(clave).c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 || !zelk::prueba::BajoWine()) {
    std::printf("uso, bajo Wine: instalado_wine_test RUTA\\zelk.exe RUTA\\msinfo32_prueba.exe\n");
    return 2;
  }

  // The stand-in tool in a folder of its own, on the prefix's drive.
  const std::string carpeta = "C:\\zelk-herramienta";
  CreateDirectoryA(carpeta.c_str(), nullptr);
  const std::string herramienta = carpeta + "\\MSINFO32.EXE";
  COMPROBAR(
      CopyFileW(argv[2], std::wstring(herramienta.begin(), herramienta.end()).c_str(), FALSE));
  Borrar(zelk::sysinfo::kClaveRuta);
  Borrar(zelk::sysinfo::kClaveCarpeta);
  EscribirTexto(zelk::sysinfo::kClaveRuta, "PATH", herramienta);

  STARTUPINFOW inicio{};
  inicio.cb = sizeof inicio;
  PROCESS_INFORMATION proceso{};
  std::wstring linea = L"\"" + std::wstring(argv[1]) + L"\"";
  if (!CreateProcessW(argv[1], linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &inicio,
                      &proceso)) {
    std::printf("no se pudo iniciar zelk.exe: error %lu\n", GetLastError());
    return 1;
  }
  const DWORD id = proceso.dwProcessId;

  // The main window, its client area below the menu bar.
  HWND inicioVentana = nullptr;
  COMPROBAR(Esperar([&] { return (inicioVentana = Ventana(id, kTituloInicio)) != nullptr; }));
  if (inicioVentana == nullptr) {
    TerminateProcess(proceso.hProcess, 1);
    return 1;
  }
  RECT cliente{};
  GetClientRect(inicioVentana, &cliente);
  int menu = -1;
  COMPROBAR(Esperar(
      [&] { return (menu = AltoDelMenu(inicioVentana, cliente.right, cliente.bottom)) > 0; }));
  std::printf("área de cliente: %ld x %ld, de ellos %d del menú\n", cliente.right, cliente.bottom,
              menu);
  COMPROBAR(cliente.right == 657);
  COMPROBAR(cliente.bottom - menu == 519);

  // "Archivo" > "Acerca De..." from the keyboard: Alt reaches the menu bar, Down opens the menu,
  // Up wraps round to its last item.
  SetForegroundWindow(inicioVentana);
  Esperar([&] { return GetForegroundWindow() == inicioVentana; }, 5000);
  Pulsar(VK_MENU);
  Pulsar(VK_DOWN);
  Pulsar(VK_UP);
  Pulsar(VK_RETURN);
  HWND acerca = nullptr;
  COMPROBAR(Esperar([&] { return (acerca = Ventana(id, kTituloAcerca)) != nullptr; }));
  COMPROBAR(Esperar([&] { return GetForegroundWindow() == acerca; }, 5000));

  // Alt+S: the first key names the tool's program file.
  const int antes = Marcas(carpeta);
  ConAlt('S');
  COMPROBAR(Esperar([&] { return Marcas(carpeta) == antes + 1; }));
  COMPROBAR(Ventana(id, L"zelk") == nullptr);  // no message

  // Without the first key, the second key's folder: Wine's own system folder and its tool.
  Borrar(zelk::sysinfo::kClaveRuta);
  char sistema[MAX_PATH] = {};
  GetSystemDirectoryA(sistema, MAX_PATH);
  EscribirTexto(zelk::sysinfo::kClaveCarpeta, "MSINFO", sistema);
  const int herramientasAntes = Procesos(L"msinfo32.exe");
  SetForegroundWindow(acerca);
  Esperar([&] { return GetForegroundWindow() == acerca; }, 5000);
  ConAlt('S');
  COMPROBAR(Esperar([&] { return Procesos(L"msinfo32.exe") == herramientasAntes + 1; }));
  COMPROBAR(Ventana(id, L"zelk") == nullptr);
  COMPROBAR(Marcas(carpeta) == antes + 1);  // the stand-in did not start again
  TerminarProcesos(L"msinfo32.exe");

  // Both windows closed: the program ends, and well.
  PostMessageW(acerca, WM_CLOSE, 0, 0);
  PostMessageW(inicioVentana, WM_CLOSE, 0, 0);
  COMPROBAR(WaitForSingleObject(proceso.hProcess, 20000) == WAIT_OBJECT_0);
  DWORD salida = 1;
  GetExitCodeProcess(proceso.hProcess, &salida);
  COMPROBAR(salida == 0);
  if (salida == STILL_ACTIVE)
    TerminateProcess(proceso.hProcess, 1);
  CloseHandle(proceso.hThread);
  CloseHandle(proceso.hProcess);

  Borrar(zelk::sysinfo::kClaveCarpeta);
  DeleteFileA(herramienta.c_str());
  DeleteFileA((carpeta + "\\marca.txt").c_str());
  RemoveDirectoryA(carpeta.c_str());
  std::printf(
      fallos == 0 ? "zelk instalado bajo Wine: bien\n" : "zelk instalado bajo Wine: %d fallos\n",
      fallos);
  return fallos == 0 ? 0 : 1;
}
