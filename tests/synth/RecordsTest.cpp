#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "synth/Channel4.h"
#include "synth/FiniteCheck.h"
#include "synth/Peak4.h"
#include "synth/Signal4.h"

namespace {

Signal4 Ramp(std::initializer_list<float> values, double step = 0.5, double start = 1.0) {
    std::vector<float> v(values);
    return Signal4(step, start, v.data(), v.size());
}

TEST(Signal4, ValueIsZeroWithFewerThanTwoSamples) {
    EXPECT_EQ(Signal4(0.1, 0.0, nullptr, 0).GetValue(0.0), 0.0);
    const float one = 7.0f;
    EXPECT_EQ(Signal4(0.1, 0.0, &one, 1).GetValue(0.0), 0.0);
}

TEST(Signal4, ValueInterpolatesInsideAndExtrapolatesAlongEndSegments) {
    // Samples at t = 1.0, 1.5, 2.0, 2.5 with values 0, 2, 3, 7.
    const Signal4 s = Ramp({0, 2, 3, 7});
    EXPECT_DOUBLE_EQ(s.GetValue(1.25), 1.0);
    EXPECT_DOUBLE_EQ(s.GetValue(2.0), 3.0);
    EXPECT_DOUBLE_EQ(s.GetValue(0.5), -2.0);  // before start: line through samples 0 and 1
    EXPECT_DOUBLE_EQ(s.GetValue(3.0), 11.0);  // after the end: line through the last two
}

TEST(Signal4, IndexEndTimeAndTime) {
    Signal4 s = Ramp({0, 0, 0, 0, 0});
    EXPECT_EQ(s.GetIndex(0.2), 0);    // before start
    EXPECT_EQ(s.GetIndex(1.74), 1);   // truncated
    EXPECT_EQ(s.GetIndex(11.0), 20);  // beyond the end, not clamped
    EXPECT_EQ(s.GetIndex(std::nan("")), 0);
    EXPECT_GT(s.GetIndex(1e300), 0);  // saturates instead of overflowing
    EXPECT_DOUBLE_EQ(s.GetEndTime(), 3.0);
    s.last_index = 2;
    EXPECT_DOUBLE_EQ(s.GetEndTime(), 2.0);
    EXPECT_DOUBLE_EQ(s.GetTime(3), 2.5);
    s.step = 0.0;
    EXPECT_EQ(s.GetIndex(5.0), 0);
}

TEST(Signal4, CopiesKeepEveryFieldAndResizeZeroFills) {
    Signal4 s = Ramp({1, 2, 3});
    s.last_index = 1;
    const Signal4 copy(s);
    Signal4 assigned;
    assigned.Assign(s);
    for (const Signal4* c : {&copy, static_cast<const Signal4*>(&assigned)}) {
        EXPECT_EQ(c->samples, s.samples);
        EXPECT_EQ(c->start, 1.0);
        EXPECT_EQ(c->step, 0.5);
        EXPECT_EQ(c->last_index, 1);
    }
    s.Resize(5);
    EXPECT_EQ(s.samples, (std::vector<float>{1, 2, 3, 0, 0}));
}

// Cutting a long run back (as a shorter analysis time does: a fresh empty signal assigned, then
// resized) keeps only room for the samples left.
TEST(Signal4, CuttingTheSamplesBackGivesTheirMemoryBack) {
    constexpr std::size_t kLong = 10'000'000;
    constexpr std::size_t kShort = 1'000;
    auto long_run = [] {
        Signal4 s(0.01, 0.0, nullptr, 0);
        s.Resize(kLong);
        return s;
    };
    Signal4 resized = long_run();
    resized.Resize(kShort);
    Signal4 assigned = long_run();
    assigned.Assign(Signal4(0.01, 0.0, std::vector<float>(kShort, 1.0f).data(), kShort));
    Signal4 refreshed = long_run();
    refreshed.Assign(Signal4());
    refreshed.Resize(kShort);
    for (const Signal4* s : {&resized, &assigned, &refreshed}) {
        EXPECT_EQ(s->Size(), kShort);
        EXPECT_EQ(s->samples.capacity(), kShort);
    }
    EXPECT_EQ(assigned.samples[kShort - 1], 1.0f);
}

// The first value that is not finite: samples before peaks, a peak's stored values in stored
// order, and a working peak's width and window values after them.
TEST(FindNonFiniteValue, NamesTheFirstSampleOrPeakValueThatIsNotFinite) {
    const float inf = std::numeric_limits<float>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<float> finite{1.0f, 2.0f, 3.0f};
    const std::vector<float> overflowed{1.0f, -inf, std::nanf("")};
    GenPeak4 good = MakeNewPeak(1.0, 1.0);
    GenPeak4 bad_area = good;
    bad_area.area = -std::numeric_limits<double>::infinity();
    bad_area.concent = nan;
    GenPeak4 bad_window = good;
    bad_window.window_back_height = nan;
    struct Case {
        std::vector<float> samples;
        std::vector<GenPeak4> peaks;
        std::optional<std::size_t> sample;
        std::size_t peak;
        std::string_view field;
    };
    for (const Case& c :
         {Case{finite, {good, bad_area}, {}, 1, "area"}, Case{overflowed, {bad_area}, 1, 0, {}},
          Case{finite, {good, good, bad_window}, {}, 2, "window_back_height"}}) {
        const Signal4 s(1.0, 0.0, c.samples.data(), c.samples.size());
        const auto found = FindNonFiniteValue(s, c.peaks);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->sample, c.sample);
        if (!c.sample) {
            EXPECT_EQ(found->peak, c.peak);
        }
        EXPECT_EQ(found->field, c.field);
    }
    // As stored, the window values are gone: only stored fields count.
    const std::vector<Peak4> stored{good, bad_window};
    const Signal4 s(1.0, 0.0, finite.data(), finite.size());
    EXPECT_FALSE(FindNonFiniteValue(s, stored));
    const std::vector<Peak4> stored_bad{bad_area};
    EXPECT_EQ(FindNonFiniteValue(s, stored_bad)->field, "area");
}

