#include "lote/pasada_salida.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "engine/calculo.h"
#include "engine/cifras.h"
#include "engine/detalle.h"
#include "engine/motivos.h"
#include "engine/pasada.h"
#include "lote/lectura.h"
#include "lote/tabla.h"

namespace zelk::lotes {

namespace {

std::string Crudo(double v) {
  char texto[32];
  const auto fin = std::to_chars(texto, texto + sizeof texto, v).ptr;
  return {texto, fin};
}

TextosEntrada Vistas(const std::array<std::string, kNumParametros>& textos) {
  TextosEntrada t;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    t[i] = textos[i];
  return t;
}

TextosControl VistasControl(const BaseControl& control) {
  TextosControl t;
  for (std::size_t i = 0; i < kNumControl; ++i)
    t[i] = control.textos[i];
  return t;
}

void Explicar(std::ostream& err, std::string_view antes, const std::vector<std::string>& motivos) {
  for (const auto& m : motivos)
    err << "zelk-calc: " << antes << m << '\n';
}

}  // namespace

void SalidaPasada::Palabra(std::string_view nombre, std::string_view texto) {
  entradas_.push_back(
      {std::string(nombre), Entrada::Tipo::Palabra, {}, std::string(texto), {}, {}});
}

void SalidaPasada::Numero(std::string_view nombre, const Resultado& valor, std::string texto) {
  entradas_.push_back(
      {std::string(nombre), Entrada::Tipo::Numero, valor, std::move(texto), {}, {}});
}

void SalidaPasada::Textos(std::string_view nombre, std::string_view linea,
                          std::vector<std::string> textos) {
  entradas_.push_back(
      {std::string(nombre), Entrada::Tipo::Textos, {}, {}, std::string(linea), std::move(textos)});
}

void SalidaPasada::Resultados(const ResultadosEnlace& r) {
  for (const auto& d : kResultados)
    Numero(d.nombre, r.*d.miembro, TextoResultado(r.*d.miembro, d, regional_));
}

void SalidaPasada::Detalle(const DatosEnlace& d) {
  const DetalleEnlace detalle = CalcularDetalle(d);
  for (const auto& e : kDetalle) {
    const Resultado& v = ValorDetalle(detalle, e);
    std::string texto = v ? NumeroConPatron(*v, *e.patron, regional_) : std::string(kMarcaError);
    if (v && !e.unidad.empty())
      texto += " " + std::string(e.unidad);
    Numero(e.nombre, v, std::move(texto));
  }
}

void SalidaPasada::Solucion(const SolucionControl& s) {
  Palabra(kColumnasControl[0], TextoModo(s.modo));
  for (const auto& e : kElegidos)
    Numero(e.nombre, s.datos.*e.miembro, TextoElegido(e, s.datos, regional_));
  Resultados(s.resultados);
  std::vector<std::string> avisos;
  for (std::size_t a = 0; a < kNumAvisos; ++a)
    if (Tiene(s.avisos, static_cast<Aviso>(a)))
      avisos.emplace_back(TextoAviso(static_cast<Aviso>(a)));
  Textos(kColumnaAvisos, "aviso", std::move(avisos));
}

std::string SalidaPasada::Texto() const {
  if (opciones_.json) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const auto& e : entradas_) {
      auto& v = j[e.nombre];
      if (e.tipo == Entrada::Tipo::Textos)
        v = e.textos;
      else if (e.tipo == Entrada::Tipo::Palabra || !opciones_.crudo)
        v = e.texto;
      else if (e.valor && std::isfinite(*e.valor))
        v = *e.valor;
    }
    return j.dump();
  }
  std::string s;
  for (const auto& e : entradas_) {
    if (e.tipo == Entrada::Tipo::Textos) {
      for (const auto& t : e.textos)
        if (!e.linea.empty())
          s.append(e.linea).append("\t").append(t).append("\n");
      continue;
    }
    s.append(e.nombre).push_back('\t');
    if (e.tipo == Entrada::Tipo::Numero && opciones_.crudo)
      s.append(e.valor ? Crudo(*e.valor) : std::string(kMarcaError));
    else
      s.append(e.texto);
    s.push_back('\n');
  }
  return s;
}

int PasadaSimple(const ConfiguracionRegional& r, std::span<const Asignacion> asignaciones,
                 const std::array<std::string, kNumParametros>& textos, OpcionesPasada opciones,
                 std::ostream& out, std::ostream& err) {
  FormularioMemoria form;
  const bool aceptada = PasadaTrasInicio(form, r, asignaciones);
  for (const auto& m : form.Mensajes())
    err << m << '\n';
  const TextosEntrada vistas = Vistas(textos);
  std::vector<std::string> motivos;
  // The data the pass ran on: the user's, or after a rejection the defaults it was reset to.
  DatosEnlace datos;
  if (aceptada) {
    datos = *LeerDatos(vistas, r);
  } else {
    motivos = MotivosDeRechazo(vistas, {}, r);
    for (const auto& p : kParametros)
      datos.*p.miembro = *TextoANumero(form.Ver(p.campo), r);
  }
  const ResultadosEnlace resultados = CalcularEnlace(datos);
  if (aceptada)
    motivos = Motivos(datos, resultados, r);
  SalidaPasada salida(r, opciones);
  // The texts the window shows, which the pass wrote into the form.
  for (const auto& d : kResultados)
    salida.Numero(d.nombre, resultados.*d.miembro, form.Ver(d.campo));
  if (opciones.detalle)
    salida.Detalle(datos);
  if (opciones.motivos && opciones.json)
    salida.Textos(kColumnaMotivos, {}, motivos);
  out << salida.Texto() << (opciones.json ? "\n" : "");
  Explicar(err, {}, motivos);
  return aceptada ? 0 : 3;
}

