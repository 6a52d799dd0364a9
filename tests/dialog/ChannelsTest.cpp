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
    for (int i = 0; i < d.m_tab->Count(); ++i) captions << d.m_tab->ItemText(i);
    return captions;
}

// Types the text key by key: every keystroke that makes a number applies it.
void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Puts the whole text in and presses Enter: only the final value is applied.
void Enter(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

TEST_F(DialogTest, StartsWithOneFlatChannelOfTheDefaultLength) {
    CQuelmarDlg& d = Open();
    EXPECT_EQ(Captions(d), QStringList{QString::fromUtf8("Канал 1")});
    EXPECT_EQ(d.m_currentChannel, 0);
    ASSERT_EQ(d.m_file.m_channels.size(), 1u);
    const Signal4& signal = d.m_file.m_channels[0].signal;
    EXPECT_EQ(signal.Size(), 1000u);
    EXPECT_TRUE(std::all_of(signal.samples.begin(), signal.samples.end(),
                            [](float v) { return v == 0.0f; }));
    const CAutoSeries& curve = d.m_graph->Series(0);
    EXPECT_EQ(curve.m_y_values, signal.samples.data());  // points into the samples
    EXPECT_EQ(curve.m_point_count, 1000);
    EXPECT_DOUBLE_EQ(curve.m_x_end, 9.99);
}

TEST_F(DialogTest, DeletingAChannelRenumbersRecordsPagesAndTabs) {
    CQuelmarDlg& d = Open();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(d.OnAddChannel());
    for (int i = 0; i < 4; ++i) d.Page(i)->m_peaks = {Named(std::to_string(i).c_str())};
    d.m_tab->Bar()->setCurrentIndex(1);  // as a click on the second tab
    EXPECT_EQ(d.m_currentChannel, 1);
    d.OnDeleteChannel();

    EXPECT_EQ(Captions(d), (QStringList{"Канал 1", "Канал 2", "Канал 3"}));
    EXPECT_EQ(d.m_currentChannel, 0);
    EXPECT_EQ(d.m_tab->CurSel(), 0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d.Page(i)->m_peaks.at(0).name, std::string(i == 0 ? "0" : i == 1 ? "2" : "3"));
        EXPECT_EQ(d.Page(i)->m_channelNumber, i);
        EXPECT_EQ(d.m_file.m_channels[static_cast<std::size_t>(i)].number, i);
        EXPECT_EQ(d.m_graph->Series(static_cast<std::size_t>(i)).m_y_values,
                  d.m_file.m_channels[static_cast<std::size_t>(i)].signal.samples.data());
    }
    // Deleting the first channel makes the new first one current.
    d.m_tab->SetCurSel(0);
    d.OnDeleteChannel();
    EXPECT_EQ(d.Page(0)->m_peaks.at(0).name, "2");
    EXPECT_EQ(d.m_currentChannel, 0);
    EXPECT_TRUE(d.Page(0)->isVisible());
    EXPECT_FALSE(d.Page(1)->isVisible());
}

TEST_F(DialogTest, TheLastChannelAndAChannel257AreRefused) {
    CQuelmarDlg& d = Open();
    d.OnDeleteChannel();
    EXPECT_EQ(d.ChannelCount(), 1);
    while (d.ChannelCount() < CQuelmarDlg::kMaxChannels) ASSERT_TRUE(d.OnAddChannel());
    EXPECT_FALSE(d.OnAddChannel());
    EXPECT_EQ(d.ChannelCount(), 256);
    EXPECT_EQ(d.m_file.m_channels.size(), 256u);
}

TEST_F(DialogTest, NoiseAndDriftBelongToEachChannel) {
    CQuelmarDlg& d = Open();
    Type(d.Edit(ControlId::Noise), "0.5");
    Type(d.Edit(ControlId::Drift), "2");
    ASSERT_TRUE(d.OnAddChannel());
    EXPECT_EQ(d.Edit(ControlId::Noise)->text(), "0");
    EXPECT_EQ(d.Edit(ControlId::Drift)->text(), "0");
    d.m_tab->Bar()->setCurrentIndex(0);
    EXPECT_EQ(d.Edit(ControlId::Noise)->text(), "0.5");
    EXPECT_EQ(d.Edit(ControlId::Drift)->text(), "2");
    EXPECT_EQ(d.Page(0)->m_channelNoise, 0.5);
    EXPECT_EQ(d.Page(1)->m_channelNoise, 0.0);
}

TEST_F(DialogTest, TypingTwelveRegeneratesEveryChannelForTwelveMinutes) {
    CQuelmarDlg& d = Open();
    ASSERT_TRUE(d.OnAddChannel());
    d.Page(0)->m_peaks = {Named("A", 11, 10)};
    Type(d.Edit(ControlId::AnalysisTime), "12");
    for (const Channel4& c : d.m_file.m_channels) EXPECT_EQ(c.signal.Size(), 1200u);
    EXPECT_EQ(d.m_graph->m_fixed_x_max, 12.0);
    // The peak at 11 minutes exists only in the longer signal.
    EXPECT_NEAR(d.m_file.m_channels[0].signal.samples[1100], 10.0f, 1e-5);
    EXPECT_GT(d.Page(0)->m_peaks[0].back, 11.0);
}

