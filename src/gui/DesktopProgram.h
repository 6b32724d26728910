#pragma once
// `VELDRA`, the desktop program, from its command line to the end of its main
// window. main() only calls this, so that a test starts the program the way a
// user does.

namespace veldra::gui {

// Opens the host (a Wine prefix on Linux: --prefix, else $WINEPREFIX, else
// VELDRA's own), runs the start-up and shows the main window until it closes.
// Returns the program's exit code.
int runDesktopProgram(int argc, char** argv);

}  // namespace veldra::gui
