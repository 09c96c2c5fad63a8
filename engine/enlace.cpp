#include "engine/enlace.h"

namespace zelk {

namespace {
constexpr std::string_view kAyudaTensionActual =
    "Tensión actual del lado primario del transformador";
constexpr std::string_view kAyudaTap =
    "Tap actual. La regulación se supone del  lado primario del transformador";
constexpr std::string_view kAyudaPuentes = "Número de puentes en serie, respecto al lado DC.";
constexpr std::string_view kAyudaRc = "Resistencia de conmutación";
constexpr std::string_view kAyudaXc = "Reactancia de conmutación";
constexpr std::string_view kAyudaCorriente = "Corriente, lado primario del transformador";
}  // namespace

const std::array<DescripcionMarco, 3> kMarcos{{
    {"fraDatos", "Datos rectificador"},
    {"Frame1", "Datos inversor"},
    {"Frame2", "Otros datos"},
}};

// clang-format off
const std::array<DescripcionParametro, kNumParametros> kParametros{{
    {"Uacr", &DatosEnlace::Uacr, Campo::Uacr, "txtUacr", "lbl1", "Uacr [kV]",
     kAyudaTensionActual, Marco::Rectificador, "500", "500", true},
    {"tapr", &DatosEnlace::tapr, Campo::tapr, "txtTapr", "lbl2", "tapr [p.u.]",
     kAyudaTap, Marco::Rectificador, "1", "1", true},
    {"Nr", &DatosEnlace::Nr, Campo::Nr, "txtNr", "lbl3", "Nr",
     kAyudaPuentes, Marco::Rectificador, "2", "2", true},
    {"Idc", &DatosEnlace::Idc, Campo::Idc, "txtIdc", "lbl4", "Idc [A]",
     "Valor deseado de corriente continua en el enlace", Marco::Rectificador, "2000", "2000", false},
    {"Rcr", &DatosEnlace::Rcr, Campo::Rcr, "txtRcr", "lbl5", "Rcr [ohm/fase]",
     kAyudaRc, Marco::Rectificador, "0", "0", false},
    {"Xcr", &DatosEnlace::Xcr, Campo::Xcr, "txtXcr", "lbl6", "Xcr [ohm/fase]",
     kAyudaXc, Marco::Rectificador, "3.88", "4", false},
    {"Uaci", &DatosEnlace::Uaci, Campo::Uaci, "txtUaci", "lbl7", "Uaci [kV]",
     kAyudaTensionActual, Marco::Inversor, "500", "500", true},
    {"tapi", &DatosEnlace::tapi, Campo::tapi, "txtTapi", "lbl8", "tapi [p.u.]",
     kAyudaTap, Marco::Inversor, "1", "1", true},
    {"Ni", &DatosEnlace::Ni, Campo::Ni, "txtNi", "lbl9", "Ni",
     kAyudaPuentes, Marco::Inversor, "2", "2", true},
    {"Vdci", &DatosEnlace::Vdci, Campo::Vdci, "txtVdci", "lbl10", "Vdci [kV]",
     "Valor deseado de tensión de continua en el lado inversor", Marco::Inversor, "525", "525",
     false},
    {"Rci", &DatosEnlace::Rci, Campo::Rci, "txtRci", "lbl11", "Rci [ohm/fase]",
     kAyudaRc, Marco::Inversor, "0", "0", false},
    {"Xci", &DatosEnlace::Xci, Campo::Xci, "txtXci", "lbl12", "Xci [ohm/fase]",
     kAyudaXc, Marco::Inversor, "3.88", "4", false},
    {"Rdc", &DatosEnlace::Rdc, Campo::Rdc, "txtRdc", "lbl13", "Rdc [ohm]",
     "Resistencia de la línea de corriente continua.", Marco::Otros, "12", "12", false},
    {"Vdcnom", &DatosEnlace::Vdcnom, Campo::Vdcnom, "txtVdcnom", "lbl14", "Vdcnom [kV]",
     "Tensión nominal de continua (por ahora no utilizada).", Marco::Otros, "550", "550", false},
    {"Eacr_nom", &DatosEnlace::Eacr_nom, Campo::Eacr_nom, "txtEacr_nom", "lbl15", "Eacr_nom [kV]",
     "Tensión nominal del lado secundario del transformador, extremo rectificador", Marco::Otros,
     "220", "220", true},
    {"Eaci_nom", &DatosEnlace::Eaci_nom, Campo::Eaci_nom, "txtEaci_nom", "lbl17", "Eaci_nom [kV]",
     "Tensión nominal del lado secundario del transformador, extremo inversor", Marco::Otros,
     "220", "220", true},
    {"Uacr_nom", &DatosEnlace::Uacr_nom, Campo::Uacr_nom, "txtUacr_nom", "lbl16", "Uacr_nom [kV]",
     "Tensión nominal del lado primario del transformador, extremo rectificador", Marco::Otros,
     "500", "500", true},
    {"Uaci_nom", &DatosEnlace::Uaci_nom, Campo::Uaci_nom, "txtUaci_nom", "lbl18", "Uaci_nom [kV]",
     "Tensión nominal del lado primario del transformador, extremo inversor", Marco::Otros,
     "500", "500", true},
}};

const std::array<DescripcionResultado, kNumResultados> kResultados{{
    {"alpha", &ResultadosEnlace::alpha, Campo::alpha, "txtAlpha", "lblR5", "alpha [º]",
     "Angulo de disparo, lado rectificador", &kPatronAngulo, true},
    {"mur", &ResultadosEnlace::mur, Campo::mur, "txtMur", "lblR3", "mu r [º]",
     "Angulo correspondiente a la conmutación, lado rectificador.", &kPatronAngulo, true},
    {"tgphir", &ResultadosEnlace::tgphir, Campo::tgphir, "txtTgphir", "lblR4", "tg phir",
     "Qr/Pr", &kPatronTresDec, true},
    {"gamma", &ResultadosEnlace::gamma, Campo::gamma, "txtGamma", "lblR10", "gamma [º]",
     "Margen de ángulo de disparo extremo inversor", &kPatronAnguloInv, true},
    {"mui", &ResultadosEnlace::mui, Campo::mui, "txtMui", "lblR12", "mu i [º]",
     "Angulo correspondiente a la conmutación, lado inversor.", &kPatronAnguloInv, true},
    {"tgphii", &ResultadosEnlace::tgphii, Campo::tgphii, "txtTgphii", "lblR13", "tg phii",
     "Qi/Pi", &kPatronDosDec, true},
    {"Vdcr", &ResultadosEnlace::Vdcr, Campo::Vdcr, "txtVdcr", "lblR1", "Vdcr [kV]",
     "", nullptr, false},
    {"Iacr", &ResultadosEnlace::Iacr, Campo::Iacr, "txtIacr", "lblR2", "Iacr [A]",
     kAyudaCorriente, &kPatronDosDec, false},
    {"Pr", &ResultadosEnlace::Pr, Campo::Pr, "txtPr", "lblR6", "Pr [MW]",
     "", &kPatronPotencia, false},
    {"Qr", &ResultadosEnlace::Qr, Campo::Qr, "txtQr", "lblR7", "Qr [MVAr]",
     "", &kPatronPotencia, false},
    {"Iaci", &ResultadosEnlace::Iaci, Campo::Iaci, "txtIaci", "lblR11", "Iaci [A]",
     kAyudaCorriente, &kPatronDosDec, false},
    {"Pi", &ResultadosEnlace::Pi, Campo::Pi, "txtPi", "lblR15", "Pi [MW]",
     "", &kPatronPotencia, false},
    {"Qi", &ResultadosEnlace::Qi, Campo::Qi, "txtQi", "lblR16", "Qi [MVAr]",
     "", &kPatronPotencia, false},
}};
// clang-format on

std::string_view NombreCampo(Campo c) {
  const auto i = Indice(c);
  return i < kNumParametros ? kParametros[i].control : kResultados[i - kNumParametros].control;
}

std::string_view Unidad(std::string_view titulo) {
  const auto abre = titulo.find('[');
  const auto cierra = titulo.rfind(']');
  if (abre == std::string_view::npos || cierra == std::string_view::npos || cierra < abre)
    return {};
  return titulo.substr(abre + 1, cierra - abre - 1);
}

const DescripcionParametro* BuscarParametro(std::string_view nombre) {
  for (const auto& p : kParametros)
    if (p.nombre == nombre)
      return &p;
  return nullptr;
}

const DescripcionResultado* BuscarResultado(std::string_view nombre) {
  for (const auto& r : kResultados)
    if (r.nombre == nombre)
      return &r;
  return nullptr;
}

}  // namespace zelk
