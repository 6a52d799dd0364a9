#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What an XML text would cost the parser, measured on the raw bytes before parsing: its size,
// and its markup characters ("<" and "="), which bound the elements and attributes it can
// make. The limits are in DocumentLimits.h.
struct XmlCost {
    std::uint64_t bytes = 0;
    std::uint64_t markup = 0;

    void Add(const char* text, std::size_t size);
    bool Exceeds() const;
};

// The limits in words, for messages: "64 MiB or 2000000 markup characters ...".
std::string DescribeXmlLimits();
