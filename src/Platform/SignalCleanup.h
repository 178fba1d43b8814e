#pragma once

#include <string>

namespace Platform {

// Removes the temporary files of saves in progress when a catchable signal (SIGINT, SIGTERM,
// SIGHUP, SIGQUIT) ends the process, so that an interrupted save leaves the old file and
// nothing else.
//
// While at least one file is watched, a handler of ours stands in front of the dispositions
// the process had. It acts on what the process had chosen: where the signal would end the
// process (the default action) it removes the watched files, restores the default and raises
// the signal again, so the process still ends by that signal; a signal the process ignores
// stays ignored; a handler of the program's own is called, and since the process goes on the
// save can finish or clean up after itself. When the last file is unwatched the former
// dispositions come back.
//
// The handler only walks a fixed table and calls unlink(), sigaction(), pthread_sigmask()
// and raise(), all safe inside a signal handler. Any thread may watch and unwatch.
class SignalCleanup {
public:
    // Watches a file that this process created and owns. Returns a ticket for unwatch(), or
    // -1 when the table is full or the path too long (the file is then not removed on a
    // signal, and is left as a stale temporary file).
    static int watch(const std::string& path);
    // Stops watching; a ticket of -1 is ignored. Call it only after the file was renamed or
    // removed, so that no signal can leave it behind in between.
    static void unwatch(int ticket);

    // For tests: the number of files watched now.
    static int watchedCount();
};

}  // namespace Platform
