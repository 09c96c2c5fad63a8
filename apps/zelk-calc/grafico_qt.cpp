#include "apps/zelk-calc/grafico_qt.h"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>

namespace zelk {

namespace {

QString Q(std::string_view t) {
  return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

std::size_t IndiceResultado(std::string_view nombre) {
  for (std::size_t i = 0; i < kNumResultados; ++i)
    if (kResultados[i].nombre == nombre)
      return i;
  return 0;
}

// The range of an axis for values from `minimo` to `maximo`: 5 % more on either side, within the
// doubles even for values near the largest.
std::pair<double, double> Margen(double minimo, double maximo) {
  constexpr double kMayor = std::numeric_limits<double>::max();
  const double margen = minimo < maximo ? (maximo / 2 - minimo / 2) * 0.1 : 1;
  return {std::max(minimo - margen, -kMayor), std::min(maximo + margen, kMayor)};
}

// One chart: each result a curve, broken where the result could not be formed.
QChart* Grafico(const lotes::Curvas& c, const QString& titulo,
                const std::array<std::string_view, 4>& nombres, const QLocale& numeros) {
  auto* grafico = new QChart;
  grafico->setTitle(titulo);
  grafico->setLocalizeNumbers(true);
  grafico->setLocale(numeros);
  auto* ejeX = new QValueAxis;
  ejeX->setTitleText(Q(c.parametro != nullptr ? c.parametro->titulo : c.control->titulo));
  auto* ejeY = new QValueAxis;
  grafico->addAxis(ejeX, Qt::AlignBottom);
  grafico->addAxis(ejeY, Qt::AlignLeft);

  QStringList titulos;
  double minimo = INFINITY, maximo = -INFINITY;
  const std::array<QColor, 4> colores{QColor(0, 90, 180), QColor(200, 60, 20), QColor(20, 140, 60),
                                      QColor(140, 40, 160)};
  for (std::size_t s = 0; s < nombres.size(); ++s) {
    const auto& d = kResultados[IndiceResultado(nombres[s])];
    const auto& y = c.y[IndiceResultado(nombres[s])];
    titulos << Q(d.titulo);
    bool enLeyenda = false;
    auto anadir = [&](QXYSeries* serie) {
      serie->setName(Q(d.titulo));
      serie->setColor(colores[s]);
      grafico->addSeries(serie);
      serie->attachAxis(ejeX);
      serie->attachAxis(ejeY);
      // One entry in the legend per result, however many pieces its curve has.
      for (auto* marca : grafico->legend()->markers(serie))
        marca->setVisible(!enLeyenda);
      enLeyenda = true;
    };
    std::size_t k = 0;
    while (k < y.size()) {
      if (!y[k].y) {
        ++k;
        continue;
      }
      std::size_t fin = k;
      while (fin < y.size() && y[fin].y)
        ++fin;
      // A lone point between gaps is a mark; a run of points a line.
      QXYSeries* trozo = fin - k == 1 ? static_cast<QXYSeries*>(new QScatterSeries)
                                      : static_cast<QXYSeries*>(new QLineSeries);
      if (auto* marcas = qobject_cast<QScatterSeries*>(trozo))
        marcas->setMarkerSize(6);
      QList<QPointF> puntos;
      puntos.reserve(static_cast<qsizetype>(fin - k));
      for (std::size_t i = k; i < fin; ++i) {
        puntos.append(QPointF(y[i].x, *y[i].y));
        minimo = std::min(minimo, *y[i].y);
        maximo = std::max(maximo, *y[i].y);
      }
      trozo->replace(puntos);
      anadir(trozo);
      k = fin;
    }
  }
  ejeY->setTitleText(titulos.join(QStringLiteral(", ")));
  const auto [xMin, xMax] = std::minmax(c.desde, c.hasta);
  const auto [yMin, yMax] = Margen(minimo, maximo);
  ejeX->setRange(xMin < xMax ? xMin : xMin - 1, xMin < xMax ? xMax : xMax + 1);
  if (minimo <= maximo) {
    ejeY->setRange(yMin, yMax);
    ejeY->applyNiceNumbers();
  }
  return grafico;
}

// Qt's notes about the off-screen platform and the runtime folder are not the user's business on
// a command line; errors still get through.
void Callar(QtMsgType tipo, const QMessageLogContext& /*contexto*/, const QString& texto) {
  if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
    std::fprintf(stderr, "%s\n", texto.toLocal8Bit().constData());
}

class SilencioDeQt {
 public:
  SilencioDeQt() : anterior_(qInstallMessageHandler(Callar)) {}
  ~SilencioDeQt() { qInstallMessageHandler(anterior_); }
  SilencioDeQt(const SilencioDeQt&) = delete;
  SilencioDeQt& operator=(const SilencioDeQt&) = delete;

 private:
  QtMessageHandler anterior_;
};

}  // namespace

std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, lotes::FormatoGrafico formato,
                                         int ancho, int alto, std::string& error) {
  if (curvas.parametro == nullptr && curvas.control == nullptr) {
    error = "no hay curvas que dibujar";
    return std::nullopt;
  }

  const SilencioDeQt silencio;
  // Charts need a widget application; nothing is shown, so the off-screen platform serves.
  std::unique_ptr<QApplication> aplicacion;
  static int argc = 1;
  static char nombrePrograma[] = "zelk-calc";
  static char* argv[] = {nombrePrograma, nullptr};
  if (QApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    aplicacion = std::make_unique<QApplication>(argc, argv);
  }
  QLocale numeros =
      curvas.decimal == "," ? QLocale(QLocale::Spanish, QLocale::Spain) : QLocale::c();
  numeros.setNumberOptions(QLocale::OmitGroupSeparator);

  QWidget lienzo;
  lienzo.setAttribute(Qt::WA_DontShowOnScreen);
  auto* capas = new QVBoxLayout(&lienzo);
  capas->setContentsMargins(0, 0, 0, 0);
  for (auto* grafico :
       {Grafico(curvas, QStringLiteral("Ángulos"), {"alpha", "mur", "gamma", "mui"}, numeros),
        Grafico(curvas, QStringLiteral("Potencias"), {"Pr", "Qr", "Pi", "Qi"}, numeros)}) {
    auto* vista = new QChartView(grafico, &lienzo);
    vista->setRenderHint(QPainter::Antialiasing);
    capas->addWidget(vista);
  }
  lienzo.resize(ancho, alto);
  lienzo.show();
  QApplication::processEvents();

  // Drawn into memory: the caller writes the file, and checks that write.
  QByteArray bytes;
  QBuffer memoria(&bytes);
  memoria.open(QIODevice::WriteOnly);
  if (formato == lotes::FormatoGrafico::Svg) {
    QSvgGenerator generador;
    generador.setOutputDevice(&memoria);
    generador.setSize(QSize(ancho, alto));
    generador.setViewBox(QRect(0, 0, ancho, alto));
    generador.setTitle(QStringLiteral("zelk-calc"));
    QPainter pintor;
    if (!pintor.begin(&generador)) {
      error = "no se puede dibujar el gráfico SVG";
      return std::nullopt;
    }
    lienzo.render(&pintor);
    pintor.end();
  } else {
    QImage imagen(ancho, alto, QImage::Format_ARGB32);
    if (imagen.isNull()) {
      error = "no hay memoria para un gráfico de " + std::to_string(ancho) + "x" +
              std::to_string(alto) + " píxeles";
      return std::nullopt;
    }
    imagen.fill(Qt::white);
    QPainter pintor(&imagen);
    lienzo.render(&pintor);
    pintor.end();
    if (!imagen.save(&memoria, "PNG")) {
      error = "no se puede dibujar el gráfico PNG";
      return std::nullopt;
    }
  }
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace zelk

// The module's entry, looked up by name.
extern "C" zelk::FuncionDibujar zelk_grafico_dibujar() {
  return &zelk::DibujarCurvas;
}
