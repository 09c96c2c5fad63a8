#include "lote/lotes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

#include "engine/calculo.h"
#include "lote/columnas.h"
#include "lote/csv.h"
#include "lote/lectura.h"
#include "lote/tuberia.h"

namespace zelk::lotes {

Base BaseDeInicio(
    const ConfiguracionRegional& r,
    std::span<const std::pair<const DescripcionParametro*, std::string>> asignaciones) {
  Base b;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    b.textos[i] = TextoDeCarga(kParametros[i], r);
  for (const auto& [p, texto] : asignaciones) {
    b.textos[Indice(p->campo)] = texto;
    b.asignado[Indice(p->campo)] = true;
  }
  b.control = BaseControlDeInicio(r, {}, asignaciones);
  return b;
}

namespace {

TextosEntrada Vistas(const Base& base) {
  TextosEntrada t;
  for (std::size_t i = 0; i < kNumParametros; ++i)
    t[i] = base.textos[i];
  return t;
}

std::vector<Columna> Cabecera(const std::vector<std::string>& nombres, std::size_t linea,
                              const OpcionesSalida& opciones, const Base& base) {
  const Formato formato = opciones.formato;
  std::vector<Columna> columnas;
  std::unordered_set<std::string_view> vistos;
  bool sinNombre = false;
  for (const auto& n : nombres) {
    const auto* p = BuscarParametro(n);
    if (const auto motivo = MotivoColumna(n))
      throw csv::ErrorCsv{linea, *motivo};
    if (p != nullptr && base.asignado[Indice(p->campo)])
      throw csv::ErrorCsv{linea, "columna «" + n + "»: el dato se da también como " + n +
                                     "=TEXTO; quite uno de los dos"};
    if (base.objetivo && n == base.objetivo->variable.Nombre())
      throw csv::ErrorCsv{linea, "columna «" + n +
                                     "»: es el dato que --vary busca en cada fila; "
                                     "quítela"};
    if (opciones.motivos && n == kColumnaMotivos)
      throw csv::ErrorCsv{linea, "columna «" + n +
                                     "»: con --motivos la tabla añade una columna "
                                     "con ese nombre"};
    if (n.empty()) {
      // Spreadsheets leave columns without a name; JSON needs one per column.
      if (sinNombre && formato == Formato::Json)
        throw csv::ErrorCsv{linea,
                            "más de una columna sin nombre: en JSON cada una necesita el suyo"};
      sinNombre = true;
    } else if (!vistos.insert(n).second) {
      throw csv::ErrorCsv{linea, "columna repetida «" + n + "»"};
    }
    columnas.push_back({n, p});
  }
  if (std::none_of(columnas.begin(), columnas.end(), [](const Columna& c) {
        return c.parametro != nullptr || BuscarControl(c.nombre) != nullptr;
      }))
    throw csv::ErrorCsv{linea, std::string(kSinDatos)};
  return columnas;
}

}  // namespace

namespace {

std::size_t ParametrosEn(const std::vector<std::string>& nombres) {
  return static_cast<std::size_t>(std::count_if(nombres.begin(), nombres.end(), [](const auto& n) {
    return BuscarParametro(n) != nullptr || BuscarControl(n) != nullptr;
  }));
}

// The checks and the computation of a row whose texts marked in `deTabla` come from a table;
// `donde()` names the row, asked only of the first one rejected.
// With `motivos`, a rejected row keeps every reason.
template <typename Donde>
Punto EvaluarFila(const TextosEntrada& textos, const LectorFilas& lector, const DeTabla& deTabla,
                  const ConfiguracionRegional& r, Rechazos& rechazos, Donde donde, bool motivos,
                  bool conMargen = false) {
  Punto p;
  p.datos = lector.Leer(textos, conMargen);
  if (p.datos) {
    p.resultados = CalcularEnlace(*p.datos);
  } else if (motivos) {
    p.motivos = MotivosDeRechazo(textos, deTabla, r);
    if (rechazos.Anotar())
      rechazos.Primero(donde(), p.motivos.front());
  } else if (rechazos.Anotar()) {
    rechazos.Primero(donde(), MotivosDeRechazo(textos, deTabla, r).front());
  }
  return p;
}

// What a point of a table gets past the pass: its target solved, a row without a solution noted
// in `sinSolucion`, and its reasons and warnings.
template <typename Donde>
void Completar(Punto& p, const Base& base, const OpcionesSalida& opciones,
               const ConfiguracionRegional& r, Rechazos& sinSolucion, Donde donde) {
  if (base.objetivo && p.datos) {
    std::string motivo;
    ResolverPunto(p, *base.objetivo, r, &motivo);
    if (p.sinSolucion) {
      if (sinSolucion.Anotar())
        sinSolucion.Primero(donde(), motivo);
      if (opciones.motivos)
        p.motivos = {motivo};
      return;
    }
  }
  if (opciones.motivos)
    AnadirMotivos(p, r);
}

constexpr std::string_view kSinSolucion = "sin solución";

}  // namespace

namespace {

// Rows of a CSV file as the reading thread hands them to the threads that compute them.
struct BloqueCsv {
  static constexpr std::size_t kFilas = 2048;
  static constexpr std::size_t kBytes = 1 << 20;
  // The fields of its rows one after another, where each ends, and the line each row begins on.
  std::string textos;
  std::vector<std::size_t> fines;
  std::vector<std::size_t> lineas;
  // Rows whose fields came without quotes under the output's separator: they need none there.
  std::vector<char> limpias;
  bool primero = false;  // holds the table's first row
  // What the rows give: their part of the table, and the rows rejected.
  std::string salida;
  std::size_t rechazadas = 0;
  std::string primerRechazo;    // where and why the first was
  std::size_t sinSolucion = 0;  // rows of a target that no value reaches
  std::string primeraSinSolucion;

