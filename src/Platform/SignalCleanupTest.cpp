#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "Platform/FileReplacement.h"
#include "Platform/SignalCleanup.h"
#include "Platform/TestFolder.h"

namespace Platform {
namespace {

using Names = std::vector<std::string>;

// How the child process had set up the signal before its save.
enum class Disposition { DEFAULT, IGNORED, OWN_HANDLER };

volatile std::sig_atomic_t handled = 0;
void ownHandler(int)
{
    handled = 1;
}

// Starts a save of "show.fwp" in a child process, stops it half-way, sends it the signal and
// lets it go on. Returns the child's wait status. A child that survives finishes the save.
int interruptSave(const TestFolder& folder, int signal, Disposition disposition)
{
    int ready[2];
    int go[2];
    if (::pipe(ready) != 0 || ::pipe(go) != 0) {
        ADD_FAILURE() << "pipe";
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const struct rlimit noCore {
            0, 0
        };
        (void)::setrlimit(RLIMIT_CORE, &noCore);  // SIGQUIT would dump one
        if (disposition == Disposition::IGNORED) {
            std::signal(signal, SIG_IGN);
        } else if (disposition == Disposition::OWN_HANDLER) {
            std::signal(signal, ownHandler);
        }
        FileReplacement replacement(folder.path("show.fwp"));
        const int fd = replacement.open();
        char byte = 'r';
        bool ok = fd >= 0 && ::write(fd, "new ", 4) == 4 && ::write(ready[1], &byte, 1) == 1;
        while (::read(go[0], &byte, 1) < 0) {
            // interrupted by the signal of a process that goes on
        }
        ok = ok && ::write(fd, "content", 7) == 7 && replacement.commit();
        ::_exit(ok && (disposition != Disposition::OWN_HANDLER || handled == 1) ? 0 : 1);
    }
    char byte = 0;
    EXPECT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(child, signal);
    EXPECT_EQ(::write(go[1], "g", 1), 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (int fd : {ready[0], ready[1], go[0], go[1]}) {
        ::close(fd);
    }
    return status;
}

TEST(SignalCleanup, ASignalThatEndsASaveTakesTheTemporaryFileAlong)
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(signal);
        TestFolder folder(std::to_string(signal));
        folder.writeBytes("show.fwp", "old");
        const int status = interruptSave(folder, signal, Disposition::DEFAULT);
        // The process still ends by the signal, as its parent expects.
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(folder.names(), Names{"show.fwp"});
        EXPECT_EQ(folder.readBytes("show.fwp"), "old");
    }
}

TEST(SignalCleanup, ASignalTheProcessHandlesOrIgnoresLetsTheSaveFinish)
{
    for (Disposition disposition : {Disposition::IGNORED, Disposition::OWN_HANDLER}) {
        TestFolder folder(disposition == Disposition::IGNORED ? "ignored" : "handled");
        folder.writeBytes("show.fwp", "old");
        const int status = interruptSave(folder, SIGINT, disposition);
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 0);
        EXPECT_EQ(folder.readBytes("show.fwp"), "new content");
        EXPECT_EQ(folder.names(), Names{"show.fwp"});
    }
}

TEST(SignalCleanup, AStaleTemporaryFileIsNeverInTheWay)
{
    // SIGKILL cannot be caught: the killed save leaves its temporary file.
    TestFolder folder;
    folder.writeBytes("show.fwp", "old");
    const int status = interruptSave(folder, SIGKILL, Disposition::DEFAULT);
    ASSERT_TRUE(WIFSIGNALED(status));
    Names names = folder.names();
    ASSERT_EQ(names.size(), 2u);
    const std::string stale = names[0];
    EXPECT_EQ(stale.rfind(".show.fwp.", 0), 0u) << stale;  // hidden, not a "*.fwp"
    EXPECT_EQ(stale.substr(stale.size() - 4), ".tmp");

    FileReplacement::Failure failure{};
    EXPECT_TRUE(FileReplacement::replaceWith(folder.path("show.fwp"), "saved", failure));
    EXPECT_EQ(folder.readBytes("show.fwp"), "saved");
    EXPECT_EQ(folder.readBytes(stale), "new ");  // neither read nor changed
}

TEST(SignalCleanup, TheFormerDispositionsComeBackAfterTheSave)
{
    struct sigaction own {};
    own.sa_handler = ownHandler;
    sigemptyset(&own.sa_mask);
    struct sigaction saved {};
    ASSERT_EQ(::sigaction(SIGTERM, &own, &saved), 0);
    TestFolder folder;
    {
        FileReplacement replacement(folder.path("show.fwp"));
        ASSERT_GE(replacement.open(), 0);
        EXPECT_EQ(SignalCleanup::watchedCount(), 1);
        struct sigaction during {};
        ::sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, ownHandler);
        EXPECT_TRUE(replacement.commit());
    }
    EXPECT_EQ(SignalCleanup::watchedCount(), 0);
    struct sigaction after {};
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, ownHandler);
    ::sigaction(SIGTERM, &saved, nullptr);
}

}  // namespace
}  // namespace Platform
