// Where a window finds the manual for its help menu: the manual's index.html where the
// installation puts it relative to the program (on Windows in "manual" beside it, on Linux in the
// package's documentation folder), or else the one of the build tree the program was built in.
// A window opens it with QDesktopServices::openUrl(QUrl::fromLocalFile(RutaDelManual())).
#pragma once

#include <QString>

namespace zelk::ui {

// Where the installation puts the manual's index.html for a program in `carpetaPrograma`.
QString ManualInstalado(const QString& carpetaPrograma);

// The manual's index.html for a program in `carpetaPrograma`: the installed one, else
// `deLaConstruccion` when it is a file; empty when neither is.
QString BuscarManual(const QString& carpetaPrograma, const QString& deLaConstruccion);

// The same for this program (QCoreApplication::applicationDirPath()) and its build tree.
QString RutaDelManual();

}  // namespace zelk::ui
