// What zelk-calc's command line and standard streams need of the platform. Its texts are UTF-8
// throughout; Windows gives arguments and shows consoles in other encodings.
#pragma once

#include <string>
#include <vector>

namespace zelk {

// The arguments, without the program's name, as UTF-8: on Windows from the wide command line, so
// that "resultados Ω.csv" or "1’500" arrive whole whatever the ANSI code page.
std::vector<std::string> ArgumentosUtf8(int argc, char** argv);

// Standard output and error that are a console show the program's text as it is (on Windows,
// written as UTF-16, whatever the console's code page); redirected to a file or a pipe they stay
// UTF-8 bytes. Called once, before anything is written.
void PrepararConsola();

}  // namespace zelk
