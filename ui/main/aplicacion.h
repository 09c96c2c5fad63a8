// What the program sets on its application object before the first window is made.
#pragma once

namespace zelk::ui {

// The name, every window's icon, and the default font at a size that fits the main window's rows
// and captions.
void PrepararAplicacion();

}  // namespace zelk::ui
