#include "ui/estudios/grafico_barrido.h"

#include <qcustomplot.h>
#include <QBuffer>
#include <QLabel>
#include <QPdfWriter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

#ifdef ZELK_CON_SVG
#include <QSvgGenerator>
#endif

#include "ui/comun/texto_qt.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

bool HaySvg() {
#ifdef ZELK_CON_SVG
  return true;
#else
  return false;
#endif
}

namespace {

// Colours told apart by most readers, also with a colour deficiency, on light and dark backgrounds.
const std::array<QColor, 8> kColores{
    QColor(0, 114, 178), QColor(213, 94, 0),   QColor(0, 158, 115),   QColor(204, 121, 167),
    QColor(230, 159, 0), QColor(86, 180, 233), QColor(150, 150, 150), QColor(160, 40, 40)};
const std::array<Qt::PenStyle, 4> kTrazos{Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                          Qt::DashDotLine};

// Tick labels with the user's decimal separator, without digit groups.
class MarcasRegionales final : public QCPAxisTicker {
 public:
  explicit MarcasRegionales(QString decimal) : decimal_(std::move(decimal)) {}

 protected:
  QString getTickLabel(double tick, const QLocale& /*locale*/, QChar formatChar,
                       int precision) override {
    QString texto = QCPAxisTicker::getTickLabel(tick, QLocale::c(), formatChar, precision);
    return texto.replace(u'.', decimal_);
  }

 private:
  QString decimal_;
};

// "alpha" of "alpha [º]".
QString SinUnidad(std::string_view titulo) {
  const auto abre = titulo.find(" [");
  return Q(titulo.substr(0, abre));
}

QString TituloEje(const lotes::Barrido& b) {
  return Q(b.parametro != nullptr ? b.parametro->titulo : b.control->titulo);
}

}  // namespace

GraficoBarrido::GraficoBarrido(ConfiguracionRegional regional, QWidget* padre)
    : QWidget(padre), regional_(std::move(regional)) {
  auto* columna = new QVBoxLayout(this);
  columna->setContentsMargins(0, 0, 0, 0);
  lectura_ = new QLabel(this);
  lectura_->setObjectName(QStringLiteral("lblLectura"));
  lectura_->setTextFormat(Qt::PlainText);
  lectura_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  columna->addWidget(lectura_);
  lienzo_ = new QCustomPlot(this);
  lienzo_->setObjectName(QStringLiteral("graBarrido"));
  lienzo_->setAccessibleName(Q(kNombreGrafico));
  lienzo_->setMinimumHeight(160);
  lienzo_->setAutoAddPlottableToLegend(false);
  lienzo_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  lienzo_->plotLayout()->clear();
  lienzo_->setMouseTracking(true);
  columna->addWidget(lienzo_, 1);
  connect(lienzo_, &QCustomPlot::mouseMove, this, &GraficoBarrido::Movido);
  Tema();
}

QString GraficoBarrido::Panel(std::size_t resultado) const {
  // Results of the same unit share a panel; the ratios, which have none, one of their own.
  return Q(Unidad(kResultados[resultado].titulo));
}

