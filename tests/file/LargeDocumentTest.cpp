#include <gtest/gtest.h>

#include <cstdlib>

#include "FileTestSupport.h"

namespace {

// Positions beyond 2 GiB: three channels of 200 million samples put the second block's end and
// the XML text past 2^31 bytes. Needs about 5 GB of memory and 2.4 GB of disk, so it runs only
// when QUELMAR_LARGE_TESTS is set.
TEST(LargeDocument, DocumentsOver2GiBSaveAndLoad) {
    if (std::getenv("QUELMAR_LARGE_TESTS") == nullptr) GTEST_SKIP() << "QUELMAR_LARGE_TESTS unset";
    constexpr std::size_t kSamples = 200'000'000;
    TempDir dir;
    {
        CTarvikFile4 doc;
        for (int c = 0; c < 3; ++c) {
            doc.m_channels.emplace_back(c);
            doc.m_channels[c].signal.Resize(kSamples);
            std::vector<float>& samples = doc.m_channels[c].signal.samples;
            for (std::size_t i = 0; i < kSamples; i += 1'000'003)
                samples[i] = static_cast<float>(i + c);
            samples.back() = -1.0f - static_cast<float>(c);
        }
        doc.m_channels[2].table.push_back(Peak4{});
        ASSERT_EQ(doc.SaveToFile(dir / "big.xstg"), save_result::kOk);
    }
    const std::uint64_t xml_offset = 16 + 3 * (32 + 4 * std::uint64_t{kSamples});
    EXPECT_GT(std::filesystem::file_size(dir / "big.xstg"), xml_offset);
    EXPECT_GT(xml_offset, std::uint64_t{1} << 31);

    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "big.xstg"), load_result::kOk);
    ASSERT_EQ(back.m_channels.size(), 3u);
    for (int c = 0; c < 3; ++c) {
        const std::vector<float>& samples = back.m_channels[c].signal.samples;
        ASSERT_EQ(samples.size(), kSamples);
        EXPECT_EQ(samples[1'000'003 * 150], static_cast<float>(1'000'003 * 150 + c));
        EXPECT_EQ(samples.back(), -1.0f - static_cast<float>(c));
    }
    EXPECT_EQ(back.m_channels[2].table.size(), 1u);  // the XML text beyond 2 GiB was read
}

}  // namespace
