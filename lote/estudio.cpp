#include "lote/estudio.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>

#include "engine/pasada.h"
#include "lote/lotes.h"

namespace zelk::lotes {

namespace {

using Json = nlohmann::ordered_json;

std::string Clave(std::string_view seccion, std::string_view nombre) {
  return "«" + std::string(seccion) + "." + std::string(nombre) + "»";
}

// A datum's text as the file keeps it: its number when it reads as one, else the text itself.
Json Valor(const std::string& texto, const ConfiguracionRegional& r) {
  if (const auto v = NumeroDeHoja(texto, r))
    return *v;
  return texto;
}

Json Eje(const EjeEstudio& e, const ConfiguracionRegional& r) {
  Json j;
  j["dato"] = e.dato;
  j["desde"] = Valor(e.desde, r);
  j["hasta"] = Valor(e.hasta, r);
  j["puntos"] = e.puntos;
  return j;
}

// Reads the file's values into a study, stopping at the first that cannot be taken.
class Lector {
 public:
  explicit Lector(const ConfiguracionRegional& r) : r_(r) {}

  const std::optional<std::string>& Error() const { return error_; }

  // A section that must be an object when present; null when absent or wrong (then with why).
  const Json* Seccion(const Json& padre, std::string_view nombre, std::string_view ruta) {
    const auto it = padre.find(std::string(nombre));
    if (it == padre.end() || error_)
      return nullptr;
    if (!it->is_object()) {
      Fallo("«" + std::string(ruta) + "» ha de ser un objeto");
      return nullptr;
    }
    return &*it;
  }

  void Texto(const Json& seccion, std::string_view seccionNombre, std::string_view nombre,
             std::string& destino) {
    const auto it = seccion.find(std::string(nombre));
    if (it == seccion.end() || error_)
      return;
    if (it->is_number())
      destino = NumeroATexto(it->get<double>(), r_);
    else if (it->is_string())
      destino = it->get<std::string>();
    else
      Fallo(Clave(seccionNombre, nombre) + " ha de ser un número o un texto");
  }

  void Nombre(const Json& seccion, std::string_view seccionNombre, std::string_view nombre,
              bool (*valido)(std::string_view), std::string_view que, std::string& destino) {
    const auto it = seccion.find(std::string(nombre));
    if (it == seccion.end() || error_)
      return;
    if (!it->is_string() || !valido(it->get<std::string>())) {
      Fallo(Clave(seccionNombre, nombre) + " ha de ser " + std::string(que));
      return;
    }
    destino = it->get<std::string>();
  }

  void Logico(const Json& seccion, std::string_view seccionNombre, std::string_view nombre,
              bool& destino) {
    const auto it = seccion.find(std::string(nombre));
    if (it == seccion.end() || error_)
      return;
    if (!it->is_boolean()) {
      Fallo(Clave(seccionNombre, nombre) + " ha de ser true o false");
      return;
    }
    destino = it->get<bool>();
  }

  void Eje(const Json& seccion, std::string_view ruta, EjeEstudio& e) {
    Nombre(seccion, ruta, "dato", DatoBarrible, "el nombre de un dato", e.dato);
    Texto(seccion, ruta, "desde", e.desde);
    Texto(seccion, ruta, "hasta", e.hasta);
    const auto it = seccion.find("puntos");
    if (it == seccion.end() || error_)
      return;
    if (!it->is_number_integer() || it->get<double>() < 1 ||
        it->get<double>() > static_cast<double>(kPuntosMaximos)) {
      Fallo(Clave(ruta, "puntos") + " ha de ser un número entero entre 1 y " +
            std::to_string(kPuntosMaximos));
      return;
    }
    e.puntos = it->get<std::size_t>();
  }

  // Every key of a section of data names one of them.
  template <typename Descripciones>
  void SoloNombres(const Json& seccion, std::string_view ruta, const Descripciones& lista,
                   std::initializer_list<std::string_view> otras = {}) {
    for (const auto& item : seccion.items()) {
      if (error_)
        return;
      const std::string& clave = item.key();
      const bool conocida = std::any_of(lista.begin(), lista.end(),
                                        [&](const auto& d) { return d.nombre == clave; }) ||
                            std::find(otras.begin(), otras.end(), clave) != otras.end();
      if (!conocida)
        Fallo(Clave(ruta, clave) + " no es ningún dato de zelk");
    }
  }

  void Fallo(std::string motivo) {
    if (!error_)
      error_ = std::move(motivo);
  }

  static bool DatoBarrible(std::string_view nombre) {
    const auto* c = BuscarControl(nombre);
    return BuscarParametro(nombre) != nullptr || (c != nullptr && c->miembro != nullptr);
  }
  static bool EsResultado(std::string_view nombre) { return BuscarResultado(nombre) != nullptr; }

