#pragma once
// Host paths of a Wine prefix: the drive letters are the links in
// <prefix>/dosdevices, mapped the way Wine itself maps them, so that a path
// stored by VELDRA is the path a host program under Wine would have stored.

#include <filesystem>

#include "platform/HostPaths.h"

namespace veldra::platform {

class WineHostPaths : public HostPaths {
public:
    explicit WineHostPaths(std::filesystem::path prefix);

    // Walks up from the path to the first ancestor that is the target of a drive
    // (a: to z: in order); paths of the prefix's drive_c become "C:\...". A path
    // that no drive reaches becomes "\\?\unix\..." as under Wine.
    std::string toHost(const std::filesystem::path& native) const override;
    // "<prefix>/dosdevices/<letter>:/rest", each component taken as it is spelled
    // on disk when an entry matches without regard to case, the rest as given.
    // Drive Z: on the root gives the plain Unix path, as Wine does.
    std::filesystem::path toNative(std::string_view host) const override;
    // A file spelled as on disk, the common case, costs one look-up.
    std::filesystem::path existingNativeFile(std::string_view host) const override;
    // The same: one look-up, and no path built.
    bool hasExistingFile(std::string_view host) const override;
    // The same: one open when the file is spelled as on disk.
    FileStart existingNativeFileStart(std::string_view host, std::size_t maxBytes) const override;

    const std::filesystem::path& prefix() const { return prefix_; }

private:
    // "<prefix>/dosdevices/x:/rest" joined as text for a drive other than Z:
    // (which may stand for the root); empty for any other host path.
    std::string spelledOnDrive(std::string_view host) const;

    std::filesystem::path prefix_;
    std::string dosdevices_;  // <prefix>/dosdevices, as driveLink spells it
};

}  // namespace veldra::platform
