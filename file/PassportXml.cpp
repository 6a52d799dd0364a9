#include "PassportXml.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "PassportFields.h"
#include "XmlChars.h"
#include "XmlValue.h"

namespace {

// One field as the element <key value="..."/>, converted by the member's type.
struct FieldWriter {
    pugi::xml_node parent;
    void operator()(const PassportField& f, const std::string& v) const {
        AppendText(parent, f.key, v);
    }
    void operator()(const PassportField& f, double v) const { AppendReal(parent, f.key, v); }
    void operator()(const PassportField& f, std::int32_t v) const { AppendInt(parent, f.key, v); }
    void operator()(const PassportField& f, std::int64_t v) const { AppendInt(parent, f.key, v); }
    void operator()(const PassportField& f, bool v) const { AppendBool(parent, f.key, v); }
    void operator()(const PassportField& f, const std::vector<std::int32_t>& v) const {
        AppendText(parent, f.key, JoinChannelIds(v));
    }
};

void ReadField(pugi::xml_node element, std::string& to) {
    to = ReadText(element);
}
void ReadField(pugi::xml_node element, double& to) {
    to = ReadReal(element);
}
void ReadField(pugi::xml_node element, std::int32_t& to) {
    to = ReadInt(element);
}
void ReadField(pugi::xml_node element, std::int64_t& to) {
    to = ReadInt64(element);
}
void ReadField(pugi::xml_node element, bool& to) {
    to = ReadBool(element);
}
void ReadField(pugi::xml_node element, std::vector<std::int32_t>& to) {
    to = SplitChannelIds(ReadText(element));
}

ColumnInfo ReadColumn(pugi::xml_node column) {
    ColumnInfo info;
    ForEachColumnField(info, [column](const PassportField& f, auto& member) {
        ReadField(column.child(f.key), member);
    });
    return info;
}

// Sets the scalar field that `element` names; false when the name is not a scalar field.
bool ReadScalarField(pugi::xml_node element, Passport& to) {
    const std::string_view name = element.name();
    bool found = false;
    ForEachPassportField(to, [&](const PassportField& f, auto& member) {
        if (name != f.key) return;
        ReadField(element, member);
        found = true;
    });
    return found;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void WritePassportXml(pugi::xml_node passport, const Passport& from) {
    passport.append_attribute("version").set_value(1);
    ForEachPassportField(from, FieldWriter{passport});
    for (const ColumnInfo& column : from.columns)
        ForEachColumnField(column, FieldWriter{passport.append_child(kColumnKey)});
    for (const PassportEntry& entry : from.entries) {
        pugi::xml_node element = passport.append_child(entry.name.c_str());
        element.append_attribute("title").set_value(entry.title.c_str());
        element.append_attribute("value").set_value(entry.value.c_str());
    }
}

void ReadPassportXml(pugi::xml_node passport, Passport& to) {
    to.columns.clear();
    to.entries.clear();
    // Only elements count: text between the fields would otherwise become nameless entries.
    for (pugi::xml_node element : passport.children()) {
        if (element.type() != pugi::node_element) continue;
        if (ReadScalarField(element, to)) continue;
        if (std::strcmp(element.name(), kColumnKey) == 0) {
            to.columns.push_back(ReadColumn(element));
        } else {
            to.entries.push_back({element.name(), element.attribute("title").as_string(""),
                                  element.attribute("value").as_string("")});
        }
    }
}

bool IsStorableEntryName(const std::string& name) {
    if (!IsXmlName(name) || name == kColumnKey) return false;
    bool field = false;
    const Passport any;
    ForEachPassportField(
        any, [&](const PassportField& f, const auto&) { field = field || name == f.key; });
    return !field;
}

std::optional<std::string> FindUnstorablePassportText(const Passport& passport) {
    std::optional<std::string> found;
    auto check = [&found](const std::string& where, const std::string& text) {
        if (found) return;
        if (const auto fault = FindNonXmlChar(text))
            found = where + " holds " + DescribeXmlCharFault(text, *fault) +
                    ", which an XML document cannot hold";
    };
    // Only the text members are visited: numbers are always written as text XML can hold.
    auto check_texts = [&check](const std::string& where) {
        return [&check, where](const PassportField& f, const auto& member) {
            if constexpr (std::is_same_v<std::decay_t<decltype(member)>, std::string>)
                check(where + f.key, member);
        };
    };
    ForEachPassportField(passport, check_texts("the passport's "));
    for (std::size_t i = 0; i < passport.columns.size(); ++i)
        ForEachColumnField(passport.columns[i],
                           check_texts("passport column " + std::to_string(i) + "'s "));
    for (std::size_t i = 0; i < passport.entries.size(); ++i) {
        const PassportEntry& e = passport.entries[i];
        const std::string where = "passport entry " + std::to_string(i);
        if (!found && !IsStorableEntryName(e.name))
            found = where + " has a name that is no XML element name, or names a passport field";
        check(where + "'s title", e.title);
        check(where + "'s value", e.value);
    }
    return found;
}

std::string JoinChannelIds(const std::vector<std::int32_t>& ids) {
    std::string text;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i != 0) text += ',';
        text += std::to_string(ids[i]);
    }
    return text;
}

std::vector<std::int32_t> SplitChannelIds(const std::string& text) {
    std::vector<std::int32_t> ids;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(',', begin);
        if (end == std::string::npos) end = text.size();
        const char* p = text.data() + begin;
        const char* const last = text.data() + end;
        while (p != last && IsBlank(*p)) ++p;
        // from_chars takes a minus sign but not a plus sign.
        if (p != last && *p == '+' && last - p > 1 && *(p + 1) >= '0' && *(p + 1) <= '9') ++p;
        std::int32_t id = 0;
        if (p != last && std::from_chars(p, last, id).ec == std::errc{}) ids.push_back(id);
        begin = end + 1;
    }
    return ids;
}
