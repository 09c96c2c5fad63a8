#include "engine/enlace.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace zelk {
namespace {

// The control of a quantity is "txt" and its name with the first letter in upper case.
std::string ControlSegunNombre(std::string_view nombre) {
  std::string s = "txt" + std::string(nombre);
  s[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[3])));
  return s;
}

TEST(Tablas, NombresCamposYControlesConcuerdan) {
  std::set<std::string_view> controles, etiquetas;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    EXPECT_EQ(Indice(p.campo), i) << p.nombre;
    EXPECT_EQ(p.control, ControlSegunNombre(p.nombre));
    EXPECT_EQ(NombreCampo(p.campo), p.control);
    EXPECT_EQ(BuscarParametro(p.nombre), &p);
    controles.insert(p.control);
    etiquetas.insert(p.etiqueta);
  }
  for (std::size_t i = 0; i < kNumResultados; ++i) {
    const auto& r = kResultados[i];
    EXPECT_EQ(Indice(r.campo), kNumParametros + i) << r.nombre;
    EXPECT_EQ(r.control, ControlSegunNombre(r.nombre));
    EXPECT_EQ(NombreCampo(r.campo), r.control);
    EXPECT_EQ(BuscarResultado(r.nombre), &r);
    controles.insert(r.control);
    etiquetas.insert(r.etiqueta);
  }
  EXPECT_EQ(controles.size(), kNumCampos);
  EXPECT_EQ(etiquetas.size(), kNumCampos);
  EXPECT_EQ(BuscarParametro("uacr"), nullptr);
  EXPECT_EQ(BuscarParametro("alpha"), nullptr);
  EXPECT_EQ(BuscarResultado("Uacr"), nullptr);
}

TEST(Tablas, OrdenCanonicoYDatos) {
  const char* orden[] = {"Uacr", "tapr",   "Nr",       "Idc",      "Rcr",      "Xcr",
                         "Uaci", "tapi",   "Ni",       "Vdci",     "Rci",      "Xci",
                         "Rdc",  "Vdcnom", "Eacr_nom", "Eaci_nom", "Uacr_nom", "Uaci_nom"};
  DatosEnlace d;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    EXPECT_EQ(kParametros[i].nombre, orden[i]);
    d.*kParametros[i].miembro = static_cast<double>(i + 1);
  }
  // Every member is reached exactly once.
  EXPECT_EQ(d.Uacr, 1);
  EXPECT_EQ(d.Xci, 12);
  EXPECT_EQ(d.Eaci_nom, 16);
  EXPECT_EQ(d.Uaci_nom, 18);

  const char* resultados[] = {"alpha", "mur", "tgphir", "gamma", "mui", "tgphii", "Vdcr",
                              "Iacr",  "Pr",  "Qr",     "Iaci",  "Pi",  "Qi"};
  for (std::size_t i = 0; i < kNumResultados; ++i)
    EXPECT_EQ(kResultados[i].nombre, resultados[i]);
}

TEST(Tablas, TextosDeLasEtiquetas) {
  const auto& tapr = *BuscarParametro("tapr");
  EXPECT_EQ(tapr.ayuda,
            "Tap actual. La regulaci\u00F3n se supone del  lado primario del transformador");
  EXPECT_EQ(BuscarParametro("tapi")->ayuda, tapr.ayuda);
  EXPECT_EQ(BuscarParametro("Nr")->titulo, "Nr");
  EXPECT_EQ(BuscarParametro("Vdcnom")->ayuda,
            "Tensi\u00F3n nominal de continua (por ahora no utilizada).");
  EXPECT_EQ(BuscarParametro("Eaci_nom")->etiqueta, "lbl17");
  EXPECT_EQ(BuscarParametro("Uacr_nom")->etiqueta, "lbl16");
  // The ordinal indicator U+00BA, not the degree sign.
  EXPECT_EQ(BuscarResultado("alpha")->titulo, "alpha [\u00BA]");
  EXPECT_EQ(BuscarResultado("mui")->titulo, "mu i [\u00BA]");
  EXPECT_EQ(BuscarResultado("gamma")->ayuda, "Margen de \u00E1ngulo de disparo extremo inversor");
  EXPECT_EQ(BuscarResultado("mur")->ayuda,
            "Angulo correspondiente a la conmutaci\u00F3n, lado rectificador.");
  for (const char* sin : {"Vdcr", "Pr", "Qr", "Pi", "Qi"})
    EXPECT_TRUE(BuscarResultado(sin)->ayuda.empty()) << sin;
  EXPECT_EQ(kMarcos[0].titulo, "Datos rectificador");
  EXPECT_EQ(kMarcos[2].nombre, "Frame2");
}

TEST(Tablas, UnidadesDesdeLosTitulos) {
  EXPECT_EQ(Unidad(BuscarParametro("Uacr")->titulo), "kV");
  EXPECT_EQ(Unidad(BuscarParametro("tapr")->titulo), "p.u.");
  EXPECT_EQ(Unidad(BuscarParametro("Rcr")->titulo), "ohm/fase");
  EXPECT_EQ(Unidad(BuscarParametro("Ni")->titulo), "");
  EXPECT_EQ(Unidad(BuscarResultado("alpha")->titulo), "\u00BA");
  EXPECT_EQ(Unidad(BuscarResultado("Qr")->titulo), "MVAr");
  EXPECT_EQ(Unidad(BuscarResultado("tgphir")->titulo), "");
}

TEST(Tablas, PatronesYMarca) {
  EXPECT_EQ(kPatronTresDec.decimales, 3);
  EXPECT_EQ(kPatronPotencia.decimales, 1);
  EXPECT_EQ(BuscarResultado("tgphir")->patron, &kPatronTresDec);
  EXPECT_EQ(BuscarResultado("tgphii")->patron, &kPatronDosDec);
  EXPECT_EQ(BuscarResultado("Vdcr")->patron, nullptr);
  int conMarca = 0;
  for (const auto& r : kResultados)
    conMarca += r.puedeMostrarError;
  EXPECT_EQ(conMarca, 6);
}

TEST(Tablas, LosDosJuegosDifierenSoloEnLasReactancias) {
  int zeros = 0;
  for (const auto& p : kParametros) {
    const bool reactancia = p.nombre == "Xcr" || p.nombre == "Xci";
    EXPECT_EQ(p.valorCarga == p.valorDefault, !reactancia) << p.nombre;
    zeros += p.pruebaCero;
  }
  EXPECT_EQ(BuscarParametro("Xcr")->valorCarga, "3.88");
  EXPECT_EQ(BuscarParametro("Xci")->valorDefault, "4");
  EXPECT_EQ(zeros, 10);
}

}  // namespace
}  // namespace zelk
