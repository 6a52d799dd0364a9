// Any bytes given to LoadFromBuffer end in a result code: no crash, no leak, no giant
// allocation, whatever the sizes inside claim. Whatever loads is dumped as xstgtool dump would,
// samples included, so that no stored text or number can break the JSON writer.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "cli/DocumentJson.h"
#include "file/TarvikFile4.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CTarvikFile4 doc;
    if (doc.LoadFromBuffer(data, size) != 0) return 0;
    NullStream out;
    WriteDocumentJson(doc, out, true);
    return 0;
}
