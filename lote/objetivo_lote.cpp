#include "lote/objetivo_lote.h"

#include <cmath>

#include "engine/calculo.h"
#include "lote/control_lote.h"
#include "lote/lectura.h"
#include "lote/tabla.h"

namespace zelk::lotes {

namespace {

std::string Lista(bool conControl) {
  std::string nombres;
  for (const auto& d : kResultados)
    nombres += (nombres.empty() ? "" : ", ") + std::string(d.nombre);
  if (conControl)
    for (const auto& e : kElegidos)
      nombres += ", " + std::string(e.nombre);
  return nombres;
}

const Patron* PatronDe(const Objetivo& o) {
  return o.resultado != nullptr ? o.resultado->patron : o.elegido->patron;
}

// A value of the result as it is shown.
std::string TextoValor(const Objetivo& o, double v, const ConfiguracionRegional& r) {
  const Patron* patron = PatronDe(o);
  return patron != nullptr ? NumeroConPatron(v, *patron, r) : NumeroATexto(v, r);
}

}  // namespace

std::variant<PeticionObjetivo, std::string> ComprobarObjetivo(
    std::string_view resultado, double valor, std::string_view dato, std::optional<Margen> margen,
    bool conControl, const ConfiguracionRegional& r, NombresObjetivo nombres) {
  PeticionObjetivo p;
  const std::string objetivo(nombres.objetivo), variar(nombres.variar), tramo(nombres.margen);
  p.objetivo.resultado = BuscarResultado(resultado);
  if (p.objetivo.resultado == nullptr && conControl)
    for (const auto& e : kElegidos)
      if (e.nombre == resultado)
        p.objetivo.elegido = &e;
  if (p.objetivo.resultado == nullptr && p.objetivo.elegido == nullptr)
    return objetivo + ": «" + std::string(resultado) + "» no es un resultado; los resultados son " +
           Lista(conControl) +
           (conControl ? "" : " (y con datos de control, tapr, tapi, Idc y Vdci elegidos)");
  if (!std::isfinite(valor))
    return objetivo + ": " + std::string(resultado) + " ha de ser un número finito";
  p.valor = valor;
  p.variable.parametro = BuscarParametro(dato);
  p.variable.control = p.variable.parametro == nullptr ? BuscarControl(dato) : nullptr;
  if (p.variable.parametro == nullptr && p.variable.control == nullptr)
    return variar + ": no hay ningún dato «" + std::string(dato) + "»";
  if (p.variable.control != nullptr && p.variable.control->miembro == nullptr)
    return variar + ": «" + std::string(dato) + "» no es un número";
  if (p.variable.control != nullptr && !conControl)
    return variar + ": " + std::string(dato) + " es un dato de control y no se da ninguno";
  if (conControl && p.variable.parametro != nullptr)
    if (const auto motivo = DatoFijadoPorElControl(*p.variable.parametro))
      return variar + ": " + *motivo;
  if (margen) {
    if (!std::isfinite(margen->minimo) || !std::isfinite(margen->maximo) ||
        margen->minimo > margen->maximo)
      return tramo + ": MIN y MAX son números finitos y MIN <= MAX, no " +
             NumeroATexto(margen->minimo, r) + " y " + NumeroATexto(margen->maximo, r);
    p.margen = margen;
  }
  return p;
}

std::variant<PeticionObjetivo, std::string> LeerObjetivo(std::string_view objetivo,
                                                         std::string_view variar,
                                                         std::string_view margen, bool conControl,
                                                         const ConfiguracionRegional& r,
                                                         NombresObjetivo nombres) {
  const std::string nombre(nombres.objetivo);
  const auto igual = objetivo.find('=');
  if (igual == std::string_view::npos || igual == 0)
    return nombre + ": se espera RESULTADO=VALOR, no «" + std::string(objetivo) + "»";
  std::string error;
  const auto valor = LeerNumero(objetivo.substr(igual + 1), r, error);
  if (!valor)
    return nombre + ": " + error;
  std::optional<Margen> tramo;
  if (!margen.empty()) {
    const auto dos = margen.find(':');
    if (dos == std::string_view::npos)
      return std::string(nombres.margen) + ": se espera MIN:MAX, no «" + std::string(margen) + "»";
    const auto minimo = LeerNumero(margen.substr(0, dos), r, error);
    const auto maximo = minimo ? LeerNumero(margen.substr(dos + 1), r, error) : minimo;
    if (!minimo || !maximo)
      return std::string(nombres.margen) + ": " + error;
    tramo = Margen{*minimo, *maximo};
  }
  return ComprobarObjetivo(objetivo.substr(0, igual), *valor, variar, tramo, conControl, r,
                           nombres);
}

std::optional<std::string> ObjetivoConControl(const PeticionObjetivo& p, bool conControl,
                                              NombresObjetivo nombres) {
  const auto otra = ComprobarObjetivo(p.objetivo.Nombre(), p.valor, p.variable.Nombre(), p.margen,
                                      conControl, ConfiguracionRegional::EstadosUnidos(), nombres);
  if (const auto* motivo = std::get_if<std::string>(&otra))
    return *motivo;
  return std::nullopt;
}

Hallado BuscarObjetivo(const PeticionObjetivo& p, const DatosEnlace& d,
                       const std::optional<DatosControl>& c) {
  const Margen m =
      p.margen ? *p.margen : MargenPorDefecto(p.variable, d, c.value_or(DatosControl{}));
  const FuncionObjetivo f = [&](double x) {
    return ValorObjetivo(d, c, p.variable, x, p.objetivo);
  };
  return {BuscarRaices(f, m.minimo, m.maximo, p.valor, p.objetivo.Tolerancia(p.valor)), m};
}

std::string MotivoSinSolucion(const PeticionObjetivo& p, const Hallado& h,
                              const ConfiguracionRegional& r) {
  const std::string dato(p.variable.Nombre()), resultado(p.objetivo.Nombre());
  const std::string entre =
      " entre " + NumeroATexto(h.margen.minimo, r) + " y " + NumeroATexto(h.margen.maximo, r);
  if (!h.busqueda.minimo)
    return resultado + " no se puede formar con ningún " + dato + entre;
  return "ningún " + dato + entre + " da " + resultado + " = " +
         TextoValor(p.objetivo, p.valor, r) + "; " + resultado + " va de " +
         TextoValor(p.objetivo, *h.busqueda.minimo, r) + " a " +
         TextoValor(p.objetivo, *h.busqueda.maximo, r) + " en ese margen";
}

std::string TextoTramo(const PeticionObjetivo& p, const Raiz& raiz,
                       const ConfiguracionRegional& r) {
  return std::string(p.objetivo.Nombre()) + " = " + TextoValor(p.objetivo, p.valor, r) + " con " +
         std::string(p.variable.Nombre()) + " de " + NumeroATexto(raiz.x, r) + " a " +
         NumeroATexto(raiz.hasta.value_or(raiz.x), r);
}

std::string TextoMargen(const PeticionObjetivo& p, const Margen& m,
                        const ConfiguracionRegional& r) {
  return std::string(p.variable.Nombre()) + " entre " + NumeroATexto(m.minimo, r) + " y " +
         NumeroATexto(m.maximo, r) + " (" + ReglaDelMargen(p.variable, r) + ")";
}

void ResolverPunto(Punto& p, const PeticionObjetivo& peticion, const ConfiguracionRegional& r,
                   std::string* motivo) {
  if (!p.datos)
    return;
  DatosEnlace d = *p.datos;
  std::optional<DatosControl> c;
  if (p.control)
    c = p.control->datos;
  const Hallado h = BuscarObjetivo(peticion, d, c);
  if (h.busqueda.raices.empty()) {
    p.sinSolucion = true;
    p.resultados = {};
    p.control.reset();
    if (motivo != nullptr)
      *motivo = MotivoSinSolucion(peticion, h, r);
    return;
  }
  const double x = h.busqueda.raices.front().x;
  p.resuelto = x;
  if (peticion.variable.parametro != nullptr)
    d.*peticion.variable.parametro->miembro = x;
  else
    (*c).*peticion.variable.control->miembro = x;
  p.datos = d;
  if (c) {
    p.control = PuntoControl{*c, ResolverControl(d, *c)};
    p.resultados = p.control->solucion.resultados;
  } else {
    p.resultados = CalcularEnlace(d);
  }
}

std::string ColumnaResuelta(const PeticionObjetivo& p, bool conControl) {
  const auto* par = p.variable.parametro;
  if (conControl && par != nullptr &&
      (par->miembro == &DatosEnlace::tapr || par->miembro == &DatosEnlace::tapi))
    return std::string(par->nombre) + std::string(kSufijoInicial);
  return std::string(p.variable.Nombre());
}

}  // namespace zelk::lotes
