#include <gtest/gtest.h>

#include "FileTestSupport.h"

namespace {

// Two blocks: channel 7 with three samples, channel 200 with none. Offsets by hand:
// header 0..16, block 1 header 16..48, its samples 48..60, block 2 header 60..92, XML from 92.
constexpr std::size_t kXmlOffset = 92;

std::string SavedTwoChannels(const TempDir& dir) {
    CTarvikFile4 doc;
    doc.m_channels.push_back(MakeChannel(7, 0.25, 0.125, {1.0f, 2.0f, 3.0f}));
    doc.m_channels.push_back(MakeChannel(200, -1.0, 2.0, {}));
    EXPECT_EQ(doc.SaveToFile(dir / "two.xstg"), save_result::kOk);
    return ReadBytes(dir / "two.xstg");
}

TEST(SignalSection, EveryChannelNumberAndSampleComesBackInOrder) {
    TempDir dir;
    CTarvikFile4 doc;
    for (int number = 255; number >= 0; --number) {
        doc.m_channels.push_back(MakeChannel(number, number * 0.1, 1.0 / (number + 1),
                                             {static_cast<float>(number), -0.1f, 1e-30f}));
        doc.m_channels.back().table.push_back(Peak4{});
    }
    doc.m_channels.push_back(MakeChannel(256 + 9, 0.0, 1.0, {}));  // comes back as 9
    ASSERT_EQ(doc.SaveToFile(dir / "all.xstg"), save_result::kOk);
    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "all.xstg"), load_result::kOk);
    doc.m_channels.back().number = 9;
    ExpectSameChannels(back.m_channels, doc.m_channels);
    EXPECT_EQ(back.m_channels.back().signal.last_index, -1);
}

TEST(SignalSection, LayoutIsAsDocumented) {
    TempDir dir;
    const std::string bytes = SavedTwoChannels(dir);
    EXPECT_EQ(bytes.substr(8, 8), Le<std::uint64_t>(kXmlOffset));
    EXPECT_EQ(bytes.substr(16, 32),
              std::string("\x07\0\0\0\0\0\0\0", 8) + Le(0.25) + Le(0.125) + Le<std::uint64_t>(3));
    EXPECT_EQ(bytes.substr(48, 12), Le(1.0f) + Le(2.0f) + Le(3.0f));
    EXPECT_EQ(bytes.substr(60, 32),
              std::string("\xC8\0\0\0\0\0\0\0", 8) + Le(-1.0) + Le(2.0) + Le<std::uint64_t>(0));
    EXPECT_EQ(bytes.substr(kXmlOffset, 5), "<?xml");
}

TEST(SignalSection, FileCutAtEveryLengthFailsWithTheCodeOfWhereItEnds) {
    TempDir dir;
    const std::string whole = SavedTwoChannels(dir);
    struct Span {
        std::size_t end;  // a cut before this length ends in this span
        int file;
        int buffer;
    };
    const Span spans[] = {
        {16, load_result::kShortHeader, buffer_result::kShortHeader},
        {48, load_result::kShortBlockHeader, buffer_result::kShortBlockHeader},
        {60, load_result::kBadSamples, buffer_result::kSamplesPastEnd},
        {92, load_result::kShortBlockHeader, buffer_result::kShortBlockHeader},
        {93, load_result::kXmlNotParsed, buffer_result::kXmlNotParsed}};  // section only, no text
    for (std::size_t length = 0; length <= kXmlOffset; ++length) {
        const Span& span = *std::find_if(std::begin(spans), std::end(spans),
                                         [length](const Span& s) { return length < s.end; });
        WriteBytes(dir / "cut.xstg", whole.substr(0, length));
        CTarvikFile4 doc;
        EXPECT_EQ(doc.LoadFromFile(dir / "cut.xstg"), span.file) << "length " << length;
        // Blocks read before the failing one stay.
        if (length >= 60) {
            EXPECT_EQ(doc.m_channels.size(), length < 92 ? 1u : 2u);
        }
        CTarvikFile4 from_buffer;
        EXPECT_EQ(from_buffer.LoadFromBuffer(whole.data(), length), span.buffer) << length;
    }
}