void GraficoBarrido::Mostrar(std::shared_ptr<const lotes::BarridoEnMemoria> barrido,
                             std::vector<std::size_t> resultados) {
  barrido_ = std::move(barrido);
  resultados_ = std::move(resultados);
  lienzo_->clearGraphs();
  lienzo_->clearItems();
  lienzo_->plotLayout()->clear();
  paneles_.clear();
  leyendas_.clear();
  lineas_.clear();
  series_.clear();
  lectura_->clear();
  if (!barrido_ || barrido_->puntos == 0 || resultados_.empty()) {
    lienzo_->replot();
    return;
  }
  // The panels in the order of the results' first appearance.
  std::vector<QString> unidades;
  std::map<QString, std::vector<std::size_t>> porUnidad;
  for (const std::size_t n : resultados_) {
    const QString u = Panel(n);
    if (porUnidad.find(u) == porUnidad.end())
      unidades.push_back(u);
    porUnidad[u].push_back(n);
  }
  auto* margenes = new QCPMarginGroup(lienzo_);
  const auto ticker = QSharedPointer<MarcasRegionales>::create(Q(regional_.Decimal()));
  const std::size_t miembros = barrido_->Interior();
  const bool familia = barrido_->barridos.size() > 1;
  for (std::size_t p = 0; p < unidades.size(); ++p) {
    const auto& nombres = porUnidad[unidades[p]];
    auto* panel = new QCPAxisRect(lienzo_);
    lienzo_->plotLayout()->addElement(static_cast<int>(p), 0, panel);
    panel->setMarginGroup(QCP::msLeft | QCP::msRight, margenes);
    panel->setRangeDrag(Qt::Horizontal | Qt::Vertical);
    panel->setRangeZoom(Qt::Horizontal | Qt::Vertical);
    QCPAxis* x = panel->axis(QCPAxis::atBottom);
    QCPAxis* y = panel->axis(QCPAxis::atLeft);
    x->setTicker(ticker);
    y->setTicker(ticker);
    x->setNumberFormat(QStringLiteral("g"));
    y->setNumberFormat(QStringLiteral("g"));
    // The swept datum is named under the lowest panel only.
    if (p + 1 == unidades.size())
      x->setLabel(TituloEje(barrido_->barridos[0]));
    QStringList titulos;
    for (const std::size_t n : nombres)
      titulos << SinUnidad(kResultados[n].titulo);
    y->setLabel(titulos.join(QStringLiteral(", ")) +
                (unidades[p].isEmpty() ? QString() : QStringLiteral(" [") + unidades[p] + u']'));
    // The legend beside its panel, where it hides no curve, at the panel's top.
    auto* lado = new QCPLayoutGrid;
    lienzo_->plotLayout()->addElement(static_cast<int>(p), 1, lado);
    auto* leyenda = new QCPLegend;
    lado->addElement(0, 0, leyenda);
    lado->addElement(1, 0, new QCPLayoutElement(lienzo_));
    lado->setRowStretchFactor(0, 0.001);
    lado->setRowSpacing(0);
    leyenda->setLayer(QStringLiteral("legend"));
    leyendas_.push_back(leyenda);
    for (std::size_t k = 0; k < nombres.size(); ++k) {
      for (std::size_t m = 0; m < miembros; ++m) {
        auto* g = lienzo_->addGraph(x, y);
        QPen pluma(familia ? kColores[m % kColores.size()] : kColores[k % kColores.size()]);
        pluma.setWidthF(1.5);
        pluma.setStyle(familia ? kTrazos[k % kTrazos.size()] : Qt::SolidLine);
        g->setPen(pluma);
        QString nombre = SinUnidad(kResultados[nombres[k]].titulo);
        if (familia)
          nombre += QStringLiteral(", %1 = %2")
                        .arg(Q(barrido_->barridos[1].Nombre()),
                             Q(NumeroATexto(barrido_->valores[1][m], regional_)));
        g->setName(nombre);
        g->addToLegend(leyenda);
        series_.push_back({g, nombres[k], m});
      }
    }
    auto* linea = new QCPItemStraightLine(lienzo_);
    linea->setClipAxisRect(panel);
    linea->point1->setAxes(x, y);
    linea->point2->setAxes(x, y);
    linea->setVisible(false);
    lineas_.push_back(linea);
    paneles_.push_back(panel);
    // Every panel shows the same stretch of the swept datum; what is drawn is thinned again to it.
    connect(x, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this, x](const QCPRange& rango) {
              if (propagando_)
                return;
              propagando_ = true;
              for (auto* otro : paneles_)
                if (otro->axis(QCPAxis::atBottom) != x)
                  otro->axis(QCPAxis::atBottom)->setRange(rango);
              propagando_ = false;
              if (!reduccionPendiente_) {
                reduccionPendiente_ = true;
                QTimer::singleShot(0, this, &GraficoBarrido::Reducir);
              }
            });
  }
  // The legends take the room they need; the panels the rest.
  lienzo_->plotLayout()->setColumnStretchFactor(1, 0.001);
  Tema();
  Encuadrar();
}

