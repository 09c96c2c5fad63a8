#include "engine/objetivo.h"

#include <algorithm>
#include <cmath>

#include "engine/calculo.h"
#include "engine/pasada.h"

namespace zelk {

namespace {

struct Muestra {
  double x;
  std::optional<double> y;
};

// Adjacent doubles, or as near as the halving goes.
bool Juntos(double a, double b) {
  const double medio = a + (b - a) / 2;
  return medio == a || medio == b;
}

// The edge between `dentro`, where f can be formed, and `fuera`, where it cannot: the last point
// on the side of `dentro`.
Muestra Borde(const FuncionObjetivo& f, Muestra dentro, double fuera) {
  for (int i = 0; i < 2200 && !Juntos(dentro.x, fuera); ++i) {
    const double medio = dentro.x + (fuera - dentro.x) / 2;
    const auto y = f(medio);
    if (y)
      dentro = {medio, y};
    else
      fuera = medio;
  }
  return dentro;
}

class Buscador {
 public:
  Buscador(const FuncionObjetivo& f, double valor, double tolerancia)
      : f_(f), valor_(valor), tolerancia_(tolerancia) {}

  Busqueda Buscar(double desde, double hasta) {
    if (desde > hasta)
      std::swap(desde, hasta);
    std::vector<Muestra> rejilla;
    for (int i = 0; i <= kTramosBusqueda; ++i) {
      const double t = static_cast<double>(i) / kTramosBusqueda;
      const double x = i == kTramosBusqueda ? hasta : desde + (hasta - desde) * t;
      if (!rejilla.empty() && x == rejilla.back().x)
        continue;  // a range narrower than the grid
      rejilla.push_back({x, f_(x)});
    }
    // The edges of where f can be formed, as points of their own.
    std::vector<Muestra> muestras;
    std::vector<bool> esBorde;
    for (std::size_t i = 0; i < rejilla.size(); ++i) {
      if (i > 0 && rejilla[i - 1].y.has_value() != rejilla[i].y.has_value()) {
        const bool antes = rejilla[i - 1].y.has_value();
        const Muestra b = antes ? Borde(f_, rejilla[i - 1], rejilla[i].x)
                                : Borde(f_, rejilla[i], rejilla[i - 1].x);
        if (b.x == rejilla[i - 1].x) {
          esBorde.back() = true;
        } else if (b.x == rejilla[i].x) {
          muestras.push_back(rejilla[i]);
          esBorde.push_back(true);
          continue;
        } else {
          muestras.push_back(b);
          esBorde.push_back(true);
        }
      }
      muestras.push_back(rejilla[i]);
      esBorde.push_back(false);
    }
    for (const auto& m : muestras)
      Anotar(m.y);
    muestras_ = &muestras;

    for (std::size_t i = 0; i < muestras.size(); ++i) {
      const Muestra& a = muestras[i];
      if (!a.y)
        continue;
      const double ga = *a.y - valor_;
      if (ga == 0) {
        Raiz(a.x);
      } else if (esBorde[i] && std::fabs(ga) <= tolerancia_) {
        Raiz(a.x);
      }
      if (i + 1 < muestras.size() && muestras[i + 1].y) {
        const Muestra& b = muestras[i + 1];
        const double gb = *b.y - valor_;
        if (ga == 0 && gb == 0)
          planos_.push_back({Extremo(i, true), Extremo(i + 1, false)});
        else if ((ga < 0 && gb > 0) || (ga > 0 && gb < 0))
          Acotar(a, b);
      }
      // A turn between three points: the least or greatest value, and the roots when it reaches
      // the value between them.
      if (i + 2 < muestras.size() && muestras[i + 1].y && muestras[i + 2].y) {
        const Muestra& q = muestras[i + 1];
        const Muestra& s = muestras[i + 2];
        const bool baja = *q.y < *a.y && *q.y < *s.y;
        const bool sube = *q.y > *a.y && *q.y > *s.y;
        if (baja || sube)
          Vuelta(a, q, s, baja);
      }
    }
    return Terminar(desde, hasta);
  }

