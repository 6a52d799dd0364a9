#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <cmath>

#include "DialogFixture.h"
#include "dialog/TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "synth/FillSignal.h"
#include "synth/PeakArea.h"
#include "synth/PeakBounds.h"
#include "table/TablePg.h"

namespace {

GenPeak4 Named(const char* name, double time = 5, double height = 10) {
    GenPeak4 p = MakeNewPeak(time, height);
    p.name = name;
    return p;
}

QStringList Captions(const CQuelmarDlg& d) {
    QStringList captions;
    for (int i = 0; i < d.Tabs()->Count(); ++i) captions << d.Tabs()->ItemText(i);
    return captions;
}

TEST_F(DialogTest, StartsWithOneFlatChannelOfTheDefaultLength) {
    CQuelmarDlg& d = Open();
    EXPECT_EQ(Captions(d), QStringList{QString::fromUtf8("Канал 1")});
    EXPECT_EQ(d.CurrentChannel(), 0);
    ASSERT_EQ(d.Model().ChannelCount(), 1);
    const std::vector<float>& samples = SamplesOf(d, 0);
    EXPECT_EQ(samples.size(), 1000u);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](float v) { return v == 0.0f; }));
    const CAutoSeries& curve = d.Graph()->Series(0);
    EXPECT_EQ(curve.m_y_values, samples.data());  // points into the samples
    EXPECT_EQ(curve.m_point_count, 1000);
    EXPECT_DOUBLE_EQ(curve.m_x_end, 9.99);
    // Nothing to undo: the first channel is where a chromatogram starts.
    EXPECT_FALSE(d.Model().CanUndo());
}

TEST_F(DialogTest, DeletingAChannelRenumbersPagesAndTabs) {
    CQuelmarDlg& d = Open();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(d.OnAddChannel());
    for (int i = 0; i < 4; ++i) AddPeaks(d, i, {Named(std::to_string(i).c_str())});
    d.Tabs()->Bar()->setCurrentIndex(1);  // as a click on the second tab
    EXPECT_EQ(d.CurrentChannel(), 1);
    d.OnDeleteChannel();

    EXPECT_EQ(Captions(d), (QStringList{"Канал 1", "Канал 2", "Канал 3"}));
    EXPECT_EQ(d.CurrentChannel(), 0);
    EXPECT_EQ(d.Tabs()->CurSel(), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(PeaksOf(d, i).at(0).name, std::string(i == 0 ? "0" : i == 1 ? "2" : "3"));
        EXPECT_EQ(d.Page(i)->Grid()->ItemText(0, 0).toStdString(), PeaksOf(d, i)[0].name);
        EXPECT_EQ(d.Model().Document().m_channels[static_cast<std::size_t>(i)].number, i);
        EXPECT_EQ(d.Graph()->Series(static_cast<std::size_t>(i)).m_y_values,
                  SamplesOf(d, i).data());
    }
    // Deleting the first channel makes the new first one current.
    d.Tabs()->SetCurSel(0);
    d.OnDeleteChannel();
    EXPECT_EQ(PeaksOf(d, 0).at(0).name, "2");
    EXPECT_EQ(d.CurrentChannel(), 0);
    EXPECT_TRUE(d.Page(0)->isVisible());
    EXPECT_FALSE(d.Page(1)->isVisible());
}

TEST_F(DialogTest, RefusedChannelCommandsSayWhyOnTheStatusLine) {
    CQuelmarDlg& d = Open();
    d.OnDeleteChannel();
    EXPECT_EQ(d.ChannelCount(), 1);
    EXPECT_EQ(d.StatusText(), QString::fromUtf8("Последний канал удалить нельзя."));
    while (d.ChannelCount() < 256) ASSERT_TRUE(d.OnAddChannel());
    EXPECT_EQ(d.StatusText(), QString());
    EXPECT_FALSE(d.OnAddChannel());
    EXPECT_EQ(d.ChannelCount(), 256);
    EXPECT_EQ(d.StatusText(), QString::fromUtf8("В документе не больше 256 каналов."));
}

