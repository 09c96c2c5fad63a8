// What the program asks of the window platform before its application object is made.
#pragma once

namespace zelk::ui {

// On Windows, Qt's FreeType font engine unless the user named a platform (QT_QPA_PLATFORM): the
// GDI engine of this Qt keeps of each grey-smoothed glyph only GDI's reported box, and where the
// drawing strays from it (as Wine's does) strokes, tops and whole minus signs are lost. Elsewhere
// nothing. Call before the QApplication is made.
void PrepararPlataforma();

}  // namespace zelk::ui
