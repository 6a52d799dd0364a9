#pragma once

#include <string>

// The hidden temporary files of saves in progress are removed when SIGINT, SIGTERM or SIGHUP
// ends the process, so that an interrupted save of a large document leaves no hundreds of
// megabytes behind. The handler is installed with the first tracked file, and only for a
// signal that still has its default action: a program with handlers of its own keeps them.
// After removing the files the handler ends the process by the same signal, as the default
// action would. Nothing can remove them after SIGKILL.
namespace temporary_files {

// Starts tracking `path`; returns a handle for Untrack, or -1 when the path is too long or all
// slots are taken (the file is then not removed by a signal, and everything else still works).
int Track(const std::string& path);
// Stops tracking. Call it after the file has been renamed or removed.
void Untrack(int handle);

}  // namespace temporary_files
