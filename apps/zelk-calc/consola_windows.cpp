// Windows: the wide command line, and consoles written through WriteConsoleW. A console shows
// bytes in its own code page (850 in a Spanish cmd), where UTF-8 reads "configuraciÃ³n".
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <iostream>
#include <streambuf>

#include "apps/zelk-calc/consola.h"

namespace zelk {

namespace {

std::string Utf8(const wchar_t* texto) {
  const int largo = WideCharToMultiByte(CP_UTF8, 0, texto, -1, nullptr, 0, nullptr, nullptr);
  if (largo <= 1)
    return {};
  std::string utf8(static_cast<std::size_t>(largo), '\0');
  WideCharToMultiByte(CP_UTF8, 0, texto, -1, utf8.data(), largo, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

// A stream buffer over a console: UTF-8 in, UTF-16 out. A character split between two writes
// waits for its last bytes.
class BufferConsola final : public std::streambuf {
 public:
  explicit BufferConsola(HANDLE consola) : consola_(consola) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof()))
      return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
    pendiente_.push_back(traits_type::to_char_type(c));
    if (pendiente_.size() >= 4096 && sync() != 0)
      return traits_type::eof();
    return c;
  }

  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pendiente_.append(s, static_cast<std::size_t>(n));
    if (pendiente_.size() >= 4096 && sync() != 0)
      return 0;
    return n;
  }

  int sync() override {
    // Up to the last whole character: a lead byte without all its continuation bytes stays.
    std::size_t completo = pendiente_.size();
    for (std::size_t atras = 1; atras <= 3 && atras <= pendiente_.size(); ++atras) {
      const auto byte = static_cast<unsigned char>(pendiente_[pendiente_.size() - atras]);
      if ((byte & 0xC0) == 0x80)
        continue;  // a continuation byte
      const std::size_t necesarios = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
      if (necesarios > atras)
        completo = pendiente_.size() - atras;
      break;
    }
    if (completo == 0)
      return 0;
    const int bytes = static_cast<int>(completo);
    const int largo = MultiByteToWideChar(CP_UTF8, 0, pendiente_.data(), bytes, nullptr, 0);
    std::wstring ancho(static_cast<std::size_t>(largo), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, pendiente_.data(), bytes, ancho.data(), largo);
    pendiente_.erase(0, completo);
    for (std::size_t hecho = 0; hecho < ancho.size();) {
      DWORD escritos = 0;
      const auto resto = static_cast<DWORD>(ancho.size() - hecho);
      if (!WriteConsoleW(consola_, ancho.data() + hecho, resto, &escritos, nullptr) ||
          escritos == 0)
        return -1;
      hecho += escritos;
    }
    return 0;
  }

 private:
  HANDLE consola_;
  std::string pendiente_;
};

// The stream's buffer replaced by a console's, when the handle is one.
void SobreConsola(DWORD cual, std::ostream& flujo) {
  const HANDLE h = GetStdHandle(cual);
  DWORD modo = 0;
  if (h == INVALID_HANDLE_VALUE || h == nullptr || !GetConsoleMode(h, &modo))
    return;
  // Never freed: the standard streams are flushed at exit, after every static object is gone.
  flujo.rdbuf(new BufferConsola(h));
}

}  // namespace

std::vector<std::string> ArgumentosUtf8(int /*argc*/, char** /*argv*/) {
  int n = 0;
  wchar_t** ancho = CommandLineToArgvW(GetCommandLineW(), &n);
  std::vector<std::string> args;
  for (int i = 1; ancho != nullptr && i < n; ++i)
    args.push_back(Utf8(ancho[i]));
  LocalFree(ancho);
  return args;
}

void PrepararConsola() {
  SobreConsola(STD_OUTPUT_HANDLE, std::cout);
  SobreConsola(STD_ERROR_HANDLE, std::cerr);
}

}  // namespace zelk
