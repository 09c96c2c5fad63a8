#include "calc/grafico_qt.h"

#include <QApplication>
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

// One chart: each result a curve, broken where the result could not be formed.
QChart* Grafico(const lotes::Curvas& c, const QString& titulo,
                const std::array<std::string_view, 4>& nombres, const QLocale& numeros) {
  auto* grafico = new QChart;
  grafico->setTitle(titulo);
  grafico->setLocalizeNumbers(true);
  grafico->setLocale(numeros);
  auto* ejeX = new QValueAxis;
  ejeX->setTitleText(Q(c.parametro->titulo));
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
      if (!y[k]) {
        ++k;
        continue;
      }
      std::size_t fin = k;
      while (fin < y.size() && y[fin])
        ++fin;
      // A lone point between gaps is a mark; a run of points a line.
      QXYSeries* trozo = fin - k == 1 ? static_cast<QXYSeries*>(new QScatterSeries)
                                      : static_cast<QXYSeries*>(new QLineSeries);
      if (auto* marcas = qobject_cast<QScatterSeries*>(trozo))
        marcas->setMarkerSize(6);
      for (std::size_t i = k; i < fin; ++i) {
        trozo->append(c.x[i], *y[i]);
        minimo = std::min(minimo, *y[i]);
        maximo = std::max(maximo, *y[i]);
      }
      anadir(trozo);
      k = fin;
    }
  }
  ejeY->setTitleText(titulos.join(QStringLiteral(", ")));
  const auto [xMin, xMax] = std::minmax_element(c.x.begin(), c.x.end());
  if (xMin != c.x.end() && *xMin < *xMax)
    ejeX->setRange(*xMin, *xMax);
  else if (xMin != c.x.end())
    ejeX->setRange(*xMin - 1, *xMin + 1);
  if (minimo <= maximo) {
    const double margen = minimo < maximo ? (maximo - minimo) * 0.05 : 1;
    ejeY->setRange(minimo - margen, maximo + margen);
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

std::optional<std::string> DibujarCurvas(const lotes::Curvas& curvas, const std::string& archivo,
                                         int ancho, int alto) {
  const QString nombre = QString::fromStdString(archivo);
  const bool svg = nombre.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
  if (!svg && !nombre.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
    return "el gráfico ha de ser .svg o .png: «" + archivo + "»";
  if (curvas.parametro == nullptr)
    return std::string("no hay curvas que dibujar");

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

  if (svg) {
    QSvgGenerator generador;
    generador.setFileName(nombre);
    generador.setSize(QSize(ancho, alto));
    generador.setViewBox(QRect(0, 0, ancho, alto));
    generador.setTitle(QStringLiteral("zelk-calc"));
    QPainter pintor;
    if (!pintor.begin(&generador))
      return "no se puede escribir «" + archivo + "»";
    lienzo.render(&pintor);
    pintor.end();
    return std::nullopt;
  }
  QImage imagen(ancho, alto, QImage::Format_ARGB32);
  imagen.fill(Qt::white);
  QPainter pintor(&imagen);
  lienzo.render(&pintor);
  pintor.end();
  if (!imagen.save(nombre, "PNG"))
    return "no se puede escribir «" + archivo + "»";
  return std::nullopt;
}

}  // namespace zelk
