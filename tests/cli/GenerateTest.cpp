#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "CsvCells.h"
#include "ToolRunner.h"
#include "file/TarvikFile4.h"

namespace {

const std::vector<std::string> kFixed = {"--assay-id", "0123abcd-0000-4000-8000-00000000beef",
                                         "--date", "1700000000"};

std::vector<std::string> GenerateArgs(const std::string& scenario, const std::string& out,
                                      std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"generate", scenario, "-o", out};
    args.insert(args.end(), kFixed.begin(), kFixed.end());
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

void LoadOk(CTarvikFile4& document, const std::filesystem::path& path) {
    ASSERT_EQ(document.LoadFromFile(path.string()), 0);
}

TEST(Generate, NoiselessPeaksFollowTheirClosedForms) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 10, "sample_rate": 100,
      "channels": [{"peaks": [
        {"time": 5.0, "height": 10.0},
        {"name": "Б", "time": 2.0, "height": 4.0, "width": 0.2, "front": 1.5, "back": 2.6}]}]})");
    const ToolResult run = dir.Run(GenerateArgs("s.json", "out.xstg"));
    ASSERT_EQ(run.exit_code, 0) << run.err;

    CTarvikFile4 doc;
    LoadOk(doc, dir.Path("out.xstg"));
    ASSERT_EQ(doc.m_channels.size(), 1u);
    const Channel4& ch = doc.m_channels[0];
    EXPECT_EQ(ch.number, 0);
    EXPECT_EQ(ch.signal.start, 0.0);
    EXPECT_EQ(ch.signal.step, 0.01);
    ASSERT_EQ(ch.signal.Size(), 1000u);
    // At the centre the first peak is its height (the second adds far less than a float step
    // there); one default
    // width (0.1) away it has fallen to 1/e.
    EXPECT_EQ(ch.signal.samples[500], 10.0f);
    EXPECT_FLOAT_EQ(ch.signal.samples[490], static_cast<float>(10.0 * std::exp(-1.0)));
    // The second peak: 4 at 2.0 and 4/e at 2.2.
    EXPECT_FLOAT_EQ(ch.signal.samples[200], 4.0f);
    EXPECT_FLOAT_EQ(ch.signal.samples[220], static_cast<float>(4.0 * std::exp(-1.0)));

    ASSERT_EQ(ch.table.size(), 2u);
    const Peak4& first = ch.table[0];
    EXPECT_EQ(first.name, "Новое вещество");
    EXPECT_EQ(first.left, -1);
    EXPECT_EQ(first.right, -1);
    EXPECT_NEAR(first.front, 4.67, 1e-9);
    EXPECT_NEAR(first.back, 5.33, 1e-9);
    // An isolated peak's area is close to height * width * sqrt(pi) = 1.7724539.
    EXPECT_NEAR(first.area, 10.0 * 0.1 * std::sqrt(M_PI), 2e-4);
    const Peak4& second = ch.table[1];
    EXPECT_EQ(second.name, "Б");
    EXPECT_EQ(second.front, 1.5);  // manual bounds kept
    EXPECT_EQ(second.back, 2.6);

    EXPECT_EQ(doc.m_passport.assayid, "0123abcd-0000-4000-8000-00000000beef");
    EXPECT_EQ(doc.m_passport.andate, 1700000000);
}

TEST(Generate, AreaGivenInsteadOfWidthIsMetByTheFittedWidth) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 10, "sample_rate": 100, "channels": [
      {"peaks": [{"time": 3.0, "height": 5.0, "area": 1.5},
                 {"time": 7.0, "height": 2.0, "area": 0.4}]}]})");
    ASSERT_EQ(dir.Run(GenerateArgs("s.json", "out.xstg")).exit_code, 0);
    CTarvikFile4 doc;
    LoadOk(doc, dir.Path("out.xstg"));
    const auto& table = doc.m_channels[0].table;
    ASSERT_EQ(table.size(), 2u);
    EXPECT_NEAR(table[0].area, 1.5, 1e-6 * 1.5);
    EXPECT_NEAR(table[1].area, 0.4, 1e-6 * 0.4);
}

