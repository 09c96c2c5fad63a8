// The main of the window test suites: QTEST_MAIN's, after what the program itself asks of the
// platform before its application object (the font engine on Windows).
#pragma once

#include <QApplication>
#include <QtTest>

#include "ui/comun/plataforma.h"

#define ZELK_PRUEBA_VENTANAS(Clase)                 \
  int main(int argc, char** argv) {                 \
    zelk::ui::PrepararPlataforma();                 \
    QApplication aplicacion(argc, argv);            \
    aplicacion.setAttribute(Qt::AA_Use96Dpi, true); \
    Clase prueba;                                   \
    QTEST_SET_MAIN_SOURCE_PATH                      \
    return QTest::qExec(&prueba, argc, argv);       \
  }
