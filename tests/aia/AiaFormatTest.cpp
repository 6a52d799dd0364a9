#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "aia/AiaError.h"
#include "aia/AiaReader.h"
#include "aia/AiaWriter.h"
#include "aia/ClassicHeaderCheck.h"
#include "aia/DateStamp.h"

namespace {

TEST(DateStamp, IsUtcWithinTheYearsFourDigitsHold) {
    const struct {
        std::int64_t seconds;
        const char* stamp;  // nullptr: refused
    } cases[] = {
        {0, "19700101000000+0000"},
        {-1, "19691231235959+0000"},
        {1700000000, "20231114221320+0000"},
        {951782400, "20000229000000+0000"},     // a leap day of a century year
        {-62167219200, "00000101000000+0000"},  // the first second of year 0
        {-62167219201, nullptr},
        {253402300799, "99991231235959+0000"},  // the last second of 9999
        {253402300800, nullptr},
        {INT64_MIN, nullptr},
        {INT64_MAX, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        const auto stamp = FormatDateStamp(c.seconds);
        ASSERT_EQ(stamp.has_value(), c.stamp != nullptr);
        if (stamp) {
            EXPECT_EQ(*stamp, c.stamp);
        }
    }
}

// A classic header built word by word, big-endian.
struct Header {
    std::vector<unsigned char> bytes;
    Header& Word(std::uint32_t w) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<unsigned char>(w >> shift));
        return *this;
    }
    Header& Name(const std::string& name) {
        Word(static_cast<std::uint32_t>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
        while (bytes.size() % 4 != 0) bytes.push_back(0);
        return *this;
    }
    Header& Absent() { return Word(0).Word(0); }
};

Header Start(std::uint32_t magic = 0x43444601) {
    return Header().Word(magic).Word(0);
}

// Headers whose counts would make the netCDF library allocate far beyond the file, or read
// beyond it, are refused before the library sees them.
TEST(ClassicHeader, RefusesCountsTheBytesCannotBackUp) {
    const struct {
        const char* name;
        Header header;
        const char* fault;  // nullptr: accepted
    } cases[] = {
        {"empty lists", Start().Absent().Absent().Absent(), nullptr},
        {"64-bit data", Start(0x43444605).Absent().Absent().Absent(), "64-bit-data"},
        {"HDF5", Start(0x89484446), "netCDF-4 (HDF5)"},
        {"streamed", Header().Word(0x43444601).Word(0xFFFFFFFF), "streamed"},
        {"billion dimensions", Start().Word(0x0A).Word(1u << 30), "dimension list is longer"},
        {"giant name", Start().Word(0x0A).Word(1).Word(0x7FFFFFF0).Word(0).Word(0),
         "empty or too long"},
        {"giant attribute", Start().Absent().Word(0x0C).Word(1).Name("a").Word(2).Word(0x7FFFFFF0),
         "cut short"},
        {"record variable",
         Start()
             .Word(0x0A)
             .Word(1)
             .Name("t")
             .Word(0)
             .Absent()
             .Word(0x0B)
             .Word(1)
             .Name("v")
             .Word(1)
             .Word(0)
             .Absent()
             .Word(5)
             .Word(4)
             .Word(200),
         "record variables"},
        {"data beyond the end",
         Start()
             .Word(0x0A)
             .Word(1)
             .Name("n")
             .Word(4)
             .Absent()
             .Word(0x0B)
             .Word(1)
             .Name("v")
             .Word(1)
             .Word(0)
             .Absent()
             .Word(5)
             .Word(16)
             .Word(72),  // 80 bytes in all
         "beyond the end"},
        {"unknown type", Start().Absent().Word(0x0C).Word(1).Name("a").Word(9).Word(0),
         "unknown value type"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fault = CheckClassicHeader(c.header.bytes.data(), c.header.bytes.size());
        if (c.fault == nullptr) {
            EXPECT_FALSE(fault) << *fault;
        } else {
            ASSERT_TRUE(fault);
            EXPECT_NE(fault->find(c.fault), std::string::npos) << *fault;
        }
    }
}

// Every cut of a real export is refused with a reason, never read as something else.
TEST(ClassicHeader, EveryTruncatedExportIsRefused) {
    CTarvikFile4 doc;
    const float samples[] = {1.0f, -2.0f, 3.5f, 0.25f};
    doc.m_channels.emplace_back(0, 0.01, 0.0, samples, 4);
    Peak4 peak;
    peak.name = "Пик";
    peak.time = 0.02;
    doc.m_channels[0].table.assign(2, peak);
    const AiaBytes made = MakeAiaFile(doc, 0, "d.xstg");
    const std::vector<unsigned char> file(made.begin(), made.end());
    {
        const AiaFile whole(file);
        std::vector<float> read(4);
        whole.ReadSamples(0, 4, read.data());
        EXPECT_EQ(read, std::vector<float>(samples, samples + 4));
        EXPECT_EQ(whole.Trace().peak_names, (std::vector<std::string>{"Пик", "Пик"}));
    }
    for (std::size_t size = 0; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_THROW(AiaFile(std::vector<unsigned char>(file.begin(), file.begin() + size)),
                     AiaError);
    }
}

}  // namespace