 private:
  void Anotar(const std::optional<double>& y) {
    if (!y)
      return;
    busqueda_.minimo = busqueda_.minimo ? std::min(*busqueda_.minimo, *y) : *y;
    busqueda_.maximo = busqueda_.maximo ? std::max(*busqueda_.maximo, *y) : *y;
  }

  void Raiz(double x) { raices_.push_back(x); }

  // Where the value starts (`inicio`) or stops being held exactly, from the sample `i`, which
  // holds it, towards the sample before or after it when that one does not.
  double Extremo(std::size_t i, bool inicio) {
    const auto& m = *muestras_;
    double dentro = m[i].x;
    if (inicio ? i == 0 : i + 1 == m.size())
      return dentro;
    const Muestra& otro = m[inicio ? i - 1 : i + 1];
    if (otro.y && *otro.y == valor_)
      return dentro;
    double fuera = otro.x;
    for (int k = 0; k < 2200 && !Juntos(dentro, fuera); ++k) {
      const double medio = dentro + (fuera - dentro) / 2;
      const auto y = f_(medio);
      (y && *y == valor_ ? dentro : fuera) = medio;
    }
    return dentro;
  }

  // A root between a and b, where f - valor changes sign: false position with the Illinois
  // correction, halving whenever a step does not halve the bracket.
  void Acotar(Muestra a, Muestra b) {
    double ga = *a.y - valor_, gb = *b.y - valor_;
    int lado = 0;
    for (int i = 0; i < 400 && !Juntos(a.x, b.x); ++i) {
      const double ancho = b.x - a.x;
      double x = (i % 3 == 2) ? a.x + ancho / 2 : a.x - ga * ancho / (gb - ga);
      if (!(x > a.x && x < b.x))
        x = a.x + ancho / 2;
      auto y = f_(x);
      if (!y) {
        // Something the function cannot form inside the bracket: halve instead, once.
        x = a.x + ancho / 2;
        y = f_(x);
        if (!y)
          return;
      }
      Anotar(y);
      const double g = *y - valor_;
      if (g == 0) {
        Raiz(x);
        return;
      }
      if ((g < 0) == (ga < 0)) {
        a = {x, y};
        ga = g;
        if (lado == -1)
          gb /= 2;
        lado = -1;
      } else {
        b = {x, y};
        gb = g;
        if (lado == 1)
          ga /= 2;
        lado = 1;
      }
    }
    const double fa = *a.y, fb = *b.y;
    const Muestra mejor = std::fabs(fa - valor_) <= std::fabs(fb - valor_) ? a : b;
    const bool continua = std::fabs(fb - fa) <= 1e-9 * std::max(1.0, std::fabs(valor_));
    if (std::fabs(*mejor.y - valor_) <= tolerancia_ || (Juntos(a.x, b.x) && continua))
      Raiz(mejor.x);
  }

  // The turning point between a and s, by golden section; the roots on each side of it when it
  // crosses the value.
  void Vuelta(const Muestra& a, const Muestra& q, const Muestra& s, bool minimo) {
    constexpr double kOro = 0.6180339887498949;
    double lo = a.x, hi = s.x;
    const auto mejor = [&](const std::optional<double>& y1, const std::optional<double>& y2) {
      if (!y1 || !y2)
        return y1.has_value();
      return minimo ? *y1 < *y2 : *y1 > *y2;
    };
    double x1 = hi - kOro * (hi - lo), x2 = lo + kOro * (hi - lo);
    auto y1 = f_(x1), y2 = f_(x2);
    for (int i = 0; i < 80 && !Juntos(lo, hi); ++i) {
      if (mejor(y1, y2)) {
        hi = x2;
        x2 = x1;
        y2 = y1;
        x1 = hi - kOro * (hi - lo);
        y1 = f_(x1);
      } else {
        lo = x1;
        x1 = x2;
        y1 = y2;
        x2 = lo + kOro * (hi - lo);
        y2 = f_(x2);
      }
    }
    Muestra giro = q;
    for (const Muestra m : {Muestra{x1, y1}, Muestra{x2, y2}})
      if (m.y && (minimo ? *m.y < *giro.y : *m.y > *giro.y))
        giro = m;
    Anotar(giro.y);
    const double ga = *a.y - valor_, gq = *q.y - valor_, gs = *s.y - valor_;
    const bool mismoLado = (ga > 0 && gq > 0 && gs > 0) || (ga < 0 && gq < 0 && gs < 0);
    // Only a turn towards the value, from points on one side of it, hides roots from the grid.
    if (!mismoLado || (minimo ? gq < 0 : gq > 0))
      return;
    const double g = *giro.y - valor_;
    if (g == 0 || (minimo ? g < 0 : g > 0)) {
      if (g == 0) {
        Raiz(giro.x);
        return;
      }
      Acotar(a.x < giro.x ? a : giro, a.x < giro.x ? giro : a);
      Acotar(giro, s);
    } else if (std::fabs(g) <= tolerancia_) {
      Raiz(giro.x);
    }
  }