TEST(Generate, SameInputsGiveTheSameBytesAndTheSeedDecidesTheNoise) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 5, "sample_rate": 200, "channels": [
      {"noise": 0.2, "drift": 0.1, "peaks": [{"time": 1.0, "height": 3.0}]},
      {"noise": 0.5, "peaks": [{"time": 2.0, "height": 1.0, "area": 0.3}]}]})");
    ASSERT_EQ(dir.Run(GenerateArgs("s.json", "a.xstg")).exit_code, 0);
    ASSERT_EQ(dir.Run(GenerateArgs("s.json", "b.xstg")).exit_code, 0);
    ASSERT_EQ(dir.Run(GenerateArgs("s.json", "c.xstg", {"--seed", "7"})).exit_code, 0);
    EXPECT_EQ(dir.Read("a.xstg"), dir.Read("b.xstg"));
    EXPECT_NE(dir.Read("a.xstg"), dir.Read("c.xstg"));

    CTarvikFile4 doc;
    LoadOk(doc, dir.Path("a.xstg"));
    ASSERT_EQ(doc.m_channels.size(), 2u);
    EXPECT_EQ(doc.m_channels[1].number, 1);
    EXPECT_EQ(doc.m_channels[1].signal.Size(), 1000u);
}

// A tailing factor of 1 is the Gaussian of old, to the byte; and the scenario's seed, assay
// identifier and date stand for the command line's.
TEST(Generate, TailingOneIsTheGaussianAndTheScenarioMayFixSeedIdAndDate) {
    ToolFolder dir;
    dir.Write("plain.json", R"({"analysis_time": 5, "sample_rate": 200, "channels": [
      {"noise": 0.2, "peaks": [{"time": 1.0, "height": 3.0}, {"time": 2.0, "height": 1.0,
                                                              "area": 0.3}]}]})");
    dir.Write("fixed.json", R"({"analysis_time": 5, "sample_rate": 200, "seed": 7,
      "assay_id": "0123ABCD-0000-4000-8000-00000000BEEF", "analysis_date": 1700000000,
      "channels": [{"noise": 0.2, "peaks": [{"time": 1.0, "height": 3.0, "tailing": 1},
                                            {"time": 2.0, "height": 1.0, "area": 0.3,
                                             "tailing": 1.0}]}]})");
    ASSERT_EQ(dir.Run(GenerateArgs("plain.json", "a.xstg", {"--seed", "7"})).exit_code, 0);
    ASSERT_EQ(dir.Run({"generate", "fixed.json", "-o", "b.xstg"}).exit_code, 0);
    EXPECT_EQ(dir.Read("a.xstg"), dir.Read("b.xstg"));
}

TEST(Generate, WithoutFixedIdentifierEverySaveGetsANewOne) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 1, "sample_rate": 10, "channels": [{}]})");
    ASSERT_EQ(dir.Run({"generate", "s.json", "-o", "a.xstg"}).exit_code, 0);
    ASSERT_EQ(dir.Run({"generate", "s.json", "-o", "b.xstg"}).exit_code, 0);
    CTarvikFile4 a;
    CTarvikFile4 b;
    LoadOk(a, dir.Path("a.xstg"));
    LoadOk(b, dir.Path("b.xstg"));
    EXPECT_EQ(a.m_passport.assayid.size(), 36u);
    EXPECT_NE(a.m_passport.assayid, b.m_passport.assayid);
    EXPECT_GT(a.m_passport.andate, 1700000000);
}

TEST(Generate, PeaksReachingTheEndAreLeftOutOfTheTable) {
    ToolFolder dir;
    // The last sample is at 9.99; the second peak's flank runs to it, so its back is the end.
    dir.Write("s.json", R"({"analysis_time": 10, "sample_rate": 100, "channels": [
      {"peaks": [{"time": 5.0, "height": 1.0}, {"time": 9.95, "height": 1.0}]}]})");
    ASSERT_EQ(dir.Run(GenerateArgs("s.json", "out.xstg")).exit_code, 0);
    CTarvikFile4 doc;
    LoadOk(doc, dir.Path("out.xstg"));
    ASSERT_EQ(doc.m_channels[0].table.size(), 1u);
    EXPECT_EQ(doc.m_channels[0].table[0].time, 5.0);
}

