#include "StrictJson.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "EchoText.h"

using nlohmann::json;

namespace {

// Deeper than a scenario ever nests (it needs five levels), shallow enough for recursive walks.
constexpr std::size_t kMaxDepth = 64;

// 1-based line and column of a byte offset.
std::pair<std::size_t, std::size_t> LineAndColumn(const std::string& text, std::size_t offset) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

std::string PathStep(const std::string& key) {
    bool plain = !key.empty() && key.size() <= 40;
    for (char c : key)
        plain = plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '_');
    return plain ? "." + key : "[" + Echo(key) + "]";
}

// Builds the tree from the parser's events and keeps, for errors, the path to the value being
// read.
class TreeBuilder : public json::json_sax_t {
public:
    explicit TreeBuilder(const std::string& text) : m_text(text) {}

    bool null() override { return Add(nullptr); }
    bool boolean(bool value) override { return Add(value); }
    bool number_integer(number_integer_t value) override { return Add(value); }
    bool number_unsigned(number_unsigned_t value) override { return Add(value); }
    bool number_float(number_float_t value, const string_t&) override { return Add(value); }
    bool string(string_t& value) override { return Add(std::move(value)); }
    bool binary(binary_t&) override { return Fail("binary values are not JSON", Where()); }

    bool start_object(std::size_t) override { return Open(json::object()); }
    bool start_array(std::size_t) override { return Open(json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& key) override {
        Frame& frame = m_frames.back();
        if (frame.node->contains(key)) return Fail("duplicate key " + Echo(key), frame.path);
        frame.key = std::move(key);
        return true;
    }

    bool parse_error(std::size_t position, const std::string& last_token,
                     const json::exception& error) override {
        if (error.id == 406) {  // a number the parser cannot hold in a double
            // The position is just past the number; the place given is where it begins.
            const std::size_t begins =
                position >= last_token.size() ? position - last_token.size() : 0;
            const std::string where = Where();
            m_error = (where.empty() ? "" : where + ": ") + "the number " + Echo(last_token) +
                      " at " + TextPlace(begins) + " is beyond the range of a double";
            return false;
        }
        std::string detail = error.what();
        const std::size_t colon = detail.rfind(": ");
        if (colon != std::string::npos) detail = detail.substr(colon + 2);
        m_error =
            "JSON syntax error at " + TextPlace(position == 0 ? 0 : position - 1) + ": " + detail;
        return false;
    }

    std::string TextPlace(std::size_t offset) const {
        const auto [line, column] = LineAndColumn(m_text, offset);
        return "line " + std::to_string(line) + ", column " + std::to_string(column);
    }

    json TakeValue() { return std::move(m_root); }
    const std::string& Error() const { return m_error; }

private:
    struct Frame {
        json* node;
        std::string path;
        std::string key;  // of the value being read, in an object
    };

    // The path of the value being read: the open containers, and the key or index in the last.
    std::string Where() const {
        if (m_frames.empty()) return {};
        const Frame& frame = m_frames.back();
        std::string path = frame.node->is_array()
                               ? frame.path + "[" + std::to_string(frame.node->size()) + "]"
                               : frame.path + PathStep(frame.key);
        if (path.front() == '.') path.erase(0, 1);
        return path;
    }

    json* Place(json&& value) {
        if (m_frames.empty()) {
            m_root = std::move(value);
            return &m_root;
        }
        json& parent = *m_frames.back().node;
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        json& slot = parent[m_frames.back().key];
        slot = std::move(value);
        return &slot;
    }

    bool Add(json&& value) {
        Place(std::move(value));
        return true;
    }

    bool Open(json&& container) {
        if (m_frames.size() >= kMaxDepth)
            return Fail("nested deeper than " + std::to_string(kMaxDepth) + " levels", Where());
        std::string path = Where();
        json* node = Place(std::move(container));
        m_frames.push_back({node, std::move(path), {}});
        return true;
    }

    bool Close() {
        m_frames.pop_back();
        return true;
    }

    bool Fail(const std::string& what, const std::string& where) {
        m_error = where.empty() ? what : where + ": " + what;
        return false;
    }

    const std::string& m_text;
    json m_root;
    std::vector<Frame> m_frames;
    std::string m_error;
};

}  // namespace

StrictJson ParseStrictJson(const std::string& text) {
    TreeBuilder builder(text);
    StrictJson result;
    if (json::sax_parse(text, &builder))
        result.value = builder.TakeValue();
    else
        result.error = builder.Error();
    return result;
}
