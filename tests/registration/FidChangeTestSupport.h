#pragma once
// Mapsets that carry their FID in every place a FID change rewrites: alpha
// (FID 4711, three tiles) registered with its type file and index file, and
// gmap packages that name both in Info.xml.

#include <map>
#include <string>
#include <vector>

#include "registration/CatalogTestSupport.h"

namespace veldra::testing {

// Every file below a folder with its bytes: a change that is undone leaves this as it was.
inline std::map<std::string, std::vector<std::uint8_t>> filesBelow(const fs::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = readBytes(entry.path());
    return files;
}

class FidChangeTest : public CatalogTest {
protected:
    // The family Alpha4711 with ID 4711 and the values TYP (maps/alpha/10318.TYP) and IDX.
    MapsetFiles registerAlpha() {
        const auto files = installAlpha("alpha");
        fs::copy_file(builtData("alpha/alpha.typ"), native(files.loc) / "10318.TYP");
        fs::copy_file(builtData("alpha/11000000.mdx"), native(files.loc) / "11000000.mdx");
        registerFamily(registration::RecordKind::Families, "Alpha4711", files);
        EXPECT_TRUE(fake.session.routines.storeString(Machine, alphaKey(), "TYP", files.loc + "10318.TYP").ok());
        EXPECT_TRUE(fake.session.routines.storeString(Machine, alphaKey(), "IDX", files.loc + "11000000.mdx").ok());
        return files;
    }
    std::string alphaKey() const { return key(registration::RecordKind::Families) + "Alpha4711"; }

    // A package whose Info.xml names alpha's index file and type file (typ/alpha.typ).
    fs::path installIndexedPackage(const std::string& name, const std::string& fid) {
        const fs::path package = installPackage(name, fid, "<IDX>11000000.mdx</IDX>\r\n<TYP>typ/alpha.typ</TYP>\r\n");
        fs::copy_file(builtData("alpha/11000000.mdx"), package / "11000000.mdx");
        fs::create_directories(package / "typ");
        fs::copy_file(builtData("alpha/alpha.typ"), package / "typ" / "alpha.typ");
        return package;
    }

    std::vector<std::uint8_t> registryBytes(const std::string& keyPath, const std::string& name) const {
        const auto v = fake.registry.queryValue(Machine, keyPath, name);
        return v ? v->data : std::vector<std::uint8_t>{};
    }
};

}  // namespace veldra::testing
