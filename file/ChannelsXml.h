#pragma once

#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "synth/Channel4.h"

// Fills the empty element "channels": per channel its number and its peak table. The signals are
// not here; they are in the signal section.
void WriteChannelsXml(pugi::xml_node channels, const std::vector<Channel4>& from);

// Gives the tables under "channels" to the channels already in `to`, matched by full number: the
// first channel with that number gets the table, replacing its own. Elements without a number,
// with a negative one or with one no channel has are skipped. A null element changes nothing.
void ReadChannelsXml(pugi::xml_node channels, std::vector<Channel4>& to);

// The first peak name that the XML could not hold (a character outside XML 1.0), described for a
// message; nothing when every name can be stored.
std::optional<std::string> FindUnstorablePeakName(const std::vector<Channel4>& channels);
