// The plot library on the off-screen platform: the curves QCustomPlot gets (gaps where a result is
// ERROR, points alone, families), the axes' texts, the value under the pointer, and the files
// written (PNG drawn in bands the same as whole, PDF, SVG).
#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <cmath>
#include <limits>
#include <random>

#include "grafico/archivo.h"
#include "grafico/grafico.h"
#include "grafico/png.h"

namespace zelk {
namespace {

using lotes::PuntoCurva;

void Aplicacion() {
  static int argc = 1;
  static char nombre[] = "zelk_grafico_tests";
  static char* argv[] = {nombre, nullptr};
  if (QApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication aplicacion(argc, argv);
  }
}

std::size_t N(std::string_view resultado) {
  return static_cast<std::size_t>(BuscarResultado(resultado) - kResultados.data());
}

// A sweep of Idc from `desde` to `hasta` whose alpha is `alpha`, every other result a line.
lotes::Curvas Barrido(double desde, double hasta, std::vector<PuntoCurva> alpha,
                      std::string decimal = ".") {
  lotes::Curvas c;
  c.nombre = "Idc";
  c.titulo = "Idc [A]";
  c.decimal = std::move(decimal);
  c.desde = desde;
  c.hasta = hasta;
  c.miembros.resize(1);
  for (auto& y : c.miembros[0].y)
    y = {{desde, 1}, {hasta, 2}};
  c.miembros[0].y[N("alpha")] = std::move(alpha);
  return c;
}

QVector<QCPGraphData> Datos(const QCPGraph* g) {
  return QVector<QCPGraphData>(g->data()->constBegin(), g->data()->constEnd());
}

// The points of the panel's graphs named `nombre`, as "x:y" with "|" for a gap, in key order.
std::vector<std::string> Trazos(QCPAxisRect* rect, const QString& nombre) {
  std::vector<std::string> trazos;
  for (const QCPGraph* g : rect->graphs()) {
    if (g->name() != nombre)
      continue;
    std::string t;
    for (const auto& p : Datos(g))
      t += std::isnan(p.value) ? std::string("| ")
                               : std::to_string(static_cast<int>(p.key)) + ":" +
                                     std::to_string(static_cast<int>(p.value)) + " ";
    trazos.push_back(t);
  }
  return trazos;
}

struct CasoCurva {
  const char* nombre;
  double desde, hasta;
  std::vector<PuntoCurva> alpha;
  std::vector<std::string> trazos;  // the line, then the marks of points alone
};

class Curvas : public testing::TestWithParam<CasoCurva> {};

// A gap as the thinned curve leaves it (keyed at the point before it) stays between its
// neighbours once QCustomPlot orders the points by key, also in a sweep that runs downwards; a
// point alone between gaps, which a line would not show, gets a mark.
TEST_P(Curvas, HuecosDondeElResultadoEsError) {
  Aplicacion();
  const auto& caso = GetParam();
  QCustomPlot grafico;
  const auto paneles = grafico::PanelesHabituales();
  ASSERT_EQ(grafico::Configurar(grafico, Barrido(caso.desde, caso.hasta, caso.alpha), paneles),
            std::nullopt);
  ASSERT_EQ(grafico.axisRectCount(), 2);
  EXPECT_EQ(Trazos(grafico.axisRect(0), QString::fromUtf8("alpha [º]")), caso.trazos);
  EXPECT_EQ(grafico.axisRect(1)->graphs().size(), 4) << "one curve per power, no marks";
}

const std::nullopt_t hueco = std::nullopt;
INSTANTIATE_TEST_SUITE_P(
    Grafico, Curvas,
    testing::Values(CasoCurva{"SinHuecos", 0, 3, {{0, 5}, {1, 6}, {3, 7}}, {"0:5 1:6 3:7 "}},
                    CasoCurva{"HuecoEnMedio",
                              0,
                              40,
                              {{0, 5}, {10, 6}, {10, hueco}, {30, 7}, {40, 8}},
                              {"0:5 10:6 | 30:7 40:8 "}},
                    CasoCurva{"HaciaAbajo",
                              40,
                              0,
                              {{40, 8}, {30, 7}, {30, hueco}, {10, 6}, {0, 5}},
                              {"0:5 10:6 | 30:7 40:8 "}},
                    CasoCurva{"PuntoSuelto",
                              0,
                              40,
                              {{0, 5}, {10, 6}, {10, hueco}, {20, 9}, {20, hueco}, {40, 8}},
                              {"0:5 10:6 | 20:9 | 40:8 ", "20:9 40:8 "}},
                    CasoCurva{"UnSoloPunto", 7, 7, {{7, 3}}, {"7:3 ", "7:3 "}},
                    CasoCurva{"TodoError", 0, 10, {}, {""}}),
    [](const auto& i) { return std::string(i.param.nombre); });

// A family: per panel a curve per result and value, and a legend entry per result and per value.
TEST(Grafico, FamiliaDeCurvas) {
  Aplicacion();
  lotes::Curvas c = Barrido(0, 10, {{0, 1}, {10, 2}}, ",");
  c.nombreFamilia = "Rdc";
  c.tituloFamilia = "Rdc [ohm]";
  c.miembros.resize(3, c.miembros[0]);
  for (std::size_t m = 0; m < 3; ++m)
    c.miembros[m].valor = 2.5 * static_cast<double>(m);
  QCustomPlot grafico;
  const auto paneles = grafico::PanelesHabituales();
  ASSERT_EQ(grafico::Configurar(grafico, c, paneles), std::nullopt);
  for (int r = 0; r < 2; ++r) {
    int conDatos = 0;
    QStringList muestras;
    for (const QCPGraph* g : grafico.axisRect(r)->graphs())
      if (g->data()->isEmpty())
        muestras << g->name();
      else
        ++conDatos;
    EXPECT_EQ(conDatos, 4 * 3);
    EXPECT_EQ(muestras.size(), 4 + 3);
    EXPECT_TRUE(muestras.contains(QStringLiteral("Rdc [ohm] = 2,5")))
        << muestras.join('|').toStdString();
  }
  EXPECT_EQ(Trazos(grafico.axisRect(0), QString::fromUtf8("alpha [º], Rdc [ohm] = 5")),
            std::vector<std::string>{"0:1 10:2 "});
}

TEST(Grafico, LoQueNoSePuedeDibujar) {
  Aplicacion();
  QCustomPlot grafico;
  const auto bien = Barrido(0, 1, {{0, 1}});
  const grafico::Panel desconocido{"Otros", {"alpha", "beta"}};
  const grafico::Panel vacio{"Nada", {}};
  const std::pair<std::vector<grafico::Panel>, std::string> casos[] = {
      {{desconocido}, "«beta» no es un resultado"},
      {{vacio}, "el panel «Nada» no tiene resultados"},
      {{}, "no hay resultados que dibujar"}};
  for (const auto& [paneles, motivo] : casos) {
    EXPECT_EQ(grafico::Configurar(grafico, bien, paneles), motivo);
    EXPECT_EQ(grafico.graphCount(), 0);
  }
  const auto paneles = grafico::PanelesHabituales();
  EXPECT_EQ(grafico::Configurar(grafico, lotes::Curvas{}, paneles), "no hay curvas que dibujar");
}

// A window lays out the same widget again for each sweep: each time the plot holds that sweep's
// curves alone, and nothing of the earlier layouts piles up; a refused one leaves it empty.
TEST(Grafico, RehechoEnElMismoGrafico) {
  Aplicacion();
  QCustomPlot grafico;
  const auto paneles = grafico::PanelesHabituales();
  for (int vez = 0; vez < 3; ++vez) {
    ASSERT_EQ(grafico::Configurar(grafico, Barrido(0, 1, {{0, 1}, {1, 2}}), paneles), std::nullopt);
    EXPECT_EQ(grafico.axisRectCount(), 2);
    EXPECT_EQ(grafico.graphCount(), 8);
    EXPECT_EQ(grafico.findChildren<QCPMarginGroup*>().size(), 1);
    EXPECT_EQ(grafico.findChildren<QCPLegend*>().size(), 2);
  }
  EXPECT_NE(grafico::Configurar(grafico, lotes::Curvas{}, paneles), std::nullopt);
  EXPECT_EQ(grafico.graphCount(), 0);
  EXPECT_EQ(grafico.axisRectCount(), 0);
}

// The axes' texts: the swept datum's caption, the panel's units, and the user's decimal separator.
TEST(Grafico, EjesConUnidadesYSeparador) {
  Aplicacion();
  auto c = Barrido(0.3, 0.9, {{0.3, 10}, {0.9, 20}}, ",");
  c.nombre = "tapr";
  c.titulo = "tapr [p.u.]";
  QCustomPlot grafico;
  const grafico::Panel tangentes{"Tangentes", {"tgphir", "tgphii"}};
  const auto paneles = grafico::PanelesHabituales();
  std::vector<grafico::Panel> todos(paneles.begin(), paneles.end());
  todos.push_back(tangentes);
  ASSERT_EQ(grafico::Configurar(grafico, c, todos), std::nullopt);
  grafico.replot();
  const QString titulos[] = {QString::fromUtf8("Ángulos [º]"),
                             QStringLiteral("Potencias [MW, MVAr]"), QStringLiteral("Tangentes")};
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(grafico.axisRect(r)->axis(QCPAxis::atLeft)->label(), titulos[r]);
    const auto* x = grafico.axisRect(r)->axis(QCPAxis::atBottom);
    EXPECT_EQ(x->label(), QStringLiteral("tapr [p.u.]"));
    EXPECT_TRUE(x->tickVectorLabels().contains(QStringLiteral("0,3")))
        << x->tickVectorLabels().join('|').toStdString();
    EXPECT_TRUE(x->tickVectorLabels().contains(QStringLiteral("0,9")))
        << "the sweep's end keeps its number, 9 steps of 0.1 rounded past it";
  }
}

// Values past what QCustomPlot's axes take (±1e250) still give an axis, clipped to what it takes.
TEST(Grafico, ValoresEnormes) {
  Aplicacion();
  QCustomPlot grafico;
  const auto paneles = grafico::PanelesHabituales();
  ASSERT_EQ(grafico::Configurar(grafico, Barrido(-1e308, 1e308, {{-1e308, -1e308}, {1e308, 1e308}}),
                                paneles),
            std::nullopt);
  for (auto* eje :
       {grafico.axisRect(0)->axis(QCPAxis::atLeft), grafico.axisRect(0)->axis(QCPAxis::atBottom)}) {
    EXPECT_TRUE(QCPRange::validRange(eje->range()));
    EXPECT_LT(eje->range().lower, -1e240);
    EXPECT_GT(eje->range().upper, 1e240);
  }
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  EXPECT_EQ(grafico::Escribir(grafico, lotes::FormatoGrafico::Png, QSize(300, 200), png),
            std::nullopt);
}

// For a window: the point under the pointer, and the panels moving together along x.
TEST(Grafico, ValorBajoElPunteroYPanelesJuntos) {
  Aplicacion();
  QCustomPlot grafico;
  grafico.resize(900, 700);
  const auto paneles = grafico::PanelesHabituales();
  ASSERT_EQ(grafico::Configurar(
                grafico, Barrido(1000, 2000, {{1000, 20}, {1500, 18.4}, {2000, 15}}, ","), paneles),
            std::nullopt);
  grafico::HacerInteractivo(grafico);
  grafico.replot();
  const auto* rect = grafico.axisRect(0);
  const QPointF punto(rect->axis(QCPAxis::atBottom)->coordToPixel(1500),
                      rect->axis(QCPAxis::atLeft)->coordToPixel(18.4));
  EXPECT_EQ(grafico::ValorEn(grafico, punto + QPointF(2, -3)),
            QString::fromUtf8("Idc [A] = 1500\nalpha [º] = 18,4"));
  EXPECT_EQ(grafico::ValorEn(grafico, punto + QPointF(0, 40)), std::nullopt);
  EXPECT_EQ(grafico::ValorEn(grafico, QPointF(-5, -5)), std::nullopt);

  grafico.axisRect(1)->axis(QCPAxis::atBottom)->setRange(1200, 1300);
  EXPECT_EQ(grafico.axisRect(0)->axis(QCPAxis::atBottom)->range(), QCPRange(1200, 1300));
}

QByteArray Archivo(QCustomPlot& grafico, lotes::FormatoGrafico formato, QSize tamano,
                   std::size_t bytesPorBanda = grafico::kBytesPorBanda) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const auto motivo = grafico::Escribir(grafico, formato, tamano, buffer, bytesPorBanda);
  EXPECT_EQ(motivo, std::nullopt);
  return bytes;
}

