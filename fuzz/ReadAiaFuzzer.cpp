// Any bytes given to the AIA reader end in a trace or an AiaError: no crash, no leak, and no
// allocation beyond what the bytes themselves can justify, whatever the header's counts claim
// (the netCDF library allocates by them). Whatever is read is dumped as xstgtool dump would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"
#include "aia/AiaError.h"
#include "aia/AiaReader.h"
#include "cli/AiaJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const AiaFile file(std::vector<unsigned char>(data, data + size));
        NullStream out;
        WriteAiaJson(file, out, true);
    } catch (const AiaError&) {
    }
    return 0;
}
