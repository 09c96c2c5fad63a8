#include "engine/motivos.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>

#include "engine/calculo.h"
#include "engine/cifras.h"
#include "engine/pasada.h"

namespace zelk {

namespace {

using Miembro = double DatosEnlace::*;
using DeResultado = Resultado ResultadosEnlace::*;

const DescripcionParametro& Parametro(Miembro m) {
  const auto* p = std::find_if(kParametros.begin(), kParametros.end(),
                               [&](const DescripcionParametro& x) { return x.miembro == m; });
  return *p;
}

const DescripcionResultado& DeUn(DeResultado m) {
  const auto* d = std::find_if(kResultados.begin(), kResultados.end(),
                               [&](const DescripcionResultado& x) { return x.miembro == m; });
  return *d;
}

std::string Nombre(DeResultado m) {
  return std::string(DeUn(m).nombre);
}

// How a datum is moved to look for the values that form a result: by factors (it keeps its sign
// and never reaches 0), by sums, or by sums that stop at 0.
enum class Escala { Producto, Suma, HastaCero };
struct Ajuste {
  Miembro miembro;
  Escala escala;
  int decimales;  // the fewest a bound is written with
};

bool Formable(DatosEnlace d, Miembro m, double x, DeResultado res) {
  d.*m = x;
  return DatosAceptables(d) && (CalcularEnlace(d).*res).has_value();
}

// The formable value of a datum nearest its own, looked for on both sides: the first one met with
// steps that double, then the edge between it and the last one that does not form, by halving.
std::optional<double> Frontera(const DatosEnlace& d, const Ajuste& a, DeResultado res) {
  const double x0 = d.*a.miembro;
  std::optional<double> mejor;
  for (const double sentido : {-1.0, 1.0}) {
    double fuera = x0;
    std::optional<double> dentro;
    for (int k = 0; k < 48 && !dentro; ++k) {
      const double paso = 1e-4 * std::ldexp(1.0, k);
      double x = a.escala == Escala::Producto ? x0 * std::exp(sentido * paso)
                                              : x0 + sentido * std::max(std::fabs(x0), 1.0) * paso;
      const bool cruza = a.escala == Escala::HastaCero && (x0 >= 0 ? x < 0 : x > 0);
      if (cruza)
        x = 0;
      if (!std::isfinite(x))
        break;
      if (Formable(d, a.miembro, x, res))
        dentro = x;
      else
        fuera = x;
      if (cruza || x == 0)
        break;
    }
    if (!dentro)
      continue;
    double borde = *dentro;
    // To a part in 10^13: the bound is written with fewer digits, on its formable side.
    for (int i = 0; i < 2200; ++i) {
      const double medio = fuera + (borde - fuera) / 2;
      if (medio == fuera || medio == borde ||
          std::fabs(borde - fuera) <= 1e-13 * std::max(std::fabs(borde), 1e-300))
        break;
      (Formable(d, a.miembro, medio, res) ? borde : fuera) = medio;
    }
    if (!mejor || std::fabs(borde - x0) < std::fabs(*mejor - x0))
      mejor = borde;
  }
  return mejor;
}

// "tapr ≤ 0,9999 p.u.": the bound written with the fewest decimals that still form the result
// when the text is typed.
std::optional<std::string> TextoAjuste(const DatosEnlace& d, const Ajuste& a, DeResultado res,
                                       const ConfiguracionRegional& r) {
  const auto borde = Frontera(d, a, res);
  if (!borde)
    return std::nullopt;
  const double x0 = d.*a.miembro;
  const bool sube = *borde > x0;
  std::string cifra = CifraCompleta(*borde, r);
  for (int dec = a.decimales; dec <= kDecimalesMaximos; ++dec) {
    std::string t = CifraHacia(*borde, dec, sube, r);
    const auto v = TextoANumero(t, r);
    if (v && (sube ? *v > x0 : *v < x0) && Formable(d, a.miembro, *v, res)) {
      cifra = std::move(t);
      break;
    }
  }
  const auto& p = Parametro(a.miembro);
  const auto unidad = Unidad(p.titulo);
  return std::string(p.nombre) + (sube ? " ≥ " : " ≤ ") + cifra +
         (unidad.empty() ? "" : " " + std::string(unidad));
}

// "; se forma con tapr ≤ 0,9999 p.u., Uacr ≥ 500,01 kV o Idc ≤ 1599,9 A", or nothing when no
// datum alone forms it.
std::string Remedios(const DatosEnlace& d, std::span<const Ajuste> ajustes, DeResultado res,
                     const ConfiguracionRegional& r) {
  std::vector<std::string> textos;
  for (const auto& a : ajustes)
    if (auto t = TextoAjuste(d, a, res, r))
      textos.push_back(std::move(*t));
  if (textos.empty())
    return {};
  std::string s = "; se forma con ";
  for (std::size_t i = 0; i < textos.size(); ++i) {
    if (i > 0)
      s += i + 1 == textos.size() ? " o " : ", ";
    s += textos[i];
  }
  return s;
}

std::string Desborda(std::string_view que) {
  return std::string(que) +
         " se sale de los números representables: los datos son demasiado grandes o demasiado "
         "pequeños";
}

std::string Sigue(DeResultado res, DeResultado raiz) {
  return Nombre(res) + ": ERROR porque " + Nombre(raiz) + " lo es";
}

// One converter end as the explanations name it.
struct Lado {
  bool inversor;
  DeResultado angulo, solape, razon, P, Q, corriente;
  Miembro tap, U, N, Xc, Rc, Enom, Unom;
  std::string_view griego, extremo, Vd, E;
};

constexpr Lado kRectificador{false,
                             &ResultadosEnlace::alpha,
                             &ResultadosEnlace::mur,
                             &ResultadosEnlace::tgphir,
                             &ResultadosEnlace::Pr,
                             &ResultadosEnlace::Qr,
                             &ResultadosEnlace::Iacr,
                             &DatosEnlace::tapr,
                             &DatosEnlace::Uacr,
                             &DatosEnlace::Nr,
                             &DatosEnlace::Xcr,
                             &DatosEnlace::Rcr,
                             &DatosEnlace::Eacr_nom,
                             &DatosEnlace::Uacr_nom,
                             "α",
                             "el rectificador",
                             "Vdcr",
                             "Eacr"};
constexpr Lado kInversor{true,
                         &ResultadosEnlace::gamma,
                         &ResultadosEnlace::mui,
                         &ResultadosEnlace::tgphii,
                         &ResultadosEnlace::Pi,
                         &ResultadosEnlace::Qi,
                         &ResultadosEnlace::Iaci,
                         &DatosEnlace::tapi,
                         &DatosEnlace::Uaci,
                         &DatosEnlace::Ni,
                         &DatosEnlace::Xci,
                         &DatosEnlace::Rci,
                         &DatosEnlace::Eaci_nom,
                         &DatosEnlace::Uaci_nom,
                         "γ",
                         "el inversor",
                         "Vdci",
                         "Eaci"};

std::string_view NombreDe(Miembro m) {
  return Parametro(m).nombre;
}

Resultado Eac(const DatosEnlace& d, const Lado& l) {
  return l.inversor ? EaciVoltios(d) : EacrVoltios(d);
}

std::string TextoEac(const Lado& l) {
  return std::string(l.E) + " = " + std::string(NombreDe(l.U)) + "·" +
         std::string(NombreDe(l.Enom)) + "/" + std::string(NombreDe(l.Unom)) + "/" +
         std::string(NombreDe(l.tap));
}

// The earliest result whose ERROR makes `res` one.
DeResultado Raiz(const ResultadosEnlace& x, DeResultado res) {
  const auto dependencias = [](DeResultado m) -> std::vector<DeResultado> {
    using R = ResultadosEnlace;
    if (m == &R::alpha)
      return {&R::Vdcr};
    if (m == &R::mur)
      return {&R::alpha};
    if (m == &R::tgphir)
      return {&R::mur};
    if (m == &R::mui)
      return {&R::gamma};
    if (m == &R::tgphii)
      return {&R::mui};
    if (m == &R::Pr)
      return {&R::Vdcr};
    if (m == &R::Qr)
      return {&R::Pr, &R::tgphir};
    if (m == &R::Qi)
      return {&R::Pi, &R::tgphii};
    return {};
  };
  for (const auto dep : dependencias(res))
    if (!(x.*dep))
      return Raiz(x, dep);
  return res;
}

std::string MotivoAngulo(const DatosEnlace& d, const Lado& l, const ConfiguracionRegional& r) {
  const std::string nombre = Nombre(l.angulo) + ": ";
  const Resultado E = Eac(d, l);
  if (!E)
    return nombre + Desborda(TextoEac(l));
  const Resultado c = l.inversor ? CosenoGamma(d) : CosenoAlpha(d);
  if (!c || !std::isfinite(*c))
    return nombre + "cos " + std::string(l.griego) + " no es un número finito (" +
           std::string(l.E) + " = " + CifraCompleta(*E / 1000, r) +
           " kV): los datos son demasiado grandes o demasiado pequeños";
  const bool sobre = *c > 1;
  const double unidad = sobre ? 1 : -1;
  std::string s = nombre + "cos " + std::string(l.griego) + " = " +
                  CifraDistinta(*c, unidad, 2, r) + (sobre ? " > 1" : " < -1");
  const Resultado tope = l.inversor ? VdciConCoseno(d, unidad) : VdcrConCoseno(d, unidad);
  const double pedido = l.inversor ? d.Vdci : *VdcrVoltios(d) / 1000;
  if (tope && std::isfinite(*tope / 1000)) {
    const double limite = *tope / 1000;
    const bool maximo = pedido > limite;
    std::string textoPedido, textoLimite;
    for (int dec = 2; dec <= kDecimalesMaximos; ++dec) {
      textoPedido = CifraConDecimales(pedido, dec, r);
      textoLimite = CifraHacia(limite, dec, !maximo, r);
      if (textoPedido != textoLimite)
        break;
    }
    s += ": " + std::string(l.extremo) + (maximo ? " no da " : " no baja a ") + std::string(l.Vd) +
         " = " + textoPedido + " kV con este tap; su " + (maximo ? "máximo" : "mínimo") + ", a " +
         std::string(l.griego) + " = " + (sobre ? "0" : "180°") + ", es " + textoLimite + " kV";
  }
  const std::array<Ajuste, 4> ajustes{{{l.tap, Escala::Producto, 4},
                                       {l.U, Escala::Producto, 2},
                                       {&DatosEnlace::Vdci, Escala::Suma, 2},
                                       {&DatosEnlace::Idc, Escala::HastaCero, 1}}};
  return s + Remedios(d, ajustes, l.angulo, r);
}

std::string MotivoSolape(const DatosEnlace& d, const ResultadosEnlace& x, const Lado& l,
                         const ConfiguracionRegional& r) {
  if (!(x.*l.angulo))
    return Sigue(l.solape, Raiz(x, l.solape));
  const std::string nombre = Nombre(l.solape) + ": ";
  const Resultado E = Eac(d, l);
  const Resultado c = l.inversor ? CosenoGamma(d) : CosenoAlpha(d);
  const Resultado cs = CosenoSuma(PasoAngulo(*c, 0), d.Idc, d.*l.Xc, E);
  const std::string g(l.griego);
  if (!cs)
    return nombre + Desborda("√2·Idc·" + std::string(NombreDe(l.Xc)) + "/" + std::string(l.E));
  const bool abajo = *cs < -1;
  std::string s = nombre + "cos(" + g + " + μ) = " + CifraDistinta(*cs, abajo ? -1 : 1, 2, r) +
                  (abajo ? " < -1" : " > 1");
  const std::string xc(NombreDe(l.Xc));
  if (abajo) {
    const double caida = std::sqrt(2.0) * d.Idc * d.*l.Xc / 1000;
    const double cabe = (1 + *c) * *E / 1000;
    std::string textoCabe;
    const std::string textoCaida = CifraDistinta(caida, cabe, 2, r, &textoCabe);
    s += ": la conmutación no termina antes de " + g + " + μ = 180°: la caída √2·Idc·" + xc +
         " = " + textoCaida + " kV supera (1 + cos " + g + ")·" + std::string(l.E) + " = " +
         textoCabe + " kV";
  } else {
    s += ": con Idc·" + xc + " < 0 el solape sería negativo y mayor que " + g;
  }
  const std::array<Ajuste, 4> ajustes{{{&DatosEnlace::Idc, Escala::HastaCero, 1},
                                       {l.Xc, Escala::HastaCero, 3},
                                       {l.tap, Escala::Producto, 4},
                                       {l.U, Escala::Producto, 2}}};
  return s + Remedios(d, ajustes, l.solape, r);
}

std::string MotivoRazon(const DatosEnlace& d, const ResultadosEnlace& x, const Lado& l,
                        const ConfiguracionRegional& r) {
  if (!(x.*l.angulo) || !(x.*l.solape))
    return Sigue(l.razon, Raiz(x, l.razon));
  const std::string nombre = Nombre(l.razon) + ": ";
  const std::string g(l.griego);
  const double a = *PasoAngulo(*(l.inversor ? CosenoGamma(d) : CosenoAlpha(d)), 0);
  const double m = *PasoAngulo(*CosenoSuma(a, d.Idc, d.*l.Xc, Eac(d, l)), a);
  const double denominador = std::cos(2 * a) - std::cos(2 * (m + a));
  if (denominador != 0)
    return nombre + "Q/P se sale de los números representables: el denominador cos 2" + g +
           " − cos 2(" + g + " + μ) = " + CifraCompleta(denominador, r) + " es casi 0";
  if (m != 0)
    return nombre + "cos 2" + g + " = cos 2(" + g + " + μ): la fórmula exacta de Q/P divide por 0";
  const std::string xc(NombreDe(l.Xc));
  std::string s =
      nombre + "sin solape (μ = 0, " +
      (d.Idc * d.*l.Xc == 0 ? "pues Idc·" + xc + " = 0"
                            : "pues Idc·" + xc + " es despreciable frente a " + std::string(l.E)) +
      ") la fórmula exacta de Q/P da 0/0; sin solape, Q/P valdría tg " + g + " = " +
      NumeroConPatron(std::tan(a), *DeUn(l.razon).patron, r);
  std::vector<std::string> ceros;
  if (d.Idc == 0)
    ceros.emplace_back("Idc");
  if (d.*l.Xc == 0)
    ceros.push_back(xc);
  for (std::size_t i = 0; i < ceros.size(); ++i)
    s += (i == 0 ? "; se forma con " : " y ") + ceros[i] + " ≠ 0";
  return s;
}

// Why one result is ERROR.
std::string MotivoDe(const DatosEnlace& d, const ResultadosEnlace& x, DeResultado res,
                     const ConfiguracionRegional& r) {
  if (const DeResultado raiz = Raiz(x, res); raiz != res)
    return Sigue(res, raiz);
  const std::string nombre = Nombre(res) + ": ";
  for (const Lado* l : {&kRectificador, &kInversor}) {
    if (res == l->angulo)
      return MotivoAngulo(d, *l, r);
    if (res == l->solape)
      return MotivoSolape(d, x, *l, r);
    if (res == l->razon)
      return MotivoRazon(d, x, *l, r);
    if (res == l->corriente) {
      const bool relacion = !std::isfinite(d.*l->Enom / d.*l->Unom);
      return nombre + Desborda(relacion ? std::string(NombreDe(l->Enom)) + "/" +
                                              std::string(NombreDe(l->Unom))
                                        : "(√6/π)·" + std::string(NombreDe(l->N)) + "·Idc·" +
                                              std::string(NombreDe(l->Enom)) + "/" +
                                              std::string(NombreDe(l->Unom)) + "/" +
                                              std::string(NombreDe(l->tap)));
    }
    if (res == l->Q)
      return nombre + Desborda(Nombre(l->P) + "·" + Nombre(l->razon));
  }
  if (res == &ResultadosEnlace::Vdcr)
    return nombre + Desborda("Vdci·1000 + Idc·Rdc");
  if (res == &ResultadosEnlace::Pr)
    return nombre + Desborda("Vdcr·Idc");
  return nombre + Desborda("Vdci·Idc");  // Pi
}

// "1,5" for a bound, under the user's settings.
std::string Tope(double v, const ConfiguracionRegional& r) {
  return NumeroATexto(v, r);
}

}  // namespace

std::vector<std::string> MotivosDeError(const DatosEnlace& d, const ResultadosEnlace& res,
                                        const ConfiguracionRegional& r) {
  std::vector<std::string> motivos;
  for (const auto& desc : kResultados)
    if (!(res.*desc.miembro))
      motivos.push_back(MotivoDe(d, res, desc.miembro, r));
  return motivos;
}

std::vector<std::string> AvisosDelModelo(const DatosEnlace& d, const ResultadosEnlace& res,
                                         const ConfiguracionRegional& r) {
  std::vector<std::string> avisos;
  for (const Lado* l : {&kRectificador, &kInversor}) {
    const std::string n(NombreDe(l->N));
    const double N = d.*l->N;
    if (!(N > 0) || N != std::floor(N))
      avisos.push_back(n + " = " + NumeroATexto(N, r) +
                       ": el número de puentes en serie es un entero positivo; se calcula como si "
                       "fueran " +
                       NumeroATexto(N, r));
    const double tap = d.*l->tap;
    if (tap < kTapHabitualMin || tap > kTapHabitualMax)
      avisos.push_back(std::string(NombreDe(l->tap)) + " = " + NumeroATexto(tap, r) +
                       ": fuera de " + Tope(kTapHabitualMin, r) + " a " + Tope(kTapHabitualMax, r) +
                       ", poco habitual");
    const auto& angulo = DeUn(l->angulo);
    if (const Resultado a = res.*l->angulo; a && *a < kAnguloHabitual)
      avisos.push_back(std::string(angulo.nombre) + " = " +
                       CifraDistinta(*a, kAnguloHabitual, angulo.patron->decimales, r) +
                       "°: por debajo de " + Tope(kAnguloHabitual, r) + "°, poco habitual" +
                       (l->inversor ? " (con tan poco margen el inversor arriesga fallos de "
                                      "conmutación)"
                                    : ""));
    const auto& solape = DeUn(l->solape);
    if (const Resultado m = res.*l->solape; m && (*m >= kSolapeMaximo || *m < 0)) {
      const std::string nombre(solape.nombre);
      if (*m < 0)
        avisos.push_back(nombre + " = " + TextoResultado(m, solape, r) +
                         "°: un solape negativo (Idc·" + std::string(NombreDe(l->Xc)) +
                         " < 0) está fuera del modelo");
      else
        avisos.push_back(nombre + " = " + TextoResultado(m, solape, r) + "°: con un solape de " +
                         Tope(kSolapeMaximo, r) +
                         "° o más conducen más de tres válvulas a la vez, y el modelo (dos y tres "
                         "alternadas) no vale: las cifras no significan nada");
    }
  }
  return avisos;
}

std::vector<std::string> Motivos(const DatosEnlace& d, const ResultadosEnlace& res,
                                 const ConfiguracionRegional& r) {
  std::vector<std::string> todos = MotivosDeError(d, res, r);
  for (auto& a : AvisosDelModelo(d, res, r))
    todos.push_back(std::string(kPrefijoAviso) + a);
  return todos;
}

}  // namespace zelk
