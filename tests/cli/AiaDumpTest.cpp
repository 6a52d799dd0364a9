#include <gtest/gtest.h>
#include <netcdf.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <ostream>
#include <streambuf>

#include "ToolRunner.h"
#include "aia/AiaReader.h"
#include "cli/AiaJson.h"
#include "file/DocumentHeader.h"
#include "support/AllocationMeter.h"

namespace {

// Defines dimensions and variables with the netCDF library and writes `values` into the file's
// variables; samples are left unwritten, so a large file stays sparse.
void WriteNetcdf(const std::string& path, const std::function<void(int)>& define,
                 const std::function<void(int)>& values = {}) {
    int id = -1;
    ASSERT_EQ(nc_create(path.c_str(), NC_CLOBBER, &id), NC_NOERR);
    int old_fill = 0;
    nc_set_fill(id, NC_NOFILL, &old_fill);
    define(id);
    ASSERT_EQ(nc_enddef(id), NC_NOERR);
    if (values) values(id);
    ASSERT_EQ(nc_close(id), NC_NOERR);
}

int Dimension(int id, const char* name, std::size_t length) {
    int dimension = -1;
    EXPECT_EQ(nc_def_dim(id, name, length, &dimension), NC_NOERR);
    return dimension;
}

int Variable(int id, const char* name, nc_type type, std::vector<int> dimensions) {
    int variable = -1;
    EXPECT_EQ(nc_def_var(id, name, type, static_cast<int>(dimensions.size()), dimensions.data(),
                         &variable),
              NC_NOERR);
    return variable;
}

// A file whose samples are `points` floats, the last one 2.5, and one peak.
void WriteTrace(const std::string& path, std::size_t points) {
    WriteNetcdf(
        path,
        [points](int id) {
            Variable(id, "ordinate_values", NC_FLOAT, {Dimension(id, "point_number", points)});
            Variable(id, "peak_height", NC_DOUBLE, {Dimension(id, "peak_number", 1)});
        },
        [points](int id) {
            const std::size_t last[] = {points - 1};
            const float value = 2.5f;
            nc_put_var1_float(id, 0, last, &value);
            const double height = 7.0;
            nc_put_var_double(id, 1, &height);
        });
}

// What makes a file's samples unreadable as a trace is named in one line, and nothing is printed.
TEST(AiaDump, SamplesOtherThanNumbersOverThePointsAreRefused) {
    ToolFolder dir;
    const struct {
        const char* name;
        std::function<void(int)> define;
        const char* message;
    } cases[] = {
        {"none.cdf",
         [](int id) { Variable(id, "peak_height", NC_DOUBLE, {Dimension(id, "peak_number", 1)}); },
         "it has no variable ordinate_values, the samples of an AIA file"},
        {"peaks.cdf",
         [](int id) {
             Dimension(id, "point_number", 3);
             Variable(id, "ordinate_values", NC_FLOAT, {Dimension(id, "peak_number", 2)});
         },
         "ordinate_values has the shape (peak_number), not (point_number)"},
        {"two.cdf",
         [](int id) {
             Variable(id, "ordinate_values", NC_FLOAT,
                      {Dimension(id, "point_number", 3), Dimension(id, "range", 2)});
         },
         "ordinate_values has the shape (point_number, range), not (point_number)"},
        {"scalar.cdf", [](int id) { Variable(id, "ordinate_values", NC_DOUBLE, {}); },
         "ordinate_values has the shape (), not (point_number)"},
        {"text.cdf",
         [](int id) {
             Variable(id, "ordinate_values", NC_CHAR, {Dimension(id, "point_number", 3)});
         },
         "ordinate_values holds text, not numbers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteNetcdf(dir.Path(c.name).string(), c.define);
        for (const char* samples : {"", "--samples"}) {
            std::vector<std::string> args = {"dump", c.name};
            if (samples[0] != '\0') args.push_back(samples);
            const ToolResult run = dir.Run(args);
            EXPECT_EQ(run.exit_code, 1);
            EXPECT_TRUE(run.out.empty());
            EXPECT_EQ(run.err, std::string("xstgtool: ") + c.name + ": " + c.message + "\n");
        }
    }
}

// This process's resident memory now, in bytes.
long ResidentMemory() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6)) * 1024L;
    return 0;
}

// The most memory the process running xstgtool with `args` in `dir` held beyond what it took
// over from this one, in bytes, under an address-space limit when `limit` is not 0; its standard
// error goes to `err`. (A forked process starts with its parent's pages, which the peak the
// system reports includes, however large the test process has grown.)
long PeakMemoryOfRun(const ToolFolder& dir, std::vector<std::string> args, rlim_t limit = 0) {
    const long inherited = ResidentMemory();
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit address_space{limit, limit};
        if (limit != 0) ::setrlimit(RLIMIT_AS, &address_space);
        if (::chdir(dir.Path("").c_str()) != 0 || !::freopen("/dev/null", "w", stdout) ||
            !::freopen("err", "w", stderr))
            ::_exit(2);
        std::vector<char*> argv = {const_cast<char*>("xstgtool")};
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(XSTGTOOL_PATH, argv.data());
        ::_exit(2);
    }
    int status = 0;
    rusage usage{};
    EXPECT_EQ(::wait4(child, &status, 0, &usage), child);
    return usage.ru_maxrss * 1024L - inherited;
}

// A stream that drops what it is given.
struct NullBuffer : std::streambuf {
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// dump of an AIA file reads its header and peak table, not its signal, and with --samples
// reads and prints the signal a slice at a time: neither needs memory in proportion to it.
TEST(AiaDump, MemoryDoesNotGrowWithTheSignal) {
    ToolFolder dir;
    WriteTrace(dir.Path("large.cdf").string(), 300'000'000);  // 1.2 GB, sparse
    EXPECT_LT(PeakMemoryOfRun(dir, {"dump", "large.cdf"}), 256L << 20);
    EXPECT_EQ(dir.Read("err"), "");

    WriteTrace(dir.Path("long.cdf").string(), 4'000'000);
    NullBuffer nothing;
    std::ostream out(&nothing);
    allocation_meter::Start();
    {
        const AiaFile file(dir.Path("long.cdf").string());
        EXPECT_EQ(file.Trace().point_count, 4'000'000u);
        WriteAiaJson(file, out, true);
    }
    EXPECT_LT(allocation_meter::PeakSinceStart(), std::size_t{1} << 20);
}

// A document too large for the memory the process may have is named in the message.
TEST(AiaDump, OutOfMemoryNamesTheFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
    ToolFolder dir;
    // One channel of 200,000,000 samples (800 MB, sparse) and an empty XML text.
    DocumentHeader header;
    SignalBlockHeader block;
    block.step = 0.01;
    block.count = 200'000'000;
    header.xml_offset = kDocumentHeaderSize + SignalBlockSize(block.count);
    {
        std::ofstream file(dir.Path("large.xstg"), std::ios::binary);
        file.write(reinterpret_cast<const char*>(header.Encode().data()), kDocumentHeaderSize);
        file.write(reinterpret_cast<const char*>(block.Encode().data()), kSignalBlockHeaderSize);
        file.seekp(static_cast<std::streamoff>(header.xml_offset));
        file << "<root/>";
    }
    PeakMemoryOfRun(dir, {"dump", "large.xstg"}, rlim_t{512} << 20);
    EXPECT_EQ(dir.Read("err"), "xstgtool: large.xstg: out of memory\n");
}

}  // namespace
