// Settings files that are no plain files: each reads as "no settings", at
// once and without a message, so that start-up goes on with the defaults.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/settings_file.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

// Runs `body` in a child that is stopped after a few seconds, so that a read
// that blocks fails the test instead of hanging it.
int InChildWithDeadline(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int ReadsAsNothing(const std::filesystem::path& path) {
    return ReadSettingsFile(path).has_value() ? 1 : 0;
}

class HostileSettings : public ::testing::Test {
protected:
    TempFolder folder_;
    std::filesystem::path File() const { return folder_.path() / kSettingsFileName; }
};

// Opening a named pipe for reading waits for a writer that never comes.
TEST_F(HostileSettings, ANamedPipeReadsAsNothingWithoutWaiting) {
    ASSERT_EQ(::mkfifo(File().c_str(), 0644), 0);
    EXPECT_EQ(InChildWithDeadline([&] { return ReadsAsNothing(File()); }), 0) << "1: read, 142: blocked";
}

TEST_F(HostileSettings, DevicesReadAsNothing) {
    for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
        std::filesystem::remove(File());
        std::filesystem::create_symlink(device, File());
        EXPECT_EQ(InChildWithDeadline([&] { return ReadsAsNothing(File()); }), 0) << device;
    }
}

// Root reads every file, so the read runs in a child that has given up root.
TEST_F(HostileSettings, AFileWithoutReadPermissionReadsAsNothing) {
    const auto file = folder_.Write(kSettingsFileName, SettingsFileText(Settings{}));
    ASSERT_TRUE(ReadSettingsFile(file).has_value());
    std::filesystem::permissions(file, std::filesystem::perms::none);
    std::filesystem::permissions(folder_.path(), std::filesystem::perms::owner_all | std::filesystem::perms::others_exec);
    EXPECT_EQ(InChildWithDeadline([&] {
                  if (::geteuid() == 0 && ::setuid(65534) != 0) return 10;  // nobody
                  return ReadsAsNothing(file);
              }),
              0)
        << "10: cannot give up root, 1: read";
}

}  // namespace
}  // namespace wendrel::testing
