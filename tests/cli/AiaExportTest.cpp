#include <gtest/gtest.h>
#include <netcdf.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <regex>

#include "ToolRunner.h"
#include "file/TarvikFile4.h"

namespace {

// Two channels: the first with noise and three peaks (one with a name longer than the file's
// 32 bytes), the second with drift and none.
constexpr const char* kScenario = R"({
  "analysis_time": 3, "sample_rate": 100,
  "passport": {"sample": "Проба №1", "method": "Метод А"},
  "channels": [
    {"noise": 0.05, "peaks": [
      {"name": "AБензол-очень-длинное-название", "time": 0.75, "height": 12, "width": 0.05},
      {"name": "B", "time": 1.5, "height": 4, "area": 0.4},
      {"time": 2.25, "height": 7.5, "width": 0.08}]},
    {"drift": 0.5}]})";

struct NetcdfFile {
    explicit NetcdfFile(const std::filesystem::path& path) {
        EXPECT_EQ(nc_open(path.c_str(), NC_NOWRITE, &id), NC_NOERR) << path;
    }
    ~NetcdfFile() { nc_close(id); }
    std::string Text(const char* name) const {
        std::size_t length = 0;
        if (nc_inq_attlen(id, NC_GLOBAL, name, &length) != NC_NOERR) return "<missing>";
        std::string text(length, '\0');
        nc_get_att_text(id, NC_GLOBAL, name, text.data());
        return text;
    }
    double Scalar(const char* name) const {
        int var = -1;
        double value = std::numeric_limits<double>::quiet_NaN();
        if (nc_inq_varid(id, name, &var) == NC_NOERR) nc_get_var_double(id, var, &value);
        return value;
    }
    template <typename T>
    std::vector<T> Values(const char* name, std::size_t count) const {
        std::vector<T> values(count);
        int var = -1;
        EXPECT_EQ(nc_inq_varid(id, name, &var), NC_NOERR) << name;
        if constexpr (std::is_same_v<T, float>)
            EXPECT_EQ(nc_get_var_float(id, var, values.data()), NC_NOERR);
        else
            EXPECT_EQ(nc_get_var_double(id, var, values.data()), NC_NOERR);
        return values;
    }
    int id = -1;
};

