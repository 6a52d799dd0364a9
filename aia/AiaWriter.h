#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>

#include "file/TarvikFile4.h"

// A whole file made by the netCDF library in memory, handed over without a copy (a file can be
// hundreds of megabytes).
class AiaBytes {
public:
    AiaBytes(void* memory, std::size_t size)
        : m_memory(static_cast<unsigned char*>(memory)), m_size(size) {}
    const unsigned char* data() const { return m_memory.get(); }
    std::size_t size() const { return m_size; }
    const unsigned char* begin() const { return data(); }
    const unsigned char* end() const { return data() + m_size; }
    // Hands the memory over to the caller, who frees it with std::free.
    void* Release() { return m_memory.release(); }

private:
    struct Free {
        void operator()(unsigned char* memory) const { std::free(memory); }
    };
    std::unique_ptr<unsigned char, Free> m_memory;
    std::size_t m_size;
};

// The bytes of an AIA chromatography file (netCDF classic) for one channel of `document`: its
// samples, its stored peak table and the passport's description of the analysis.
// `source_name` is the document's file name as the file should cite it. Throws AiaError when the
// channel cannot be written in that format (no samples, a time axis that is not finite, more
// samples than a classic variable holds, an analysis date outside the years 0 to 9999).
AiaBytes MakeAiaFile(const CTarvikFile4& document, std::size_t channel,
                     const std::string& source_name);
