#pragma once

#include <charconv>
#include <sstream>
#include <string>
#include <vector>

// Reading back the tool's CSV files: lines, the cells of a line (no quoted commas in the files read
// this way), and a number as the tool wrote it.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells(1);
    for (char c : line) {
        if (c == ',')
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

template <typename T = double>
T Number(const std::string& text) {
    T value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}
