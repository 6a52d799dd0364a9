// Any bytes as a spectra file end in a result code of ReadSpectra.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "file/TarvikFile4.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = FuzzFolder();
    WriteInput(folder + "/input.xspc", data, size);
    CTarvikFile4 doc;
    doc.ReadSpectra(folder + "/input.xstg");
    return 0;
}
