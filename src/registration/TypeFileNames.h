#pragma once
// Names and facts shared by the type-file commands.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/Session.h"
#include "core/Result.h"

namespace veldra::registration {

// Message of a refused file access while a host program holds the file.
inline constexpr const char* CloseHostFirst = "Close Mapsource first";

// A chosen file counts as a type file when its extension, lower-cased, is "typ".
bool isTypeFile(const std::optional<std::filesystem::path>& chosen);

// A type file begins with its header ("GARMIN TYP" at offset 2) and is long
// enough to carry FID and PID; anything else is refused before it is attached.
Status checkTypeFileContent(const std::filesystem::path& file);

// Decimal FID low byte, then decimal high byte, then ".TYP" (FID 4711 gives "10318.TYP").
std::string registryTypeFileName(std::uint16_t fid);

// Copies the type file to `target` with the FID stamped at 0x2F; a refused
// write is reported with CloseHostFirst and the command goes on.
void copyStampedTypeFile(app::Session& session, const std::filesystem::path& source,
                         const std::filesystem::path& target, std::uint16_t fid);

}  // namespace veldra::registration
