#include <string>

#include "Scenario.h"
#include "file/InputFile.h"
#include "file/SaveTarget.h"

std::string ReadScenarioFile(const std::string& path, std::string_view kind) {
    InputFile in;
    if (!in.Open(path)) {
        if (!in.Refusal().empty())
            throw ScenarioError("it is " + in.Refusal() + ", not a " + std::string(kind));
        throw ScenarioError("cannot open the file: " + SystemErrorText(in.Error()));
    }
    if (in.Size() > kMaxScenarioBytes)
        throw ScenarioError("the file is " + std::to_string(in.Size()) +
                            " bytes; a " + std::string(kind) + " is at most " +
                            std::to_string(kMaxScenarioBytes));
    // Read to the end, not to the size found at opening, and no further than one byte past the
    // limit: a file that grows meanwhile is caught too.
    std::string text;
    char chunk[1 << 16];
    while (text.size() <= kMaxScenarioBytes) {
        const std::size_t got = in.Read(chunk, sizeof chunk);
        text.append(chunk, got);
        if (got < sizeof chunk) break;
    }
    if (text.size() > kMaxScenarioBytes)
        throw ScenarioError("the file grew beyond the " + std::to_string(kMaxScenarioBytes) +
                            " bytes a " + std::string(kind) + " may have");
    return text;
}
