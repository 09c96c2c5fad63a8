#include "lote/caso_estudio.h"

#include "engine/calculo.h"
#include "engine/motivos.h"
#include "lote/control_lote.h"
#include "lote/lectura.h"
#include "lote/pasada_salida.h"
#include "lote/tabla.h"

namespace zelk::lotes {

namespace {

constexpr std::string_view kNoPuedeValerCero = "no puede valer 0";

std::size_t IndiceControl(const DescripcionControl& d) {
  return static_cast<std::size_t>(&d - kControl.data());
}

std::string Comillado(std::string_view t) {
  return "«" + std::string(t) + "»";
}

}  // namespace

bool DatoUsado(const Estudio& e, const DescripcionParametro& p) {
  return !e.control || !DatoFijadoPorElControl(p);
}

EvaluacionCaso EvaluarCaso(const Estudio& e, const ConfiguracionRegional& r) {
  EvaluacionCaso c;
  DatosEnlace d;
  for (std::size_t i = 0; i < kNumParametros; ++i) {
    const auto& p = kParametros[i];
    if (!DatoUsado(e, p))
      continue;
    const std::string& texto = e.datos[i];
    const auto v = NumeroDeHoja(texto, r);
    if (!v)
      c.motivosDatos[i] = NoEsNumero(texto, r, false);
    else if (p.pruebaCero && *v == 0)
      c.motivosDatos[i] = std::string(kNoPuedeValerCero);
    else
      d.*p.miembro = *v;
    if (c.motivo.empty() && !c.motivosDatos[i].empty())
      c.motivo = Comillado(p.nombre) + " = " +
                 (v ? Comillado(texto) + " " + c.motivosDatos[i] : c.motivosDatos[i]);
  }

  std::optional<DatosControl> control;
  if (e.control) {
    DatosControl k;
    bool leidos = true;
    for (std::size_t i = 0; i < kNumControl; ++i) {
      const auto& dato = kControl[i];
      const std::string& texto = e.textosControl[i];
      if (dato.miembro == nullptr) {
        if (const auto rechazo = LeerDatoControl(dato, texto, r, k))
          c.motivosControl[i] = std::string(rechazo->motivo);
      } else if (const auto v = NumeroDeHoja(texto, r)) {
        k.*dato.miembro = *v;
      } else {
        c.motivosControl[i] = NoEsNumero(texto, r, false);
      }
      if (!c.motivosControl[i].empty()) {
        leidos = false;
        if (c.motivo.empty())
          c.motivo = Comillado(dato.nombre) + " = " +
                     (dato.miembro == nullptr ? Comillado(texto) + ": " : std::string()) +
                     c.motivosControl[i];
      }
    }
    if (leidos && c.motivo.empty()) {
      if (const auto rechazo = ComprobarControl(k, d.Rdc)) {
        std::string& junto = c.motivosControl[IndiceControl(*rechazo->dato)];
        junto = std::string(rechazo->motivo);
        if (rechazo->otro != nullptr)
          junto += " " + Comillado(rechazo->otro->nombre);
        // The texts the fields have taken read the same under the window's reading.
        const Base base = BaseDeEstudio(e, r);
        TextosEntrada textos;
        for (std::size_t i = 0; i < kNumParametros; ++i)
          textos[i] = base.textos[i];
        TextosControl textosControl;
        for (std::size_t i = 0; i < kNumControl; ++i)
          textosControl[i] = base.control.textos[i];
        c.motivo = MotivoControl(textos, textosControl, r);
      } else {
        control = k;
      }
    }
  }
  if (!c.motivo.empty())
    return c;
  c.datos = d;
  if (control) {
    c.control = control;
    c.solucion = ResolverControl(d, *control);
    c.resultados = c.solucion->resultados;
  } else {
    c.resultados = CalcularEnlace(d);
  }
  // Of the point the pass ran at: under control data, the one the controls chose.
  const DatosEnlace& punto = c.solucion ? c.solucion->datos : d;
  c.motivosError = MotivosDeError(punto, c.resultados, r);
  c.avisosModelo = AvisosDelModelo(punto, c.resultados, r);
  return c;
}

std::string_view MotivoDeResultado(const EvaluacionCaso& c, const DescripcionResultado& resultado) {
  for (const auto& m : c.motivosError)
    if (m.size() > resultado.nombre.size() && m.starts_with(resultado.nombre) &&
        m[resultado.nombre.size()] == ':')
      return m;
  return {};
}

Base BaseDeEstudio(const Estudio& e, const ConfiguracionRegional& r) {
  Base b = BaseDeInicio(r, {});
  for (std::size_t i = 0; i < kNumParametros; ++i)
    b.textos[i] = DatoUsado(e, kParametros[i]) ? e.datos[i] : std::string("0");
  for (std::size_t i = 0; i < kNumControl; ++i)
    b.control.textos[i] = e.textosControl[i];
  b.control.dada = e.control;
  return b;
}

std::string TextoDeResultados(const EvaluacionCaso& c, const ConfiguracionRegional& r) {
  if (!c.datos)
    return std::string(kEstadoRechazo) + "\t" + c.motivo + "\n";
  SalidaPasada salida(r, {});
  if (c.solucion)
    salida.Solucion(*c.solucion);
  else
    salida.Resultados(c.resultados);
  std::vector<std::string> motivos = c.motivosError;
  for (const auto& a : c.avisosModelo)
    motivos.push_back(std::string(kPrefijoAviso) + a);
  salida.Textos(kColumnaMotivos, "motivo", std::move(motivos));
  return salida.Texto();
}

bool PonerLinea(const LineaResuelta& l, Estudio& e, const ConfiguracionRegional& r) {
  if (!l.datos || !l.control || !l.solucion)
    return false;
  DatosEnlace d = *l.datos;
  d.Idc = l.solucion->datos.Idc;
  d.Vdci = l.solucion->datos.Vdci;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    e.datos[i] = NumeroATexto(d.*kParametros[i].miembro, r);
  e.control = true;
  for (std::size_t i = 0; i < kNumControl; ++i)
    e.textosControl[i] =
        kControl[i].miembro == nullptr
            ? std::string(kPalabrasOrden[static_cast<std::size_t>(l.control->orden)])
            : NumeroATexto(*l.control.*kControl[i].miembro, r);
  return true;
}

}  // namespace zelk::lotes