// Every exported value is compared with the document itself, read with the netCDF library and
// not with the tool's own reader: samples bit for bit, minutes times 60.
TEST(AiaExport, EachChannelReadsBackExactly) {
    ToolFolder dir;
    dir.Write("s.json", kScenario);
    ASSERT_EQ(dir.Run({"generate", "s.json", "-o", "d.xstg", "--date", "1700000000", "--assay-id",
                       "0123abcd-0000-4000-8000-00000000beef"})
                  .exit_code,
              0);
    const ToolResult run = dir.Run({"export", "d.xstg", "--aia", "out.cdf"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_NE(run.err.find("out-channel-0.cdf out-channel-1.cdf"), std::string::npos) << run.err;
    EXPECT_FALSE(dir.Exists("out.cdf"));

    CTarvikFile4 doc;
    ASSERT_EQ(doc.LoadFromFile(dir.Path("d.xstg").string()), 0);
    for (std::size_t c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const Channel4& channel = doc.m_channels[c];
        const NetcdfFile file(dir.Path("out-channel-" + std::to_string(c) + ".cdf"));
        EXPECT_EQ(file.Text("sample_name"), "Проба №1");
        EXPECT_EQ(file.Text("experiment_title"), "Метод А");
        EXPECT_EQ(file.Text("sample_id"), "0123abcd-0000-4000-8000-00000000beef");
        EXPECT_EQ(file.Text("injection_date_time_stamp"), "20231114221320+0000");
        EXPECT_EQ(file.Text("detector_name"), "Канал " + std::to_string(c + 1));
        EXPECT_EQ(file.Text("source_file_reference"), "d.xstg");
        EXPECT_EQ(file.Scalar("actual_sampling_interval"), channel.signal.step * 60);
        EXPECT_EQ(file.Scalar("actual_delay_time"), channel.signal.start * 60);
        EXPECT_EQ(file.Scalar("actual_run_time_length"), 300 * channel.signal.step * 60);

        const std::vector<float> samples = file.Values<float>("ordinate_values", 300);
        ASSERT_EQ(channel.signal.samples.size(), 300u);
        EXPECT_EQ(std::memcmp(samples.data(), channel.signal.samples.data(), 300 * 4), 0);

        const std::vector<Peak4>& peaks = channel.table;
        int peak_dim = -1;
        EXPECT_EQ(nc_inq_dimid(file.id, "peak_number", &peak_dim) == NC_NOERR, !peaks.empty());
        if (peaks.empty()) continue;
        ASSERT_EQ(peaks.size(), 3u);
        const struct {
            const char* name;
            double (*expected)(const Peak4&);
        } columns[] = {
            {"peak_retention_time", [](const Peak4& p) { return p.time * 60; }},
            {"peak_start_time", [](const Peak4& p) { return p.front * 60; }},
            {"peak_end_time", [](const Peak4& p) { return p.back * 60; }},
            {"peak_height", [](const Peak4& p) { return p.height; }},
            {"peak_area", [](const Peak4& p) { return p.area * 60; }},
            {"peak_amount", [](const Peak4& p) { return p.concent; }},
            {"baseline_start_time", [](const Peak4& p) { return p.front * 60; }},
            {"baseline_start_value", [](const Peak4& p) { return p.front_base_height; }},
            {"baseline_stop_time", [](const Peak4& p) { return p.back * 60; }},
            {"baseline_stop_value", [](const Peak4& p) { return p.back_base_height; }},
        };
        for (const auto& column : columns) {
            const std::vector<double> values = file.Values<double>(column.name, 3);
            for (std::size_t p = 0; p < 3; ++p)
                EXPECT_EQ(values[p], column.expected(peaks[p])) << column.name << " " << p;
        }
        std::vector<char> names(3 * 32);
        int name_var = -1;
        ASSERT_EQ(nc_inq_varid(file.id, "peak_name", &name_var), NC_NOERR);
        ASSERT_EQ(nc_get_var_text(file.id, name_var, names.data()), NC_NOERR);
        // 31 bytes fit; the 32nd is the first half of a two-byte letter, which is left out.
        EXPECT_EQ(std::string(names.data(), 32).c_str(), std::string("AБензол-очень-дли"));
        EXPECT_EQ(std::string(names.data() + 32).substr(0, 1), "B");
    }

    // The tool reads its own file back: the same values under the file's names and units.
    const ToolResult dump = dir.Run({"dump", "out-channel-0.cdf", "--samples"});
    ASSERT_EQ(dump.exit_code, 0) << dump.err;
    const auto json = nlohmann::json::parse(dump.out);
    EXPECT_EQ(json["attributes"]["sample_name"], "Проба №1");
    EXPECT_EQ(json["point_count"], 300);
    EXPECT_EQ(json["samples"][17].get<float>(), doc.m_channels[0].signal.samples[17]);
    EXPECT_EQ(json["peaks"][1]["peak_area"], doc.m_channels[0].table[1].area * 60);
    EXPECT_EQ(json["peaks"][0]["peak_name"], "AБензол-очень-дли");
}

// Names, types, dimensions and attributes, as another program's netCDF reader sees them.
TEST(AiaExport, HeaderIsPinned) {
    ToolFolder dir;
    CTarvikFile4 doc;
    const float samples[] = {0.0f, 1.0f, 0.5f};
    doc.m_channels.emplace_back(4, 0.5, 0.25, samples, 3);
    doc.m_channels[0].table.push_back(Peak4{});
    doc.m_passport.andate = 0;
    doc.m_passport.assayid = "00000000-0000-0000-0000-000000000001";
    ASSERT_EQ(doc.SaveToFile(dir.Path("small.xstg").string()), 0);
    ASSERT_EQ(dir.Run({"export", "small.xstg", "--aia", "small.cdf"}).exit_code, 0);

    const std::string command = "ncdump -h '" + dir.Path("small.cdf").string() + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string header;
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) header.append(buffer, got);
    ASSERT_EQ(pclose(pipe), 0) << header;
    // The library's version depends on the machine.
    header = std::regex_replace(header, std::regex(R"(netcdf_revision = "[0-9.]+")"),
                                "netcdf_revision = \"N\"");
    EXPECT_EQ(header, R"(netcdf small {
dimensions:
	_2_byte_string = 2 ;
	_4_byte_string = 4 ;
	_8_byte_string = 8 ;
	_12_byte_string = 12 ;
	_16_byte_string = 16 ;
	_32_byte_string = 32 ;
	_64_byte_string = 64 ;
	_80_byte_string = 80 ;
	_128_byte_string = 128 ;
	_255_byte_string = 255 ;
	range = 2 ;
	point_number = 3 ;
	peak_number = 1 ;
variables:
	float detector_maximum_value ;
	float detector_minimum_value ;
	double actual_run_time_length ;
	double actual_sampling_interval ;
	double actual_delay_time ;
	float ordinate_values(point_number) ;
		ordinate_values:uniform_sampling_flag = "Y" ;
	char peak_name(peak_number, _32_byte_string) ;
	double peak_retention_time(peak_number) ;
	double peak_start_time(peak_number) ;
	double peak_end_time(peak_number) ;
	double peak_height(peak_number) ;
	double peak_area(peak_number) ;
	double peak_amount(peak_number) ;
	double baseline_start_time(peak_number) ;
	double baseline_start_value(peak_number) ;
	double baseline_stop_time(peak_number) ;
	double baseline_stop_value(peak_number) ;

// global attributes:
		:dataset_completeness = "C1+C2" ;
		:aia_template_revision = "1.0" ;
		:netcdf_revision = "N" ;
		:languages = "English" ;
		:dataset_origin = "Quelmar 0.1.0.0" ;
		:dataset_date_time_stamp = "19700101000000+0000" ;
		:injection_date_time_stamp = "19700101000000+0000" ;
		:sample_id = "00000000-0000-0000-0000-000000000001" ;
		:sample_name = "" ;
		:experiment_title = "" ;
		:detector_name = "Канал 5" ;
		:detector_unit = "mV" ;
		:retention_unit = "Seconds" ;
		:source_file_reference = "small.xstg" ;
		:source_file_format = "xstg" ;
		:raw_data_table_name = "Канал 5" ;
		:peak_processing_results_table_name = "Канал 5" ;
}
)");
}

