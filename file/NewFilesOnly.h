#pragma once

#include "ThreadScope.h"

// Saving into names the caller has made sure are free, such as a corpus's documents in a folder
// cleared of them beforehand. While a NewFilesOnly lives on a thread, the saves of that thread
// do not look at their paths before writing: looking up a name that is not there waits for the
// folder's lock, which the other threads' new files hold in turn, and those waits were most of a
// corpus's time on disk beyond the processor's. A save whose name has been taken meanwhile fails
// with EEXIST and leaves what is there as it is, where any other save would replace it. A
// document saved without spectra then does not look for an old spectra file beside it either:
// clearing the names includes that file (its spectra path).
class NewFilesOnly : public ThreadScope<NewFilesOnly> {};
