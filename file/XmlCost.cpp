#include "XmlCost.h"

#include "DocumentLimits.h"

namespace {

unsigned IsMarkup(char c) {
    return static_cast<unsigned>(c == '<') + static_cast<unsigned>(c == '=');
}

}  // namespace

// Every saved document's XML passes through here. The fixed-size inner loop is one the compiler
// turns into vector compares at the normal optimisation level, which a loop over the whole text
// is not; a block's count (at most 128) fits the byte it is summed in.
void XmlCost::Add(const char* text, std::size_t size) {
    constexpr std::size_t kBlock = 64;
    bytes += size;
    std::size_t i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        unsigned char block = 0;
        for (std::size_t k = 0; k < kBlock; ++k)
            block = static_cast<unsigned char>(block + IsMarkup(text[i + k]));
        markup += block;
    }
    for (; i < size; ++i) markup += IsMarkup(text[i]);
}

bool XmlCost::Exceeds() const {
    return bytes > kMaxXmlBytes || markup > kMaxXmlMarkup;
}

std::string DescribeXmlLimits() {
    return std::to_string(kMaxXmlBytes >> 20) + " MiB or " + std::to_string(kMaxXmlMarkup) +
           " markup characters (\"<\" and \"=\") that a document's XML text may have";
}
