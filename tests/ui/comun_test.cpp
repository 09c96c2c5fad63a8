// What both windows share: the message box, the drawings, the font fitting and where the manual
// is.
#include <QAbstractButton>
#include <QMessageBox>
#include <QProxyStyle>
#include <QSet>
#include <QStyleFactory>
#include <QtMath>
#include <QtTest>

#include "tests/ui/principal.h"
#include "ui/comun/avisador.h"
#include "ui/comun/dibujos.h"
#include "ui/comun/fuente.h"
#include "ui/comun/manual.h"

class ComunTest : public QObject {
  Q_OBJECT

 private slots:
  // The installed manual before the build tree's; a folder where the file should be is no manual.
  void manual_data() {
    QTest::addColumn<QString>("instalado");  // "archivo", "carpeta" or "" (none)
    QTest::addColumn<bool>("construccion");
    QTest::addColumn<QString>("hallado");  // "instalado", "construccion" or ""
    QTest::newRow("instalado y construido") << "archivo" << true << "instalado";
    QTest::newRow("solo instalado") << "archivo" << false << "instalado";
    QTest::newRow("solo construido") << "" << true << "construccion";
    QTest::newRow("una carpeta en su lugar") << "carpeta" << true << "construccion";
    QTest::newRow("ninguno") << "" << false << "";
  }
  void manual() {
    QFETCH(QString, instalado);
    QFETCH(bool, construccion);
    QFETCH(QString, hallado);
    QTemporaryDir raiz;
    QVERIFY(raiz.isValid());
    const QString programas = raiz.filePath(QStringLiteral("instalado/bin"));
    QVERIFY(QDir().mkpath(programas));
    const QString enInstalado = zelk::ui::ManualInstalado(programas);
    QVERIFY(enInstalado.startsWith(raiz.filePath(QStringLiteral("instalado/"))));
    QVERIFY(enInstalado.endsWith(QStringLiteral("/index.html")));
    const QString enConstruccion = raiz.filePath(QStringLiteral("construccion/doc/index.html"));
    const auto crear = [](const QString& ruta) {
      QFile archivo(ruta);
      return QDir().mkpath(QFileInfo(ruta).path()) && archivo.open(QIODevice::WriteOnly);
    };
    if (instalado == QStringLiteral("archivo"))
      QVERIFY(crear(enInstalado));
    else if (instalado == QStringLiteral("carpeta"))
      QVERIFY(QDir().mkpath(enInstalado));
    if (construccion)
      QVERIFY(crear(enConstruccion));
    const QString esperado = hallado == QStringLiteral("instalado")      ? enInstalado
                             : hallado == QStringLiteral("construccion") ? enConstruccion
                                                                         : QString();
    QCOMPARE(zelk::ui::BuscarManual(programas, enConstruccion), esperado);
  }

