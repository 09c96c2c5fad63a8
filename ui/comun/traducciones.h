// Qt's own texts (a field's context menu, a dialog's buttons) in Spanish, as every text of the
// programs is, whatever the user's locale.
#pragma once

namespace zelk::ui {

// Looked for where Qt keeps its translations, then beside the program, where a program folder
// carries them; without them Qt's texts stay English. Once per run; needs the application object.
void CargarTraduccionesDeQt();

}  // namespace zelk::ui
