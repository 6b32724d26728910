#pragma once
// The line our gmt.exe prints first. gmt.exe prints it; the console runner
// removes it from what the user sees.

namespace veldra::formats {

inline constexpr const char* GmtBanner = "gmt.exe - VELDRA IMG tool 1.0 - https://veldra.example/tools";

}  // namespace veldra::formats
