// The plot of a sweep laid out in a QCustomPlot: panels, curves with their gaps, legends, axes.
#include "grafico/grafico.h"

#include <qcustomplot.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zelk::grafico {

namespace {

QString Q(std::string_view t) {
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

// Numbers as the C locale writes them, with the user's decimal separator in place of the point:
// the user's own separator, whatever Qt's locale data would choose.
class Rotulos : public QCPAxisTicker {
 public:
  explicit Rotulos(QString decimal) : decimal_(std::move(decimal)) {}

  QString Texto(double valor, char formato = 'g', int precision = 6) const {
    QString t = QLocale::c().toString(valor, formato, precision);
    return t.replace(QLatin1Char('.'), decimal_);
  }

 protected:
  QString getTickLabel(double tick, const QLocale& /*locale*/, QChar formato,
                       int precision) override {
    return Texto(tick, formato.toLatin1(), precision);
  }

 private:
  QString decimal_;
};

// An axis's range for values from `minimo` to `maximo`, with `margen` of their span on either
// side, within what QCustomPlot accepts (it ignores a range past ±1e250 or narrower than 1e-280).
QCPRange Rango(double minimo, double maximo, double margen) {
  if (!(minimo <= maximo))
    return QCPRange(-1, 1);  // no value at all
  const double mayor = QCPRange::maxRange / 4;
  minimo = std::clamp(minimo, -mayor, mayor);
  maximo = std::clamp(maximo, -mayor, mayor);
  const double lado = (maximo / 2 - minimo / 2) * 2 * margen;
  QCPRange rango(minimo - lado, maximo + lado);
  if (!QCPRange::validRange(rango)) {
    const double centro = minimo / 2 + maximo / 2;
    const double medio = std::max(std::abs(centro) * 0.05, 1.0);
    rango = QCPRange(centro - medio, centro + medio);
  }
  return rango;
}

constexpr std::array<QRgb, 4> kColoresResultado{qRgb(0, 90, 180), qRgb(200, 60, 20),
                                                qRgb(20, 140, 60), qRgb(140, 40, 160)};
static_assert(lotes::kCurvasPorFamilia <= 10);
constexpr std::array<QRgb, 10> kColoresFamilia{
    qRgb(31, 119, 180),  qRgb(255, 127, 14), qRgb(44, 160, 44),   qRgb(214, 39, 40),
    qRgb(148, 103, 189), qRgb(140, 86, 75),  qRgb(227, 119, 194), qRgb(127, 127, 127),
    qRgb(188, 189, 34),  qRgb(23, 190, 207)};
constexpr std::array<Qt::PenStyle, 5> kTrazos{Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                              Qt::DashDotLine, Qt::DashDotDotLine};

// A curve as QCustomPlot draws it: a NaN at each gap, keyed halfway between its neighbours so that
// ordering by key keeps it between them, also in a sweep that runs downwards; and apart, the
// points alone between gaps, which a line does not show.
void Datos(const std::vector<lotes::PuntoCurva>& curva, QVector<QCPGraphData>& linea,
           QVector<QCPGraphData>& sueltos) {
  const auto tiene = [&](std::size_t i) { return i < curva.size() && curva[i].y.has_value(); };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  linea.reserve(static_cast<qsizetype>(curva.size()));
  for (std::size_t i = 0; i < curva.size(); ++i) {
    if (tiene(i)) {
      linea.append(QCPGraphData(curva[i].x, *curva[i].y));
      if ((i == 0 || !tiene(i - 1)) && !tiene(i + 1))
        sueltos.append(linea.back());
    } else {
      const double x = i + 1 < curva.size() ? curva[i].x / 2 + curva[i + 1].x / 2 : curva[i].x;
      linea.append(QCPGraphData(x, nan));
    }
  }
}

QCPGraph* Curva(QCustomPlot& grafico, QCPAxisRect* rect, const QString& nombre, const QPen& pluma) {
  auto* g = grafico.addGraph(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
  g->setName(nombre);
  g->setPen(pluma);
  return g;
}

// The value axis's title: the panel's, with the units of its results ("Potencias [MW, MVAr]").
QString TituloDelEje(const Panel& panel) {
  QStringList unidades;
  for (const auto nombre : panel.resultados)
    if (const auto u = Q(Unidad(BuscarResultado(nombre)->titulo));
        !u.isEmpty() && !unidades.contains(u))
      unidades << u;
  QString titulo = Q(panel.titulo);
  if (!unidades.isEmpty())
    titulo += QStringLiteral(" [") + unidades.join(QStringLiteral(", ")) + QLatin1Char(']');
  return titulo;
}

// A legend centred in a row of its own.
QCPLegend* Leyenda(QCustomPlot& grafico, int fila) {
  auto* centro = new QCPLayoutGrid;
  grafico.plotLayout()->addElement(fila, 0, centro);
  grafico.plotLayout()->setRowStretchFactor(fila, 0.001);
  auto* leyenda = new QCPLegend;
  centro->addElement(0, 1, leyenda);
  centro->expandTo(1, 3);
  centro->setColumnSpacing(0);
  leyenda->setLayer(QStringLiteral("legend"));
  leyenda->setBorderPen(Qt::NoPen);
  leyenda->setSizeConstraintRect(QCPLayoutElement::scrOuterRect);
  return leyenda;
}

void AnadirALeyenda(QCPLegend* leyenda, QCPGraph* g, int fila, int columna) {
  leyenda->addElement(fila, columna, new QCPPlottableLegendItem(leyenda, g));
}

}  // namespace

std::vector<Panel> PanelesHabituales() {
  return {{"Ángulos", {"alpha", "mur", "gamma", "mui"}}, {"Potencias", {"Pr", "Qr", "Pi", "Qi"}}};
}

std::optional<std::string> Configurar(QCustomPlot& grafico, const lotes::Curvas& curvas,
                                      std::span<const Panel> paneles) {
  grafico.clearPlottables();
  grafico.clearItems();
  grafico.plotLayout()->clear();
  // The margin groups of an earlier layout, which a window may redo many times, go with it.
  for (auto* grupo : grafico.findChildren<QCPMarginGroup*>(Qt::FindDirectChildrenOnly))
    delete grupo;
  if (curvas.miembros.empty())
    return "no hay curvas que dibujar";
  if (paneles.empty())
    return "no hay resultados que dibujar";
  for (const auto& panel : paneles) {
    if (panel.resultados.empty())
      return "el panel «" + std::string(panel.titulo) + "» no tiene resultados";
    for (const auto nombre : panel.resultados)
      if (BuscarResultado(nombre) == nullptr)
        return "«" + std::string(nombre) + "» no es un resultado";
  }

  grafico.setAutoAddPlottableToLegend(false);
  grafico.plotLayout()->setMargins(QMargins(0, 4, 0, 2));
  const bool familia = !curvas.nombreFamilia.empty();
  const QSharedPointer<Rotulos> rotulos(new Rotulos(Q(curvas.decimal)));
  auto* margenes = new QCPMarginGroup(&grafico);
  const auto [xMin, xMax] = std::minmax(curvas.desde, curvas.hasta);
  // A hair wider than the sweep, so that a tick at either end, as rounded, still lies within it.
  const QCPRange rangoX = Rango(xMin, xMax, 1e-9);
  std::vector<QCPAxis*> ejesX;
  int fila = 0;
  for (const auto& panel : paneles) {
    QCPLegend* leyenda = Leyenda(grafico, fila++);
    auto* rect = new QCPAxisRect(&grafico);
    grafico.plotLayout()->addElement(fila++, 0, rect);
    rect->setMarginGroup(QCP::msLeft | QCP::msRight, margenes);
    // Room on the right for the last number of the swept datum, which lies at the very end.
    rect->setMinimumMargins(QMargins(0, 0, 24, 0));
    for (auto* eje : {rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft)}) {
      eje->setTicker(rotulos);
      // Solid: a dotted line's dots would start again at the top of each band of a PNG.
      eje->grid()->setPen(QPen(QColor(220, 220, 220), 0));
    }
    rect->axis(QCPAxis::atBottom)->setLabel(Q(curvas.titulo));
    rect->axis(QCPAxis::atBottom)->setRange(rangoX);
    rect->axis(QCPAxis::atLeft)->setLabel(TituloDelEje(panel));
    ejesX.push_back(rect->axis(QCPAxis::atBottom));

    double minimo = INFINITY, maximo = -INFINITY;
    for (std::size_t s = 0; s < panel.resultados.size(); ++s) {
      const auto& d = *BuscarResultado(panel.resultados[s]);
      const auto n = static_cast<std::size_t>(&d - kResultados.data());
      const Qt::PenStyle trazo = familia ? kTrazos[s % kTrazos.size()] : Qt::SolidLine;
      if (familia) {  // an entry per result in its dash, without data
        auto* muestra = Curva(grafico, rect, Q(d.titulo), QPen(Qt::black, 1.5, trazo));
        AnadirALeyenda(leyenda, muestra, 0, static_cast<int>(s));
      }
      for (std::size_t m = 0; m < curvas.miembros.size(); ++m) {
        const QColor color(familia ? kColoresFamilia[m % kColoresFamilia.size()]
                                   : kColoresResultado[s % kColoresResultado.size()]);
        QString nombre = Q(d.titulo);
        if (familia)
          nombre += QStringLiteral(", ") + Q(curvas.tituloFamilia) + QStringLiteral(" = ") +
                    rotulos->Texto(curvas.miembros[m].valor);
        QVector<QCPGraphData> linea, sueltos;
        Datos(curvas.miembros[m].y[n], linea, sueltos);
        for (const auto& p : linea)
          if (!std::isnan(p.value)) {
            minimo = std::min(minimo, p.value);
            maximo = std::max(maximo, p.value);
          }
        auto* g = Curva(grafico, rect, nombre, QPen(color, 1.5, trazo));
        g->data()->set(linea);
        if (!familia)
          AnadirALeyenda(leyenda, g, 0, static_cast<int>(s));
        if (!sueltos.isEmpty()) {
          auto* marcas = Curva(grafico, rect, nombre, QPen(color));
          marcas->setLineStyle(QCPGraph::lsNone);
          marcas->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, 6));
          marcas->data()->set(sueltos);
        }
      }
    }
    if (familia) {  // an entry per value of the second datum in its colour, five to a row
      for (std::size_t m = 0; m < curvas.miembros.size(); ++m) {
        const QColor color(kColoresFamilia[m % kColoresFamilia.size()]);
        auto* muestra = Curva(grafico, rect,
                              Q(curvas.tituloFamilia) + QStringLiteral(" = ") +
                                  rotulos->Texto(curvas.miembros[m].valor),
                              QPen(color, 1.5));
        AnadirALeyenda(leyenda, muestra, 1 + static_cast<int>(m / 5), static_cast<int>(m % 5));
      }
    }
    rect->axis(QCPAxis::atLeft)->setRange(Rango(minimo, maximo, 0.05));
    leyenda->setMaximumSize(leyenda->minimumOuterSizeHint());
  }
  // The panels show the same stretch of the swept datum, also when a window moves one of them.
  for (auto* a : ejesX)
    for (auto* b : ejesX)
      if (a != b)
        QObject::connect(a, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), b,
                         qOverload<const QCPRange&>(&QCPAxis::setRange));
  return std::nullopt;
}

