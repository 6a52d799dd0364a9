#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <fstream>
#include <sstream>

namespace {

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

ToolFolder::ToolFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "xstgtool-test";
    if (info != nullptr) name += std::string("-") + info->test_suite_name() + "-" + info->name();
    m_dir = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
}

ToolFolder::~ToolFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::filesystem::path ToolFolder::Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
}

std::string ToolFolder::Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ToolResult ToolFolder::Run(const std::vector<std::string>& args) const {
    std::string command = "cd " + Quote(m_dir.string()) + " && " + Quote(XSTGTOOL_PATH);
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " >" + Quote(Path(".stdout").string()) + " 2>" + Quote(Path(".stderr").string());
    const int status = std::system(command.c_str());
    ToolResult result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Read(".stdout");
    result.err = Read(".stderr");
    std::filesystem::remove(Path(".stdout"));
    std::filesystem::remove(Path(".stderr"));
    return result;
}
