#include <gtest/gtest.h>

#include <cstdlib>

#include "FileTestSupport.h"
#include "file/DocumentLimits.h"

namespace {

// The largest document the program writes, eight channels of the most samples a channel holds
// (1.6 GB), saves and loads; one sample more is refused before anything is written. Needs about
// 3.5 GB of memory and 1.6 GB of disk, so it runs only when QUELMAR_LARGE_TESTS is set.
TEST(LargeDocument, TheLargestDocumentSavesAndLoadsAndOneSampleMoreIsRefused) {
    if (std::getenv("QUELMAR_LARGE_TESTS") == nullptr) GTEST_SKIP() << "QUELMAR_LARGE_TESTS unset";
    constexpr std::size_t kChannels = kMaxDocumentSampleCount / kMaxSampleCount;
    TempDir dir;
    {
        CTarvikFile4 doc;
        for (std::size_t c = 0; c < kChannels; ++c) {
            doc.m_channels.emplace_back(static_cast<int>(c));
            std::vector<float>& samples = doc.m_channels[c].signal.samples;
            samples.resize(kMaxSampleCount);
            for (std::size_t i = 0; i < kMaxSampleCount; i += 1'000'003)
                samples[i] = static_cast<float>(i + c);
            samples.back() = -1.0f - static_cast<float>(c);
        }
        doc.m_channels.back().table.push_back(Peak4{});
        ASSERT_EQ(doc.SaveToFile(dir / "big.xstg"), save_result::kOk);
        EXPECT_LE(std::filesystem::file_size(dir / "big.xstg"), kMaxDocumentBytes);

        doc.m_channels.back().signal.samples.push_back(0.0f);
        EXPECT_EQ(doc.SaveToFile(dir / "more.xstg"), save_result::kTooLarge);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"big.xstg"});
    }
    CTarvikFile4 back;
    ASSERT_EQ(back.LoadFromFile(dir / "big.xstg"), load_result::kOk);
    ASSERT_EQ(back.m_channels.size(), kChannels);
    for (std::size_t c = 0; c < kChannels; ++c) {
        const std::vector<float>& samples = back.m_channels[c].signal.samples;
        ASSERT_EQ(samples.size(), kMaxSampleCount);
        EXPECT_EQ(samples[1'000'003 * 40], static_cast<float>(1'000'003 * 40 + c));
        EXPECT_EQ(samples.back(), -1.0f - static_cast<float>(c));
    }
    EXPECT_EQ(back.m_channels.back().table.size(), 1u);  // the XML text after 1.6 GB was read
}

}  // namespace
