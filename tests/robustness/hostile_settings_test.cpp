// Settings files that are no plain files: each reads as "no settings", at
// once and without a message, so that start-up goes on with the defaults.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/settings_file.h"
#include "tests/support/temp_folder.h"

namespace wendrel::testing {
namespace {

// Reads in a child stopped after 5 s, so that a read that blocks fails instead
// of hanging. 0: nothing read, 1: read, 10: cannot give up root, 142: blocked.
int ReadInChild(const std::filesystem::path& file) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        // Root reads every file, so the child gives up root (for nobody).
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(10);
        ::_exit(ReadSettingsFile(file).has_value() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(HostileSettings, PipesDevicesAndUnreadableFilesReadAsNothing) {
    TempFolder folder;
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    const auto pipe = folder.path() / "pipe";  // opening it waits for a writer that never comes
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    EXPECT_EQ(ReadInChild(pipe), 0);
    for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null"}) EXPECT_EQ(ReadInChild(device), 0) << device;

    const auto file = folder.Write(kSettingsFileName, SettingsFileText(Settings{}));
    std::filesystem::permissions(file, std::filesystem::perms::all);
    EXPECT_EQ(ReadInChild(file), 1);
    std::filesystem::permissions(file, std::filesystem::perms::none);
    EXPECT_EQ(ReadInChild(file), 0);
}

}  // namespace
}  // namespace wendrel::testing
