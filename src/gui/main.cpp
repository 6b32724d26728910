#include "gui/DesktopProgram.h"

int main(int argc, char** argv) { return veldra::gui::runDesktopProgram(argc, argv); }