int PasadaControl(const std::array<std::string, kNumParametros>& base, const BaseControl& control,
                  const ConfiguracionRegional& r, OpcionesPasada opciones, std::ostream& out,
                  std::ostream& err) {
  const TextosEntrada textos = Vistas(base);
  const TextosControl textosControl = VistasControl(control);
  const Punto p = EvaluarControl(textos, textosControl, r);
  if (!p.control) {
    err << "zelk-calc: ERROR EN DATOS: "
        << (LeerDatos(textos, r) ? MotivoControl(textos, textosControl, r)
                                 : MotivosDeRechazo(textos, {}, r).front())
        << '\n';
    return 3;
  }
  const SolucionControl& s = p.control->solucion;
  const auto motivos = Motivos(s.datos, s.resultados, r);
  SalidaPasada salida(r, opciones);
  salida.Solucion(s);
  if (opciones.detalle)
    salida.Detalle(s.datos);
  if (opciones.motivos && opciones.json)
    salida.Textos(kColumnaMotivos, {}, motivos);
  out << salida.Texto() << (opciones.json ? "\n" : "");
  Explicar(err, {}, motivos);
  return 0;
}

int PasadaObjetivo(const std::array<std::string, kNumParametros>& base, const BaseControl& control,
                   const PeticionObjetivo& peticion, const ConfiguracionRegional& r,
                   OpcionesPasada opciones, std::ostream& out, std::ostream& err) {
  TextosEntrada textos = Vistas(base);
  const TextosControl textosControl = VistasControl(control);
  // The datum sought needs no usable text of its own: the values tried replace it.
  std::string provisional;
  if (peticion.variable.parametro != nullptr) {
    provisional = TextoDeCarga(*peticion.variable.parametro, r);
    textos[Indice(peticion.variable.parametro->campo)] = provisional;
  }
  std::optional<DatosControl> c;
  Punto p;
  if (control.dada) {
    TextosControl t = textosControl;
    std::string defecto;
    if (peticion.variable.control != nullptr) {
      defecto = TextoDeCarga(peticion.variable.control->valorDefault, r);
      t[static_cast<std::size_t>(peticion.variable.control - kControl.data())] = defecto;
    }
    const auto leido = LeerControl(t, r);
    p.datos = LeerDatos(textos, r);
    if (const auto* k = std::get_if<DatosControl>(&leido))
      c = *k;
    if (!p.datos || !c) {
      err << "zelk-calc: ERROR EN DATOS: "
          << (p.datos ? MotivoControl(textos, t, r) : MotivosDeRechazo(textos, {}, r).front())
          << "; no se busca ningún " << peticion.variable.Nombre() << '\n';
      return 3;
    }
  } else {
    p.datos = LeerDatos(textos, r);
    if (!p.datos) {
      err << "zelk-calc: ERROR EN DATOS: " << MotivosDeRechazo(textos, {}, r).front()
          << "; no se busca ningún " << peticion.variable.Nombre() << '\n';
      return 3;
    }
  }
  const Hallado h = BuscarObjetivo(peticion, *p.datos, c);
  if (!peticion.margen)
    err << "zelk-calc: nota: se busca " << TextoMargen(peticion, h.margen, r)
        << "; otro margen con --range MIN:MAX\n";
  if (h.busqueda.raices.empty()) {
    err << "zelk-calc: " << MotivoSinSolucion(peticion, h, r) << '\n';
    return 3;
  }
  const std::string dato(peticion.variable.Nombre());
  std::string salida = opciones.json ? "[" : "";
  for (std::size_t i = 0; i < h.busqueda.raices.size(); ++i) {
    const Raiz& raiz = h.busqueda.raices[i];
    if (raiz.hasta)
      err << "zelk-calc: nota: " << TextoTramo(peticion, raiz, r) << "; se da su comienzo\n";
    DatosEnlace d = *p.datos;
    std::optional<DatosControl> k = c;
    if (peticion.variable.parametro != nullptr)
      d.*peticion.variable.parametro->miembro = raiz.x;
    else
      (*k).*peticion.variable.control->miembro = raiz.x;
    SalidaPasada punto(r, opciones);
    const std::string valor = CifraCompleta(raiz.x, r);
    punto.Numero(dato, raiz.x, valor);
    std::vector<std::string> motivos;
    if (k) {
      const SolucionControl s = ResolverControl(d, *k);
      punto.Solucion(s);
      if (opciones.detalle)
        punto.Detalle(s.datos);
      motivos = Motivos(s.datos, s.resultados, r);
    } else {
      const ResultadosEnlace res = CalcularEnlace(d);
      punto.Resultados(res);
      if (opciones.detalle)
        punto.Detalle(d);
      motivos = Motivos(d, res, r);
    }
    if (opciones.motivos && opciones.json)
      punto.Textos(kColumnaMotivos, {}, motivos);
    if (opciones.json)
      salida.append(i == 0 ? "\n" : ",\n").append(punto.Texto());
    else
      salida.append(i == 0 ? "" : "\n").append(punto.Texto());
    Explicar(err, dato + " = " + valor + ": ", motivos);
  }
  if (opciones.json)
    salida.append("\n]\n");
  out << salida;
  return 0;
}

}  // namespace zelk::lotes
