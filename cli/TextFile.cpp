#include "TextFile.h"

#include "file/AtomicFile.h"
#include "file/SaveTarget.h"

void WriteTextFile(const std::string& path, std::string_view text) {
    AtomicFile file;
    if (file.Open(path) && file.Write(text.data(), text.size()) && file.Finish() && file.Commit())
        return;
    throw TextFileError("cannot write: " + (file.Refusal().empty() ? SystemErrorText(file.Error())
                                                                   : "it is " + file.Refusal() +
                                                                         ", not a regular file"));
}
