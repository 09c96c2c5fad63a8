// The system information launcher against an in-memory registry, file system and process start.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "sysinfo/lanzador.h"
#include "sysinfo/plataforma_sin_registro.h"
#include "tests/casos.h"

namespace zelk {
namespace {

using namespace zelk::sysinfo;

struct Valor {
  std::uint32_t tipo;
  std::string bytes;
};

Valor Texto(std::string t, bool conCero = true) {
  if (conCero)
    t.push_back('\0');
  return {kRegSz, t};
}

class PlataformaFalsa final : public Plataforma {
 public:
  std::map<std::string, std::map<std::string, Valor>> claves;  // below HKEY_LOCAL_MACHINE
  std::set<std::string> archivos;
  std::set<std::string> rechazadas;  // keys whose open is refused
  std::vector<std::string> iniciados, mensajes, leidos;
  std::vector<std::uint32_t> accesos;
  int abiertas = 0;

  CodigoError AbrirClave(Clave raiz, const std::string& nombre, std::uint32_t acceso,
                         Clave& clave) override {
    accesos.push_back(acceso);
    if (raiz != kHkeyLocalMachine || !claves.count(nombre))
      return kErrorArchivoNoEncontrado;
    if (rechazadas.count(nombre))
      return 5;  // ERROR_ACCESS_DENIED
    nombres_.push_back(nombre);
    clave = nombres_.size();
    ++abiertas;
    return 0;
  }
  CodigoError LeerValor(Clave clave, const std::string& nombre, std::uint32_t& tipo,
                        unsigned char* datos, std::uint32_t& bytes) override {
    const auto& clave_ = nombres_.at(clave - 1);
    leidos.push_back(clave_ + "|" + nombre);
    const auto& valores = claves.at(clave_);
    const auto v = valores.find(nombre);
    if (v == valores.end())
      return kErrorArchivoNoEncontrado;
    if (v->second.bytes.size() > bytes)
      return 234;  // ERROR_MORE_DATA
    tipo = v->second.tipo;
    bytes = static_cast<std::uint32_t>(v->second.bytes.size());
    std::memcpy(datos, v->second.bytes.data(), bytes);
    return 0;
  }
  void CerrarClave(Clave) override { --abiertas; }
  bool EsArchivo(const std::string& ruta) override { return archivos.count(ruta) > 0; }
  bool Iniciar(const std::string& linea) override {
    if (linea.empty() || !archivos.count(linea))
      return false;
    iniciados.push_back(linea);
    return true;
  }
  void Mensaje(std::string_view texto) override { mensajes.emplace_back(texto); }

 private:
  std::vector<std::string> nombres_;
};

const std::string kClave1(kClaveRuta);
const std::string kClave2(kClaveCarpeta);
const std::string kHerramienta = "C:\\WINDOWS\\system32\\msinfo32.exe";
const std::string kCarpeta = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const std::string kEnCarpeta = kCarpeta + "\\MSINFO32.EXE";

struct CasoInicio {
  std::string nombre;
  std::function<void(PlataformaFalsa&)> preparar;
  std::vector<std::string> iniciados;  // empty: the message instead
  bool segundaLeida;
};

class StartSysInfoTest : public ::testing::TestWithParam<CasoInicio> {};

TEST_P(StartSysInfoTest, IniciaOAvisa) {
  const auto& caso = GetParam();
  PlataformaFalsa p;
  caso.preparar(p);
  StartSysInfo(p);
  EXPECT_EQ(p.iniciados, caso.iniciados);
  if (caso.iniciados.empty())
    EXPECT_EQ(p.mensajes,
              std::vector<std::string>{"System Information Is Unavailable At This Time"});
  else
    EXPECT_TRUE(p.mensajes.empty());
  bool segunda = false;
  for (const auto& l : p.leidos)
    segunda = segunda || l == kClave2 + "|MSINFO";
  EXPECT_EQ(segunda, caso.segundaLeida);
  EXPECT_EQ(p.abiertas, 0) << "every key opened is closed";
  for (auto acceso : p.accesos)
    EXPECT_EQ(acceso, 0x2003Fu);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Casos, StartSysInfoTest, ::testing::Values(
    CasoInicio{"PrimeraClave", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = Texto(kHerramienta);
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kHerramienta, kEnCarpeta};
    }, {kHerramienta}, false},
    CasoInicio{"SegundaClaveConArchivo", [](PlataformaFalsa& p) {
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kEnCarpeta};
    }, {kEnCarpeta}, true},
    CasoInicio{"SegundaClaveSinArchivo", [](PlataformaFalsa& p) {
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
    }, {}, true},
    CasoInicio{"CarpetaEsUnaCarpeta", [](PlataformaFalsa& p) {
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kCarpeta};
    }, {}, true},
    CasoInicio{"NingunaClave", [](PlataformaFalsa&) {}, {}, false},
    CasoInicio{"PrimeraClaveSinValor", [](PlataformaFalsa& p) {
      p.claves[kClave1]["OTRO"] = Texto(kHerramienta);
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kEnCarpeta};
    }, {kEnCarpeta}, true},
    CasoInicio{"PrimeraClaveRechazada", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = Texto(kHerramienta);
      p.rechazadas = {kClave1};
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kHerramienta, kEnCarpeta};
    }, {kEnCarpeta}, true},
    CasoInicio{"RutaAUnArchivoQueNoExiste", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = Texto("C:\\no\\existe.exe");
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kEnCarpeta};
    }, {}, false},
    CasoInicio{"RutaSinCeroFinal", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = Texto(kHerramienta, false);
      p.archivos = {kHerramienta};
    }, {kHerramienta}, false},
    CasoInicio{"PrimerValorDemasiadoLargo", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = Texto(std::string(1025, 'x'), false);
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kEnCarpeta};
    }, {kEnCarpeta}, true},
    CasoInicio{"PrimerValorExpandible", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = {2, kHerramienta + '\0'};  // REG_EXPAND_SZ
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kHerramienta, kEnCarpeta};
    }, {}, false},
    CasoInicio{"PrimerValorVacio", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = {kRegSz, ""};
      p.claves[kClave2]["MSINFO"] = Texto(kCarpeta);
      p.archivos = {kEnCarpeta};
    }, {}, false},
    CasoInicio{"PrimerValorNumero", [](PlataformaFalsa& p) {
      p.claves[kClave1]["PATH"] = {kRegDword, std::string("\x01\x02\x03\x04", 4)};
      p.archivos = {kHerramienta};
    }, {}, false},
    CasoInicio{"SegundoValorDemasiadoLargo", [](PlataformaFalsa& p) {
      p.claves[kClave2]["MSINFO"] = Texto(std::string(1024, 'x'));
    }, {}, true}),
    prueba::PorNombre());