// A channel the format cannot hold refuses the whole export with one line, and no file is
// written or replaced, not even the channels that could be.
TEST(AiaExport, UnholdableDocumentsWriteNothing) {
    const float samples[] = {1.0f, 2.0f};
    const struct {
        const char* name;
        void (*spoil)(CTarvikFile4&);
        const char* message;
    } cases[] = {
        {"empty channel", [](CTarvikFile4& d) { d.m_channels[1].signal.Resize(0); },
         "channel 1 has no samples; an AIA file cannot hold an empty trace"},
        {"infinite step",
         [](CTarvikFile4& d) {
             d.m_channels[1].signal.step = std::numeric_limits<double>::infinity();
         },
         "channel 1: its time axis is not finite"},
        {"year 10000", [](CTarvikFile4& d) { d.m_passport.andate = 253402300800; },
         "lies outside the years 0 to 9999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ToolFolder dir;
        CTarvikFile4 doc;
        doc.m_channels.emplace_back(0, 0.5, 0.0, samples, 2);
        doc.m_channels.emplace_back(1, 0.5, 0.0, samples, 2);
        c.spoil(doc);
        ASSERT_EQ(doc.SaveToFile(dir.Path("d.xstg").string()), 0);
        dir.Write("out-channel-0.cdf", "old");
        const ToolResult run = dir.Run({"export", "d.xstg", "--aia", "out.cdf"});
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_EQ(run.err.rfind("xstgtool: d.xstg: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(dir.Read("out-channel-0.cdf"), "old");
        EXPECT_FALSE(dir.Exists("out-channel-1.cdf"));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")),
                                std::filesystem::directory_iterator()),
                  2);
    }
}

// What dump is given as an AIA file and cannot read ends in one line and no output.
TEST(AiaExport, DumpRefusesWhatIsNoAiaFile) {
    ToolFolder dir;
    dir.Write("junk.cdf", std::string("CDF\x01", 4) + std::string(40, '\x7f'));
    dir.Write("hdf.cdf", "\x89HDF\r\n\x1a\n");
    std::filesystem::create_directory(dir.Path("folder.cdf"));
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"junk.cdf", "its dimension list has a wrong tag"},
        {"hdf.cdf", "netCDF-4 (HDF5) file; AIA files are netCDF classic"},
        {"folder.cdf", "cannot load"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolResult run = dir.Run({"dump", c.name});
        EXPECT_EQ(run.exit_code, 1);
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

}  // namespace