void GraficoBarrido::Encuadrar() {
  if (!barrido_ || paneles_.empty())
    return;
  const auto& x = barrido_->valores[0];
  double desde = *std::min_element(x.begin(), x.end());
  double hasta = *std::max_element(x.begin(), x.end());
  if (!(desde < hasta)) {
    desde -= 1;
    hasta += 1;
  }
  propagando_ = true;
  for (auto* panel : paneles_)
    panel->axis(QCPAxis::atBottom)->setRange(desde, hasta);
  propagando_ = false;
  Reducir();
  for (auto* panel : paneles_) {
    bool hay = false;
    QCPRange rango;
    for (const auto& s : series_) {
      if (s.grafico->valueAxis() != panel->axis(QCPAxis::atLeft))
        continue;
      bool encontrado = false;
      const QCPRange r = s.grafico->getValueRange(encontrado);
      if (!encontrado)
        continue;
      rango = hay ? QCPRange(std::min(rango.lower, r.lower), std::max(rango.upper, r.upper)) : r;
      hay = true;
    }
    if (!hay)
      rango = QCPRange(0, 1);
    const double margen =
        rango.size() > 0 ? rango.size() * 0.05 : std::max(1.0, std::abs(rango.lower) * 0.05);
    panel->axis(QCPAxis::atLeft)->setRange(rango.lower - margen, rango.upper + margen);
  }
  lienzo_->replot();
}

void GraficoBarrido::Reducir() {
  reduccionPendiente_ = false;
  if (!barrido_ || paneles_.empty())
    return;
  const QCPRange visible = paneles_.front()->axis(QCPAxis::atBottom)->range();
  const auto columnas =
      static_cast<std::size_t>(std::max(200.0, paneles_.front()->width() * devicePixelRatioF()));
  for (const auto& s : series_) {
    const auto curva = lotes::CurvaEnMemoria(*barrido_, s.resultado, s.miembro, visible.lower,
                                             visible.upper, columnas);
    QVector<double> claves, valores;
    claves.reserve(static_cast<qsizetype>(curva.size()));
    valores.reserve(static_cast<qsizetype>(curva.size()));
    for (const auto& p : curva) {
      claves.push_back(p.x);
      valores.push_back(p.y ? *p.y : std::nan(""));
    }
    // A lone point between gaps has no line to show it: few points are drawn as marks as well.
    s.grafico->setScatterStyle(curva.size() <= 60 ? QCPScatterStyle(QCPScatterStyle::ssDisc, 4)
                                                  : QCPScatterStyle(QCPScatterStyle::ssNone));
    s.grafico->setData(claves, valores, true);
  }
  lienzo_->replot(QCustomPlot::rpQueuedReplot);
}

void GraficoBarrido::Tema() {
  // The plot takes the window's colours, so that it reads under a dark palette as under a light
  // one.
  const QPalette p = palette();
  const QColor fondo = p.color(QPalette::Base), texto = p.color(QPalette::Text);
  QColor rejilla = p.color(QPalette::Mid);
  rejilla.setAlpha(110);
  lienzo_->setBackground(fondo);
  for (auto* panel : paneles_) {
    for (auto* eje : panel->axes()) {
      eje->setBasePen(QPen(texto));
      eje->setTickPen(QPen(texto));
      eje->setSubTickPen(QPen(texto));
      eje->setTickLabelColor(texto);
      eje->setLabelColor(texto);
      eje->grid()->setPen(QPen(rejilla, 0, Qt::DotLine));
    }
  }
  for (auto* leyenda : leyendas_) {
    leyenda->setBrush(fondo);
    leyenda->setTextColor(texto);
    leyenda->setBorderPen(QPen(p.color(QPalette::Mid)));
  }
  for (auto* linea : lineas_)
    linea->setPen(QPen(p.color(QPalette::Highlight), 1, Qt::DashLine));
  lienzo_->replot(QCustomPlot::rpQueuedReplot);
}

