#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Runs the real xstgtool executable in a temporary folder of the test's own.
struct ToolResult {
    int exit_code = -1;
    std::string out;
    std::string err;
};

class ToolFolder {
public:
    ToolFolder();
    ~ToolFolder();

    std::filesystem::path Path(const std::string& name) const { return m_dir / name; }
    std::filesystem::path Write(const std::string& name, const std::string& text) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }

    // Runs xstgtool with the arguments, in this folder.
    ToolResult Run(const std::vector<std::string>& args) const;

private:
    std::filesystem::path m_dir;
};

// The 64-bit FNV-1a digest of some bytes, to compare a file with one made by an earlier build.
inline std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3u;
    return hash;
}
