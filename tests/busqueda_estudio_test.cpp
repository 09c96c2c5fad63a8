// "Buscar…" of a study: the values found give the result asked for once put into the case, under
// the pass and under control data; settings that make no search say why.
#include "lote/busqueda_estudio.h"

#include <gtest/gtest.h>

#include "lote/caso_estudio.h"
#include "tests/casos.h"
#include "tests/regionales.h"

namespace zelk {
namespace {

using prueba::kEspana;

struct CasoBusqueda {
  const char* nombre;
  std::vector<std::pair<std::string_view, std::string>> caso;  // data changed
  bool control;
  lotes::BusquedaEstudio busqueda;
  std::size_t raices;    // values found
  std::string esperado;  // the result's text once the first is in the case
};

lotes::Estudio Con(const CasoBusqueda& c) {
  lotes::Estudio e = lotes::EstudioDeInicio(kEspana);
  e.control = c.control;
  for (const auto& [nombre, texto] : c.caso)
    e.datos[Indice(BuscarParametro(nombre)->campo)] = texto;
  e.busqueda = c.busqueda;
  return e;
}

class Busqueda : public testing::TestWithParam<CasoBusqueda> {};

TEST_P(Busqueda, ElValorHalladoDaElResultado) {
  const auto& c = GetParam();
  lotes::Estudio e = Con(c);
  const auto hecha = lotes::BuscarEnEstudio(e, kEspana);
  ASSERT_TRUE(std::holds_alternative<lotes::BusquedaHecha>(hecha)) << std::get<std::string>(hecha);
  const auto& h = std::get<lotes::BusquedaHecha>(hecha);
  ASSERT_EQ(h.hallado.busqueda.raices.size(), c.raices);
  const auto& objetivo = h.peticion.objetivo;
  for (const auto& raiz : h.hallado.busqueda.raices) {
    lotes::Estudio puesto = e;
    lotes::PonerValorHallado(puesto, h.peticion.variable, raiz.x, kEspana);
    const auto ev = lotes::EvaluarCaso(puesto, kEspana);
    ASSERT_TRUE(ev.datos) << ev.motivo;
    const std::string texto = objetivo.resultado != nullptr
                                  ? TextoResultado(ev.resultados.*objetivo.resultado->miembro,
                                                   *objetivo.resultado, kEspana)
                                  : TextoElegido(*objetivo.elegido, ev.solucion->datos, kEspana);
    EXPECT_EQ(texto, c.esperado);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Busqueda,
    testing::Values(
        CasoBusqueda{"PrConIdc", {}, false, {"Pr", "1000", "Idc", "", ""}, 1, "1000,0"},
        // The datum searched needs no text of its own.
        CasoBusqueda{
            "IdcSinTexto", {{"Idc", "mucho"}}, false, {"Pr", "800", "Idc", "", ""}, 1, "800,0"},
        CasoBusqueda{
            "AlphaConTapEnMargen", {}, false, {"alpha", "15", "tapr", "0,8", "1,3"}, 1, "15,00"},
        CasoBusqueda{"QrConVprogBajoControl", {}, true, {"Qr", "400", "Vprog", "", ""}, 1, "400,0"},
        CasoBusqueda{
            "IdcElegidoConConsigna", {}, true, {"Idc", "1500", "consigna", "", ""}, 1, "1500,00"}),
    prueba::PorNombre());

TEST(Busqueda, LoQueNoSeBuscaDicePorQue) {
  const std::pair<CasoBusqueda, const char*> casos[] = {
      {{"ObjetivoNoNumero", {}, false, {"Pr", "1.0.0", "Idc", "", ""}, 0, ""},
       "resultado Pr: «1.0.0» no es un número"},
      {{"MargenAMedias", {}, false, {"Pr", "1000", "Idc", "5", "x"}, 0, ""},
       "margen, hasta: «x» no es un número"},
      {{"DatoDeControlSinControl", {}, false, {"Pr", "1000", "margen", "", ""}, 0, ""},
       "es un dato de control"},
      {{"IdcBajoControl", {}, true, {"Pr", "1000", "Idc", "", ""}, 0, ""},
       "Idc no se da: lo fijan la orden y los taps"},
      {{"CasoRechazado", {{"Nr", "0"}}, false, {"Pr", "1000", "Idc", "", ""}, 0, ""},
       "ERROR EN DATOS: «Nr» = «0» no puede valer 0; no se busca ningún Idc"},
  };
  for (const auto& [c, motivo] : casos) {
    const auto hecha = lotes::BuscarEnEstudio(Con(c), kEspana);
    ASSERT_TRUE(std::holds_alternative<std::string>(hecha)) << c.nombre;
    EXPECT_NE(std::get<std::string>(hecha).find(motivo), std::string::npos)
        << c.nombre << ": " << std::get<std::string>(hecha);
  }
  // No value in the range: found nothing, and said why.
  const auto sin = lotes::BuscarEnEstudio(
      Con({"SinSolucion", {}, false, {"Pr", "50000", "Idc", "0", "3000"}, 0, ""}), kEspana);
  const auto& h = std::get<lotes::BusquedaHecha>(sin);
  EXPECT_TRUE(h.hallado.busqueda.raices.empty());
  ASSERT_EQ(h.notas.size(), 1u);
  EXPECT_NE(h.notas[0].find("ningún Idc entre 0 y 3000 da Pr = 50000,0"), std::string::npos)
      << h.notas[0];
}

}  // namespace
}  // namespace zelk
