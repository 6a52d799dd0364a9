#include "AiaReader.h"

#include <netcdf.h>
#include <netcdf_mem.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "AiaError.h"
#include "AiaLayout.h"
#include "ClassicHeaderCheck.h"
#include "NetcdfCall.h"
#include "file/SaveTarget.h"

namespace {

// A header is read from the file in steps, each twice the last, up to this: far beyond any AIA
// file's header (a few kilobytes), which keeps the attributes' text in memory.
constexpr std::size_t kFirstHeaderRead = 64 << 10;
constexpr std::size_t kMaxHeaderBytes = 64 << 20;

std::string WithoutTrailingNuls(const char* text, std::size_t length) {
    while (length > 0 && text[length - 1] == '\0') --length;
    return std::string(text, length);
}

bool IsNumeric(nc_type type) {
    return type == NC_BYTE || type == NC_SHORT || type == NC_INT || type == NC_FLOAT ||
           type == NC_DOUBLE;
}

// The header check has bounded every length by the file's size, so these allocations are too.
AiaAttribute ReadAttribute(int file, int number) {
    char name[NC_MAX_NAME + 1] = {};
    NetcdfCall(nc_inq_attname(file, NC_GLOBAL, number, name), "reading an attribute's name");
    nc_type type = NC_NAT;
    std::size_t length = 0;
    NetcdfCall(nc_inq_att(file, NC_GLOBAL, name, &type, &length), "reading an attribute");
    AiaAttribute attribute;
    attribute.name = name;
    attribute.is_text = type == NC_CHAR;
    if (attribute.is_text) {
        std::vector<char> text(length + 1);
        NetcdfCall(nc_get_att_text(file, NC_GLOBAL, name, text.data()), "reading an attribute");
        attribute.text = WithoutTrailingNuls(text.data(), length);
    } else {
        attribute.numbers.resize(length);
        NetcdfCall(nc_get_att_double(file, NC_GLOBAL, name, attribute.numbers.data()),
                   "reading an attribute");
    }
    return attribute;
}

struct VariableShape {
    std::string name;
    nc_type type = NC_NAT;
    std::vector<std::string> dimensions;
    std::vector<std::size_t> lengths;
};

VariableShape Inquire(int file, int variable) {
    char name[NC_MAX_NAME + 1] = {};
    int rank = 0;
    VariableShape shape;
    NetcdfCall(nc_inq_var(file, variable, name, &shape.type, &rank, nullptr, nullptr),
               "reading a variable");
    shape.name = name;
    std::vector<int> ids(static_cast<std::size_t>(rank));
    NetcdfCall(nc_inq_vardimid(file, variable, ids.data()), "reading a variable");
    for (int id : ids) {
        char dimension[NC_MAX_NAME + 1] = {};
        std::size_t length = 0;
        NetcdfCall(nc_inq_dim(file, id, dimension, &length), "reading a dimension");
        shape.dimensions.push_back(dimension);
        shape.lengths.push_back(length);
    }
    return shape;
}

std::string ShapeText(const VariableShape& shape) {
    std::string text = "(";
    for (std::size_t i = 0; i < shape.dimensions.size(); ++i)
        text += (i == 0 ? "" : ", ") + shape.dimensions[i];
    return text + ")";
}

// The samples must be numbers over the points, as the format defines them.
void CheckSamples(const VariableShape& shape) {
    if (!IsNumeric(shape.type))
        throw AiaError(std::string(kOrdinateVariable) + " holds text, not numbers");
    if (shape.dimensions.size() != 1 || shape.dimensions[0] != kPointDimension)
        throw AiaError(std::string(kOrdinateVariable) + " has the shape " + ShapeText(shape) +
                       ", not (" + kPointDimension + ")");
}

void ReadVariable(int file, const VariableShape& shape, int variable, AiaTrace& trace) {
    const std::size_t rank = shape.dimensions.size();
    if (shape.name == kPeakNameVariable && rank == 2 && shape.type == NC_CHAR &&
        shape.dimensions[0] == kPeakDimension) {
        const std::size_t width = shape.lengths[1];
        std::vector<char> text(shape.lengths[0] * width + 1);
        NetcdfCall(nc_get_var_text(file, variable, text.data()), "reading the peak names");
        for (std::size_t p = 0; p < shape.lengths[0]; ++p)
            trace.peak_names.push_back(WithoutTrailingNuls(text.data() + p * width, width));
    } else if (rank == 0 && IsNumeric(shape.type)) {
        double value = 0.0;
        NetcdfCall(nc_get_var_double(file, variable, &value), "reading a value");
        trace.scalars.emplace_back(shape.name, value);
    } else if (rank == 1 && IsNumeric(shape.type) && shape.dimensions[0] == kPeakDimension) {
        std::vector<double> values(shape.lengths[0]);
        NetcdfCall(nc_get_var_double(file, variable, values.data()), "reading the peak table");
        trace.peak_columns.emplace_back(shape.name, std::move(values));
    }
}

// The first bytes of the file that hold its whole header, checked.
std::vector<unsigned char> ReadCheckedHeader(InputFile& in) {
    std::vector<unsigned char> head;
    for (std::size_t want = kFirstHeaderRead;; want *= 2) {
        const std::size_t have = head.size();
        head.resize(static_cast<std::size_t>(std::min<std::uint64_t>(want, in.Size())));
        if (in.Read(head.data() + have, head.size() - have) != head.size() - have)
            throw AiaError("the file ended early or could not be read");
        const HeaderPrefixCheck check =
            CheckClassicHeaderPrefix(head.data(), head.size(), in.Size());
        if (!check.fault) return head;
        if (!check.more) throw AiaError(*check.fault);
        if (head.size() >= kMaxHeaderBytes)
            throw AiaError("its header is longer than " + std::to_string(kMaxHeaderBytes >> 20) +
                           " MiB; an AIA file's header takes a few kilobytes");
    }
}

}  // namespace

