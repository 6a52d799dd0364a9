#pragma once

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