struct CasoArchivo {
  const char* nombre;
  lotes::FormatoGrafico formato;
  QByteArray comienzo, medida;  // the file's first bytes, and how it states the size
};

class Archivos : public testing::TestWithParam<CasoArchivo> {};

TEST_P(Archivos, EscritoEnteroYDelTamanoPedido) {
  Aplicacion();
  const auto& caso = GetParam();
  QCustomPlot grafico;
  const auto paneles = grafico::PanelesHabituales();
  ASSERT_EQ(grafico::Configurar(grafico, Barrido(0, 10, {{0, 1}, {5, 3}, {10, 2}}), paneles),
            std::nullopt);
  if (!grafico::Escribe(caso.formato))
    GTEST_SKIP() << "this build does not write the format";
  const QByteArray bytes = Archivo(grafico, caso.formato, QSize(640, 480));
  EXPECT_TRUE(bytes.startsWith(caso.comienzo)) << bytes.left(16).toStdString();
  EXPECT_TRUE(bytes.contains(caso.medida));
  EXPECT_GT(bytes.size(), 2000);
  EXPECT_LT(bytes.size(), 500'000);
}

INSTANTIATE_TEST_SUITE_P(
    Grafico, Archivos,
    testing::Values(
        CasoArchivo{"Png", lotes::FormatoGrafico::Png, QByteArray("\x89PNG\r\n\x1a\n", 8),
                    QByteArray("IHDR\0\0\x02\x80\0\0\x01\xe0", 12)},
        // A page of 640x480 pixels at 96 per inch: 480x360 points.
        CasoArchivo{"Pdf", lotes::FormatoGrafico::Pdf, "%PDF-", "/MediaBox [0 0 480"},
        CasoArchivo{"Svg", lotes::FormatoGrafico::Svg, "<?xml", "viewBox=\"0 0 640 480\""}),
    [](const auto& i) { return std::string(i.param.nombre); });

TEST(Grafico, TamanoQueNoEsPositivo) {
  Aplicacion();
  QCustomPlot grafico;
  QBuffer b;
  b.open(QIODevice::WriteOnly);
  EXPECT_NE(grafico::Escribir(grafico, lotes::FormatoGrafico::Png, QSize(0, 10), b), std::nullopt);
}

// A PNG drawn in bands of a few rows is the same picture as drawn whole, row for row: no seam,
// no band drawn twice or left out, whatever the bands' height against the picture's.
TEST(Grafico, PngEnBandasIgualQueEntero) {
  Aplicacion();
  QCustomPlot grafico;
  const auto paneles = grafico::PanelesHabituales();
  // A family, whose curves are dashed, with a gap and a point alone.
  auto c = Barrido(0, 10, {{0, 1}, {5, 3}, {5, std::nullopt}, {7, 2}, {7, std::nullopt}, {10, 2}});
  c.nombreFamilia = "Rdc";
  c.tituloFamilia = "Rdc [ohm]";
  c.miembros.resize(2, c.miembros[0]);
  c.miembros[1].valor = 1;
  ASSERT_EQ(grafico::Configurar(grafico, c, paneles), std::nullopt);
  const QSize tamano(301, 257);
  QImage entero;
  ASSERT_TRUE(entero.loadFromData(Archivo(grafico, lotes::FormatoGrafico::Png, tamano), "PNG"));
  ASSERT_EQ(entero.size(), tamano);
  // A band of one row is taken as the least, 16; bands of 100 leave a short last one.
  for (const std::size_t filas : {1u, 100u, 256u}) {
    QImage bandas;
    ASSERT_TRUE(bandas.loadFromData(
        Archivo(grafico, lotes::FormatoGrafico::Png, tamano, 4 * 301 * filas), "PNG"));
    EXPECT_EQ(bandas.convertToFormat(QImage::Format_RGB32),
              entero.convertToFormat(QImage::Format_RGB32))
        << "bands of " << filas << " rows";
  }
}

// The encoder itself, on noise that takes every filter: read back by Qt's reader (libpng, which
// checks every chunk's CRC and the deflate stream), pixel for pixel.
TEST(EscritorPng, RuidoLeidoIgual) {
  Aplicacion();
  std::mt19937 azar(7);
  for (const QSize tamano : {QSize(1, 1), QSize(3, 200), QSize(517, 33)}) {
    QImage imagen(tamano, QImage::Format_RGB32);
    for (int y = 0; y < tamano.height(); ++y)
      for (int x = 0; x < tamano.width(); ++x)
        imagen.setPixel(
            x, y,
            (x + y) % 3 == 0 ? qRgb(x % 256, y % 256, 7) : static_cast<QRgb>(azar()) | 0xff000000u);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    grafico::EscritorPng png(buffer, tamano.width(), tamano.height());
    for (int y = 0; y < tamano.height(); y += 5) {
      const int n = std::min(5, tamano.height() - y);
      ASSERT_EQ(png.Filas(imagen.copy(0, y, tamano.width(), 5), n), std::nullopt);
    }
    ASSERT_EQ(png.Terminar(), std::nullopt);
    QImage leida;
    ASSERT_TRUE(leida.loadFromData(bytes, "PNG")) << tamano.width() << "x" << tamano.height();
    EXPECT_EQ(leida.convertToFormat(QImage::Format_RGB32), imagen);
  }
}

TEST(EscritorPng, FilasDeMasODeMenos) {
  Aplicacion();
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImage banda(10, 4, QImage::Format_RGB32);
  banda.fill(Qt::white);
  grafico::EscritorPng png(buffer, 10, 6);
  EXPECT_EQ(png.Filas(banda, 4), std::nullopt);
  EXPECT_NE(png.Terminar(), std::nullopt) << "two rows are missing";
  EXPECT_NE(png.Filas(banda, 4), std::nullopt) << "two rows are left, not four";
  EXPECT_NE(png.Filas(QImage(11, 4, QImage::Format_RGB32), 2), std::nullopt) << "too wide";
}

}  // namespace
}  // namespace zelk