// clang-format on

TEST(StartSysInfoTest, DosPulsacionesInicianDosVeces) {
  PlataformaFalsa p;
  p.claves[kClave1]["PATH"] = Texto(kHerramienta);
  p.archivos = {kHerramienta};
  StartSysInfo(p);
  StartSysInfo(p);
  EXPECT_EQ(p.iniciados, (std::vector<std::string>{kHerramienta, kHerramienta}));
  EXPECT_EQ(p.leidos.size(), 2u) << "each press looks the path up afresh";
}

struct CasoValor {
  std::string nombre;
  Valor valor;
  bool encontrado;
  std::string texto;  // KeyVal after the lookup, which starts as "antes"
};

class GetKeyValueTest : public ::testing::TestWithParam<CasoValor> {};

TEST_P(GetKeyValueTest, LeeElValor) {
  const auto& caso = GetParam();
  PlataformaFalsa p;
  p.claves["K"]["V"] = caso.valor;
  std::string texto = "antes";
  EXPECT_EQ(GetKeyValue(p, kHkeyLocalMachine, "K", "V", texto), caso.encontrado);
  EXPECT_EQ(texto, caso.texto);
  EXPECT_EQ(p.abiertas, 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Casos, GetKeyValueTest, ::testing::Values(
    CasoValor{"TextoConCero", Texto("abc"), true, "abc"},
    CasoValor{"TextoSinCero", Texto("abc", false), true, "abc"},
    CasoValor{"SoloElCero", Texto(""), true, ""},
    CasoValor{"CeroEnMedio", {kRegSz, std::string("ab\0cd", 5)}, true, std::string("ab\0cd", 5)},
    CasoValor{"MilVeinticuatroBytes", Texto(std::string(1023, 'x')), true, std::string(1023, 'x')},
    CasoValor{"MilVeinticuatroSinCero", Texto(std::string(1024, 'y'), false), true,
              std::string(1024, 'y')},
    CasoValor{"MilVeinticincoBytes", Texto(std::string(1024, 'x')), false, ""},
    CasoValor{"Numero", {kRegDword, std::string("\x78\x56\x34\x12", 4)}, true, "&h12345678"},
    CasoValor{"NumeroCifrasAF", {kRegDword, std::string("\xEF\xCD\xAB\x0A", 4)}, true,
              "&h0AABCDEF"},
    CasoValor{"NumeroConByteAltoCero", {kRegDword, std::string("\x2A\x00\x00\x00", 4)}, true,
              "&h00002A"},
    CasoValor{"Expandible", {2, "abc"}, true, "antes"},
    CasoValor{"Binario", {3, "abc"}, true, "antes"}),
    prueba::PorNombre());
// clang-format on

TEST(GetKeyValueTest, ClaveOValorAusentesVacianElTexto) {
  PlataformaFalsa p;
  p.claves["K"]["V"] = Texto("abc");
  std::string texto = "antes";
  EXPECT_FALSE(GetKeyValue(p, kHkeyLocalMachine, "NO", "V", texto));
  EXPECT_EQ(texto, "");
  texto = "antes";
  EXPECT_FALSE(GetKeyValue(p, kHkeyLocalMachine, "K", "NO", texto));
  EXPECT_EQ(texto, "");
  EXPECT_EQ(p.abiertas, 0);
}

TEST(GetKeyValueTest, ValorDeCeroBytesEsUnError) {
  PlataformaFalsa p;
  p.claves["K"]["V"] = {kRegSz, ""};
  std::string texto;
  EXPECT_THROW(GetKeyValue(p, kHkeyLocalMachine, "K", "V", texto), ValorVacio);
  EXPECT_EQ(p.abiertas, 0) << "the key is closed on the error path too";
}

TEST(PlataformaSinRegistroTest, SiempreAvisa) {
  std::vector<std::string> mensajes;
  PlataformaSinRegistro p([&](std::string_view t) { mensajes.emplace_back(t); });
  StartSysInfo(p);
  StartSysInfo(p);
  EXPECT_EQ(mensajes,
            (std::vector<std::string>(2, "System Information Is Unavailable At This Time")));
}

}  // namespace
}  // namespace zelk
