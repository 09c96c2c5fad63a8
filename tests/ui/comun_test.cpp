// What both windows share: the message box, the drawings and the font fitting.
#include <QAbstractButton>
#include <QMessageBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QtTest>

#include "ui/comun/avisador.h"
#include "ui/comun/dibujos.h"
#include "ui/comun/fuente.h"

class ComunTest : public QObject {
  Q_OBJECT

 private slots:
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

  void esquema() {
    const QImage imagen = zelk::ui::DibujoEsquema().toImage();
    QCOMPARE(imagen.size(), QSize(565, 156));
    QCOMPARE(QColor(imagen.pixel(300, 140)), QColor(191, 191, 191));  // background
    QCOMPARE(QColor(imagen.pixel(80, 60)), QColor(Qt::black));        // sending busbar
    QCOMPARE(QColor(imagen.pixel(484, 30)), QColor(Qt::black));       // receiving busbar
    int negros = 0;
    for (int y = 0; y < imagen.height(); ++y)
      for (int x = 0; x < imagen.width(); ++x)
        negros += qGray(imagen.pixel(x, y)) < 60;
    QVERIFY(negros > 1000 && negros < 20000);  // a line drawing, not a blot
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

QTEST_MAIN(ComunTest)
#include "comun_test.moc"
