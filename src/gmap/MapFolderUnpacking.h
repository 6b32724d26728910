#pragma once
// A map of a gmap package is a folder of the IMG file's subfiles, made by the
// program folder's gmt.exe.

#include <filesystem>
#include <string>

#include "app/Session.h"

namespace veldra::gmap {

// The command line: the program folder's "gmt" quoted, then " -g -o ", the
// short output folder and the short input file. The short forms hold no
// blank on Windows; where a host has no short forms a path with a blank is
// quoted so that it stays one argument.
std::string unpackCommandLine(const app::Session& session, const std::filesystem::path& folder,
                              const std::filesystem::path& image);

// Runs it and waits; the exit code says nothing, the folder's files do.
void unpackIntoFolder(app::Session& session, const std::filesystem::path& folder,
                      const std::filesystem::path& image);

}  // namespace veldra::gmap
