// The same for LoadFromFile: the bytes become a document on disk. No spectra file lies beside
// it; the spectra reader has a fuzzer of its own.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "file/TarvikFile4.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = FuzzFolder() + "/input.xstg";
    WriteInput(path, data, size);
    CTarvikFile4 doc;
    doc.LoadFromFile(path);
    return 0;
}
