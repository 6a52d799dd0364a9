#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

// Writes JSON piece by piece in exactly the layout of nlohmann's dump(2), so that a document of
// any size can be printed without building its whole tree: containers are opened and closed
// here, and only small values (a peak, a number) exist as a tree at a time. Strings that are not
// UTF-8 are written with U+FFFD for each bad byte.
class PrettyJson {
public:
    explicit PrettyJson(std::ostream& out) : m_out(out) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // The key of the next value, inside an object.
    void Key(std::string_view key);
    // A whole value: scalars directly, objects and arrays item by item.
    void Value(const nlohmann::ordered_json& value);
    // The same as Value(value), without building a tree for it.
    void Number(double value);

private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeItem();  // the separator and indentation before an item, unless after a key
    void Indent(std::size_t depth);

    std::ostream& m_out;
    std::vector<bool> m_has_items;  // per open container
    bool m_after_key = false;
};