TEST(Generate, PassportFieldsAreStored) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 1, "sample_rate": 10,
      "passport": {"sample": "Проба <1> & 2", "method": "M", "series": "S", "duration": 12.5,
                   "graduation": true, "date": 42, "defect": true, "mixture": "X",
                   "isDeleted": false,
                   "columns": [{"name": "HP-5", "length": 30.0, "channelsId": [0, 2]}],
                   "entries": [{"name": "operator", "title": "Оператор", "value": "Иванов"}]},
      "channels": [{}]})");
    ASSERT_EQ(dir.Run(GenerateArgs("s.json", "out.xstg")).exit_code, 0);
    CTarvikFile4 doc;
    LoadOk(doc, dir.Path("out.xstg"));
    const Passport& p = doc.m_passport;
    EXPECT_EQ(p.sample, "Проба <1> & 2");
    EXPECT_EQ(p.method, "M");
    EXPECT_EQ(p.series, "S");
    EXPECT_EQ(p.duration, 12.5);
    EXPECT_TRUE(p.graduation);
    EXPECT_EQ(p.date, 42);
    EXPECT_TRUE(p.defect);
    EXPECT_EQ(p.mixture, "X");
    ASSERT_EQ(p.columns.size(), 1u);
    EXPECT_EQ(p.columns[0].name, "HP-5");
    EXPECT_EQ(p.columns[0].length, 30.0);
    EXPECT_EQ(p.columns[0].channelsId, (std::vector<std::int32_t>{0, 2}));
    // The scenario's entry, then the settings entry every document carries.
    ASSERT_EQ(p.entries.size(), 2u);
    EXPECT_EQ(p.entries[1].name, "quelmarScenario");
    EXPECT_EQ(p.entries[0].name, "operator");
    EXPECT_EQ(p.entries[0].title, "Оператор");
    EXPECT_EQ(p.entries[0].value, "Иванов");
}

}  // namespace

namespace {

// Peaks stored otherwise than asked: one warning line each, exit 0; with --strict the same lines
// as errors, exit 1 and no document.
TEST(Generate, PeaksStoredOtherwiseThanAskedAreReportedAndStrictRefusesThem) {
    ToolFolder dir;
    // "C" sits on the flank of "D": its area is negative while it is narrow and jumps past 1 where
    // its front leaves the flank.
    dir.Write("s.json", R"({"analysis_time": 10, "sample_rate": 100, "channels": [{"peaks": [
        {"name": "D", "time": 5, "height": 10, "width": 0.3},
        {"name": "C", "time": 5.3, "height": 2, "area": 1}]}, {"peaks": [
        {"name": "kept", "time": 5.0, "height": 1.0},
        {"name": "late", "time": 12.0, "height": 1.0},
        {"name": "early", "time": -1.0, "height": 1.0},
        {"name": "edge", "time": 9.95, "height": 1.0},
        {"name": "greedy", "time": 3.0, "height": 1.0, "area": 1000.0},
        {"name": "zero", "time": 7.0, "height": 1.0, "area": 0},
        {"name": "below", "time": 6.0, "height": -2.0, "area": 0.3}]}]})");
    const std::vector<std::string> expected = {
        R"(channels[0].peaks[1] "C": area 1 mV*min requested, )",
        R"(channels[1].peaks[1] "late": left out of the stored table: its retention time 12 min )"
        "lies outside the analysis (0 to 9.99 min)",
        R"(channels[1].peaks[2] "early": left out of the stored table: its retention time -1 )"
        "min lies outside the analysis (0 to 9.99 min)",
        R"(channels[1].peaks[3] "edge": left out of the stored table: its bounds )",
        // Synthesised with the closed form of its area, 1000 / sqrt(pi) minutes wide.
        R"(channels[1].peaks[4] "greedy": left out of the stored table: its bounds 0 to 9.99 )",
        R"(channels[1].peaks[4] "greedy": area 1000 mV*min requested: more than any width )"
        "within the analysis gives this peak (the largest is about ",
        R"(channels[1].peaks[5] "zero": area 0 mV*min requested: an area must be greater than )"
        "0; it keeps width 0.1 min",
    };
    for (const bool strict : {true, false}) {
        SCOPED_TRACE(strict);
        const ToolResult run = dir.Run(GenerateArgs(
            "s.json", "out.xstg",
            strict ? std::vector<std::string>{"--strict"} : std::vector<std::string>{}));
        std::vector<std::string> lines;
        std::istringstream err(run.err);
        for (std::string line; std::getline(err, line);) lines.push_back(line);
        ASSERT_EQ(lines.size(), expected.size()) << run.err;
        const std::string prefix = strict ? "xstgtool: s.json: " : "xstgtool: s.json: warning: ";
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].rfind(prefix + expected[i], 0), 0u) << lines[i];
        EXPECT_NE(lines[0].find("this is the nearest it comes"), std::string::npos);
        EXPECT_NE(lines[3].find("reach the end of the analysis (9.99 min)"), std::string::npos);
        EXPECT_NE(lines[5].find(" mV*min); it keeps width 564.18958354775"), std::string::npos);
        EXPECT_EQ(run.exit_code, strict ? 1 : 0);
        EXPECT_EQ(dir.Exists("out.xstg"), !strict);
    }
    CTarvikFile4 doc;
    LoadOk(doc, dir.Path("out.xstg"));
    ASSERT_EQ(doc.m_channels[1].table.size(), 3u);
    EXPECT_EQ(doc.m_channels[1].table[0].name, "kept");
    // A peak below zero has a negative area; the magnitude is what was asked.
    EXPECT_EQ(doc.m_channels[1].table[2].name, "below");
    EXPECT_NEAR(doc.m_channels[1].table[2].area, -0.3, 1e-6 * 0.3);
}

