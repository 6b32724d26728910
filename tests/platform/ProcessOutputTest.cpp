// What the outside programs print reaches the user only when asked for (but
// for a piped program's errors), and never on standard output, which carries
// VELDRA's results.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/PosixProcesses.h"
#include "support/TempFolder.h"
#include "support/Commands.h"

namespace veldra::platform {
namespace {

namespace fs = std::filesystem;

// Runs `work` with this process's standard output and error going to files.
template <class Work>
std::pair<std::string, std::string> printedBy(const fs::path& folder, Work work) {
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = ::dup(STDOUT_FILENO), savedErr = ::dup(STDERR_FILENO);
    const int out = ::open((folder / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open((folder / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    work();
    ::dup2(savedOut, STDOUT_FILENO);
    ::dup2(savedErr, STDERR_FILENO);
    for (int fd : {savedOut, savedErr, out, err}) ::close(fd);
    return {testing::runCommand("cat " + (folder / "out").string()).output,
            testing::runCommand("cat " + (folder / "err").string()).output};
}

TEST(ProcessOutput, OutsideProgramsSpeakOnlyWhenAskedOrFailingAndNeverOnStandardOutput) {
    testing::TempDir temp;
    const std::string talker = "sh -c \"echo said; echo warned 1>&2\"";
    for (const bool shown : {false, true}) {
        PosixProcesses processes(shown);
        const auto [out, err] = printedBy(temp.path(), [&] {
            EXPECT_TRUE(processes.runAndWait(talker));
            StartError error = StartError::None;
            auto piped = processes.startWithOutputPipe(talker, error);
            ASSERT_TRUE(piped);
            while (!piped->hasEnded()) piped->waitForOutput(5);
            EXPECT_EQ(piped->read(piped->bytesWaiting()), "said\n");
        });
        EXPECT_EQ(out, "") << shown;
        EXPECT_EQ(err, shown ? "said\nwarned\nwarned\n" : "warned\n") << shown;
    }
}

}  // namespace
}  // namespace veldra::platform
