#pragma once
// The map files mkgmap compiled for the tests (fixture veldra_built_data), the
// program folder the build lays out, and a scratch folder to change copies in.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FileBytes.h"
#include "support/TempFolder.h"

namespace veldra::testing {

namespace fs = std::filesystem;

inline fs::path builtData(const std::string& relative) { return fs::path(VELDRA_BUILT_DATA_DIR) / relative; }
inline fs::path programDir() { return VELDRA_PROGRAM_DIR; }

// The family alpha (FID 4711): tiles 11000001-11000003, draw priority 25.
inline const fs::path AlphaTdb = builtData("alpha/11000000.tdb");
// The family beta (FID 4712): tiles 00120001-00120002, draw priority 28.
inline const fs::path BetaTdb = builtData("beta/00120000.tdb");

// Every byte, the first one included, XORed with the key: the file's XOR byte becomes the key.
inline std::vector<std::uint8_t> xored(std::vector<std::uint8_t> bytes, std::uint8_t key) {
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(byte ^ key);
    return bytes;
}

// Offsets at which two equally long files differ.
inline std::vector<std::size_t> differingOffsets(const std::vector<std::uint8_t>& a,
                                                 const std::vector<std::uint8_t>& b) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) offsets.push_back(i);
    return offsets;
}

// A fresh folder per test, removed afterwards; the test fails at once when the
// mkgmap data is missing.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(AlphaTdb)) << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data` "
                                             "in the build folder first";
    }

    const fs::path& folder() const { return temp_.path(); }

    fs::path copyIn(const fs::path& source, const std::string& name = {}) {
        const fs::path target = folder() / (name.empty() ? source.filename() : fs::path(name));
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        return target;
    }

    fs::path writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        writeBytes(folder() / name, bytes);
        return folder() / name;
    }

private:
    TempDir temp_;
};

}  // namespace veldra::testing
