#include "ModelTestSupport.h"

namespace {

using Step = std::function<ModelChange(CGeneratorModel&)>;

// Every kind of change, in an order that makes each depend on the ones before.
const std::vector<std::pair<const char*, Step>>& Changes() {
    static const std::vector<std::pair<const char*, Step>> changes = {
        {"peak placed", [](auto& m) { return m.AddPeak(0, MakeNewPeak(3.0, 20.0)); }},
        {"second peak", [](auto& m) { return m.AddPeak(0, MakeNewPeak(6.0, 8.0)); }},
        {"noise", [](auto& m) { return m.SetNoise(0, 0.5); }},
        {"drift", [](auto& m) { return m.SetDrift(0, 0.3); }},
        {"channel added", [](auto& m) { return m.AddChannel(); }},
        {"peak on it", [](auto& m) { return m.AddPeak(1, MakeNewPeak(2.0, 5.0)); }},
        {"time", [](auto& m) { return m.SetAnalysisTime(12.0); }},
        {"rate", [](auto& m) { return m.SetSampleRate(50.0); }},
        {"front typed", [](auto& m) { return m.SetPeakValue(0, 1, PeakValue::Front, 5.5); }},
        {"width typed", [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Width, 0.3); }},
        {"area typed", [](auto& m) { return m.SetPeakValue(0, 0, PeakValue::Area, 9.0); }},
        {"renamed", [](auto& m) { return m.RenamePeak(0, 0, "Бензол"); }},
        {"a drag",
         [](auto& m) {
             m.BeginDrag(0, 1);
             m.DragApex(6.5, 9.0);
             m.DragApex(6.6, 10.0);
             return m.EndDrag();
         }},
        {"first channel deleted", [](auto& m) { return m.DeleteChannel(0); }},
        {"all peaks deleted", [](auto& m) { return m.DeleteAllPeaks(0); }},
    };
    return changes;
}

TEST(ModelHistory, UndoAndRedoGiveEveryStateBackBitForBitAndDrawNoNoise) {
    NoiseEngine::Instance().Seed(42);
    CGeneratorModel m;
    AddFirstChannel(m);
    std::vector<ModelState> states{StateOf(m)};
    for (const auto& [what, change] : Changes()) {
        ASSERT_TRUE(change(m).Applied()) << what;
        states.push_back(StateOf(m));
    }
    for (std::size_t i = states.size() - 1; i-- > 1;) {
        SCOPED_TRACE(Changes()[i].first);
        ASSERT_TRUE(m.Undo().Applied());
        ExpectSameState(states[i], StateOf(m));
    }
    for (std::size_t i = 2; i < states.size(); ++i) {
        SCOPED_TRACE(Changes()[i - 1].first);
        ASSERT_TRUE(m.Redo().Applied());
        ExpectSameState(states[i], StateOf(m));
    }
    EXPECT_FALSE(m.Redo().Applied());
    // The generator went on from where the last change left it: undo and redo drew nothing.
    ASSERT_TRUE(m.SetNoise(0, 1.0).Applied());
    const ModelState after_history = StateOf(m);

    NoiseEngine::Instance().Seed(42);
    CGeneratorModel fresh;
    AddFirstChannel(fresh);
    for (const auto& [what, change] : Changes()) ASSERT_TRUE(change(fresh).Applied()) << what;
    ASSERT_TRUE(fresh.SetNoise(0, 1.0).Applied());
    ExpectSameState(after_history, StateOf(fresh));
}

TEST(ModelHistory, AValueTypedKeyByKeyIsOneStepUntilTheEditIsLeft) {
    CGeneratorModel m;
    AddFirstChannel(m);
    ASSERT_TRUE(m.SetAnalysisTime(1.0).Applied());
    ASSERT_TRUE(m.SetAnalysisTime(12.0).Applied());
    m.BreakMerge();
    ASSERT_TRUE(m.SetAnalysisTime(15.0).Applied());
    ASSERT_TRUE(m.Undo().Applied());
    EXPECT_EQ(m.AnalysisTime(), 12.0);
    ASSERT_TRUE(m.Undo().Applied());
    EXPECT_EQ(m.AnalysisTime(), 10.0);
    EXPECT_EQ(m.ChannelSignal(0).Size(), 1000u);
}

TEST(ModelHistory, UndoingBackToTheSavedStateClearsTheModifiedMark) {
    const std::string path = ::testing::TempDir() + "/model-saved.xstg";
    CGeneratorModel m;
    AddFirstChannel(m);
    ASSERT_TRUE(m.AddPeak(0, MakeNewPeak(3.0, 20.0)).Applied());
    EXPECT_TRUE(m.Modified());
    ASSERT_EQ(m.SaveToFile(path, 0), 0);
    EXPECT_FALSE(m.Modified());
    ASSERT_TRUE(m.SetNoise(0, 0.2).Applied());
    EXPECT_TRUE(m.Modified());
    ASSERT_TRUE(m.Undo().Applied());
    EXPECT_FALSE(m.Modified());
    ASSERT_TRUE(m.Undo().Applied());
    EXPECT_TRUE(m.Modified());
    std::remove(path.c_str());
}

TEST(ModelHistory, ACancelledDragAndAPressThatMovesNothingLeaveNoStep) {
    CGeneratorModel m;
    AddFirstChannel(m);
    ASSERT_TRUE(m.AddPeak(0, MakeNewPeak(3.0, 20.0)).Applied());
    const ModelState before = StateOf(m);
    ASSERT_TRUE(m.BeginDrag(0, 0).Applied());
    ASSERT_TRUE(m.DragWidth(0.5).Applied());
    EXPECT_EQ(m.Peaks(0)[0].width, 0.5);
    m.CancelDrag();
    ExpectSameState(before, StateOf(m));
    ASSERT_TRUE(m.BeginDrag(0, 0).Applied());
    m.EndDrag();
    ExpectSameState(before, StateOf(m));
    EXPECT_EQ(m.History().UndoCount(), 2u);
}

TEST(ModelHistory, KeepsAtMostItsBoundOfStepsAndBytes) {
    ModelHistory history;
    for (int i = 0; i < 150; ++i) history.Push({});
    EXPECT_EQ(history.UndoCount(), ModelHistory::kMaxSteps);
    // A step holding more samples than the whole bound is not kept at all.
    HistoryStep huge;
    Channel4 record;
    record.signal.samples.reserve(ModelHistory::kMaxBytes / sizeof(float) + 1);
    huge.channels.push_back({WorkingChannel{}, std::move(record)});
    history.Push(std::move(huge));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Bytes(), 0u);
}

}  // namespace
