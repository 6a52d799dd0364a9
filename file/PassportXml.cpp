#include "PassportXml.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "XmlChars.h"
#include "XmlValue.h"

namespace {

void WriteColumn(pugi::xml_node column, const ColumnInfo& info) {
    AppendInt(column, "channel", info.channel);
    AppendText(column, "name", info.name);
    AppendText(column, "brand", info.brand);
    AppendInt(column, "type", info.type);
    AppendReal(column, "diameter", info.diameter);
    AppendReal(column, "length", info.length);
    AppendText(column, "carrier", info.carrier);
    AppendText(column, "phase", info.phase);
    AppendReal(column, "percent", info.percent);
    AppendInt(column, "unit", info.unit);
    AppendReal(column, "fraction0", info.fraction0);
    AppendReal(column, "fraction1", info.fraction1);
    AppendReal(column, "film", info.film);
    AppendText(column, "part", info.part);
    AppendText(column, "serial", info.serial);
    AppendText(column, "channelsId", JoinChannelIds(info.channelsId));
}

ColumnInfo ReadColumn(pugi::xml_node column) {
    ColumnInfo info;
    info.channel = ReadInt(column.child("channel"));
    info.name = ReadText(column.child("name"));
    info.brand = ReadText(column.child("brand"));
    info.type = ReadInt(column.child("type"));
    info.diameter = ReadReal(column.child("diameter"));
    info.length = ReadReal(column.child("length"));
    info.carrier = ReadText(column.child("carrier"));
    info.phase = ReadText(column.child("phase"));
    info.percent = ReadReal(column.child("percent"));
    info.unit = ReadInt(column.child("unit"));
    info.fraction0 = ReadReal(column.child("fraction0"));
    info.fraction1 = ReadReal(column.child("fraction1"));
    info.film = ReadReal(column.child("film"));
    info.part = ReadText(column.child("part"));
    info.serial = ReadText(column.child("serial"));
    info.channelsId = SplitChannelIds(ReadText(column.child("channelsId")));
    return info;
}

// Sets the scalar field that `element` names; false when the name is not a scalar field.
bool ReadScalarField(pugi::xml_node element, Passport& to) {
    const std::string_view name = element.name();
    if (name == "assayid") {
        to.assayid = ReadText(element);
    } else if (name == "series") {
        to.series = ReadText(element);
    } else if (name == "sample") {
        to.sample = ReadText(element);
    } else if (name == "method") {
        to.method = ReadText(element);
    } else if (name == "mixture") {
        to.mixture = ReadText(element);
    } else if (name == "andate") {
        to.andate = ReadInt64(element);
    } else if (name == "date") {
        to.date = ReadInt64(element);
    } else if (name == "duration") {
        to.duration = ReadReal(element);
    } else if (name == "graduation") {
        to.graduation = ReadBool(element);
    } else if (name == "defect") {
        to.defect = ReadBool(element);
    } else if (name == "isDeleted") {
        to.isDeleted = ReadBool(element);
    } else {
        return false;
    }
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void WritePassportXml(pugi::xml_node passport, const Passport& from) {
    passport.append_attribute("version").set_value(1);
    AppendText(passport, "assayid", from.assayid);
    AppendText(passport, "series", from.series);
    AppendInt(passport, "andate", from.andate);
    AppendReal(passport, "duration", from.duration);
    AppendText(passport, "sample", from.sample);
    AppendText(passport, "method", from.method);
    AppendBool(passport, "graduation", from.graduation);
    AppendInt(passport, "date", from.date);
    AppendBool(passport, "defect", from.defect);
    AppendText(passport, "mixture", from.mixture);
    AppendBool(passport, "isDeleted", from.isDeleted);
    for (const ColumnInfo& column : from.columns)
        WriteColumn(passport.append_child("column"), column);
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
        if (std::strcmp(element.name(), "column") == 0) {
            to.columns.push_back(ReadColumn(element));
        } else {
            to.entries.push_back({element.name(), element.attribute("title").as_string(""),
                                  element.attribute("value").as_string("")});
        }
    }
}

bool IsStorableEntryName(const std::string& name) {
    if (!IsXmlName(name)) return false;
    for (const char* field : {"assayid", "series", "andate", "duration", "sample", "method",
                              "graduation", "date", "defect", "mixture", "isDeleted", "column"})
        if (name == field) return false;
    return true;
}

std::optional<std::string> FindUnstorablePassportText(const Passport& passport) {
    std::optional<std::string> found;
    auto check = [&found](const std::string& where, const std::string& text) {
        if (found) return;
        if (const auto fault = FindNonXmlChar(text))
            found = where + " holds " + DescribeXmlCharFault(text, *fault) +
                    ", which an XML document cannot hold";
    };
    check("the passport's assayid", passport.assayid);
    check("the passport's series", passport.series);
    check("the passport's sample", passport.sample);
    check("the passport's method", passport.method);
    check("the passport's mixture", passport.mixture);
    for (std::size_t i = 0; i < passport.columns.size(); ++i) {
        const ColumnInfo& c = passport.columns[i];
        const std::string where = "passport column " + std::to_string(i) + "'s ";
        check(where + "name", c.name);
        check(where + "brand", c.brand);
        check(where + "carrier", c.carrier);
        check(where + "phase", c.phase);
        check(where + "part", c.part);
        check(where + "serial", c.serial);
    }
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