  void cajaDeMensaje() {
    QString texto, titulo;
    QMessageBox::Icon icono = QMessageBox::Critical;
    QList<QAbstractButton*> botones;
    Qt::WindowModality modalidad = Qt::NonModal;
    QTimer::singleShot(0, this, [&] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(caja != nullptr);
      texto = caja->text();
      titulo = caja->windowTitle();
      icono = caja->icon();
      botones = caja->buttons();
      modalidad = caja->windowModality();
      caja->button(QMessageBox::Ok)->click();
    });
    zelk::ui::AvisadorCaja().Avisar(QStringLiteral("ERROR EN DATOS.  dos  blancos"));
    QCOMPARE(texto, QStringLiteral("ERROR EN DATOS.  dos  blancos"));
    QCOMPARE(titulo, QStringLiteral("zelk"));
    QCOMPARE(icono, QMessageBox::NoIcon);
    QCOMPARE(botones.size(), 1);
    QCOMPARE(modalidad, Qt::ApplicationModal);
  }

  // Under a style that gives the standard buttons icons (as desktops with an icon theme do), the
  // box's OK button still shows text only.
  void cajaDeMensajeSinIconoEnElBoton() {
    struct ConIconos : QProxyStyle {
      using QProxyStyle::QProxyStyle;
      int styleHint(StyleHint pista, const QStyleOption* opcion, const QWidget* control,
                    QStyleHintReturn* vuelta) const override {
        if (pista == SH_DialogButtonBox_ButtonsHaveIcons)
          return 1;
        return QProxyStyle::styleHint(pista, opcion, control, vuelta);
      }
    };
    const QString base = QApplication::style()->name();
    QApplication::setStyle(new ConIconos(QStyleFactory::create(base)));
    bool conIcono = true, iconoDelEstilo = false;
    QTimer::singleShot(0, this, [&] {
      auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(caja != nullptr);
      auto* ok = caja->button(QMessageBox::Ok);
      conIcono = !ok->icon().isNull();
      iconoDelEstilo = !QApplication::style()->standardIcon(QStyle::SP_DialogOkButton).isNull();
      ok->click();
    });
    zelk::ui::AvisadorCaja().Avisar(QStringLiteral("texto"));
    QApplication::setStyle(QStyleFactory::create(base));
    QVERIFY(iconoDelEstilo);  // the style had an icon to give
    QVERIFY(!conIcono);
  }

  void icono() {
    const QIcon icono = zelk::ui::IconoAplicacion();
    for (int lado : {16, 32}) {
      QVERIFY(icono.availableSizes().contains(QSize(lado, lado)));
      const QImage imagen = icono.pixmap(lado).toImage();
      // Grey bezel at the edge, black screen in the middle (or the wave or grid over it).
      QCOMPARE(imagen.size(), QSize(lado, lado));
      QVERIFY(qGray(imagen.pixel(lado / 2, lado / 16)) > 100);
      QVERIFY(qGray(imagen.pixel(lado / 4, lado / 2)) < 200);
    }
  }

  // The 16-pixel icon is drawn for that size: whole pixels in five of the 16 classic colours,
  // with no shade between them (the 32-pixel drawing scaled down gave 69 colours).
  void iconoDe16Nitido() {
    const QImage imagen =
        zelk::ui::IconoAplicacion().pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(imagen.size(), QSize(16, 16));
    QSet<QRgb> colores;
    for (int y = 0; y < imagen.height(); ++y)
      for (int x = 0; x < imagen.width(); ++x) {
        const QRgb p = imagen.pixel(x, y);
        QVERIFY2(qAlpha(p) == 0 || qAlpha(p) == 255, qPrintable(QString::number(qAlpha(p))));
        if (qAlpha(p) == 255)
          colores.insert(p & 0xffffff);
      }
    // Grey bezel and its dark edge, black screen, green grid, white wave.
    QCOMPARE(colores, (QSet<QRgb>{0xc0c0c0, 0x808080, 0x000000, 0x008000, 0xffffff}));
    // The screen is black between grid and wave; the bezel's middle is light grey.
    QCOMPARE(imagen.pixel(2, 2) & 0xffffff, 0x000000u);
    QCOMPARE(imagen.pixel(8, 1) & 0xffffff, 0xc0c0c0u);
  }

  // Rendered during the build at one and two device pixels per pixel; other ratios come from the
  // nearest image that is not smaller.
  void esquema_data() {
    QTest::addColumn<qreal>("escala");
    QTest::addColumn<QSize>("pixeles");
    QTest::newRow("1") << 1.0 << QSize(565, 156);
    QTest::newRow("2") << 2.0 << QSize(1130, 312);
    QTest::newRow("1,5") << 1.5 << QSize(848, 234);
    QTest::newRow("1,25") << 1.25 << QSize(706, 195);
  }
  void esquema() {
    QFETCH(qreal, escala);
    QFETCH(QSize, pixeles);
    const QPixmap dibujo = zelk::ui::DibujoEsquema(escala);
    QCOMPARE(dibujo.devicePixelRatio(), escala);
    // Its own size, to within the rounding of whole device pixels.
    QVERIFY(qAbs(dibujo.deviceIndependentSize().width() - 565) < 1);
    QVERIFY(qAbs(dibujo.deviceIndependentSize().height() - 156) < 1);
    const QImage imagen = dibujo.toImage();
    QCOMPARE(imagen.size(), pixeles);
    const auto en = [&](int x, int y) {
      return QColor(imagen.pixel(qFloor(x * escala), qFloor(y * escala)));
    };
    QCOMPARE(en(300, 140), QColor(191, 191, 191));  // background
    QCOMPARE(en(80, 60), QColor(Qt::black));        // sending busbar
    QCOMPARE(en(484, 30), QColor(Qt::black));       // receiving busbar
    int negros = 0;
    for (int y = 0; y < imagen.height(); ++y)
      for (int x = 0; x < imagen.width(); ++x)
        negros += qGray(imagen.pixel(x, y)) < 60;
    const qreal area = escala * escala;
    QVERIFY(negros > 1000 * area && negros < 20000 * area);  // a line drawing, not a blot
  }

  void fuenteQueCabe_data() {
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("alto");
    QTest::addColumn<int>("ancho");
    QTest::addColumn<bool>("igual");
    QTest::newRow("ya cabe") << 10 << 40 << 400 << true;
    QTest::newRow("demasiado alta") << 40 << 14 << 400 << false;
    QTest::newRow("demasiado ancha") << 12 << 40 << 40 << false;
    QTest::newRow("nunca cabe: el mínimo") << 12 << 2 << 2 << false;
  }
  void fuenteQueCabe() {
    QFETCH(int, base);
    QFETCH(int, alto);
    QFETCH(int, ancho);
    QFETCH(bool, igual);
    QFont fuente = QApplication::font();
    fuente.setPixelSize(base);
    const QString texto = QStringLiteral("Eacr_nom [kV]");
    const QFont elegida = zelk::ui::FuenteQueCabe(fuente, alto, {{texto, ancho}});
    QCOMPARE(elegida == fuente, igual);
    QCOMPARE(elegida.family(), fuente.family());
    const QFontMetrics medidas(elegida);
    if (QFontInfo(elegida).pixelSize() > zelk::ui::kPixelesMinimos) {
      QVERIFY(medidas.height() <= alto);
      QVERIFY(medidas.horizontalAdvance(texto) <= ancho);
    } else {
      QCOMPARE(QFontInfo(elegida).pixelSize(), zelk::ui::kPixelesMinimos);
    }
  }
};

ZELK_PRUEBA_VENTANAS(ComunTest)
#include "comun_test.moc"
