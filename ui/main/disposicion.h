// Where every control of the main window stands, in twips, and the
// window's own texts. Captions and tool tips of the fields come from the engine's tables.
#pragma once

#include <array>
#include <string_view>

#include "engine/enlace.h"
#include "ui/comun/twips.h"

namespace zelk::ui {

struct Rectangulo {
  int izquierda, arriba, ancho, alto;  // twips
};

inline constexpr std::string_view kNombreVentana = "frmInicio";
inline constexpr std::string_view kTituloVentana =
    "Cálculos para transmisión en Corriente Continua (ZELK)";
inline constexpr int kAnchoCliente = 9855;
inline constexpr int kAltoCliente = 7785;

// The frames stand side by side, in the order of `Marco`.
inline constexpr int kAnchoMarco = 3135;
inline constexpr int kAltoMarco = 2895;
inline constexpr int kArribaMarco = 120;
inline constexpr std::array<int, 3> kIzquierdaMarco{120, 3360, 6600};

// Input rows inside a frame: row k (from 0) at kArribaFila + k * kPasoFila.
inline constexpr int kArribaFila = 480;
inline constexpr int kPasoFila = 360;
inline constexpr int kIzquierdaEtiqueta = 120;
inline constexpr int kAltoEtiqueta = 255;
inline constexpr int kAnchoEtiqueta = 1335;
inline constexpr int kAnchoEtiquetaLarga = 1575;
inline constexpr int kIzquierdaCampo = 1680;
inline constexpr int kAnchoCampo = 1215;
inline constexpr int kAltoCampo = 285;
// Pixels of a text field's width that its text cannot use: frame and margin on both sides, and
// the cursor.
inline constexpr int kMargenesCampo = 9;

struct FilaEntrada {
  Campo campo;
  int fila;  // from 0, top row first
  int anchoEtiqueta;
};

// In the order of `kParametros`; the rows of the third frame differ from that order.
inline constexpr std::array<FilaEntrada, kNumParametros> kFilasEntrada{{
    {Campo::Uacr, 0, kAnchoEtiqueta},
    {Campo::tapr, 1, kAnchoEtiquetaLarga},
    {Campo::Nr, 2, kAnchoEtiqueta},
    {Campo::Idc, 3, kAnchoEtiqueta},
    {Campo::Rcr, 4, kAnchoEtiqueta},
    {Campo::Xcr, 5, kAnchoEtiqueta},
    {Campo::Uaci, 0, kAnchoEtiqueta},
    {Campo::tapi, 1, kAnchoEtiquetaLarga},
    {Campo::Ni, 2, kAnchoEtiqueta},
    {Campo::Vdci, 3, kAnchoEtiqueta},
    {Campo::Rci, 4, kAnchoEtiqueta},
    {Campo::Xci, 5, kAnchoEtiqueta},
    {Campo::Rdc, 0, kAnchoEtiqueta},
    {Campo::Vdcnom, 1, kAnchoEtiquetaLarga},
    {Campo::Eacr_nom, 2, kAnchoEtiqueta},
    {Campo::Eaci_nom, 4, kAnchoEtiqueta},
    {Campo::Uacr_nom, 3, kAnchoEtiqueta},
    {Campo::Uaci_nom, 5, kAnchoEtiqueta},
}};

// Result labels are 255 high and result fields 285, all placed on the window itself.
struct PosicionResultado {
  Campo campo;
  int izquierdaEtiqueta, arribaEtiqueta, anchoEtiqueta;
  int izquierdaCampo, arribaCampo, anchoCampo;
};

// In the order of `kResultados`.
inline constexpr std::array<PosicionResultado, kNumResultados> kPosicionesResultado{{
    {Campo::alpha, 2880, 5580, 615, 2880, 5880, 735},
    {Campo::mur, 2880, 6240, 495, 2880, 6480, 735},
    {Campo::tgphir, 240, 3660, 615, 240, 3960, 735},
    {Campo::gamma, 5040, 5580, 855, 5280, 5880, 735},
    {Campo::mui, 5280, 6240, 495, 5280, 6480, 735},
    {Campo::tgphii, 8640, 3660, 495, 8640, 3960, 735},
    {Campo::Vdcr, 3480, 3720, 855, 3480, 3960, 735},
    {Campo::Iacr, 1200, 3720, 735, 1200, 3960, 735},
    {Campo::Pr, 240, 5640, 615, 240, 5880, 855},
    {Campo::Qr, 240, 6360, 975, 240, 6600, 855},
    {Campo::Iaci, 7680, 3720, 615, 7680, 3960, 735},
    {Campo::Pi, 7680, 5520, 615, 7680, 5760, 855},
    {Campo::Qi, 7680, 6120, 975, 7680, 6360, 855},
}};

inline constexpr std::string_view kNombreEsquema = "Image1";
inline constexpr Rectangulo kEsquema{720, 4080, 8475, 2340};
// What a screen reader says of the picture.
inline constexpr std::string_view kNombreAccesibleEsquema = "Esquema del enlace";
inline constexpr std::string_view kDescripcionEsquema =
    "Un polo del enlace, de izquierda a derecha: la red de alterna emisora y su barra, el "
    "transformador del rectificador con su tap, el rectificador, la línea de continua con su "
    "resistencia y retorno por tierra, el inversor, el transformador del inversor con su tap, y "
    "la barra y la red de alterna receptora.";

struct DescripcionBoton {
  std::string_view nombre;
  std::string_view titulo;
  int izquierda;
};
inline constexpr int kArribaBoton = 7080;
inline constexpr int kAnchoBoton = 975;
inline constexpr int kAltoBoton = 495;
inline constexpr std::string_view kTituloSalir = "Salir";
inline constexpr std::array<DescripcionBoton, 3> kBotones{{
    {"cmdCalcular", "Calcular", 240},
    {"cmdValoresDefault", "Valores del inicio", 1440},
    {"cmdSalir", kTituloSalir, 2640},
}};

struct DescripcionMenu {
  std::string_view nombre;
  std::string_view titulo;
};
inline constexpr DescripcionMenu kMenuArchivo{"mnuArchivo", "Archivo"};
inline constexpr DescripcionMenu kMenuSalir{"mnuSalir", kTituloSalir};
inline constexpr DescripcionMenu kMenuAcercaDe{"mnuAcercaDe", "Acerca De..."};

// The 34 controls that take the focus, in the order of the Tab key; the first has it at open.
inline constexpr std::array<std::string_view, 34> kOrdenFoco{
    "txtUacr",     "txtTapr",     "txtNr",
    "txtIdc",      "txtRcr",      "txtXcr",
    "cmdCalcular", "txtXci",      "txtRci",
    "txtVdci",     "txtNi",       "txtTapi",
    "txtUaci",     "txtRdc",      "txtVdcnom",
    "txtEacr_nom", "txtUacr_nom", "txtEaci_nom",
    "txtUaci_nom", "txtGamma",    "txtIaci",
    "txtPi",       "txtQi",       "txtTgphii",
    "txtMui",      "txtQr",       "txtPr",
    "txtTgphir",   "txtAlpha",    "txtIacr",
    "txtMur",      "txtVdcr",     "cmdValoresDefault",
    "cmdSalir"};

}  // namespace zelk::ui
