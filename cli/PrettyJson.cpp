#include "PrettyJson.h"

namespace {

constexpr int kIndent = 2;

std::string Scalar(const nlohmann::ordered_json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace

void PrettyJson::Indent(std::size_t depth) {
    for (std::size_t i = 0; i < depth * kIndent; ++i) m_out.put(' ');
}

void PrettyJson::BeforeItem() {
    if (m_after_key) {
        m_after_key = false;
        return;
    }
    if (m_has_items.empty()) return;
    m_out << (m_has_items.back() ? ",\n" : "\n");
    m_has_items.back() = true;
    Indent(m_has_items.size());
}

void PrettyJson::Open(char bracket) {
    BeforeItem();
    m_out.put(bracket);
    m_has_items.push_back(false);
}

void PrettyJson::Close(char bracket) {
    const bool had_items = m_has_items.back();
    m_has_items.pop_back();
    if (had_items) {
        m_out.put('\n');
        Indent(m_has_items.size());
    }
    m_out.put(bracket);
}

void PrettyJson::Key(std::string_view key) {
    BeforeItem();
    m_out << Scalar(std::string(key)) << ": ";
    m_after_key = true;
}

void PrettyJson::Value(const nlohmann::ordered_json& value) {
    if (value.is_object()) {
        BeginObject();
        for (const auto& [key, item] : value.items()) {
            Key(key);
            Value(item);
        }
        EndObject();
    } else if (value.is_array()) {
        BeginArray();
        for (const auto& item : value) Value(item);
        EndArray();
    } else {
        BeforeItem();
        m_out << Scalar(value);
    }
}

void PrettyJson::Number(double value) {
    BeforeItem();
    // The library's own number text, as a dumped tree would have it.
    m_out << nlohmann::ordered_json(value).dump();
}
