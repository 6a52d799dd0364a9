#include "AiaReader.h"

#include <netcdf.h>
#include <netcdf_mem.h>

#include <cstring>

#include "AiaError.h"
#include "AiaLayout.h"
#include "ClassicHeaderCheck.h"
#include "NetcdfCall.h"
#include "file/InputFile.h"
#include "file/SaveTarget.h"

namespace {

// A netCDF file opened over bytes that the caller keeps alive.
class OpenNetcdf {
public:
    explicit OpenNetcdf(std::vector<unsigned char>& bytes) {
        NetcdfCall(nc_open_mem("aia", NC_NOWRITE, bytes.size(), bytes.data(), &m_id),
                   "opening the file");
    }
    OpenNetcdf(const OpenNetcdf&) = delete;
    OpenNetcdf& operator=(const OpenNetcdf&) = delete;
    ~OpenNetcdf() { nc_close(m_id); }
    int Id() const { return m_id; }

private:
    int m_id = -1;
};

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

void ReadVariable(int file, int variable, AiaTrace& trace) {
    const VariableShape shape = Inquire(file, variable);
    const std::size_t rank = shape.dimensions.size();
    if (shape.name == kOrdinateVariable && rank == 1 && IsNumeric(shape.type)) {
        trace.samples.resize(shape.lengths[0]);
        NetcdfCall(nc_get_var_float(file, variable, trace.samples.data()), "reading the samples");
    } else if (shape.name == kPeakNameVariable && rank == 2 && shape.type == NC_CHAR &&
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

}  // namespace

AiaTrace ReadAiaBytes(std::vector<unsigned char> bytes) {
    if (const auto fault = CheckClassicHeader(bytes.data(), bytes.size())) throw AiaError(*fault);
    const std::lock_guard lock(NetcdfLock());
    OpenNetcdf netcdf(bytes);
    const int file = netcdf.Id();
    int variables = 0;
    int attributes = 0;
    NetcdfCall(nc_inq(file, nullptr, &variables, &attributes, nullptr), "reading the header");
    AiaTrace trace;
    for (int a = 0; a < attributes; ++a) trace.attributes.push_back(ReadAttribute(file, a));
    int points = -1;
    if (nc_inq_dimid(file, kPointDimension, &points) == NC_NOERR)
        NetcdfCall(nc_inq_dimlen(file, points, &trace.point_count), "reading a dimension");
    for (int v = 0; v < variables; ++v) ReadVariable(file, v, trace);
    return trace;
}

AiaTrace ReadAiaFile(const std::string& path) {
    InputFile in;
    if (!in.Open(path)) {
        if (!in.Refusal().empty()) throw AiaError("it is " + in.Refusal() + ", not an AIA file");
        throw AiaError("cannot open the file: " + SystemErrorText(in.Error()));
    }
    if (in.Size() > kMaxAiaFileBytes)
        throw AiaError("the file is " + std::to_string(in.Size()) +
                       " bytes; an AIA file read here is at most " +
                       std::to_string(kMaxAiaFileBytes));
    std::vector<unsigned char> bytes(static_cast<std::size_t>(in.Size()));
    if (in.Read(bytes.data(), bytes.size()) != bytes.size())
        throw AiaError("the file ended early or could not be read");
    return ReadAiaBytes(std::move(bytes));
}

bool LooksLikeNetcdf(const std::string& path) {
    InputFile in;
    unsigned char head[4] = {};
    if (!in.Open(path) || in.Read(head, sizeof head) < 3) return false;
    return std::memcmp(head, "CDF", 3) == 0 || std::memcmp(head, "\x89HDF", 4) == 0;
}
