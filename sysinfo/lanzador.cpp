#include "sysinfo/lanzador.h"

#include <array>

namespace zelk::sysinfo {

namespace {

// Closes the key on every way out, the zero-byte error included.
class ClaveAbierta {
 public:
  ClaveAbierta(Plataforma& plataforma, Clave clave) : plataforma_(plataforma), clave_(clave) {}
  ~ClaveAbierta() { plataforma_.CerrarClave(clave_); }
  ClaveAbierta(const ClaveAbierta&) = delete;
  ClaveAbierta& operator=(const ClaveAbierta&) = delete;

 private:
  Plataforma& plataforma_;
  Clave clave_;
};

std::string Hexadecimal(const std::string& bytes) {
  constexpr std::string_view kCifras = "0123456789ABCDEF";
  std::string texto = "&h";
  for (auto b = bytes.rbegin(); b != bytes.rend(); ++b) {
    const auto v = static_cast<unsigned char>(*b);
    texto += kCifras[v >> 4];
    texto += kCifras[v & 0x0F];
  }
  return texto;
}

}  // namespace

bool GetKeyValue(Plataforma& plataforma, Clave KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal) {
  Clave clave = 0;
  if (plataforma.AbrirClave(KeyRoot, KeyName, kAccesoClave, clave) != 0) {
    KeyVal.clear();
    return false;
  }
  ClaveAbierta abierta(plataforma, clave);

  std::array<unsigned char, kTamanoBufer> bufer{};
  std::uint32_t bytes = kTamanoBufer;
  std::uint32_t tipo = 0;
  if (plataforma.LeerValor(clave, SubKeyRef, tipo, bufer.data(), bytes) != 0) {
    KeyVal.clear();
    return false;
  }
  if (bytes == 0)
    throw ValorVacio();
  if (bytes > kTamanoBufer)
    bytes = kTamanoBufer;
  // A text stored with its terminating zero loses it; one stored without stays whole.
  const std::size_t largo = bufer[bytes - 1] == 0 ? bytes - 1 : bytes;
  const std::string texto(reinterpret_cast<const char*>(bufer.data()), largo);

  if (tipo == kRegSz)
    KeyVal = texto;
  else if (tipo == kRegDword)
    KeyVal = Hexadecimal(texto);  // kept as text: no path or folder begins with "&h"
  return true;
}

namespace {

// True when the tool was started.
bool Lanzar(Plataforma& plataforma) {
  std::string ruta;
  if (GetKeyValue(plataforma, kHkeyLocalMachine, std::string(kClaveRuta), std::string(kValorRuta),
                  ruta))
    return plataforma.Iniciar(ruta);  // the path as read, not tested
  if (!GetKeyValue(plataforma, kHkeyLocalMachine, std::string(kClaveCarpeta),
                   std::string(kValorCarpeta), ruta))
    return false;
  ruta += kArchivoHerramienta;
  return plataforma.EsArchivo(ruta) && plataforma.Iniciar(ruta);
}

}  // namespace

void StartSysInfo(Plataforma& plataforma) {
  bool iniciado = false;
  try {
    iniciado = Lanzar(plataforma);
  } catch (const std::exception&) {
    // Any failure on the way, the zero-byte value among them, ends in the message.
  }
  if (!iniciado)
    plataforma.Mensaje(kMensajeNoDisponible);
}

}  // namespace zelk::sysinfo