TEST(SignalSection, WrongMagicAndVersionsAreRefusedBeforeAnythingChanges) {
    TempDir dir;
    const std::string whole = SavedTwoChannels(dir);
    struct Case {
        std::string head;
        int file;
        int buffer;
    };
    const Case cases[] = {
        {"STX\x01", load_result::kBadMagic, buffer_result::kBadMagic},
        {"stg\x01", load_result::kBadMagic, buffer_result::kBadMagic},
        {"STG\x02", load_result::kUnknownVersion, buffer_result::kUnknownVersion},
        {"STG\xFF", load_result::kUnknownVersion, buffer_result::kUnknownVersion}};
    for (const Case& c : cases) {
        const std::string bytes = c.head + whole.substr(4);
        WriteBytes(dir / "bad.xstg", bytes);
        CTarvikFile4 doc;
        doc.m_version = 0;
        doc.m_channels.emplace_back(42);
        EXPECT_EQ(doc.LoadFromFile(dir / "bad.xstg"), c.file) << c.head;
        EXPECT_EQ(doc.LoadFromBuffer(bytes.data(), bytes.size()), c.buffer) << c.head;
        EXPECT_EQ(doc.m_version, 0);
        ASSERT_EQ(doc.m_channels.size(), 1u);
    }
}

TEST(SignalSection, VersionsZeroAndOneAreKeptForTheNextSave) {
    TempDir dir;
    const std::string whole = SavedTwoChannels(dir);
    for (char version : {'\0', '\x01'}) {
        WriteBytes(dir / "v.xstg", whole.substr(0, 3) + version + whole.substr(4));
        CTarvikFile4 doc;
        ASSERT_EQ(doc.LoadFromFile(dir / "v.xstg"), load_result::kOk);
        EXPECT_EQ(doc.m_version, static_cast<std::uint8_t>(version));
        ASSERT_EQ(doc.SaveToFile(dir / "again.xstg"), save_result::kOk);
        EXPECT_EQ(ReadBytes(dir / "again.xstg")[3], version);
    }
}

// A count the file cannot hold must fail without reserving memory for it: 2^32 - 1 samples
// would be 16 GiB, and 2^40 would not fit the allocator at all.
TEST(SignalSection, CountsBeyondTheBytesPresentFailWithoutAllocating) {
    TempDir dir;
    const std::string whole = SavedTwoChannels(dir);
    for (std::uint64_t count :
         {std::uint64_t{4}, std::uint64_t{0xFFFFFFFF}, std::uint64_t{1} << 40, ~std::uint64_t{0}}) {
        const std::string bytes = whole.substr(0, 40) + Le(count) + whole.substr(48);
        WriteBytes(dir / "big.xstg", bytes);
        CTarvikFile4 doc;
        EXPECT_EQ(doc.LoadFromFile(dir / "big.xstg"), load_result::kBadSamples) << count;
        EXPECT_EQ(doc.LoadFromBuffer(bytes.data(), bytes.size()), buffer_result::kSamplesPastEnd);
    }
    // An offset far past the end makes the reader look for a block that is not there.
    const std::string bytes =
        whole.substr(0, 8) + Le(std::uint64_t{1} << 62) + whole.substr(16, kXmlOffset - 16);
    WriteBytes(dir / "far.xstg", bytes);
    CTarvikFile4 doc;
    EXPECT_EQ(doc.LoadFromFile(dir / "far.xstg"), load_result::kShortBlockHeader);
    EXPECT_EQ(doc.LoadFromBuffer(bytes.data(), bytes.size()), buffer_result::kShortBlockHeader);
}

}  // namespace
