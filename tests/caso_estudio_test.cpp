// The case of a study as the window shows it: every text that cannot be taken says why at its own
// field and leaves the others alone; the results are zelk-calc's for the same data.
#include "lote/caso_estudio.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "lote/barrido_memoria.h"
#include "lote/pasada_salida.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEspana;

using Cambios = std::vector<std::pair<std::string_view, std::string>>;

lotes::Estudio Con(const Cambios& cambios, bool control = false) {
  lotes::Estudio e = lotes::EstudioDeInicio(kEspana);
  e.control = control;
  for (const auto& [nombre, texto] : cambios) {
    if (const auto* p = BuscarParametro(nombre))
      e.datos[Indice(p->campo)] = texto;
    else
      e.textosControl[static_cast<std::size_t>(BuscarControl(nombre) - kControl.data())] = texto;
  }
  return e;
}

struct CasoCampos {
  const char* nombre;
  Cambios cambios;
  bool control;
  Cambios motivos;     // the reason next to each field that has one; the others have none
  std::string motivo;  // why there are no results; empty when there are
};

class Campos : public testing::TestWithParam<CasoCampos> {};

TEST_P(Campos, CadaUnoDicePorQue) {
  const auto& c = GetParam();
  const auto ev = lotes::EvaluarCaso(Con(c.cambios, c.control), kEspana);
  const lotes::Estudio junto = Con(c.motivos);  // the expected reasons where the texts go
  const lotes::Estudio inicio = lotes::EstudioDeInicio(kEspana);
  for (std::size_t i = 0; i < kNumParametros; ++i)
    EXPECT_EQ(ev.motivosDatos[i], junto.datos[i] == inicio.datos[i] ? "" : junto.datos[i])
        << kParametros[i].nombre;
  for (std::size_t i = 0; i < kNumControl; ++i)
    EXPECT_EQ(ev.motivosControl[i],
              junto.textosControl[i] == inicio.textosControl[i] ? "" : junto.textosControl[i])
        << kControl[i].nombre;
  EXPECT_EQ(ev.motivo, c.motivo);
  EXPECT_EQ(ev.datos.has_value(), c.motivo.empty());
  EXPECT_EQ(ev.solucion.has_value(), c.motivo.empty() && c.control);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Campos,
    testing::Values(
        CasoCampos{"Inicio", {}, false, {}, ""}, CasoCampos{"ControlDelInicio", {}, true, {}, ""},
        CasoCampos{"PuntoDecimalEnEspana",
                   {{"Xcr", "3.88"}},
                   false,
                   {{"Xcr", "«3.88» no es un número con coma decimal; lo es con punto decimal"}},
                   "«Xcr» = «3.88» no es un número con coma decimal; lo es con punto decimal"},
        CasoCampos{"Cero",
                   {{"Nr", "0"}},
                   false,
                   {{"Nr", "no puede valer 0"}},
                   "«Nr» = «0» no puede valer 0"},
        CasoCampos{"DosMalos",
                   {{"Rdc", ""}, {"tapi", "0"}},
                   false,
                   {{"Rdc", "«» no es un número"}, {"tapi", "no puede valer 0"}},
                   "«tapi» = «0» no puede valer 0"},
        // Idc and Vdci are the controls': their texts do not matter then.
        CasoCampos{"IdcSinUsoBajoControl", {{"Idc", "mucho"}, {"Vdci", ""}}, true, {}, ""},
        CasoCampos{"IdcMaloSinControl",
                   {{"Idc", "mucho"}},
                   false,
                   {{"Idc", "«mucho» no es un número"}},
                   "«Idc» = «mucho» no es un número"},
        CasoCampos{"BandaAlReves",
                   {{"alpha_min", "30"}},
                   true,
                   {{"alpha_min", "no puede ser mayor que «alpha_max»"}},
                   "«alpha_min» = «30»: no puede ser mayor que «alpha_max» = «20»"},
        CasoCampos{"MargenNoNumero",
                   {{"margen", "x"}, {"tapr_paso", "0"}},
                   true,
                   {{"margen", "«x» no es un número"}},
                   "«margen» = «x» no es un número"},
        CasoCampos{"ControlApagadoNoSeMira", {{"margen", "x"}}, false, {}, ""},
        CasoCampos{"DatoYControlMalos",
                   {{"Rdc", "1,2,3"}, {"margen", "x"}},
                   true,
                   {{"Rdc", "«1,2,3» no es un número con coma decimal"},
                    {"margen", "«x» no es un número"}},
                   "«Rdc» = «1,2,3» no es un número con coma decimal"}),
    prueba::PorNombre());