TEST_F(DialogTest, RefusedTimesAndRatesChangeNoSignalAndBlockNewChannels) {
    CQuelmarDlg& d = Open();
    for (const char* text : {"0", "-3", "1e7"}) {  // 1e7 min x 100 is a billion samples
        Enter(d.Edit(ControlId::AnalysisTime), text);
        EXPECT_EQ(d.m_file.m_channels[0].signal.Size(), 1000u) << text;
        EXPECT_FALSE(d.OnAddChannel()) << text;
    }
    Enter(d.Edit(ControlId::AnalysisTime), "10");
    Enter(d.Edit(ControlId::SampleRate), "0.5");
    EXPECT_EQ(d.m_sampleRate, 0.5);  // stored, as typed
    EXPECT_EQ(d.m_file.m_channels[0].signal.Size(), 1000u);
    Enter(d.Edit(ControlId::AnalysisTime), "20");  // a refused rate is not used by the time
    EXPECT_EQ(d.m_file.m_channels[0].signal.Size(), 1000u);
    EXPECT_FALSE(d.OnAddChannel());
    EXPECT_EQ(d.ChannelCount(), 1);
}

TEST_F(DialogTest, TheDocumentLimitCountsEveryChannel) {
    // 10 min x 5,000,000 per minute is 50 million samples: the most one channel may have, and
    // eight of them are the most a document may hold.
    EXPECT_TRUE(CQuelmarDlg::CanSizeChannels(10, 5e6, 8));
    EXPECT_FALSE(CQuelmarDlg::CanSizeChannels(10, 5e6, 9));
    EXPECT_FALSE(CQuelmarDlg::CanSizeChannels(10, 5e6 + 1, 1));
    EXPECT_FALSE(CQuelmarDlg::CanSizeChannels(std::nan(""), 100, 1));
}

TEST_F(DialogTest, AnInvalidEditDoesNotBlockTheOthers) {
    CQuelmarDlg& d = Open();
    Type(d.Edit(ControlId::AnalysisTime), "abc");
    Type(d.Edit(ControlId::Noise), "0.3");
    EXPECT_EQ(d.Page(0)->m_channelNoise, 0.3);
    const auto& samples = d.m_file.m_channels[0].signal.samples;
    EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](float v) { return v != 0.0f; }));
}

TEST_F(DialogTest, NoiseAndDriftThatWouldOverflowTheSamplesAreRefused) {
    CQuelmarDlg& d = Open();
    // A deviate of the noise reaches 40 sigma at most; the drift is largest at 10 minutes.
    for (const auto& [noise, drift] : {std::pair{"1e39", "1e39"}, std::pair{"1e37", "1e38"}}) {
        Enter(d.Edit(ControlId::Noise), noise);
        Enter(d.Edit(ControlId::Drift), drift);
        EXPECT_EQ(d.Page(0)->m_channelNoise, 0.0) << noise;
        EXPECT_EQ(d.Page(0)->m_channelDrift, 0.0) << drift;
    }
    for (float v : d.m_file.m_channels[0].signal.samples) ASSERT_TRUE(std::isfinite(v));
}

TEST_F(DialogTest, ATimeOrRateChangeUsesEachChannelsOwnNoiseAndFindsBoundsOnTheCleanSignal) {
    CQuelmarDlg& d = Open();
    ASSERT_TRUE(d.OnAddChannel());
    for (int i = 0; i < 2; ++i) d.Page(i)->m_peaks = {Named("A", 5, 20)};
    Type(d.Edit(ControlId::Noise), "1");  // channel 2, the current one
    for (const char* edit_text : {"150", "200"}) {
        Type(d.Edit(ControlId::SampleRate), edit_text);
        // Channel 1 has no noise: far from the peak its samples are exactly 0.
        EXPECT_EQ(d.m_file.m_channels[0].signal.samples[10], 0.0f);
        EXPECT_NE(d.m_file.m_channels[1].signal.samples[10], 0.0f);
        // The noisy channel's bounds are the clean signal's, and its area is measured between
        // exactly those bounds.
        Signal4 clean = d.m_file.m_channels[1].signal;
        GenPeak4 expected = d.Page(1)->m_peaks[0];
        FillSignal(clean, clean.Size(), {expected});
        FindPeakBounds(clean, expected);
        const GenPeak4& stored = d.Page(1)->m_peaks[0];
        EXPECT_EQ(stored.front, expected.front);
        EXPECT_EQ(stored.back, expected.back);
        GenPeak4 remeasured = stored;
        ComputePeakArea(d.m_file.m_channels[1].signal, remeasured);
        EXPECT_EQ(remeasured.area, stored.area);
    }
}

}  // namespace
