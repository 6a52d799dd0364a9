#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli/Generator.h"
#include "cli/ModelScenario.h"
#include "dialog/ChromatogramFile.h"
#include "model/GeneratorModel.h"
#include "model/SettingsEntry.h"

namespace {

std::string PathIn(const QTemporaryDir& folder, const char* name) {
    return QFile::encodeName(folder.filePath(QString::fromLatin1(name))).toStdString();
}

// A chromatogram built as the window builds it: tailing peaks on a step baseline with a sine.
std::unique_ptr<CGeneratorModel> TailingPeaksOnASteppedBaseline() {
    auto model = std::make_unique<CGeneratorModel>(10.0, 50.0);
    model->AddChannel();
    ChannelComponents components;
    components.steps.push_back({4.0, 2.0, 0.5});
    components.sine = BaselineSine{0.1, 2.0, 0.3};
    EXPECT_TRUE(model->SetComponents(0, components).Applied());
    EXPECT_TRUE(model->SetDrift(0, 0.3).Applied());
    EXPECT_TRUE(model->AddPeak(0, MakeNewPeak(2.0, 30.0)).Applied());
    EXPECT_TRUE(model->AddPeak(0, MakeNewPeak(6.0, 20.0)).Applied());
    EXPECT_TRUE(model->SetPeakValue(0, 0, PeakValue::Tailing, 1.8).Applied());
    EXPECT_TRUE(model->SetPeakValue(0, 1, PeakValue::Tailing, 0.7).Applied());
    EXPECT_TRUE(model->SetPeakValue(0, 1, PeakValue::Front, 5.5).Applied());
    EXPECT_TRUE(model->SetPeakValue(0, 1, PeakValue::Tailing, 4.5).refusal);
    return model;
}

TEST(SettingsEntry, TheCarriedScenarioMakesTheSameSamplesAndReopensTheSameWork) {
    QTemporaryDir folder;
    auto model = TailingPeaksOnASteppedBaseline();
    const std::string saved = PathIn(folder, "gui.xstg");
    model->CollectForSave();
    ASSERT_EQ(model->SaveToFile(saved, 1765152000, SettingsText), 0);

    // The command-line generator, given the scenario the document carries, makes its samples.
    const std::string* text = FindSettingsEntry(model->Document().m_passport);
    ASSERT_NE(text, nullptr);
    const Scenario scenario = ParseScenario(*text);
    CTarvikFile4 generated;
    GenerateDocument(scenario, {.seed = *scenario.seed, .assay_id = "", .date = 0}, generated);
    ASSERT_EQ(generated.m_channels.size(), 1u);
    EXPECT_EQ(generated.m_channels[0].signal.samples, model->ChannelSignal(0).samples);
    const auto& stored = model->Document().m_channels[0].table;
    ASSERT_EQ(generated.m_channels[0].table.size(), stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        EXPECT_EQ(generated.m_channels[0].table[i].front, stored[i].front);
        EXPECT_EQ(generated.m_channels[0].table[i].area, stored[i].area);
    }

    // Reopened, the work is the same: peaks with their tailing and bounds, the components, and
    // the samples as stored; a second save keeps one settings entry.
    OpenedChromatogram opened = OpenChromatogram(QString::fromStdString(saved));
    ASSERT_NE(opened.model, nullptr) << opened.error.toStdString();
    EXPECT_TRUE(opened.note.isEmpty()) << opened.note.toStdString();
    const CGeneratorModel& reopened = *opened.model;
    EXPECT_EQ(reopened.ChannelSignal(0).samples, model->ChannelSignal(0).samples);
    ASSERT_EQ(reopened.Peaks(0).size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const GenPeak4& was = model->Peaks(0)[i];
        const GenPeak4& is = reopened.Peaks(0)[i];
        EXPECT_EQ(is.tail.factor, was.tail.factor);
        EXPECT_EQ(is.width, was.width);
        EXPECT_EQ(is.auto_bounds, was.auto_bounds);
        EXPECT_EQ(is.front, was.front);
        EXPECT_EQ(is.area, was.area);
    }
    EXPECT_EQ(reopened.Working(0).components.steps.size(), 1u);
    EXPECT_EQ(reopened.Working(0).drift, 0.3);
    EXPECT_FALSE(reopened.Modified());
    ASSERT_EQ(opened.model->SaveToFile(PathIn(folder, "again.xstg"), 1, SettingsText), 0);
    int entries = 0;
    for (const PassportEntry& e : opened.model->Document().m_passport.entries)
        entries += e.name == kSettingsEntryName ? 1 : 0;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsEntry, ADocumentWithoutSettingsOpensWithItsStoredPeaksAndSaysWhatIsMissing) {
    QTemporaryDir folder;
    auto model = TailingPeaksOnASteppedBaseline();
    const std::string path = PathIn(folder, "other.xstg");
    model->CollectForSave();
    ASSERT_EQ(model->SaveToFile(path, 0), 0);  // no settings, as another program writes it
    OpenedChromatogram opened = OpenChromatogram(QString::fromStdString(path));
    ASSERT_NE(opened.model, nullptr);
    EXPECT_FALSE(opened.note.isEmpty());
    EXPECT_EQ(opened.model->ChannelSignal(0).samples, model->ChannelSignal(0).samples);
    EXPECT_EQ(opened.model->Peaks(0).size(), 2u);
    EXPECT_EQ(opened.model->Working(0).drift, 0.0);
}

TEST(SettingsEntry, AScenarioOpensAsTheGeneratorMakesItAndIsNotSavedOverItself) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("run.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const char* text = R"({"analysis_time": 8, "sample_rate": 40, "seed": 9, "channels": [
        {"noise": 0.3, "settle": {"height": 3, "time_constant": 1},
         "peaks": [{"time": 3, "height": 10, "area": 2}, {"time": 5, "height": 8, "tailing": 2}]}]})";
    file.write(text);
    file.close();
    const Scenario scenario = ParseScenario(text);
    CTarvikFile4 generated;
    GenerateDocument(scenario, {.seed = 9, .assay_id = "", .date = 0}, generated);
    OpenedChromatogram opened = OpenChromatogram(path);
    ASSERT_NE(opened.model, nullptr) << opened.error.toStdString();
    EXPECT_FALSE(opened.is_document);
    EXPECT_EQ(opened.model->ChannelSignal(0).samples, generated.m_channels[0].signal.samples);
    EXPECT_EQ(opened.model->Seed(), 9u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(opened.model->Peaks(0)[i].area, generated.m_channels[0].table[i].area) << i;

    QFile broken(folder.filePath(QStringLiteral("broken.json")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(R"({"analysis_time": 8})");
    broken.close();
    EXPECT_FALSE(OpenChromatogram(broken.fileName()).error.isEmpty());
}

}  // namespace