  Busqueda Terminar(double desde, double hasta) {
    std::sort(raices_.begin(), raices_.end());
    const double junto = 1e-12 * std::max(hasta - desde, std::fabs(hasta));
    // Flat stretches, joined where they meet.
    std::vector<std::pair<double, double>> planos;
    for (const auto& p : planos_) {
      if (!planos.empty() && planos.back().second == p.first)
        planos.back().second = p.second;
      else
        planos.push_back(p);
    }
    for (const double x : raices_) {
      const bool enPlano = std::any_of(planos.begin(), planos.end(), [&](const auto& p) {
        return x >= p.first && x <= p.second;
      });
      if (enPlano)
        continue;
      if (!busqueda_.raices.empty() && x - busqueda_.raices.back().x <= junto)
        continue;
      busqueda_.raices.push_back({x, std::nullopt});
    }
    for (const auto& p : planos)
      busqueda_.raices.push_back({p.first, p.second});
    std::sort(busqueda_.raices.begin(), busqueda_.raices.end(),
              [](const zelk::Raiz& a, const zelk::Raiz& b) { return a.x < b.x; });
    return std::move(busqueda_);
  }

  const FuncionObjetivo& f_;
  double valor_, tolerancia_;
  std::vector<double> raices_;
  std::vector<std::pair<double, double>> planos_;
  const std::vector<Muestra>* muestras_ = nullptr;
  Busqueda busqueda_;
};

// The range rules: factors of a reference (a datum, a control datum or the datum's own value), or
// fixed bounds.
struct Regla {
  std::string_view dato;
  double desde, hasta;
  double DatosEnlace::*referencia = nullptr;
  double DatosControl::*deControl = nullptr;
  bool propio = false;
  double siCero = 0;  // a range of 0 to this when the reference is 0
  std::string_view nombreReferencia = {};
};

constexpr std::string_view kDado = "el valor dado";

// clang-format off
constexpr Regla kReglas[] = {
    {"Uacr", 0.5, 1.5, &DatosEnlace::Uacr_nom, nullptr, false, 0, "Uacr_nom"},
    {"Uaci", 0.5, 1.5, &DatosEnlace::Uaci_nom, nullptr, false, 0, "Uaci_nom"},
    {"tapr", 0.5, 1.5},
    {"tapi", 0.5, 1.5},
    {"Nr", 1, 12},
    {"Ni", 1, 12},
    {"Idc", 0, 4, nullptr, nullptr, true, 10000, kDado},
    {"Vdci", -1.5, 1.5, &DatosEnlace::Vdcnom, nullptr, false, 0, "Vdcnom"},
    {"Vprog", 0.5, 1.5, nullptr, nullptr, true, 1000, kDado},
    {"consigna", 0, 2, nullptr, nullptr, true, 10000, kDado},
    {"margen", 0, 0.5},
    {"Vcmod", 0, 1, nullptr, &DatosControl::Vprog, false, 1000, "Vprog"},
    {"alpha_min", 0, 90},
    {"alpha_max", 0, 90},
    {"gamma_min", 0, 90},
    {"gamma_max", 0, 90},
    {"tapr_min", 0.5, 1.5},
    {"tapr_max", 0.5, 1.5},
    {"tapi_min", 0.5, 1.5},
    {"tapi_max", 0.5, 1.5},
    {"tapr_paso", 0.1, 10, nullptr, nullptr, true, 0.1, kDado},
    {"tapi_paso", 0.1, 10, nullptr, nullptr, true, 0.1, kDado},
};
// The nominal values, and the resistances and reactances.
constexpr Regla kReglaNominal{"", 0.5, 1.5, nullptr, nullptr, true, 1000, kDado};
constexpr Regla kReglaImpedancia{"", 0, 4, nullptr, nullptr, true, 100, kDado};
// clang-format on

const Regla& ReglaDe(Variable v) {
  const std::string_view nombre = v.Nombre();
  for (const auto& r : kReglas)
    if (r.dato == nombre)
      return r;
  if (nombre.ends_with("_nom") || nombre == "Vdcnom")
    return kReglaNominal;
  return kReglaImpedancia;
}

}  // namespace

Busqueda BuscarRaices(const FuncionObjetivo& f, double desde, double hasta, double valor,
                      double tolerancia) {
  return Buscador(f, valor, tolerancia).Buscar(desde, hasta);
}

std::string_view Variable::Nombre() const {
  return parametro != nullptr ? parametro->nombre : control->nombre;
}

std::string_view Objetivo::Nombre() const {
  return resultado != nullptr ? resultado->nombre : elegido->nombre;
}

double Objetivo::Tolerancia(double valor) const {
  const Patron* patron = resultado != nullptr ? resultado->patron : elegido->patron;
  if (patron != nullptr)
    return 0.5 * std::pow(10.0, -patron->decimales);
  // The general form: 15 significant digits.
  const double a = std::fabs(valor);
  return a > 0 && std::isfinite(a) ? 0.5 * std::pow(10.0, std::floor(std::log10(a)) - 14) : 0;
}

std::optional<double> ValorObjetivo(DatosEnlace d, const std::optional<DatosControl>& c, Variable v,
                                    double x, Objetivo o) {
  std::optional<DatosControl> control = c;
  if (v.parametro != nullptr)
    d.*v.parametro->miembro = x;
  else if (control && v.control->miembro != nullptr)
    (*control).*v.control->miembro = x;
  if (!DatosAceptables(d))
    return std::nullopt;
  Resultado r;
  if (control) {
    if (ComprobarControl(*control, d.Rdc))
      return std::nullopt;
    const SolucionControl s = ResolverControl(d, *control);
    r = o.resultado != nullptr ? s.resultados.*o.resultado->miembro
                               : Resultado(s.datos.*o.elegido->miembro);
  } else if (o.resultado != nullptr) {
    r = CalcularEnlace(d).*o.resultado->miembro;
  }
  if (r && !std::isfinite(*r))
    return std::nullopt;
  return r;
}

Margen MargenPorDefecto(Variable v, const DatosEnlace& d, const DatosControl& c) {
  const Regla& r = ReglaDe(v);
  double referencia = 1;
  if (r.referencia != nullptr)
    referencia = d.*r.referencia;
  else if (r.deControl != nullptr)
    referencia = c.*r.deControl;
  else if (r.propio)
    referencia = v.parametro != nullptr ? d.*v.parametro->miembro : c.*v.control->miembro;
  if (referencia == 0 || !std::isfinite(referencia))
    return {0, r.siCero};
  const double a = r.desde * referencia, b = r.hasta * referencia;
  return {std::min(a, b), std::max(a, b)};
}

std::string ReglaDelMargen(Variable v, const ConfiguracionRegional& r) {
  const Regla& regla = ReglaDe(v);
  std::string texto = NumeroATexto(regla.desde, r) + " a " + NumeroATexto(regla.hasta, r);
  if (regla.nombreReferencia.empty())
    return texto;
  texto += " veces " + std::string(regla.nombreReferencia);
  if (regla.siCero > 0)
    texto += ", o 0 a " + NumeroATexto(regla.siCero, r) + " si es 0";
  return texto;
}

}  // namespace zelk
