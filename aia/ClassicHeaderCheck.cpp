#include "ClassicHeaderCheck.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// The tags and limits of the classic format's header.
constexpr std::uint32_t kDimensionTag = 0x0A;
constexpr std::uint32_t kVariableTag = 0x0B;
constexpr std::uint32_t kAttributeTag = 0x0C;
constexpr std::uint32_t kStreaming = 0xFFFFFFFF;
constexpr std::uint32_t kMaxNameBytes = 256;
constexpr std::uint32_t kMaxVariableDimensions = 1024;

struct Fault {
    std::string what;
    bool beyond_bytes_given = false;  // the file is longer: the header may continue there
};

// Reads the header's big-endian fields, each checked against the bytes left in the file, and
// against the bytes given of it.
class HeaderReader {
public:
    HeaderReader(const unsigned char* data, std::size_t given, std::uint64_t size)
        : m_data(data), m_given(given), m_size(size) {}

    std::uint64_t Left() const { return m_size - m_position; }
    std::size_t Position() const { return m_position; }
    std::uint64_t Size() const { return m_size; }

    void Need(std::uint64_t bytes, const char* what) const {
        if (bytes > Left()) throw Fault{std::string("the header is cut short in ") + what};
        if (bytes > m_given - m_position)
            throw Fault{std::string("the header is longer than the bytes read, in ") + what, true};
    }
    std::uint64_t Unsigned(std::size_t bytes, const char* what) {
        Need(bytes, what);
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) value = value << 8 | m_data[m_position + i];
        m_position += bytes;
        return value;
    }
    std::uint32_t Word(const char* what) { return static_cast<std::uint32_t>(Unsigned(4, what)); }
    // Skips `bytes` and the padding to the next multiple of four.
    void Skip(std::uint64_t bytes, const char* what) {
        const std::uint64_t padded = (bytes + 3) / 4 * 4;
        Need(padded, what);
        m_position += padded;
    }

private:
    const unsigned char* m_data;
    std::size_t m_given;
    std::uint64_t m_size;
    std::size_t m_position = 0;
};

std::size_t TypeSize(std::uint32_t type) {
    switch (type) {
        case 1:  // byte
        case 2:  // char
            return 1;
        case 3:  // short
            return 2;
        case 4:  // int
        case 5:  // float
            return 4;
        case 6:  // double
            return 8;
        default:
            throw Fault{"it names an unknown value type " + std::to_string(type)};
    }
}

class HeaderCheck {
public:
    HeaderCheck(const unsigned char* data, std::size_t given, std::uint64_t size)
        : m_in(data, given, size) {}

    void Run() {
        m_in.Need(4, "its signature");
        const std::uint64_t magic = m_in.Unsigned(4, "its signature");
        if (magic == 0x43444605) throw Fault{"it is a 64-bit-data netCDF file, not classic"};
        if (magic == 0x89484446)
            throw Fault{"it is a netCDF-4 (HDF5) file; AIA files are netCDF classic"};
        if (magic != 0x43444601 && magic != 0x43444602) throw Fault{"it is no netCDF classic file"};
        m_offset_bytes = magic == 0x43444601 ? 4 : 8;
        if (m_in.Word("the record count") == kStreaming) throw Fault{"it is a streamed file"};
        Dimensions();
        Attributes();
        Variables();
        m_end = std::max<std::uint64_t>(m_end, m_in.Position());
    }

    std::uint64_t End() const { return m_end; }

private:
    // A list's tag and count; zero when absent. Every item of the list takes at least
    // `least_bytes`, which bounds the count by the bytes left.
    std::uint32_t ListCount(std::uint32_t tag, std::size_t least_bytes, const char* what) {
        const std::uint32_t found = m_in.Word(what);
        const std::uint32_t count = m_in.Word(what);
        if (found == 0 && count == 0) return 0;
        if (found != tag) throw Fault{std::string("its ") + what + " has a wrong tag"};
        if (count > m_in.Left() / least_bytes)
            throw Fault{std::string("its ") + what + " is longer than the file"};
        m_items += count;
        if (m_items > kMaxHeaderItems)
            throw Fault{"its header declares more than " + std::to_string(kMaxHeaderItems) +
                        " dimensions, variables and attributes"};
        return count;
    }

    void Name(const char* what) {
        const std::uint32_t length = m_in.Word(what);
        if (length == 0 || length > kMaxNameBytes)
            throw Fault{std::string("a name in its ") + what + " is empty or too long"};
        m_in.Skip(length, what);
    }

    void Dimensions() {
        const std::uint32_t count = ListCount(kDimensionTag, 8, "dimension list");
        for (std::uint32_t i = 0; i < count; ++i) {
            Name("dimension list");
            m_dimensions.push_back(m_in.Word("dimension list"));
        }
    }

    void Attributes() {
        const std::uint32_t count = ListCount(kAttributeTag, 12, "attribute list");
        for (std::uint32_t i = 0; i < count; ++i) {
            Name("attribute list");
            const std::size_t size = TypeSize(m_in.Word("attribute list"));
            const std::uint64_t values = m_in.Word("attribute list");
            m_in.Skip(values * size, "attribute list");
        }
    }

    void Variables() {
        const std::uint32_t count = ListCount(kVariableTag, 24, "variable list");
        for (std::uint32_t i = 0; i < count; ++i) {
            Name("variable list");
            const std::uint32_t rank = m_in.Word("variable list");
            if (rank > kMaxVariableDimensions || rank > m_in.Left() / 4)
                throw Fault{"a variable has too many dimensions"};
            std::uint64_t elements = 1;
            for (std::uint32_t d = 0; d < rank; ++d) {
                const std::uint32_t id = m_in.Word("variable list");
                if (id >= m_dimensions.size()) throw Fault{"a variable names no dimension"};
                if (m_dimensions[id] == 0)
                    throw Fault{"it has record variables, which AIA files do not use"};
                // Bounded by the file's size at each step, so the product cannot overflow.
                elements *= m_dimensions[id];
                if (elements > m_in.Size()) throw Fault{"a variable is larger than the file"};
            }
            Attributes();
            const std::size_t size = TypeSize(m_in.Word("variable list"));
            m_in.Word("variable list");  // the stored size, which the library recomputes
            const std::uint64_t begin = m_in.Unsigned(m_offset_bytes, "variable list");
            // Each variable's data is padded to a multiple of four bytes.
            const std::uint64_t bytes = (elements * size + 3) / 4 * 4;
            if (begin > m_in.Size() || bytes > m_in.Size() - begin)
                throw Fault{"a variable's data lies beyond the end of the file"};
            m_end = std::max(m_end, begin + bytes);
        }
    }

    HeaderReader m_in;
    std::size_t m_offset_bytes = 4;
    std::uint64_t m_items = 0;
    std::uint64_t m_end = 0;
    std::vector<std::uint32_t> m_dimensions;
};

}  // namespace

std::optional<std::string> CheckClassicHeader(const unsigned char* data, std::size_t size,
                                              std::uint64_t* used_bytes) {
    try {
        HeaderCheck check(data, size, size);
        check.Run();
        if (used_bytes != nullptr) *used_bytes = check.End();
    } catch (const Fault& fault) {
        return fault.what;
    }
    return std::nullopt;
}

HeaderPrefixCheck CheckClassicHeaderPrefix(const unsigned char* data, std::size_t given,
                                           std::uint64_t size) {
    try {
        HeaderCheck(data, given, size).Run();
    } catch (const Fault& fault) {
        return {fault.what, fault.beyond_bytes_given};
    }
    return {};
}