// The shape of a peak sampled too coarsely cannot be measured: below three samples per sigma
// (width / sqrt(2)) its cells in the manifest are empty, from three on the factor is measured,
// within 0.05 of the request. Peaks of tailing factor 4, 0.01 min between samples.
TEST(Generate, ShapeIsNotMeasuredBelowThreeSamplesPerSigma) {
    ToolFolder dir;
    const double samples_per_sigma[] = {1e-10, 1.0, 2.99, 3.0};
    std::string channels;
    for (double n : samples_per_sigma) {
        std::ostringstream peak;
        peak.precision(17);
        peak << R"({"peaks": [{"time": 1, "height": 10, "tailing": 4, "width": )"
             << n * 0.01 * std::sqrt(2.0) << "}]}";
        channels += (channels.empty() ? "" : ",") + peak.str();
    }
    dir.Write("s.json",
              R"({"analysis_time": 20, "sample_rate": 100, "channels": [)" + channels + "]}");
    ASSERT_EQ(dir.Run(GenerateArgs("s.json", "d.xstg", {"--manifest", "m.csv"})).exit_code, 0);
    std::istringstream manifest(dir.Read("m.csv"));
    auto cells_of = [&manifest] {
        std::string line;
        std::getline(manifest, line);
        std::vector<std::string> cells;
        std::istringstream row(line + ",");
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
        return cells;
    };
    const std::vector<std::string> header = cells_of();
    const auto column = [&header](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) -
                                        header.begin());
    };
    const std::size_t tailing = column("measured_tailing");
    const std::size_t asymmetry = column("measured_asymmetry");
    for (double n : samples_per_sigma) {
        SCOPED_TRACE(n);
        std::vector<std::string> cells = cells_of();
        ASSERT_EQ(cells.size(), header.size());
        if (n < 3.0) {
            EXPECT_EQ(cells[tailing] + cells[asymmetry], "");
        } else {
            ASSERT_NE(cells[tailing], "");
            EXPECT_NEAR(std::stod(cells[tailing]), 4.0, 0.05);
            EXPECT_NE(cells[asymmetry], "");
        }
    }
}

}  // namespace

namespace {

// A scenario without the channel components gives the bytes the build before them gave (the
// digest of its document): white noise, drift, Gaussian, tailing and fronting peaks and a width
// fit on two channels.
TEST(Generate, WithoutComponentsTheDocumentIsTheFormerBytes) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 6, "sample_rate": 300, "seed": 11,
 "assay_id": "0123abcd-0000-4000-8000-00000000beef", "analysis_date": 1700000000,
 "channels": [
  {"noise": 0.2, "drift": 0.1, "peaks": [
    {"name": "G", "time": 1, "height": 20, "width": 0.08},
    {"name": "T", "time": 2, "height": 8, "width": 0.05, "tailing": 2.5},
    {"name": "F", "time": 3.5, "height": 5, "width": 0.06, "tailing": 0.7},
    {"name": "A", "time": 4.5, "height": 3, "area": 0.4, "tailing": 1.4}]},
  {"noise": 0.05, "drift": -0.3, "peaks": [{"time": 2.5, "height": 1, "width": 0.2}]}]})");
    ASSERT_EQ(dir.Run({"generate", "s.json", "-o", "out.xstg"}).exit_code, 0);
    // The document now carries its settings too, so its channels (samples and peak tables, as
    // dump gives them) are what is compared.
    const ToolResult dump = dir.Run({"dump", "out.xstg", "--samples"});
    ASSERT_EQ(dump.exit_code, 0) << dump.err;
    EXPECT_EQ(Fnv1a(nlohmann::json::parse(dump.out)["channels"].dump()), 0x3b93a7a304547d50u);
}

