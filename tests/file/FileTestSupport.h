#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "file/TarvikFile4.h"

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quelmar-file-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const { return m_path; }
    // Names in the folder, so a test can see that no temporary file was left behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Little-endian fields for hand-built files.
template <class T>
std::string Le(T value) {
    std::string bytes(sizeof(T), '\0');
    std::memcpy(bytes.data(), &value, sizeof(T));  // the test machines are little-endian
    return bytes;
}

inline Channel4 MakeChannel(int number, double start, double step, std::vector<float> samples) {
    return Channel4(number, step, start, samples.data(), samples.size());
}

inline void ExpectSamePeak(const Peak4& a, const Peak4& b) {
    EXPECT_EQ(a.front, b.front);
    EXPECT_EQ(a.back, b.back);
    EXPECT_EQ(a.time, b.time);
    EXPECT_EQ(a.area, b.area);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.concent, b.concent);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.reference, b.reference);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.flags, b.flags);
    EXPECT_EQ(a.front_base_height, b.front_base_height);
    EXPECT_EQ(a.back_base_height, b.back_base_height);
    EXPECT_EQ(a.index, b.index);
}

inline void ExpectSameChannels(const std::vector<Channel4>& a, const std::vector<Channel4>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE("channel " + std::to_string(i));
        EXPECT_EQ(a[i].number, b[i].number);
        EXPECT_EQ(a[i].signal.start, b[i].signal.start);
        EXPECT_EQ(a[i].signal.step, b[i].signal.step);
        EXPECT_EQ(a[i].signal.samples, b[i].signal.samples);
        ASSERT_EQ(a[i].table.size(), b[i].table.size());
        for (std::size_t k = 0; k < a[i].table.size(); ++k)
            ExpectSamePeak(a[i].table[k], b[i].table[k]);
    }
}
