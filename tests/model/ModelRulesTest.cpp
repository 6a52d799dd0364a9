#include <functional>
#include <limits>

#include "ModelTestSupport.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

using ModelStep = std::function<ModelChange(CGeneratorModel&)>;

struct RefusedCase {
    const char* what;
    ModelStep setup;  // applied first when given
    ModelStep change;
    RefusalCode code;
};

ModelChange SetFront(CGeneratorModel& m, double front) {
    return m.SetPeakValue(0, 0, PeakValue::Front, front);
}

// Two channels; on the first a peak at 5 min, noise and drift.
void Populate(CGeneratorModel& m) {
    AddFirstChannel(m);
    ASSERT_TRUE(m.AddChannel().Applied());
    ASSERT_TRUE(m.AddPeak(0, MakeNewPeak(5.0, 10.0)).Applied());
    ASSERT_TRUE(m.SetNoise(0, 0.5).Applied());
    ASSERT_TRUE(m.SetDrift(0, 0.3).Applied());
}

TEST(GeneratorModel, RefusedChangesLeaveEverythingAsItWas) {
    const RefusedCase cases[] = {
        {"time 0",
         {},
         [](auto& m) { return m.SetAnalysisTime(0.0); },
         RefusalCode::TimeNotPositive},
        {"time -5",
         {},
         [](auto& m) { return m.SetAnalysisTime(-5.0); },
         RefusalCode::TimeNotPositive},
        {"time inf", {}, [](auto& m) { return m.SetAnalysisTime(kInf); }, RefusalCode::NotFinite},
        {"time 1e308",
         {},
         [](auto& m) { return m.SetAnalysisTime(1e308); },
         RefusalCode::ChannelTooLong},
        {"rate 0.5", {}, [](auto& m) { return m.SetSampleRate(0.5); }, RefusalCode::RateBelowOne},
        {"nine channels past the document's limit",
         [](auto& m) {
             ModelChange last;
             while (m.ChannelCount() < 9) last = m.AddChannel();
             return last;
         },
         [](auto& m) { return m.SetAnalysisTime(450'000.0); }, RefusalCode::DocumentTooLong},
        {"noise -1", {}, [](auto& m) { return m.SetNoise(1, -1.0); }, RefusalCode::NoiseNegative},
        {"noise 1e38", {}, [](auto& m) { return m.SetNoise(1, 1e38); }, RefusalCode::NoiseTooLarge},
        {"drift 3.5e37 on 10 min",
         {},
         [](auto& m) { return m.SetDrift(1, 3.5e37); },
         RefusalCode::DriftTooLarge},
        {"time raised past a drift", [](auto& m) { return m.SetDrift(1, 3e37); },
         [](auto& m) { return m.SetAnalysisTime(12.0); }, RefusalCode::DriftTooLarge},
        {"width 0",
         {},
         [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Width, 0.0); },
         RefusalCode::WidthNotPositive},
        {"height 3.5e38",
         {},
         [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Height, 3.5e38); },
         RefusalCode::HeightTooLarge},
        {"two heights of 2e38 at one time overflow their sum",
         [](auto& m) { return m.AddPeak(1, MakeNewPeak(7.0, 2e38)); },
         [](auto& m) { return m.AddPeak(1, MakeNewPeak(7.0, 2e38)); },
         RefusalCode::SignalNotFinite},
        // Samples at bounds close to the apex overflow their half-sum, which is single precision.
        {"height 3e38 between bounds 0.02 apart makes an infinite area",
         [](auto& m) {
             m.AddPeak(1, MakeNewPeak(5.0, 3e38));
             return m.SetPeakValue(1, 0, PeakValue::Back, 5.01);
         },
         [](auto& m) { return m.SetPeakValue(1, 0, PeakValue::Front, 4.99); },
         RefusalCode::SignalNotFinite},
        {"front after back",
         {},
         [](auto& m) { return SetFront(m, 5.5); },
         RefusalCode::FrontNotBeforeBack},
        {"front past the retention time",
         {},
         [](auto& m) { return SetFront(m, 5.2); },
         RefusalCode::BoundsExcludeTime},
        {"a start of 8 for a peak at 5",
         [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Back, 9.0); },
         [](auto& m) { return SetFront(m, 8.0); }, RefusalCode::BoundsExcludeTime},
        {"front before the run",
         {},
         [](auto& m) { return SetFront(m, -3.0); },
         RefusalCode::BoundsOutsideRun},
        {"back after the run",
         {},
         [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Back, 10.5); },
         RefusalCode::BoundsOutsideRun},
        {"area 0",
         {},
         [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Area, 0.0); },
         RefusalCode::AreaNotPositive},
        {"area -5",
         {},
         [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Area, -5.0); },
         RefusalCode::AreaNotPositive},
        {"a name with a control character",
         {},
         [](auto& m) { return m.RenamePeak(0, 0, "a\x01z"); },
         RefusalCode::NameNotStorable},
        {"the last channel", [](auto& m) { return m.DeleteChannel(1); },
         [](auto& m) { return m.DeleteChannel(0); }, RefusalCode::LastChannel},
        {"a 257th channel",
         [](auto& m) {
             ModelChange last;
             while (m.ChannelCount() < 256) last = m.AddChannel();
             return last;
         },
         [](auto& m) { return m.AddChannel(); }, RefusalCode::TooManyChannels},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.what);
        CGeneratorModel m;
        Populate(m);
        if (c.setup) {
            ASSERT_TRUE(c.setup(m).Applied());
        }
        const ModelState before = StateOf(m);
        const std::size_t steps = m.History().UndoCount();
        const ModelChange refused = c.change(m);
        EXPECT_FALSE(refused.Applied());
        EXPECT_EQ(refused.refusal.code, c.code);
        ExpectSameState(before, StateOf(m));
        EXPECT_EQ(m.History().UndoCount(), steps);
    }
}

