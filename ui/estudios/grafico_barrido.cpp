#include "ui/estudios/grafico_barrido.h"

#include <qcustomplot.h>
#include <QBuffer>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

#include "grafico/archivo.h"
#include "grafico/formatos.h"
#include "grafico/grafico.h"
#include "ui/comun/texto_qt.h"
#include "ui/estudios/textos_estudios.h"

namespace zelk::ui::estudios {

namespace {

// The panels of the results chosen, in the order of the results: a panel per kind of figure, the
// active and reactive powers together as zelk-calc draws them.
std::vector<grafico::Panel> Paneles(const std::vector<std::size_t>& resultados) {
  constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kPorUnidad{{
      {"º", "Ángulos"},
      {"", "Q/P"},
      {"kV", "Tensiones"},
      {"A", "Corrientes"},
      {"MW", "Potencias"},
      {"MVAr", "Potencias"},
  }};
  std::vector<grafico::Panel> paneles;
  for (const std::size_t n : resultados) {
    const std::string_view unidad = Unidad(kResultados[n].titulo);
    std::string_view titulo = unidad;
    for (const auto& [u, t] : kPorUnidad)
      if (u == unidad)
        titulo = t;
    auto it = std::find_if(paneles.begin(), paneles.end(),
                           [&](const grafico::Panel& p) { return p.titulo == titulo; });
    if (it == paneles.end())
      it = paneles.insert(paneles.end(), grafico::Panel{titulo, {}});
    it->resultados.push_back(kResultados[n].nombre);
  }
  return paneles;
}

}  // namespace

bool EscribeFormato(lotes::FormatoGrafico formato) {
  return grafico::Escribe(formato);
}

GraficoBarrido::GraficoBarrido(ConfiguracionRegional regional, QWidget* padre)
    : QWidget(padre), regional_(std::move(regional)) {
  auto* columna = new QVBoxLayout(this);
  columna->setContentsMargins(0, 0, 0, 0);
  lectura_ = new QLabel(this);
  lectura_->setObjectName(QStringLiteral("lblLectura"));
  lectura_->setTextFormat(Qt::PlainText);
  lectura_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A line kept for the reading, so that the plot does not jump when one appears.
  lectura_->setMinimumHeight(lectura_->fontMetrics().height());
  columna->addWidget(lectura_);
  lienzo_ = new QCustomPlot(this);
  lienzo_->setObjectName(QStringLiteral("graBarrido"));
  lienzo_->setAccessibleName(Q(kNombreGrafico));
  lienzo_->setMinimumHeight(160);
  lienzo_->setMouseTracking(true);
  lienzo_->plotLayout()->clear();
  columna->addWidget(lienzo_, 1);
  connect(lienzo_, &QCustomPlot::mouseMove, this, &GraficoBarrido::Movido);
  // Thinned again once the zoom or the drag has paused, not at every step of it.
  espera_ = new QTimer(this);
  espera_->setSingleShot(true);
  espera_->setInterval(40);
  connect(espera_, &QTimer::timeout, this, &GraficoBarrido::Reducir);
}

void GraficoBarrido::Mostrar(std::shared_ptr<const lotes::BarridoEnMemoria> barrido,
                             std::vector<std::size_t> resultados) {
  barrido_ = std::move(barrido);
  resultados_ = std::move(resultados);
  lectura_->clear();
  Encuadrar();
}

void GraficoBarrido::Encuadrar() {
  Dibujar(-INFINITY, INFINITY);
}

void GraficoBarrido::Dibujar(double xMin, double xMax) {
  espera_->stop();
  dibujando_ = true;
  const auto paneles = Paneles(resultados_);
  const auto columnas =
      static_cast<std::size_t>(std::max(200.0, lienzo_->width() * devicePixelRatioF()));
  std::optional<std::string> nada;
  if (barrido_ && barrido_->puntos > 0) {
    const lotes::Curvas curvas =
        lotes::CurvasEnMemoria(*barrido_, resultados_, xMin, xMax, columnas, regional_);
    nada = grafico::Configurar(*lienzo_, curvas, paneles);
  } else {
    lienzo_->clearPlottables();
    lienzo_->clearItems();
    lienzo_->plotLayout()->clear();
    nada = std::string();
  }
  if (!nada) {
    grafico::HacerInteractivo(*lienzo_);
    if (!lienzo_->axisRects().isEmpty())
      connect(lienzo_->axisRect(0)->axis(QCPAxis::atBottom),
              qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
                if (!dibujando_)
                  espera_->start();
              });
  }
  lienzo_->replot();
  dibujando_ = false;
}

void GraficoBarrido::Reducir() {
  if (!barrido_ || lienzo_->axisRects().isEmpty())
    return;
  const QCPRange visible = lienzo_->axisRect(0)->axis(QCPAxis::atBottom)->range();
  std::vector<QCPRange> alturas;
  for (auto* rect : lienzo_->axisRects())
    alturas.push_back(rect->axis(QCPAxis::atLeft)->range());
  Dibujar(visible.lower, visible.upper);
  const auto rects = lienzo_->axisRects();
  dibujando_ = true;
  for (qsizetype i = 0; i < rects.size() && i < static_cast<qsizetype>(alturas.size()); ++i) {
    rects[i]->axis(QCPAxis::atBottom)->setRange(visible);
    rects[i]->axis(QCPAxis::atLeft)->setRange(alturas[static_cast<std::size_t>(i)]);
  }
  dibujando_ = false;
  lienzo_->replot();
}

void GraficoBarrido::resizeEvent(QResizeEvent* evento) {
  QWidget::resizeEvent(evento);
  // Wider or narrower, the plot has other columns to thin the curves to.
  if (barrido_)
    espera_->start();
}

QString GraficoBarrido::LeerEn(const QPointF& pos) {
  const auto valor = grafico::ValorEn(*lienzo_, pos);
  const QString texto = valor ? QString(*valor).replace(u'\n', QStringLiteral(" — ")) : QString();
  lectura_->setText(texto);
  return texto;
}

void GraficoBarrido::Movido(QMouseEvent* evento) {
  LeerEn(evento->position());
}

std::optional<std::string> GraficoBarrido::Imagen(lotes::FormatoGrafico formato, int ancho,
                                                  int alto, QByteArray& bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  auto motivo = grafico::Escribir(*lienzo_, formato, QSize(ancho, alto), buffer);
  // Writing lays the plot out at the picture's size: the window's own comes back.
  lienzo_->replot();
  return motivo;
}

}  // namespace zelk::ui::estudios
