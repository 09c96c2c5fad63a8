#include "lote/busqueda_estudio.h"

#include "engine/cifras.h"
#include "engine/pasada.h"
#include "lote/caso_estudio.h"
#include "lote/lectura.h"
#include "lote/tabla.h"

namespace zelk::lotes {

namespace {

std::size_t IndiceControl(const DescripcionControl& d) {
  return static_cast<std::size_t>(&d - kControl.data());
}

}  // namespace

std::variant<BusquedaHecha, std::string> BuscarEnEstudio(const Estudio& e,
                                                         const ConfiguracionRegional& r) {
  const BusquedaEstudio& b = e.busqueda;
  const auto valor = NumeroDeHoja(b.objetivo, r);
  if (!valor)
    return std::string(kNombresBusqueda.objetivo) + " " + b.resultado + ": " +
           NoEsNumero(b.objetivo, r, false);
  std::optional<Margen> margen;
  if (!b.desde.empty() || !b.hasta.empty()) {
    const auto desde = NumeroDeHoja(b.desde, r);
    if (!desde)
      return std::string(kNombresBusqueda.margen) + ", desde: " + NoEsNumero(b.desde, r, false);
    const auto hasta = NumeroDeHoja(b.hasta, r);
    if (!hasta)
      return std::string(kNombresBusqueda.margen) + ", hasta: " + NoEsNumero(b.hasta, r, false);
    margen = Margen{*desde, *hasta};
  }
  auto leida =
      ComprobarObjetivo(b.resultado, *valor, b.dato, margen, e.control, r, kNombresBusqueda);
  if (const auto* motivo = std::get_if<std::string>(&leida))
    return *motivo;
  BusquedaHecha hecha;
  hecha.peticion = std::get<PeticionObjetivo>(leida);
  const Variable& v = hecha.peticion.variable;

  Estudio caso = e;
  if (v.parametro != nullptr)
    caso.datos[Indice(v.parametro->campo)] = TextoDeCarga(*v.parametro, r);
  else
    caso.textosControl[IndiceControl(*v.control)] = TextoDeCarga(v.control->valorDefault, r);
  const EvaluacionCaso ev = EvaluarCaso(caso, r);
  if (!ev.datos)
    return std::string(kEstadoRechazo) + ": " + ev.motivo + "; no se busca ningún " +
           std::string(v.Nombre());
  hecha.hallado = BuscarObjetivo(hecha.peticion, *ev.datos, ev.control);
  if (!hecha.peticion.margen)
    hecha.notas.push_back("se busca " + TextoMargen(hecha.peticion, hecha.hallado.margen, r));
  if (hecha.hallado.busqueda.raices.empty())
    hecha.notas.push_back(MotivoSinSolucion(hecha.peticion, hecha.hallado, r));
  for (const auto& raiz : hecha.hallado.busqueda.raices)
    if (raiz.hasta)
      hecha.notas.push_back(TextoTramo(hecha.peticion, raiz, r) + "; se da su comienzo");
  return hecha;
}

void PonerValorHallado(Estudio& e, const Variable& v, double x, const ConfiguracionRegional& r) {
  if (v.parametro != nullptr)
    e.datos[Indice(v.parametro->campo)] = CifraCompleta(x, r);
  else if (v.control != nullptr)
    e.textosControl[IndiceControl(*v.control)] = CifraCompleta(x, r);
}

}  // namespace zelk::lotes
