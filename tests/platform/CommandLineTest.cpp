#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace veldra {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, QuotesGroupAndBlanksSeparate) {
    EXPECT_EQ(platform::splitCommandLine("\"C:\\VELDRA\\gmt.exe\" -S -f 4711,1 -m Topo_Deutschland -o \"C:\\my maps\""),
              (Args{"C:\\VELDRA\\gmt.exe", "-S", "-f", "4711,1", "-m", "Topo_Deutschland", "-o", "C:\\my maps"}));
    EXPECT_EQ(platform::splitCommandLine("  a\t\tb  "), (Args{"a", "b"}));
    EXPECT_EQ(platform::splitCommandLine(""), Args{});
    EXPECT_EQ(platform::splitCommandLine("\"\""), Args{""});
}

TEST(CommandLine, BackslashesAreLiteralExceptBeforeQuotes) {
    EXPECT_EQ(platform::splitCommandLine("-o \"C:\\dir\\\\\" x"), (Args{"-o", "C:\\dir\\", "x"}));
    EXPECT_EQ(platform::splitCommandLine("a\\\"b"), Args{"a\"b"});
    EXPECT_EQ(platform::splitCommandLine("\"a\"\"b\""), Args{"a\"b"});
    EXPECT_EQ(platform::splitCommandLine("x\\\\y"), Args{"x\\\\y"});
}

}  // namespace
}  // namespace veldra
