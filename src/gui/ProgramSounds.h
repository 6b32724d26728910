#pragma once
// The program's sounds (Intro.wav at start-up, Success.wav after an integration).

#include <filesystem>

namespace veldra::gui {

// Plays the file from the program folder without waiting; a missing file or
// sound device plays nothing.
void playProgramSound(const std::filesystem::path& programFolder, const char* fileName);

}  // namespace veldra::gui