// --components writes one file per channel, named as export --csv names them: every sample's time,
// peaks, baseline and noise, and the stored sample as total. Without noise, peaks and baseline are
// their closed forms; the manifest's true baseline at a peak's bounds is the file's baseline there.
TEST(Generate, ComponentsFileHoldsEverySamplesPartsAndTheManifestTheTrueBaseline) {
    ToolFolder dir;
    dir.Write("s.json", R"({"analysis_time": 5, "sample_rate": 100, "channels": [
      {"drift": 0.2, "steps": [{"time": 2, "height": 1, "width": 0.5}],
       "settle": {"height": 0.5, "time_constant": 1},
       "peaks": [{"time": 3, "height": 5, "width": 0.1}]},
      {"noise": 0.05, "pink": 0.02, "wander": {"sigma": 0.01},
       "spikes": {"rate": 1, "height": {"min": 1, "max": 2}},
       "peaks": [{"time": 1.5, "height": 2}]}]})");
    const ToolResult run = dir.Run(GenerateArgs(
        "s.json", "out.xstg", {"--components", "parts.csv", "--manifest", "truth.csv"}));
    ASSERT_EQ(run.exit_code, 0) << run.err;
    EXPECT_FALSE(dir.Exists("parts.csv"));
    CTarvikFile4 doc;
    LoadOk(doc, dir.Path("out.xstg"));

    auto baseline = [](double t) {
        return 0.2 * t + 1.0 / (1.0 + std::exp(-(t - 2.0) * 2.0 * std::log(9.0) / 0.5)) +
               0.5 * std::exp(-t);
    };
    std::vector<std::vector<std::string>> rows;
    for (int c = 0; c < 2; ++c) {
        const std::vector<std::string> lines =
            Lines(dir.Read("parts-channel-" + std::to_string(c) + ".csv"));
        ASSERT_EQ(lines.size(), 501u);
        EXPECT_EQ(lines[0], "time_min,peaks_mV,baseline_mV,noise_mV,total_mV");
        double noise = 0.0;
        for (std::size_t i = 0; i < 500; ++i) {
            const std::vector<std::string> cells = Cells(lines[i + 1]);
            ASSERT_EQ(cells.size(), 5u);
            const double t = static_cast<double>(i) * 0.01;
            ASSERT_EQ(Number(cells[0]), t);
            ASSERT_EQ(Number<float>(cells[4]), doc.m_channels[c].signal.samples[i]) << i;
            noise = std::max(noise, std::fabs(Number(cells[3])));
            if (c == 1) continue;
            ASSERT_NEAR(Number(cells[2]), baseline(t), 1e-13) << i;
            ASSERT_NEAR(Number(cells[1]), 5.0 * std::exp(-std::pow((t - 3.0) / 0.1, 2.0)),
                        5.0 * 6e-8);
            ASSERT_EQ(cells[3], "0");
            rows.push_back(cells);
        }
        EXPECT_GT(noise, c == 1 ? 0.9 : -1.0);  // a spike of 1 mV at least
    }

    const std::vector<std::string> truth = Lines(dir.Read("truth.csv"));
    ASSERT_EQ(truth.size(), 3u);
    const std::vector<std::string> header = Cells(truth[0]);
    const std::vector<std::string> peak = Cells(truth[1]);
    auto cell = [&](const char* name) {
        return peak[std::find(header.begin(), header.end(), name) - header.begin()];
    };
    for (const auto& [bound, column] :
         {std::pair{"front", "front_true_baseline"}, std::pair{"back", "back_true_baseline"}}) {
        const auto sample = static_cast<std::size_t>(std::lround(Number(cell(bound)) / 0.01));
        EXPECT_EQ(cell(column), rows[sample][2]) << column;
        EXPECT_NEAR(Number(cell(column)), baseline(Number(cell(bound))), 1e-13);
    }
}

}  // namespace
