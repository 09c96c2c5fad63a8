#include "engine/pasada.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/formulario_memoria.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEspana;
using prueba::kEstadosUnidos;
using prueba::kFrancia;
using prueba::kSuiza;

// A form that also records every write and what the fields held when a message was shown.
class FormularioEspia : public FormularioMemoria {
 public:
  void PonerTexto(Campo campo, std::string_view texto) override {
    escritos.push_back(campo);
    FormularioMemoria::PonerTexto(campo, texto);
  }
  void MostrarMensaje(std::string_view texto) override {
    std::vector<std::string> campos;
    for (const auto& p : kParametros)
      campos.push_back(Ver(p.campo));
    camposAlMostrar.push_back(std::move(campos));
    FormularioMemoria::MostrarMensaje(texto);
  }
  std::vector<Campo> escritos;
  std::vector<std::vector<std::string>> camposAlMostrar;
};

std::string Resultados(const FormularioMemoria& f) {
  std::string s;
  for (const auto& d : kResultados) {
    if (!s.empty())
      s += ' ';
    s += f.Ver(d.campo);
  }
  return s;
}

std::vector<std::string> Entradas(const FormularioMemoria& f) {
  std::vector<std::string> v;
  for (const auto& p : kParametros)
    v.push_back(f.Ver(p.campo));
  return v;
}

std::vector<std::string> Defaults() {
  std::vector<std::string> v;
  for (const auto& p : kParametros)
    v.emplace_back(p.valorDefault);
  return v;
}

const std::string kResultadosInicio =
    "18.40 7.57 0.412 24.71 6.14 0.53 549 1372.27 1098.0 452.4 1372.27 -1050.0 555.4";
const std::string kResultadosDefault =
    "18.26 7.81 0.412 24.60 6.33 0.53 549 1372.27 1098.0 452.3 1372.27 -1050.0 555.3";

struct CasoInicio {
  const char* nombre;
  const ConfiguracionRegional* regional;
  const char* reactancia;
  const char* resultados;
};

class Inicio : public testing::TestWithParam<CasoInicio> {};

TEST_P(Inicio, AbreCalculadoYSinMensaje) {
  const auto& c = GetParam();
  FormularioEspia f;
  Calculadora calc(f, *c.regional);
  calc.Inicio();
  EXPECT_TRUE(f.Mensajes().empty());
  EXPECT_EQ(f.Ver(Campo::Xcr), c.reactancia);
  EXPECT_EQ(f.Ver(Campo::Xci), c.reactancia);
  EXPECT_EQ(f.Ver(Campo::Uacr), "500");
  EXPECT_EQ(Resultados(f), c.resultados);
  EXPECT_EQ(calc.Datos().Xcr, 3.88);
  // No field keeps its design-time text.
  for (std::size_t i = 0; i < kNumCampos; ++i)
    EXPECT_NE(f.Ver(static_cast<Campo>(i)), kTextoDiseno) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Regiones, Inicio,
    testing::Values(
        CasoInicio{"EstadosUnidos", &kEstadosUnidos, "3.88", kResultadosInicio.c_str()},
        CasoInicio{
            "Espana", &kEspana, "3,88",
            "18,40 7,57 0,412 24,71 6,14 0,53 549 1372,27 1098,0 452,4 1372,27 -1050,0 555,4"},
        CasoInicio{
            "Francia", &kFrancia, "3,88",
            "18,40 7,57 0,412 24,71 6,14 0,53 549 1372,27 1098,0 452,4 1372,27 -1050,0 555,4"},
        CasoInicio{"Suiza", &kSuiza, "3.88", kResultadosInicio.c_str()}),
    prueba::PorNombre());

TEST(ValoresDefault, EscribeYLeeLosDefaultsSinCalcular) {
  for (const auto* r : {&kEstadosUnidos, &kEspana, &kFrancia, &kSuiza}) {
    FormularioMemoria f;
    Calculadora calc(f, *r);
    calc.Inicio();
    f.PonerTexto(Campo::Idc, "1000");
    const auto antes = Resultados(f);
    calc.ValoresDefault();
    EXPECT_EQ(Entradas(f), Defaults());
    EXPECT_EQ(Resultados(f), antes);
    const auto& d = calc.Datos();
    const double esperados[] = {500, 1, 2, 2000, 0,   4,   500, 1,   2,
                                525, 0, 4, 12,   550, 220, 220, 500, 500};
    for (std::size_t i = 0; i < kNumParametros; ++i)
      EXPECT_EQ(d.*kParametros[i].miembro, esperados[i]) << kParametros[i].nombre;
  }
}

TEST(ValoresDefault, SeguidoDeCalcular) {
  FormularioMemoria f;
  Calculadora calc(f, kEstadosUnidos);
  calc.Inicio();
  calc.ValoresDefault();
  EXPECT_TRUE(calc.Calcular());
  EXPECT_EQ(Resultados(f), kResultadosDefault);
}

struct CasoComprobacion {
  const char* nombre;
  std::vector<std::pair<Campo, const char*>> textos;
  bool rechazada;
};

class Comprobacion : public testing::TestWithParam<CasoComprobacion> {};

