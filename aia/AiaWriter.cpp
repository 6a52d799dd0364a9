#include "AiaWriter.h"

#include <netcdf.h>
#include <netcdf_mem.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <type_traits>

#include "AiaError.h"
#include "AiaLayout.h"
#include "ClassicHeaderCheck.h"
#include "DateStamp.h"
#include "NetcdfCall.h"
#include "file/PassportFields.h"
#include "res/Version.h"

namespace {

// A netCDF file being made in memory; abandoned unless it was closed into bytes.
class MemoryNetcdf {
public:
    // `expected_size`: room for the whole file at once, so the buffer need not grow by copies.
    explicit MemoryNetcdf(std::size_t expected_size) {
        // Classic format (mode 0), never on disk: the bytes are written atomically afterwards.
        NetcdfCall(nc_create_mem("aia", NC_CLOBBER, expected_size, &m_id), "creating the file");
        int old_mode = 0;
        NetcdfCall(nc_set_fill(m_id, NC_NOFILL, &old_mode), "setting the fill mode");
    }
    MemoryNetcdf(const MemoryNetcdf&) = delete;
    MemoryNetcdf& operator=(const MemoryNetcdf&) = delete;
    ~MemoryNetcdf() {
        if (m_id >= 0) nc_abort(m_id);
    }
    int Id() const { return m_id; }