// The results as zelk-calc prints the same single pass under control data.
TEST(CasoEstudio, TextoComoZelkCalc) {
  const lotes::Estudio e = Con({{"Uacr", "470"}, {"consigna", "1200"}}, true);
  const auto ev = lotes::EvaluarCaso(e, kEspana);
  const lotes::Base base = lotes::BaseDeEstudio(e, kEspana);
  std::ostringstream out, err;
  ASSERT_EQ(lotes::PasadaControl(base.textos, base.control, kEspana, {}, out, err), 0);
  // The reasons zelk-calc says on its error stream follow as "motivo" lines.
  std::string motivos;
  std::istringstream lineas(err.str());
  for (std::string l; std::getline(lineas, l);)
    motivos += "motivo\t" + l.substr(std::string_view("zelk-calc: ").size()) + "\n";
  EXPECT_EQ(lotes::TextoDeResultados(ev, kEspana), out.str() + motivos);
  EXPECT_EQ(lotes::TextoDeResultados(lotes::EvaluarCaso(Con({{"Nr", "0"}}), kEspana), kEspana),
            "ERROR EN DATOS\t«Nr» = «0» no puede valer 0\n");
  // Every result shown as ERROR has its reason, found by its name.
  const auto grande = lotes::EvaluarCaso(Con({{"Idc", "12000"}}), kEspana);
  ASSERT_TRUE(grande.datos);
  for (const auto& d : kResultados) {
    const bool error = !(grande.resultados.*d.miembro).has_value();
    EXPECT_EQ(lotes::MotivoDeResultado(grande, d).empty(), !error) << d.nombre;
  }
  const std::string texto = lotes::TextoDeResultados(grande, kEspana);
  EXPECT_NE(texto.find("alpha\tERROR\n"), std::string::npos) << texto;
  EXPECT_NE(texto.find("\nmotivo\talpha: "), std::string::npos) << texto;
}

// A sweep of the study under control data starts from the case whatever Idc holds.
TEST(CasoEstudio, BarridoBajoControlSinIdc) {
  const lotes::Estudio e = Con({{"Idc", "mucho"}}, true);
  std::string error;
  const auto b = *lotes::LeerBarrido("consigna=500:1500:5", kEspana, error);
  const auto m = std::get<lotes::BarridoEnMemoria>(
      lotes::CalcularEnMemoria({&b, 1}, lotes::BaseDeEstudio(e, kEspana), kEspana, 1));
  EXPECT_EQ(m.rechazados, 0u);
  EXPECT_TRUE(m.control);
}

}  // namespace
}  // namespace zelk

namespace zelk {
namespace {

// A line of a PSS/E case brought into the case solves there to the line's own point.
TEST(CasoEstudio, LineaDeUnCasoPsse) {
  std::ifstream raw(std::string(ZELK_PSSE_CASOS) + "/kundur_v33.raw", std::ios::binary);
  const auto leido = lotes::ResolverCaso(raw, "kundur_v33.raw");
  const auto& caso = std::get<lotes::CasoResuelto>(leido);
  ASSERT_EQ(caso.lineas.size(), 1u);
  EXPECT_EQ(caso.notas.size(), 2u);
  lotes::Estudio e = lotes::EstudioDeInicio(kEspana);
  ASSERT_TRUE(lotes::PonerLinea(caso.lineas[0], e, kEspana));
  const auto ev = lotes::EvaluarCaso(e, kEspana);
  ASSERT_TRUE(ev.solucion) << ev.motivo;
  lotes::EvaluacionCaso delCaso;
  delCaso.datos = caso.lineas[0].datos;
  delCaso.solucion = caso.lineas[0].solucion;
  delCaso.resultados = caso.lineas[0].solucion->resultados;
  EXPECT_EQ(lotes::TextoDeResultados(ev, kEspana), lotes::TextoDeResultados(delCaso, kEspana));

  lotes::LineaResuelta rechazada = caso.lineas[0];
  rechazada.solucion.reset();
  const lotes::Estudio antes = e;
  EXPECT_FALSE(lotes::PonerLinea(rechazada, e, kEspana));
  EXPECT_EQ(e, antes);
}

}  // namespace
}  // namespace zelk
