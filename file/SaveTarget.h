#pragma once

#include <string>

// What saving to a path would replace. A save replaces only a regular file, or creates one
// where nothing is; through a symbolic link it replaces the file the link leads to. Anything
// else (a FIFO, a device, a socket, a link to one of them or to nothing) is refused: renaming
// over it would swap a system's pipe or device for a plain file. A folder is an error (EISDIR),
// as it is for any program that opens it to write.
struct SaveTarget {
    std::string path;     // the file to replace or create: the given path with links resolved
    bool exists = false;  // a regular file is there now
    int error = 0;        // errno when the path or its folder cannot be examined
    std::string refusal;  // what lies there instead of a regular file, e.g. "a FIFO"
    bool ok() const { return error == 0 && refusal.empty(); }
};

// With `examine_folder` false, a name with nothing there is taken as a new file without looking
// at its folder: for a caller about to create the file there, whose creation fails with the
// error the folder would have given (a missing folder, a file instead of one).
SaveTarget ResolveSaveTarget(const std::string& path, bool examine_folder = true);

// What a save on this thread takes its path for: ResolveSaveTarget's answer, without the look at
// the folder under a DeferredFlush, and the path as a new file without any look under a
// NewFilesOnly.
SaveTarget TargetOfSave(const std::string& path);

// The kind of a file that is not a regular one, in words: "a folder", "a FIFO", ...
std::string DescribeFileKind(unsigned mode);

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string FolderOf(const std::string& path);

// A hidden name beside `path` that no other file has at the moment it is made: a dot, at most
// the first 160 bytes of the file name (so that a name near the 255-byte limit still leaves
// room), the process id, a counter and `suffix`.
std::string HiddenSibling(const std::string& path, const char* suffix);

// The system's reason for errno `error`, in words.
std::string SystemErrorText(int error);