    AiaBytes CloseIntoBytes() {
        NC_memio memory{};
        const int status = nc_close_memio(m_id, &memory);
        m_id = -1;
        NetcdfCall(status, "closing the file");
        AiaBytes buffer(memory.memory, memory.size);
        // The memory handed back is the library's whole buffer; the file is what its header
        // describes, exactly the bytes the library would have written to a disk file.
        std::uint64_t used = 0;
        if (const auto fault = CheckClassicHeader(buffer.data(), buffer.size(), &used))
            throw AiaError("netCDF: the file made is not readable: " + *fault);
        return AiaBytes(buffer.Release(), static_cast<std::size_t>(used));
    }

private:
    int m_id = -1;
};

void PutText(int file, const char* name, std::string_view text) {
    NetcdfCall(nc_put_att_text(file, NC_GLOBAL, name, text.size(), text.data()),
               "writing a global attribute");
}

int DefineDimension(int file, const char* name, std::size_t length) {
    int id = -1;
    NetcdfCall(nc_def_dim(file, name, length, &id), "defining a dimension");
    return id;
}

int DefineVariable(int file, const char* name, nc_type type, std::initializer_list<int> dims) {
    int id = -1;
    NetcdfCall(nc_def_var(file, name, type, static_cast<int>(dims.size()), std::data(dims), &id),
               "defining a variable");
    return id;
}

// The first at most `bytes` bytes of `text`, not cutting a UTF-8 character in two.
std::string_view CutUtf8(std::string_view text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

std::string LibraryVersion() {
    const std::string_view text = nc_inq_libvers();  // "4.9.0 of Jan  1 2023 ..."
    return std::string(text.substr(0, text.find(' ')));
}

void CheckChannel(const Channel4& channel, std::int64_t andate) {
    const std::string which = "channel " + std::to_string(channel.number);
    const SampleGrid grid = channel.signal.Grid();
    if (channel.signal.Size() == 0)
        throw AiaError(which + " has no samples; an AIA file cannot hold an empty trace");
    if (channel.signal.Size() > kMaxAiaPoints)
        throw AiaError(which + " has " + std::to_string(channel.signal.Size()) +
                       " samples; a classic netCDF variable holds at most " +
                       std::to_string(kMaxAiaPoints));
    if (!std::isfinite(grid.start) || !std::isfinite(grid.step))
        throw AiaError(which + ": its time axis is not finite, so its times cannot be written");
    if (!FormatDateStamp(andate))
        throw AiaError("the passport's analysis date (" + std::to_string(andate) +
                       " s since 1970) lies outside the years 0 to 9999 an AIA date can hold");
}

void WriteGlobalAttributes(int file, const Passport& passport, const Channel4& channel,
                           const std::string& source_name) {
    const std::string stamp = *FormatDateStamp(passport.andate);
    const std::string detector = "Канал " + std::to_string(std::int64_t{channel.number} + 1);
    PutText(file, "dataset_completeness", "C1+C2");
    PutText(file, "aia_template_revision", "1.0");
    PutText(file, "netcdf_revision", LibraryVersion());
    PutText(file, "languages", "English");
    PutText(file, "dataset_origin", std::string("Quelmar ") + QuelmarVersion::kText);
    PutText(file, "dataset_date_time_stamp", stamp);
    PutText(file, "injection_date_time_stamp", stamp);
    ForEachPassportField(passport, [file](const PassportField& f, const auto& member) {
        if constexpr (std::is_same_v<std::decay_t<decltype(member)>, std::string>)
            if (f.aia_attribute != nullptr) PutText(file, f.aia_attribute, member);
    });
    PutText(file, "detector_name", detector);
    PutText(file, "detector_unit", "mV");
    PutText(file, "retention_unit", "Seconds");
    PutText(file, "source_file_reference", source_name);
    PutText(file, "source_file_format", "xstg");
    PutText(file, "raw_data_table_name", detector);
    PutText(file, "peak_processing_results_table_name", detector);
}

}  // namespace

AiaBytes MakeAiaFile(const CTarvikFile4& document, std::size_t index,
                     const std::string& source_name) {
    const Channel4& channel = document.m_channels.at(index);
    CheckChannel(channel, document.m_passport.andate);
    const std::vector<float>& samples = channel.signal.samples;
    const std::vector<Peak4>& peaks = channel.table;
    const SampleGrid grid = channel.signal.Grid();

    constexpr std::size_t kHeaderRoom = 1 << 14;
    const std::lock_guard lock(NetcdfLock());
    MemoryNetcdf netcdf(kHeaderRoom + samples.size() * sizeof(float) +
                        peaks.size() * (kPeakNameBytes + std::size(kAiaPeakVariables) * 8));
    const int file = netcdf.Id();
    WriteGlobalAttributes(file, document.m_passport, channel, source_name);

    int name_dim = -1;
    for (std::size_t length : kStringDimensionLengths) {
        const int id =
            DefineDimension(file, ("_" + std::to_string(length) + "_byte_string").c_str(), length);
        if (length == kPeakNameBytes) name_dim = id;
    }
    DefineDimension(file, kRangeDimension, 2);
    const int point_dim = DefineDimension(file, kPointDimension, samples.size());

    // Scalars of the raw data in seconds, then the trace; the trace's range is stated by the
    // detector's extremes over its finite samples.
    struct Scalar {
        const char* name;
        nc_type type;
        double value;
    };
    float lowest = std::numeric_limits<float>::quiet_NaN();  // NaN while no sample is finite
    float highest = lowest;
    for (float sample : samples) {
        if (!std::isfinite(sample)) continue;
        if (!(sample >= lowest)) lowest = sample;
        if (!(sample <= highest)) highest = sample;
    }
    const Scalar scalars[] = {
        {"detector_maximum_value", NC_FLOAT, highest},
        {"detector_minimum_value", NC_FLOAT, lowest},
        {"actual_run_time_length", NC_DOUBLE,
         static_cast<double>(samples.size()) * grid.step * kSecondsPerMinute},
        {"actual_sampling_interval", NC_DOUBLE, grid.step * kSecondsPerMinute},
        {"actual_delay_time", NC_DOUBLE, grid.start * kSecondsPerMinute},
    };
    int scalar_ids[std::size(scalars)];
    for (std::size_t i = 0; i < std::size(scalars); ++i)
        scalar_ids[i] = DefineVariable(file, scalars[i].name, scalars[i].type, {});
    const int ordinate = DefineVariable(file, kOrdinateVariable, NC_FLOAT, {point_dim});
    NetcdfCall(nc_put_att_text(file, ordinate, "uniform_sampling_flag", 1, "Y"),
               "writing an attribute");

    // A fixed dimension of length 0 cannot exist in the classic format (0 is the record
    // dimension), so a channel without peaks has no peak table at all.
    int name_var = -1;
    int peak_ids[std::size(kAiaPeakVariables)];
    if (!peaks.empty()) {
        const int peak_dim = DefineDimension(file, kPeakDimension, peaks.size());
        name_var = DefineVariable(file, kPeakNameVariable, NC_CHAR, {peak_dim, name_dim});
        for (std::size_t i = 0; i < std::size(kAiaPeakVariables); ++i)
            peak_ids[i] = DefineVariable(file, kAiaPeakVariables[i].name, NC_DOUBLE, {peak_dim});
    }
    NetcdfCall(nc_enddef(file), "ending the definitions");

    for (std::size_t i = 0; i < std::size(scalars); ++i)
        NetcdfCall(nc_put_var_double(file, scalar_ids[i], &scalars[i].value),
                   "writing the raw data");
    NetcdfCall(nc_put_var_float(file, ordinate, samples.data()), "writing the samples");
    if (!peaks.empty()) {
        std::vector<char> names(peaks.size() * kPeakNameBytes, '\0');
        for (std::size_t p = 0; p < peaks.size(); ++p) {
            const std::string_view name = CutUtf8(peaks[p].name, kPeakNameBytes);
            std::copy(name.begin(), name.end(), names.begin() + p * kPeakNameBytes);
        }
        NetcdfCall(nc_put_var_text(file, name_var, names.data()), "writing the peak names");
        std::vector<double> column(peaks.size());
        for (std::size_t i = 0; i < std::size(kAiaPeakVariables); ++i) {
            std::transform(peaks.begin(), peaks.end(), column.begin(), kAiaPeakVariables[i].value);
            NetcdfCall(nc_put_var_double(file, peak_ids[i], column.data()),
                       "writing the peak table");
        }
    }
    return netcdf.CloseIntoBytes();
}
