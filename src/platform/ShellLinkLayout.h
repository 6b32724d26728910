#pragma once
// The fixed numbers of the shell link format that its reader and its writer share.

#include <array>
#include <cstdint>

namespace veldra::platform::shelllink {

inline constexpr std::uint32_t HeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as stored.
inline constexpr std::array<std::uint8_t, 16> LinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
inline constexpr std::size_t FlagsOffset = 0x14;
inline constexpr std::uint32_t HasLinkTargetIdList = 0x1;
inline constexpr std::uint32_t HasLinkInfo = 0x2;
inline constexpr std::uint32_t HasName = 0x4;
inline constexpr std::uint32_t HasRelativePath = 0x8;
inline constexpr std::uint32_t HasWorkingDir = 0x10;
inline constexpr std::uint32_t HasArguments = 0x20;
inline constexpr std::uint32_t HasIconLocation = 0x40;
inline constexpr std::uint32_t IsUnicode = 0x80;
inline constexpr std::uint32_t ForceNoLinkInfo = 0x100;

// Item ID list: the computer, a drive, then one file entry per name.
inline constexpr std::uint8_t RootItem = 0x1F;
// {20D04FE0-3AEA-1069-A2D8-08002B30309D}, "This PC", as stored.
inline constexpr std::array<std::uint8_t, 16> MyComputer = {0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10,
                                                            0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};
inline constexpr std::uint8_t ClassMask = 0x70;
inline constexpr std::uint8_t VolumeClass = 0x20;
inline constexpr std::uint8_t FileEntryClass = 0x30;
inline constexpr std::uint8_t ItemIsFolder = 0x01;
inline constexpr std::uint8_t ItemIsFile = 0x02;
inline constexpr std::uint8_t UnicodePrimaryName = 0x04;
inline constexpr std::size_t PrimaryNameOffset = 14;

// LinkInfo.
inline constexpr std::uint32_t MinimumLinkInfoHeaderSize = 0x1C;
inline constexpr std::uint32_t VolumeIdAndLocalBasePath = 0x1;
inline constexpr std::uint32_t FixedDrive = 3;

}  // namespace veldra::platform::shelllink
