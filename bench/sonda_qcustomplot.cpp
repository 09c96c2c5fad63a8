// The smallest Qt program with a plot: one QWidget holding one empty QCustomPlot, shown, then
// ended. The other side of zelk Estudios' start-up benchmark.
#include <qcustomplot.h>
#include <QApplication>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  QWidget ventana;
  auto* columna = new QVBoxLayout(&ventana);
  columna->addWidget(new QCustomPlot(&ventana));
  ventana.show();
  QTimer::singleShot(0, &aplicacion, &QCoreApplication::quit);
  return QApplication::exec();
}