TEST_P(Comprobacion, MensajeUnaVezYDefaults) {
  const auto& c = GetParam();
  FormularioEspia f;
  Calculadora calc(f, kEstadosUnidos);
  calc.Inicio();
  for (const auto& [campo, texto] : c.textos)
    f.PonerTexto(campo, texto);
  const auto tecleado = Entradas(f);
  f.escritos.clear();

  EXPECT_EQ(calc.Calcular(), !c.rechazada);

  if (c.rechazada) {
    ASSERT_EQ(f.Mensajes().size(), 1u);
    EXPECT_EQ(f.Mensajes()[0], "ERROR EN DATOS. Se sobreescriben con los valores por defecto.");
    // While the message is open the fields still show what the user typed.
    EXPECT_EQ(f.camposAlMostrar[0], tecleado);
    EXPECT_EQ(Entradas(f), Defaults());
    EXPECT_EQ(Resultados(f), kResultadosDefault);
  } else {
    EXPECT_TRUE(f.Mensajes().empty());
    EXPECT_EQ(Entradas(f), tecleado);
  }
  // Every pass writes the 13 result fields, once each and in order.
  std::vector<Campo> resultados;
  for (Campo campo : f.escritos)
    if (Indice(campo) >= kNumParametros)
      resultados.push_back(campo);
  ASSERT_EQ(resultados.size(), kNumResultados);
  for (std::size_t i = 0; i < kNumResultados; ++i)
    EXPECT_EQ(resultados[i], kResultados[i].campo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Comprobacion,
    testing::Values(CasoComprobacion{"NrVacio", {{Campo::Nr, ""}}, true},
                    CasoComprobacion{"XciLetras", {{Campo::Xci, "abc"}}, true},
                    CasoComprobacion{"TaprCero", {{Campo::tapr, "0"}}, true},
                    CasoComprobacion{"NiMenosCero", {{Campo::Ni, "-0"}}, true},
                    CasoComprobacion{"EacrNomCero", {{Campo::Eacr_nom, "0"}}, true},
                    CasoComprobacion{"UaciNomCero", {{Campo::Uaci_nom, "0,0"}}, true},
                    CasoComprobacion{"TapDemasiadoPequeno", {{Campo::tapr, "1e-400"}}, true},
                    CasoComprobacion{
                        "NoNumericoYCero", {{Campo::Nr, "x"}, {Campo::Uaci_nom, "0"}}, true},
                    CasoComprobacion{"IdcVacioYNrMalo", {{Campo::Idc, ""}, {Campo::Nr, "x"}}, true},
                    // Fields outside the numeric test that do not convert get the same answer.
                    CasoComprobacion{"IdcVacio", {{Campo::Idc, ""}}, true},
                    CasoComprobacion{"VdcnomLetras", {{Campo::Vdcnom, "abc"}}, true},
                    CasoComprobacion{"RdcDesborda", {{Campo::Rdc, "1e999"}}, true},
                    CasoComprobacion{"IdcCero", {{Campo::Idc, "0"}}, false},
                    CasoComprobacion{"RcrCero", {{Campo::Rcr, "0"}}, false},
                    CasoComprobacion{"RdcCero", {{Campo::Rdc, "0"}}, false},
                    CasoComprobacion{"NrNegativo", {{Campo::Nr, "-2"}}, false},
                    CasoComprobacion{"NrFraccionario", {{Campo::Nr, "2.5"}}, false},
                    CasoComprobacion{"TapMuyPequeno", {{Campo::tapr, "1e-300"}}, false},
                    CasoComprobacion{"XcrGrande", {{Campo::Xcr, "388"}}, false}),
    prueba::PorNombre());

TEST(Calcular, NoLeeLosCamposDeResultado) {
  FormularioMemoria f;
  Calculadora calc(f, kEstadosUnidos);
  calc.Inicio();
  for (const auto& d : kResultados)
    f.PonerTexto(d.campo, "tecleado");
  calc.Calcular();
  EXPECT_EQ(Resultados(f), kResultadosInicio);
}

TEST(Calcular, NadaDeUnaPasadaAnterior) {
  FormularioMemoria f;
  Calculadora calc(f, kEstadosUnidos);
  calc.Inicio();
  f.PonerTexto(Campo::Xcr, "388");
  calc.Calcular();
  // The last ratio computed is not reused for the reactive power.
  EXPECT_EQ(f.Ver(Campo::Qr), "ERROR");
  EXPECT_EQ(f.Ver(Campo::Pr), "1098.0");
  f.PonerTexto(Campo::Xcr, "3.88");
  calc.Calcular();
  EXPECT_EQ(Resultados(f), kResultadosInicio);
}

TEST(Calcular, LeeConLaConfiguracionRegional) {
  FormularioMemoria f;
  Calculadora calc(f, kEspana);
  calc.Inicio();
  f.PonerTexto(Campo::Rdc, "12,345");
  f.PonerTexto(Campo::Idc, "2.000");
  EXPECT_TRUE(calc.Calcular());
  EXPECT_EQ(calc.Datos().Idc, 2000);
  EXPECT_EQ(f.Ver(Campo::Vdcr), "549,69");
  EXPECT_EQ(f.Ver(Campo::Pr), "1099,4");
  // Read under Spanish settings, "3.88" is 388: no firing angle.
  f.PonerTexto(Campo::Xcr, "3.88");
  EXPECT_TRUE(calc.Calcular());
  EXPECT_EQ(f.Ver(Campo::alpha), "ERROR");
}

TEST(LeerDatos, SinFormulario) {
  TextosEntrada textos;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    textos[i] = kParametros[i].valorDefault;
  const auto d = LeerDatos(textos, kEstadosUnidos);
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ(d->Xci, 4);
  textos[Indice(Campo::Eaci_nom)] = "0";
  EXPECT_FALSE(LeerDatos(textos, kEstadosUnidos).has_value());
}

}  // namespace
}  // namespace zelk