  void Vaciar() {
    textos.clear();
    fines.clear();
    lineas.clear();
    limpias.clear();
    salida.clear();
    rechazadas = 0;
    primerRechazo.clear();
    sinSolucion = 0;
    primeraSinSolucion.clear();
  }
};

}  // namespace

int CalcularCsv(std::istream& entrada, const Base& base, const ConfiguracionRegional& r,
                OpcionesSalida opciones, std::ostream& salida, std::ostream& err,
                std::size_t hilos) {
  // A file of one column says nothing of its separator: it is the one of the user's settings.
  csv::Lector lector(entrada, std::nullopt, SeparadorCsv(r), ParametrosEn);
  std::vector<std::string> campos;
  try {
    if (!lector.Siguiente(campos))
      throw csv::ErrorCsv{1, "falta la cabecera"};
    auto columnas = Cabecera(campos, lector.Linea(), opciones, base);
    ControlDeTabla control(columnas, base.control, r, lector.Linea(), true);
    opciones.control = control.Activo();
    if (base.objetivo) {
      // Control data in the file's columns decide what may be sought and varied.
      if (const auto motivo = ObjetivoConControl(*base.objetivo, control.Activo()))
        throw csv::ErrorCsv{lector.Linea(), *motivo};
      opciones.resuelta = ColumnaResuelta(*base.objetivo, control.Activo());
    }
    // Where each column's text goes among the 18 inputs; none for a column of the user's own.
    const std::size_t nColumnas = columnas.size();
    std::vector<std::optional<std::size_t>> indices;
    DeTabla deTabla{};
    for (const auto& c : columnas) {
      indices.push_back(c.parametro != nullptr ? std::optional(Indice(c.parametro->campo))
                                               : std::nullopt);
      if (c.parametro != nullptr)
        deTabla[Indice(c.parametro->campo)] = true;
    }

    // A file saved for Excel comes back as Excel reads it.
    opciones.marca = opciones.marca || (lector.TeniaMarca() && opciones.formato == Formato::Csv);
    Tabla tabla(salida, r, opciones, std::move(columnas));
    const FormatoTabla& formato = tabla.Formato();
    std::array<bool, kNumParametros> variables{};
    for (const auto& i : indices)
      if (i)
        variables[*i] = true;
    const LectorFilas lectorFilas(Vistas(base), variables, deTabla, r);
    Rechazos rechazos("fila", "filas", true);
    Rechazos sinSolucion("fila", "filas", true, kSinSolucion);
    std::size_t filas = 0, vacias = 0;

    const auto llenar = [&](BloqueCsv& b) {
      b.Vaciar();
      b.primero = filas == 0;
      while (b.lineas.size() < BloqueCsv::kFilas && b.textos.size() < BloqueCsv::kBytes) {
        const std::size_t campos0 = b.fines.size(), texto0 = b.textos.size();
        if (!lector.SiguienteEn(b.textos, b.fines))
          break;
        const std::size_t n = b.fines.size() - campos0;
        // What a spreadsheet saves for a row that was emptied: nothing but the byte after each
        // field.
        if (b.textos.size() - texto0 == n) {
          b.fines.resize(campos0);
          b.textos.resize(texto0);
          ++vacias;
          continue;
        }
        if (n != nColumnas) {
          b.fines.resize(campos0);
          b.textos.resize(texto0);
          throw csv::ErrorCsv{lector.Linea(), "la fila tiene " + std::to_string(n) +
                                                  " campos y la cabecera " +
                                                  std::to_string(nColumnas)};
        }
        b.lineas.push_back(lector.Linea());
        b.limpias.push_back(!lector.ConComillas() && lector.Separador() == formato.Separador());
        ++filas;
      }
      return !b.lineas.empty();
    };
    const auto trabajar = [&](BloqueCsv& b) {
      // Every field may be read a few bytes past its end; also in a block that a fault in the
      // input cut short.
      b.textos.append(kMargenDeLectura, '\n');
      TextosEntrada textos = Vistas(base);
      std::vector<std::string_view> propios(nColumnas);
      Rechazos enBloque("fila", "filas", true);
      Rechazos sinSolucionEnBloque("fila", "filas", true, kSinSolucion);
      const std::string_view todo(b.textos);
      for (std::size_t f = 0, campo = 0; f < b.lineas.size(); ++f) {
        const std::size_t fila = campo == 0 ? 0 : b.fines[campo - 1] + 1;
        for (std::size_t c = 0; c < nColumnas; ++c, ++campo) {
          const std::size_t desde = campo == 0 ? 0 : b.fines[campo - 1] + 1;
          // Stored twice from the same registers: reading the first copy back to make the second
          // would wait for the two halves just stored.
          const std::string_view texto = todo.substr(desde, b.fines[campo] - desde);
          propios[c] = texto;
          if (indices[c])
            textos[*indices[c]] = texto;
        }
        const auto donde = [&] { return "línea " + std::to_string(b.lineas[f]); };
        Punto punto = control.Activo()
                          ? control.Evaluar(textos, deTabla, propios, r, enBloque, donde)
                          : EvaluarFila(textos, lectorFilas, deTabla, r, enBloque, donde,
                                        opciones.motivos, true);
        Completar(punto, base, opciones, r, sinSolucionEnBloque, donde);
        // A row read without quotes under the output's separator is its line as it was read.
        const std::string_view linea =
            b.limpias[f] != 0 ? todo.substr(fila, b.fines[campo - 1] - fila) : std::string_view();
        formato.Fila(b.salida, propios, punto, b.primero && f == 0, linea);
      }
      b.rechazadas = enBloque.Cuantos();
      if (enBloque.Alguno())
        b.primerRechazo = enBloque.PrimeroTexto();
      b.sinSolucion = sinSolucionEnBloque.Cuantos();
      if (sinSolucionEnBloque.Alguno())
        b.primeraSinSolucion = sinSolucionEnBloque.PrimeroTexto();
    };
    const auto entregar = [&](BloqueCsv& b) {
      tabla.Filas(b.salida);
      rechazos.Sumar(b.rechazadas, b.primerRechazo);
      sinSolucion.Sumar(b.sinSolucion, b.primeraSinSolucion);
    };
    EnOrden<BloqueCsv>(hilos, llenar, trabajar, entregar);
    tabla.Terminar();
    if (vacias > 0)
      err << "zelk-calc: nota: " << vacias
          << (vacias == 1 ? " fila sin datos (solo separadores) saltada"
                          : " filas sin datos (solo separadores) saltadas")
          << '\n';
    rechazos.Informar(err, filas);
    sinSolucion.Informar(err, filas);
    return rechazos.Alguno() || sinSolucion.Alguno() ? 3 : 0;
  } catch (const csv::ErrorCsv& e) {
    err << "zelk-calc: línea " << e.linea << ": " << e.motivo << '\n';
    return 2;
  }
}

std::string_view Barrido::Nombre() const {
  return parametro != nullptr ? parametro->nombre : control->nombre;
}

std::string_view Barrido::Titulo() const {
  return parametro != nullptr ? parametro->titulo : control->titulo;
}

double Barrido::Valor(std::size_t k) const {
  if (puntos <= 1 || k == 0)
    return desde;
  if (k + 1 == puntos)
    return hasta;
  const double t = static_cast<double>(k) / static_cast<double>(puntos - 1);
  const double ancho = hasta - desde;
  if (std::isfinite(ancho))
    return desde + ancho * t;
  // Bounds of opposite signs near the largest double: their difference overflows, while each
  // part of the weighted mean stays within its bound.
  const double v = desde * (1 - t) + hasta * t;
  return std::clamp(v, std::min(desde, hasta), std::max(desde, hasta));
}

std::optional<Barrido> LeerBarrido(std::string_view texto, const ConfiguracionRegional& r,
                                   std::string& error) {
  error = "barrido «" + std::string(texto) + "»: se espera NOMBRE=DESDE:HASTA:PUNTOS";
  const auto igual = texto.find('=');
  if (igual == std::string_view::npos)
    return std::nullopt;
  Barrido b;
  b.parametro = BuscarParametro(texto.substr(0, igual));
  if (b.parametro == nullptr)
    b.control = BuscarControl(texto.substr(0, igual));
  if (b.control != nullptr && b.control->miembro == nullptr) {
    error = "barrido: «" + std::string(b.control->nombre) + "» no es un número";
    return std::nullopt;
  }
  if (b.parametro == nullptr && b.control == nullptr) {
    error = "barrido: no hay ningún dato «" + std::string(texto.substr(0, igual)) + "»";
    return std::nullopt;
  }
  const std::string_view resto = texto.substr(igual + 1);
  const auto p1 = resto.find(':');
  const auto p2 = p1 == std::string_view::npos ? p1 : resto.find(':', p1 + 1);
  if (p2 == std::string_view::npos)
    return std::nullopt;
  const std::string_view puntos = resto.substr(p2 + 1);
  const auto leido = std::from_chars(puntos.data(), puntos.data() + puntos.size(), b.puntos);
  if (leido.ec != std::errc() || leido.ptr != puntos.data() + puntos.size())
    return std::nullopt;
  const std::string inicio = "barrido " + std::string(b.Nombre()) + ": ";
  std::string motivo;
  const auto desde = LeerNumero(resto.substr(0, p1), r, motivo);
  const auto hasta = desde ? LeerNumero(resto.substr(p1 + 1, p2 - p1 - 1), r, motivo) : desde;
  if (!desde || !hasta) {
    error = inicio + motivo;
    return std::nullopt;
  }
  if (b.puntos < 1 || b.puntos > kPuntosMaximos) {
    error = "barrido: entre 1 y " + std::to_string(kPuntosMaximos) + " puntos";
    return std::nullopt;
  }
  b.desde = *desde;
  b.hasta = *hasta;
  error.clear();
  return b;
}

CurvaReducida::CurvaReducida(std::size_t puntos, std::size_t columnas)
    : puntos_(puntos),
      columnas_(std::max<std::size_t>(columnas, 1)),
      todos_(puntos <= 4 * columnas_) {}

void CurvaReducida::Hueco() {
  if (!curva_.empty() && curva_.back().y)
    curva_.push_back({curva_.back().x, std::nullopt});
}

void CurvaReducida::CerrarColumna() {
  if (huecoAntes_ || !primero_)
    Hueco();
  if (primero_) {
    std::array<Extremo, 4> cuatro{*primero_, *minimo_, *maximo_, *ultimo_};
    std::sort(cuatro.begin(), cuatro.end(),
              [](const Extremo& a, const Extremo& b) { return a.k < b.k; });
    for (std::size_t i = 0; i < cuatro.size(); ++i)
      if (i == 0 || cuatro[i].k != cuatro[i - 1].k)
        curva_.push_back({cuatro[i].x, cuatro[i].y});
  }
  if (huecoDespues_)
    Hueco();
  primero_.reset();
  ultimo_.reset();
  minimo_.reset();
  maximo_.reset();
  huecoAntes_ = huecoDespues_ = false;
}

void CurvaReducida::Anadir(std::size_t k, double x, Resultado y) {
  // A value that is not finite is shown as "ERROR": a gap like the others.
  if (y && !std::isfinite(*y))
    y.reset();
  if (todos_) {
    if (y)
      curva_.push_back({x, y});
    else
      Hueco();
    return;
  }
  // Columns by the point's place in the sweep; in doubles, exact for any sweep and picture.
  const auto columna = static_cast<std::size_t>(
      static_cast<double>(k) * static_cast<double>(columnas_) / static_cast<double>(puntos_));
  if (columna != columna_) {
    CerrarColumna();
    columna_ = columna;
  }
  if (!y) {
    (primero_ ? huecoDespues_ : huecoAntes_) = true;
    return;
  }
  huecoDespues_ = false;
  const Extremo e{k, x, *y};
  if (!primero_)
    primero_ = e;
  ultimo_ = e;
  if (!minimo_ || e.y < minimo_->y)
    minimo_ = e;
  if (!maximo_ || e.y > maximo_->y)
    maximo_ = e;
}

std::vector<PuntoCurva> CurvaReducida::Terminar() {
  if (!todos_)
    CerrarColumna();
  return std::move(curva_);
}

namespace {

// Points of a sweep as the threads that compute them take them: a run of the grid's points, in
// its order.
struct BloqueBarrido {
  static constexpr std::size_t kPuntos = 2048;
  std::size_t desde = 0, hasta = 0;
  std::string salida;
  std::size_t rechazados = 0;
  std::string primerRechazo;
  std::size_t sinSolucion = 0;
  std::string primeroSinSolucion;
  // For a plot, each point's results, empty where the point was rejected.
  std::vector<ResultadosEnlace> resultados;
};

}  // namespace

int CalcularBarrido(std::span<const Barrido> barridos, const Base& base,
                    const ConfiguracionRegional& r, OpcionesSalida opciones, std::ostream& salida,
                    std::ostream& err, Curvas* curvas, std::size_t hilos) {
  std::vector<Columna> columnas;
  for (const auto& b : barridos)
    columnas.push_back({std::string(b.Nombre()), b.parametro, b.control});
  ControlDeTabla control(columnas, base.control, r, 1, false);
  opciones.control = control.Activo();
  if (base.objetivo)
    opciones.resuelta = ColumnaResuelta(*base.objetivo, control.Activo());
  Tabla tabla(salida, r, opciones, std::move(columnas));
  const FormatoTabla& formato = tabla.Formato();
  const std::size_t interior = barridos.size() > 1 ? barridos[1].puntos : 1;
  const std::size_t total = barridos[0].puntos * interior;
  Rechazos rechazos("punto", "puntos", false);
  Rechazos sinSolucion("punto", "puntos", false, kSinSolucion);
  const DeTabla deTabla{};
  std::array<bool, kNumParametros> variables{};
  for (const auto& b : barridos)
    if (b.parametro != nullptr)
      variables[Indice(b.parametro->campo)] = true;
  const LectorFilas puntos(Vistas(base), variables, deTabla, r);
  // Per curve of the plot (a value of the second datum), its results' thinned curves.
  std::vector<std::vector<CurvaReducida>> reducidas;
  if (curvas != nullptr && interior <= kCurvasPorFamilia) {
    const Barrido& x = barridos[0];
    curvas->nombre = x.Nombre();
    curvas->titulo = x.Titulo();
    curvas->decimal = r.Decimal();
    curvas->desde = x.desde;
    curvas->hasta = x.hasta;
    curvas->nombreFamilia = barridos.size() > 1 ? barridos[1].Nombre() : std::string_view();
    curvas->tituloFamilia = barridos.size() > 1 ? barridos[1].Titulo() : std::string_view();
    curvas->miembros.assign(interior, {});
    for (std::size_t m = 0; m < interior; ++m)
      curvas->miembros[m].valor = barridos.size() > 1 ? barridos[1].Valor(m) : 0;
    reducidas.assign(interior, std::vector<CurvaReducida>(
                                   kNumResultados, CurvaReducida(x.puntos, curvas->columnas)));
  }

  std::size_t siguiente = 0;
  const auto llenar = [&](BloqueBarrido& b) {
    b.desde = siguiente;
    b.hasta = siguiente = std::min(total, siguiente + BloqueBarrido::kPuntos);
    return b.desde < b.hasta;
  };
  const auto trabajar = [&](BloqueBarrido& b) {
    b.salida.clear();
    b.resultados.clear();
    TextosEntrada textos = Vistas(base);
    std::vector<std::string> propios(barridos.size());
    std::vector<std::string_view> vistas(barridos.size());
    Rechazos enBloque("punto", "puntos", false);
    Rechazos sinSolucionEnBloque("punto", "puntos", false, kSinSolucion);
    for (std::size_t punto = b.desde; punto < b.hasta; ++punto) {
      const std::size_t k[2] = {punto / interior, punto % interior};
      for (std::size_t s = 0; s < barridos.size(); ++s) {
        // Typed as the window shows a number, so the pass reads it as a user's text.
        propios[s] = NumeroATexto(barridos[s].Valor(k[s]), r);
        vistas[s] = propios[s];
        if (barridos[s].parametro != nullptr)
          textos[Indice(barridos[s].parametro->campo)] = propios[s];
      }
      const auto donde = [&] {
        std::string texto;
        for (std::size_t s = 0; s < barridos.size(); ++s)
          texto +=
              std::string(s ? ", " : "") + std::string(barridos[s].Nombre()) + " = " + propios[s];
        return texto;
      };
      Punto p = control.Activo()
                    ? control.Evaluar(textos, deTabla, vistas, r, enBloque, donde)
                    : EvaluarFila(textos, puntos, deTabla, r, enBloque, donde, opciones.motivos);
      Completar(p, base, opciones, r, sinSolucionEnBloque, donde);
      formato.Fila(b.salida, vistas, p, punto == 0);
      if (!reducidas.empty())
        b.resultados.push_back(p.datos && !p.sinSolucion ? p.resultados : ResultadosEnlace{});
    }
    b.rechazados = enBloque.Cuantos();
    b.primerRechazo = enBloque.Alguno() ? enBloque.PrimeroTexto() : std::string();
    b.sinSolucion = sinSolucionEnBloque.Cuantos();
    b.primeroSinSolucion =
        sinSolucionEnBloque.Alguno() ? sinSolucionEnBloque.PrimeroTexto() : std::string();
  };
  const auto entregar = [&](BloqueBarrido& b) {
    tabla.Filas(b.salida);
    rechazos.Sumar(b.rechazados, b.primerRechazo);
    sinSolucion.Sumar(b.sinSolucion, b.primeroSinSolucion);
    for (std::size_t i = 0; i < b.resultados.size(); ++i) {
      const std::size_t punto = b.desde + i, k = punto / interior;
      auto& miembro = reducidas[punto % interior];
      for (std::size_t n = 0; n < kNumResultados; ++n)
        miembro[n].Anadir(k, barridos[0].Valor(k), b.resultados[i].*kResultados[n].miembro);
    }
  };
  EnOrden<BloqueBarrido>(hilos, llenar, trabajar, entregar);
  tabla.Terminar();
  for (std::size_t m = 0; m < reducidas.size(); ++m)
    for (std::size_t n = 0; n < kNumResultados; ++n)
      curvas->miembros[m].y[n] = reducidas[m][n].Terminar();
  rechazos.Informar(err, total);
  sinSolucion.Informar(err, total);
  return rechazos.Alguno() || sinSolucion.Alguno() ? 3 : 0;
}

std::optional<double> TapPara(const DatosEnlace& d, Angulo angulo, double grados) {
  // The cosine is proportional to the tap: its value at a tap of 1 is the constant.
  DatosEnlace uno = d;
  (angulo == Angulo::alpha ? uno.tapr : uno.tapi) = 1;
  const Resultado k = angulo == Angulo::alpha ? CosenoAlpha(uno) : CosenoGamma(uno);
  if (!k || *k == 0 || !(grados >= 0 && grados <= 180))
    return std::nullopt;
  // Degrees back to radians with the calculation's pi.
  const double tap = std::cos((grados * 2 / 360) * kPi) / *k;
  if (!std::isfinite(tap) || tap <= 0)
    return std::nullopt;
  return tap;
}

std::optional<std::string> ComprobarEscalones(const Escalones& e, const ConfiguracionRegional& r,
                                              NombresEscalones nombres) {
  const std::string paso(nombres.paso), margen(nombres.margen);
  if (!(e.paso > 0) || !std::isfinite(e.paso))
    return paso + ": el paso ha de ser mayor que 0";
  if (!(e.minimo > 0) || !(e.minimo <= e.maximo) || !std::isfinite(e.maximo))
    return margen + ": los taps son mayores que 0 y " + std::string(nombres.minimo) +
           " <= " + std::string(nombres.maximo);
  if (!((e.maximo - e.minimo) / e.paso <= kPosicionesMaximas))
    return paso + ": el paso " + NumeroATexto(e.paso, r) + " es demasiado pequeño para " +
           std::string(nombres.abre) + NumeroATexto(e.minimo, r) + std::string(nombres.entre) +
           NumeroATexto(e.maximo, r) + std::string(nombres.cierra) + " (más de " +
           std::to_string(static_cast<long>(kPosicionesMaximas)) + " posiciones)";
  return std::nullopt;
}

std::optional<double> PosicionMasCercana(double tap, const Escalones& e) {
  if (!(e.paso > 0) || !(e.minimo <= e.maximo) || tap < e.minimo || tap > e.maximo)
    return std::nullopt;
  const double ultima = std::floor((e.maximo - e.minimo) / e.paso + 1e-9);
  const double k = std::min(std::round((tap - e.minimo) / e.paso), ultima);
  return e.minimo + k * e.paso;
}

const DescripcionParametro& TapDe(Angulo angulo) {
  return *BuscarParametro(angulo == Angulo::alpha ? "tapr" : "tapi");
}

std::string_view NombreDe(Angulo angulo) {
  return angulo == Angulo::alpha ? "alpha" : "gamma";
}

std::variant<TapHallado, std::string> HallarTap(const DatosEnlace& d, Angulo angulo, double grados,
                                                const std::optional<Escalones>& escalones,
                                                const ConfiguracionRegional& r) {
  const std::string tap(TapDe(angulo).nombre);
  const std::string objetivo = std::string(NombreDe(angulo)) + " = " + NumeroATexto(grados, r);
  const auto exacto = TapPara(d, angulo, grados);
  if (!exacto)
    return "ningún " + tap + " da " + objetivo;
  if (!escalones)
    return TapHallado{*exacto, *exacto};
  const auto posicion = PosicionMasCercana(*exacto, *escalones);
  if (!posicion)
    return "ningún " + tap + " entre " + NumeroATexto(escalones->minimo, r) + " y " +
           NumeroATexto(escalones->maximo, r) + " da " + objetivo + " (haría falta " + tap + " = " +
           NumeroATexto(*exacto, r) + ")";
  return TapHallado{*exacto, *posicion};
}

std::string MotivoTapInservible(Angulo angulo, std::string_view textoTap, bool datosRechazados,
                                std::string_view oferta) {
  return "con " + std::string(TapDe(angulo).nombre) + " = " + std::string(textoTap) + ", " +
         std::string(NombreDe(angulo)) +
         (datosRechazados ? ": ERROR EN DATOS" : " no se puede formar") + "; ese tap no sirve" +
         std::string(oferta);
}

std::string OfertaDeTap(const DatosEnlace& d, Angulo angulo, double exacto, const Escalones& e,
                        const ConfiguracionRegional& r) {
  if (!(e.paso > 0) || !(e.minimo <= e.maximo))
    return {};
  const auto& tap = TapDe(angulo);
  const auto* resultado = BuscarResultado(NombreDe(angulo));
  const double ultima = std::floor((e.maximo - e.minimo) / e.paso + 1e-9);
  const double cercana = std::clamp(
      std::round((std::clamp(exacto, e.minimo, e.maximo) - e.minimo) / e.paso), 0.0, ultima);
  // The angle at a position, as typed: nothing where it cannot be formed.
  const auto angulo_en = [&](double k) -> Resultado {
    const std::string texto = NumeroATexto(e.minimo + k * e.paso, r);
    DatosEnlace con = d;
    con.*tap.miembro = *TextoANumero(texto, r);
    if (!DatosAceptables(con))
      return std::nullopt;
    return CalcularEnlace(con).*resultado->miembro;
  };
  for (double j = 1; j <= ultima; ++j) {
    for (const double k : {cercana - j, cercana + j}) {
      if (k < 0 || k > ultima)
        continue;
      if (const Resultado a = angulo_en(k))
        return "; la posición más cercana que lo forma es " + std::string(tap.nombre) + " = " +
               NumeroATexto(e.minimo + k * e.paso, r) + " (" + std::string(NombreDe(angulo)) +
               " = " + TextoResultado(a, *resultado, r) + ")";
    }
  }
  return {};
}

}  // namespace zelk::lotes
