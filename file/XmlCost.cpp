#include "XmlCost.h"

#include <algorithm>

#include "DocumentLimits.h"

void XmlCost::Add(const char* text, std::size_t size) {
    bytes += size;
    markup += static_cast<std::uint64_t>(std::count(text, text + size, '<') +
                                         std::count(text, text + size, '='));
}

bool XmlCost::Exceeds() const {
    return bytes > kMaxXmlBytes || markup > kMaxXmlMarkup;
}

std::string DescribeXmlLimits() {
    return std::to_string(kMaxXmlBytes >> 20) + " MiB or " + std::to_string(kMaxXmlMarkup) +
           " markup characters (\"<\" and \"=\") that a document's XML text may have";
}
