// Any bytes given to LoadFromBuffer end in a result code: no crash, no leak, no giant
// allocation, whatever the sizes inside claim.
#include <cstddef>
#include <cstdint>

#include "file/TarvikFile4.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CTarvikFile4 doc;
    doc.LoadFromBuffer(data, size);
    return 0;
}