void GraficoBarrido::changeEvent(QEvent* evento) {
  QWidget::changeEvent(evento);
  if (evento->type() == QEvent::PaletteChange)
    Tema();
}

void GraficoBarrido::resizeEvent(QResizeEvent* evento) {
  QWidget::resizeEvent(evento);
  // Wider or narrower, the plot has other columns to thin the curves to.
  if (!reduccionPendiente_ && barrido_) {
    reduccionPendiente_ = true;
    QTimer::singleShot(0, this, &GraficoBarrido::Reducir);
  }
}

QString GraficoBarrido::LeerEn(const QPointF& pos) {
  QCPAxisRect* panel = lienzo_->axisRectAt(pos);
  const auto it = std::find(paneles_.begin(), paneles_.end(), panel);
  if (!barrido_ || it == paneles_.end()) {
    for (auto* linea : lineas_)
      linea->setVisible(false);
    lectura_->clear();
    lienzo_->replot(QCustomPlot::rpQueuedReplot);
    return {};
  }
  const auto& xs = barrido_->valores[0];
  const double x = panel->axis(QCPAxis::atBottom)->pixelToCoord(pos.x());
  // The point of the sweep nearest the pointer.
  std::size_t k = 0;
  for (std::size_t i = 1; i < xs.size(); ++i)
    if (std::abs(xs[i] - x) < std::abs(xs[k] - x))
      k = i;
  const auto& eje = barrido_->barridos[0];
  QStringList partes;
  for (const auto& s : series_) {
    if (s.grafico->keyAxis() != panel->axis(QCPAxis::atBottom))
      continue;
    const double v = barrido_->ResultadoEn(k * barrido_->Interior() + s.miembro, s.resultado);
    partes << s.grafico->name() + QStringLiteral(": ") +
                  Q(TextoResultado(std::isnan(v) ? Resultado() : Resultado(v),
                                   kResultados[s.resultado], regional_));
  }
  for (std::size_t i = 0; i < lineas_.size(); ++i) {
    lineas_[i]->point1->setCoords(xs[k], 0);
    lineas_[i]->point2->setCoords(xs[k], 1);
    lineas_[i]->setVisible(true);
  }
  lienzo_->replot(QCustomPlot::rpQueuedReplot);
  const QString texto = Q(eje.Nombre()) + QStringLiteral(" = ") +
                        Q(NumeroATexto(xs[k], regional_)) + QStringLiteral(" — ") +
                        partes.join(QStringLiteral("; "));
  lectura_->setText(texto);
  return texto;
}

void GraficoBarrido::Movido(QMouseEvent* evento) {
  LeerEn(evento->position());
}

QByteArray GraficoBarrido::Imagen(FormatoImagen formato, int ancho, int alto) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  for (auto* linea : lineas_)
    linea->setVisible(false);
  switch (formato) {
    case FormatoImagen::Png:
      lienzo_->toPixmap(ancho, alto).save(&buffer, "PNG");
      break;
    case FormatoImagen::Pdf: {
      QPdfWriter pdf(&buffer);
      pdf.setResolution(96);
      pdf.setPageMargins(QMarginsF());
      pdf.setPageSize(QPageSize(QSizeF(ancho * 72.0 / 96, alto * 72.0 / 96), QPageSize::Point));
      pdf.setCreator(Q(kNombrePrograma));
      QCPPainter pintor(&pdf);
      pintor.setMode(QCPPainter::pmVectorized);
      pintor.setMode(QCPPainter::pmNoCaching);
      lienzo_->toPainter(&pintor, ancho, alto);
      break;
    }
    case FormatoImagen::Svg: {
#ifdef ZELK_CON_SVG
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(QSize(ancho, alto));
      svg.setViewBox(QRect(0, 0, ancho, alto));
      svg.setTitle(Q(kNombreGrafico));
      QCPPainter pintor(&svg);
      pintor.setMode(QCPPainter::pmVectorized);
      lienzo_->toPainter(&pintor, ancho, alto);
#endif
      break;
    }
  }
  lienzo_->replot();
  return bytes;
}

}  // namespace zelk::ui::estudios
