// The smallest Qt program with a window: one QWidget holding one QLineEdit, shown, then ended.
// The other side of the start-up benchmark.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  QWidget ventana;
  QLineEdit campo(&ventana);
  ventana.show();
  QTimer::singleShot(0, &aplicacion, &QCoreApplication::quit);
  return QApplication::exec();
}