 private:
  const ConfiguracionRegional& r_;
  std::optional<std::string> error_;
};

}  // namespace

Estudio EstudioDeInicio(const ConfiguracionRegional& r) {
  Estudio e;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    e.datos[i] = TextoDeCarga(kParametros[i], r);
  for (std::size_t i = 0; i < kNumControl; ++i)
    e.textosControl[i] = TextoDeCarga(kControl[i].valorDefault, r);
  e.barrido = {"Idc", TextoDeCarga("500", r), TextoDeCarga("3000", r), 101};
  e.familia = {"Rdc", TextoDeCarga("6", r), TextoDeCarga("18", r), 3};
  e.dibujados = {"alpha", "gamma", "Pr", "Qr"};
  // Without a range: the datum's usual one.
  e.busqueda = {"Pr", TextoDeCarga("1000", r), "Idc", "", ""};
  return e;
}

std::string EstudioAJson(const Estudio& e, const ConfiguracionRegional& r) {
  Json j;
  j["formato"] = kFormatoEstudio;
  j["version"] = kVersionEstudio;
  Json& datos = j["datos"];
  for (std::size_t i = 0; i < kNumParametros; ++i)
    datos[std::string(kParametros[i].nombre)] = Valor(e.datos[i], r);
  Json& control = j["control"];
  control["activo"] = e.control;
  for (std::size_t i = 0; i < kNumControl; ++i)
    control[std::string(kControl[i].nombre)] =
        kControl[i].miembro == nullptr ? Json(e.textosControl[i]) : Valor(e.textosControl[i], r);
  Json& barrido = j["barrido"];
  barrido = Eje(e.barrido, r);
  barrido["resultados"] = e.dibujados;
  barrido["familia"] = Eje(e.familia, r);
  barrido["familia"]["activa"] = e.conFamilia;
  Json& busqueda = j["busqueda"];
  busqueda["resultado"] = e.busqueda.resultado;
  busqueda["objetivo"] = Valor(e.busqueda.objetivo, r);
  busqueda["dato"] = e.busqueda.dato;
  busqueda["desde"] = Valor(e.busqueda.desde, r);
  busqueda["hasta"] = Valor(e.busqueda.hasta, r);
  return j.dump(2) + "\n";
}

std::variant<Estudio, std::string> EstudioDeJson(std::string_view texto,
                                                 const ConfiguracionRegional& r) {
  if (texto.size() > kTamanoMaximoEstudio)
    return std::string("es demasiado grande para ser un estudio de zelk (más de 1 MB)");
  Json j;
  try {
    j = Json::parse(texto.begin(), texto.end());
  } catch (const Json::parse_error& error) {
    return "no es un estudio de zelk: el texto no es JSON válido (byte " +
           std::to_string(error.byte) + ")";
  }
  if (!j.is_object() || !j.contains("formato") || j["formato"] != std::string(kFormatoEstudio))
    return "no es un estudio de zelk (le falta «\"formato\": \"" + std::string(kFormatoEstudio) +
           "\"»)";
  const auto version = j.find("version");
  if (version == j.end() || !version->is_number_integer())
    return std::string("«version» ha de ser un número entero");
  if (version->get<double>() > kVersionEstudio)
    return "es un estudio de la versión " + version->dump() + " del formato, más nueva que la " +
           std::to_string(kVersionEstudio) +
           " que lee este programa: ábralo con una versión más reciente de zelk";
  if (version->get<double>() < 1)
    return "«version» " + version->dump() + " no existe";

  Estudio e = EstudioDeInicio(r);
  Lector l(r);
  if (const Json* datos = l.Seccion(j, "datos", "datos")) {
    l.SoloNombres(*datos, "datos", kParametros);
    for (std::size_t i = 0; i < kNumParametros; ++i)
      l.Texto(*datos, "datos", kParametros[i].nombre, e.datos[i]);
  }
  if (const Json* control = l.Seccion(j, "control", "control")) {
    l.SoloNombres(*control, "control", kControl, {"activo"});
    l.Logico(*control, "control", "activo", e.control);
    for (std::size_t i = 0; i < kNumControl; ++i) {
      if (kControl[i].miembro == nullptr)
        l.Nombre(
            *control, "control", kControl[i].nombre,
            [](std::string_view t) { return LeerOrden(t).has_value(); },
            "bloqueado, potencia o corriente", e.textosControl[i]);
      else
        l.Texto(*control, "control", kControl[i].nombre, e.textosControl[i]);
    }
  }
  if (const Json* barrido = l.Seccion(j, "barrido", "barrido")) {
    l.Eje(*barrido, "barrido", e.barrido);
    const auto resultados = barrido->find("resultados");
    if (resultados != barrido->end() && !l.Error()) {
      if (!resultados->is_array())
        l.Fallo("«barrido.resultados» ha de ser una lista de resultados");
      std::vector<std::string> nombres;
      for (const auto& n : resultados->is_array() ? *resultados : Json::array()) {
        if (!n.is_string() || !Lector::EsResultado(n.get<std::string>())) {
          l.Fallo("«barrido.resultados» ha de ser una lista de resultados: " + n.dump() +
                  " no es ninguno");
          break;
        }
        nombres.push_back(n.get<std::string>());
      }
      // In the order of the results, each once.
      e.dibujados.clear();
      for (const auto& d : kResultados)
        if (std::find(nombres.begin(), nombres.end(), d.nombre) != nombres.end())
          e.dibujados.emplace_back(d.nombre);
    }
    if (const Json* familia = l.Seccion(*barrido, "familia", "barrido.familia")) {
      l.Eje(*familia, "barrido.familia", e.familia);
      l.Logico(*familia, "barrido.familia", "activa", e.conFamilia);
    }
  }
  if (const Json* busqueda = l.Seccion(j, "busqueda", "busqueda")) {
    l.Nombre(*busqueda, "busqueda", "resultado", Lector::EsResultado, "el nombre de un resultado",
             e.busqueda.resultado);
    l.Texto(*busqueda, "busqueda", "objetivo", e.busqueda.objetivo);
    l.Nombre(*busqueda, "busqueda", "dato", Lector::DatoBarrible, "el nombre de un dato",
             e.busqueda.dato);
    l.Texto(*busqueda, "busqueda", "desde", e.busqueda.desde);
    l.Texto(*busqueda, "busqueda", "hasta", e.busqueda.hasta);
  }
  if (l.Error())
    return *l.Error();
  return e;
}

}  // namespace zelk::lotes
