// Opening the engine beside the program, before any window exists.
#pragma once

#include <string>

namespace app {

// Opens libombrel3.so from the program's folder, binds it and makes the first
// engine call. When that fails it tells the user (a critical message through the
// prompt seam) and returns false; the program must then end with status 1.
bool startEngine(const std::string& programFolder);

}  // namespace app
