#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CsvCells.h"
#include "ToolRunner.h"

// What the batch tests share: recipes, the files of a corpus folder, the manifest's lines.

// The recipe `batch --help` shows, so the example is checked too.
inline std::string HelpRecipe(const ToolFolder& dir) {
    const std::string help = dir.Run({"batch", "--help"}).out;
    const std::size_t start = help.find('{', help.find("Example recipe:"));
    return help.substr(start, help.rfind('}') + 1 - start);
}

inline std::map<std::string, std::string> FilesOf(const ToolFolder& dir,
                                                  const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path(folder)))
        files[entry.path().filename().string()] =
            dir.Read(folder + "/" + entry.path().filename().string());
    return files;
}

inline std::set<std::string> NamesIn(const ToolFolder& dir, const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path(folder)))
        names.insert(entry.path().filename().string());
    return names;
}

// Document n's file names: n with at least seven digits.
inline std::string Stem(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    return std::string(digits.size() < 7 ? 7 - digits.size() : 0, '0') + digits;
}

// A small valid recipe with `extra` keys, which replace its own of the same name.
inline std::string Recipe(const std::string& extra) {
    std::string text = "{\"height\": 1, \"peak_time\": {\"min\": 1, \"max\": 9}";
    for (const char* key : {"analysis_time", "sample_rate", "peaks_per_channel"})
        if (extra.find(key) == std::string::npos)
            text += std::string(", \"") + key + (key[0] == 'p' ? "\": 3" : "\": 100");
    return text + extra + "}";
}
