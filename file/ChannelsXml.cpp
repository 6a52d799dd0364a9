#include "ChannelsXml.h"

#include <algorithm>

#include "XmlChars.h"
#include "XmlValue.h"

namespace {

void WritePeak(pugi::xml_node item, const Peak4& peak) {
    AppendReal(item, "front", peak.front);
    AppendReal(item, "back", peak.back);
    AppendReal(item, "time", peak.time);
    AppendReal(item, "area", peak.area);
    AppendReal(item, "height", peak.height);
    AppendReal(item, "concent", peak.concent);
    AppendText(item, "name", peak.name);
    AppendBool(item, "reference", peak.reference);
    AppendInt(item, "left", peak.left);
    AppendInt(item, "right", peak.right);
    AppendUInt(item, "flags", peak.flags);
    AppendReal(item, "front_base_height", peak.front_base_height);
    AppendReal(item, "back_base_height", peak.back_base_height);
    AppendReal(item, "index", peak.index);
}

// A missing field keeps the default of a stored peak: reals 0, empty name, not a reference,
// left and right -1 (no fixed window), flags 0.
Peak4 ReadPeak(pugi::xml_node item) {
    Peak4 peak;
    peak.front = ReadReal(item.child("front"));
    peak.back = ReadReal(item.child("back"));
    peak.time = ReadReal(item.child("time"));
    peak.area = ReadReal(item.child("area"));
    peak.height = ReadReal(item.child("height"));
    peak.concent = ReadReal(item.child("concent"));
    peak.name = ReadText(item.child("name"));
    peak.reference = ReadBool(item.child("reference"));
    peak.left = ReadInt(item.child("left"), -1);
    peak.right = ReadInt(item.child("right"), -1);
    peak.flags = ReadUInt(item.child("flags"));
    peak.front_base_height = ReadReal(item.child("front_base_height"));
    peak.back_base_height = ReadReal(item.child("back_base_height"));
    peak.index = ReadReal(item.child("index"));
    return peak;
}

}  // namespace

void WriteChannelsXml(pugi::xml_node channels, const std::vector<Channel4>& from) {
    channels.append_attribute("version").set_value(1);
    for (const Channel4& channel : from) {
        pugi::xml_node element = channels.append_child("channel");
        AppendInt(element, "number", channel.number);
        pugi::xml_node table = element.append_child("table");
        for (const Peak4& peak : channel.table) WritePeak(table.append_child("item"), peak);
    }
}

void ReadChannelsXml(pugi::xml_node channels, std::vector<Channel4>& to) {
    for (pugi::xml_node element = channels.child("channel"); element;
         element = element.next_sibling("channel")) {
        const pugi::xml_attribute value = element.child("number").attribute("value");
        if (!value) continue;
        const int number = value.as_int();
        if (number < 0) continue;
        const auto channel = std::find_if(
            to.begin(), to.end(), [number](const Channel4& c) { return c.number == number; });
        if (channel == to.end()) continue;
        channel->table.clear();
        const pugi::xml_node table = element.child("table");
        for (pugi::xml_node item = table.child("item"); item; item = item.next_sibling("item")) {
            channel->table.push_back(ReadPeak(item));
        }
    }
}

std::optional<std::string> FindUnstorablePeakName(const std::vector<Channel4>& channels) {
    for (const Channel4& channel : channels) {
        for (std::size_t i = 0; i < channel.table.size(); ++i) {
            const std::string& name = channel.table[i].name;
            if (const auto fault = FindNonXmlChar(name))
                return "the name of peak " + std::to_string(i) + " of channel " +
                       std::to_string(channel.number) + " holds " +
                       DescribeXmlCharFault(name, *fault) + ", which an XML document cannot hold";
        }
    }
    return std::nullopt;
}