TEST(GeneratorModel, ManualBoundsAreMeasuredWithoutRegenerating) {
    CGeneratorModel m;
    Populate(m);
    const std::vector<float> samples = m.ChannelSignal(0).samples;
    ASSERT_TRUE(SetFront(m, 4.5).Applied());
    ASSERT_TRUE(m.SetPeakValue(0, 0, PeakValue::Back, 5.6).Applied());
    const GenPeak4& p = m.Peaks(0)[0];
    EXPECT_EQ(p.front, 4.5);
    EXPECT_EQ(p.back, 5.6);
    EXPECT_FALSE(p.auto_bounds);
    EXPECT_EQ(m.ChannelSignal(0).samples, samples);
    // A height brings the automatic bounds back.
    ASSERT_TRUE(m.SetPeakValue(0, 0, PeakValue::Height, 20.0).Applied());
    EXPECT_TRUE(m.Peaks(0)[0].auto_bounds);
    EXPECT_LT(m.Peaks(0)[0].back, 5.6);
}

TEST(GeneratorModel, DraggedBoundsStopOneSampleInsideWhatIsAllowed) {
    CGeneratorModel m;
    Populate(m);
    const GenPeak4& p = m.Peaks(0)[0];
    const double back = p.back;
    ASSERT_TRUE(m.BeginDrag(0, 0).Applied());
    // Dragged past the apex and past the back: the front stops one sample before the apex.
    ASSERT_TRUE(m.DragBounds(7.0, back).Applied());
    EXPECT_DOUBLE_EQ(m.Peaks(0)[0].front, 4.99);
    // And before the run's start: at the start.
    ASSERT_TRUE(m.DragBounds(-3.0, back).Applied());
    EXPECT_EQ(m.Peaks(0)[0].front, 0.0);
    // The back past the end of the run stops at the last sample.
    ASSERT_TRUE(m.DragBounds(0.0, 42.0).Applied());
    EXPECT_DOUBLE_EQ(m.Peaks(0)[0].back, 9.99);
    ASSERT_TRUE(m.DragBounds(0.0, 1.0).Applied());
    EXPECT_DOUBLE_EQ(m.Peaks(0)[0].back, 5.01);
    ASSERT_TRUE(m.EndDrag().Applied());
    EXPECT_FALSE(m.Peaks(0)[0].auto_bounds);
}

TEST(GeneratorModel, ApexDraggedBelowTheAxisAndWidthThroughTheApexAreIgnored) {
    CGeneratorModel m;
    Populate(m);
    ASSERT_TRUE(m.BeginDrag(0, 0).Applied());
    EXPECT_FALSE(m.DragApex(6.0, -1.0).Applied());
    EXPECT_FALSE(m.DragWidth(0.0).Applied());
    EXPECT_FALSE(m.DragWidth(-0.1).Applied());
    EXPECT_EQ(m.Peaks(0)[0].time, 5.0);
    EXPECT_EQ(m.Peaks(0)[0].width, 0.1);
}

}  // namespace