TEST_F(DialogTest, NoiseAndDriftBelongToEachChannel) {
    CQuelmarDlg& d = Open();
    Type(d.Edit(ControlId::Noise), "0.5");
    Type(d.Edit(ControlId::Drift), "2");
    ASSERT_TRUE(d.OnAddChannel());
    EXPECT_EQ(d.Edit(ControlId::Noise)->text(), "0");
    EXPECT_EQ(d.Edit(ControlId::Drift)->text(), "0");
    d.Tabs()->Bar()->setCurrentIndex(0);
    EXPECT_EQ(d.Edit(ControlId::Noise)->text(), "0.5");
    EXPECT_EQ(d.Edit(ControlId::Drift)->text(), "2");
    EXPECT_EQ(d.Model().Working(0).noise, 0.5);
    EXPECT_EQ(d.Model().Working(1).noise, 0.0);
}

TEST_F(DialogTest, TypingTwelveRegeneratesEveryChannelForTwelveMinutes) {
    CQuelmarDlg& d = Open();
    ASSERT_TRUE(d.OnAddChannel());
    AddPeaks(d, 0, {Named("A", 11, 10)});
    Type(d.Edit(ControlId::AnalysisTime), "12");
    for (int c = 0; c < 2; ++c) EXPECT_EQ(SamplesOf(d, c).size(), 1200u);
    EXPECT_EQ(d.Graph()->m_fixed_x_max, 12.0);
    // The peak at 11 minutes exists only in the longer signal.
    EXPECT_NEAR(SamplesOf(d, 0)[1100], 10.0f, 1e-5);
    EXPECT_GT(PeaksOf(d, 0)[0].back, 11.0);
    // Typed key by key, one step to undo.
    ASSERT_TRUE(d.Apply([](CGeneratorModel& m) { return m.Undo(); }));
    EXPECT_EQ(d.Edit(ControlId::AnalysisTime)->text(), "10");
    EXPECT_EQ(SamplesOf(d, 0).size(), 1000u);
}

TEST_F(DialogTest, AnInvalidEditDoesNotBlockTheOthers) {
    CQuelmarDlg& d = Open();
    Type(d.Edit(ControlId::AnalysisTime), "abc");
    Type(d.Edit(ControlId::Noise), "0.3");
    EXPECT_EQ(d.Model().Working(0).noise, 0.3);
    const auto& samples = SamplesOf(d, 0);
    EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](float v) { return v != 0.0f; }));
}

TEST_F(DialogTest, ATimeOrRateChangeUsesEachChannelsOwnNoiseAndFindsBoundsOnTheCleanSignal) {
    CQuelmarDlg& d = Open();
    ASSERT_TRUE(d.OnAddChannel());
    for (int i = 0; i < 2; ++i) AddPeaks(d, i, {Named("A", 5, 20)});
    Type(d.Edit(ControlId::Noise), "1");  // channel 2, the current one
    for (const char* edit_text : {"150", "200"}) {
        Type(d.Edit(ControlId::SampleRate), edit_text);
        // Channel 1 has no noise: far from the peak its samples are exactly 0.
        EXPECT_EQ(SamplesOf(d, 0)[10], 0.0f);
        EXPECT_NE(SamplesOf(d, 1)[10], 0.0f);
        // The noisy channel's bounds are the clean signal's, and its area is measured between
        // exactly those bounds.
        Signal4 clean = d.Model().ChannelSignal(1);
        GenPeak4 expected = PeaksOf(d, 1)[0];
        FillSignal(clean, clean.Size(), {expected});
        FindPeakBounds(clean, expected);
        const GenPeak4& stored = PeaksOf(d, 1)[0];
        EXPECT_EQ(stored.front, expected.front);
        EXPECT_EQ(stored.back, expected.back);
        GenPeak4 remeasured = stored;
        ComputePeakArea(d.Model().ChannelSignal(1), remeasured);
        EXPECT_EQ(remeasured.area, stored.area);
    }
}

}  // namespace