TEST(Peak4, GenPeakGivenAsStoredPeakKeepsTheStoredFieldsOnly) {
    GenPeak4 g;
    g.front = 1;
    g.back = 2;
    g.time = 1.5;
    g.area = 3;
    g.height = 4;
    g.concent = 5;
    g.name = "Бензол <&>";
    g.reference = true;
    g.left = -1;
    g.right = 7;
    g.flags = 0xFFFFFFFFu;
    g.front_base_height = 8;
    g.back_base_height = 9;
    g.index = 10;
    g.width = 0.3;
    g.auto_bounds = true;
    const Peak4 p = g;
    EXPECT_EQ(p.front, 1);
    EXPECT_EQ(p.back, 2);
    EXPECT_EQ(p.time, 1.5);
    EXPECT_EQ(p.area, 3);
    EXPECT_EQ(p.height, 4);
    EXPECT_EQ(p.concent, 5);
    EXPECT_EQ(p.name, "Бензол <&>");
    EXPECT_TRUE(p.reference);
    EXPECT_EQ(p.left, -1);
    EXPECT_EQ(p.right, 7);
    EXPECT_EQ(p.flags, 0xFFFFFFFFu);
    EXPECT_EQ(p.front_base_height, 8);
    EXPECT_EQ(p.back_base_height, 9);
    EXPECT_EQ(p.index, 10);
    static_assert(sizeof(Peak4) < sizeof(GenPeak4));
}

TEST(Peak4, NewPeakDefaults) {
    const GenPeak4 p = MakeNewPeak(2.5, 40.0);
    EXPECT_EQ(p.time, 2.5);
    EXPECT_EQ(p.height, 40.0);
    EXPECT_EQ(p.width, 0.1);
    EXPECT_EQ(p.name, "Новое вещество");
    EXPECT_EQ(p.left, -1);
    EXPECT_EQ(p.right, -1);
    EXPECT_TRUE(p.auto_bounds);
    EXPECT_EQ(p.area, 0.0);
    EXPECT_EQ(p.window_front, 0.0);
}

TEST(Channel4, Construction) {
    const Channel4 empty(3);
    EXPECT_EQ(empty.number, 3);
    EXPECT_EQ(empty.signal.step, 1.0);
    EXPECT_EQ(empty.signal.start, 0.0);
    EXPECT_TRUE(empty.signal.samples.empty());
    EXPECT_TRUE(empty.table.empty());

    const float data[] = {1.5f, -2.5f};
    const Channel4 loaded(7, 0.01, 2.0, data, 2);
    EXPECT_EQ(loaded.number, 7);
    EXPECT_EQ(loaded.signal.step, 0.01);
    EXPECT_EQ(loaded.signal.start, 2.0);
    EXPECT_EQ(loaded.signal.samples, (std::vector<float>{1.5f, -2.5f}));
    EXPECT_EQ(loaded.signal.last_index, -1);

    std::vector<Channel4> channels;
    channels.push_back(loaded);
    channels.emplace_back(8);
    EXPECT_EQ(channels[0].signal.samples, loaded.signal.samples);
}

}  // namespace