AiaFile::AiaFile(std::vector<unsigned char> bytes)
    : m_lock(NetcdfLock(), std::defer_lock), m_bytes(std::move(bytes)) {
    if (const auto fault = CheckClassicHeader(m_bytes.data(), m_bytes.size()))
        throw AiaError(*fault);
    m_lock.lock();
    NetcdfCall(nc_open_mem("aia", NC_NOWRITE, m_bytes.size(), m_bytes.data(), &m_id),
               "opening the file");
    ReadContents();
}

AiaFile::AiaFile(const std::string& path) : m_lock(NetcdfLock(), std::defer_lock) {
    if (!m_in.Open(path)) {
        if (!m_in.Refusal().empty())
            throw AiaError("it is " + m_in.Refusal() + ", not an AIA file");
        throw AiaError("cannot open the file: " + SystemErrorText(m_in.Error()));
    }
    if (m_in.Size() > kMaxAiaFileBytes)
        throw AiaError("the file is " + std::to_string(m_in.Size()) +
                       " bytes; an AIA file read here is at most " +
                       std::to_string(kMaxAiaFileBytes));
    ReadCheckedHeader(m_in);
    // The library opens the very file checked, through its descriptor, not whatever the path
    // names by now (where /proc is there to allow it).
    std::string opened = "/proc/self/fd/" + std::to_string(m_in.Descriptor());
    if (::access(opened.c_str(), R_OK) != 0) opened = path;
    m_lock.lock();
    NetcdfCall(nc_open(opened.c_str(), NC_NOWRITE, &m_id), "opening the file");
    ReadContents();
}

AiaFile::~AiaFile() {
    if (m_id >= 0) nc_close(m_id);
}

void AiaFile::ReadContents() {
    try {
        int variables = 0;
        int attributes = 0;
        NetcdfCall(nc_inq(m_id, nullptr, &variables, &attributes, nullptr), "reading the header");
        for (int a = 0; a < attributes; ++a) m_trace.attributes.push_back(ReadAttribute(m_id, a));
        for (int v = 0; v < variables; ++v) {
            const VariableShape shape = Inquire(m_id, v);
            if (shape.name != kOrdinateVariable) {
                ReadVariable(m_id, shape, v, m_trace);
                continue;
            }
            CheckSamples(shape);
            m_samples = v;
            m_trace.point_count = shape.lengths[0];
        }
        if (m_samples < 0)
            throw AiaError(std::string("it has no variable ") + kOrdinateVariable +
                           ", the samples of an AIA file");
    } catch (...) {
        nc_close(m_id);
        m_id = -1;
        throw;
    }
}

void AiaFile::ReadSamples(std::size_t first, std::size_t count, float* samples) const {
    const std::size_t start[] = {first};
    const std::size_t length[] = {count};
    NetcdfCall(nc_get_vara_float(m_id, m_samples, start, length, samples), "reading the samples");
}

bool LooksLikeNetcdf(const std::string& path) {
    InputFile in;
    unsigned char head[4] = {};
    if (!in.Open(path) || in.Read(head, sizeof head) < 3) return false;
    return std::memcmp(head, "CDF", 3) == 0 || std::memcmp(head, "\x89HDF", 4) == 0;
}