void HacerInteractivo(QCustomPlot& grafico) {
  grafico.setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  grafico.setNoAntialiasingOnDrag(true);
  for (auto* rect : grafico.axisRects()) {
    rect->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    rect->setRangeZoom(Qt::Horizontal | Qt::Vertical);
  }
}

std::optional<QString> ValorEn(const QCustomPlot& grafico, QPointF pixel, double radio) {
  QCPAxisRect* rect = grafico.axisRectAt(pixel);
  if (rect == nullptr || !rect->rect().contains(pixel.toPoint()))
    return std::nullopt;
  const QCPGraph* elegida = nullptr;
  QCPGraphData punto;
  double distancia = radio * radio;
  for (const QCPGraph* g : rect->graphs()) {
    const QCPAxis* x = g->keyAxis();

    // By value: std::minmax of two would give references to the temporaries.
    const auto [desde, hasta] =
        std::minmax({x->pixelToCoord(pixel.x() - radio), x->pixelToCoord(pixel.x() + radio)});
    for (auto it = g->data()->findBegin(desde, false); it != g->data()->findEnd(hasta, false);
         ++it) {
      if (std::isnan(it->value))
        continue;
      const double dx = x->coordToPixel(it->key) - pixel.x();
      const double dy = g->valueAxis()->coordToPixel(it->value) - pixel.y();
      if (dx * dx + dy * dy <= distancia) {
        distancia = dx * dx + dy * dy;
        elegida = g;
        punto = *it;
      }
    }
  }
  if (elegida == nullptr)
    return std::nullopt;
  const auto* rotulos = dynamic_cast<const Rotulos*>(elegida->keyAxis()->ticker().data());
  const auto texto = [&](double v) {
    return rotulos != nullptr ? rotulos->Texto(v) : QString::number(v, 'g', 6);
  };
  return elegida->keyAxis()->label() + QStringLiteral(" = ") + texto(punto.key) +
         QLatin1Char('\n') + elegida->name() + QStringLiteral(" = ") + texto(punto.value);
}

}  // namespace zelk::grafico
