#pragma once
// The map files mkgmap compiled for the tests (fixture veldra_built_data), and
// a scratch folder to change copies of them in.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace veldra::testing {

namespace fs = std::filesystem;

inline fs::path builtData(const std::string& relative) { return fs::path(VELDRA_BUILT_DATA_DIR) / relative; }

// The family alpha (FID 4711): tiles 11000001-11000003, draw priority 25.
inline const fs::path AlphaTdb = builtData("alpha/11000000.tdb");
// The family beta (FID 4712): tiles 00120001-00120002, draw priority 28.
inline const fs::path BetaTdb = builtData("beta/00120000.tdb");

inline std::vector<std::uint8_t> readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Offsets at which two equally long files differ.
inline std::vector<std::size_t> differingOffsets(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) offsets.push_back(i);
    return offsets;
}

// A fresh folder per test, removed afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(AlphaTdb)) << "the mkgmap test data is missing: run `ctest -R veldra_build_test_data` "
                                             "in the build folder first";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() / ("veldra-formats-" + std::string(info->test_suite_name()) + "-" +
                                               info->name() + "-" + std::to_string(std::random_device{}()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    const fs::path& folder() const { return folder_; }

    fs::path copyIn(const fs::path& source, const std::string& name = {}) {
        const fs::path target = folder_ / (name.empty() ? source.filename() : fs::path(name));
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        return target;
    }

    fs::path writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        writeBytes(folder_ / name, bytes);
        return folder_ / name;
    }

private:
    fs::path folder_;
};

}  // namespace veldra::testing
