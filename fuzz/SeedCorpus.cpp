// Writes the fuzzers' seed corpus: documents and spectra files saved by the document class
// itself, from an empty document to one with several channels, a full passport and spectra, and
// small scenario files that use every key, and AIA files exported from the documents.
// Usage: fuzz_seed_corpus <folder>; makes <folder>/documents, <folder>/spectra,
// <folder>/scenarios and <folder>/aia.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "aia/AiaWriter.h"
#include "file/TarvikFile4.h"

namespace {

void AddChannels(CTarvikFile4& doc, int channels, std::size_t samples) {
    for (int c = 0; c < channels; ++c) {
        doc.m_channels.emplace_back(c * 3);
        Signal4& signal = doc.m_channels.back().signal;
        signal.step = 0.01;
        signal.start = 0.5 * c;
        signal.Resize(samples);
        for (std::size_t i = 0; i < samples; ++i)
            signal.samples[i] = static_cast<float>(i % 7) - 2.5f;
        Peak4 peak;
        peak.front = 0.1;
        peak.back = 0.3;
        peak.time = 0.2;
        peak.area = 1.0 / 3.0;
        peak.height = 12.5;
        peak.name = "Этан <" + std::to_string(c) + ">";
        peak.left = -1;
        peak.right = -1;
        peak.flags = 3;
        doc.m_channels.back().table.push_back(peak);
    }
}

void FillPassport(Passport& passport) {
    passport.assayid = "5f0c7a8e-1d2b-11ef-9c3a-0242ac120002";
    passport.andate = 1717000000;
    passport.duration = 12.5;
    passport.sample = "Проба & \"газ\"";
    passport.graduation = true;
    ColumnInfo column;
    column.channel = 1;
    column.name = "HP-PLOT";
    column.diameter = 0.32;
    column.channelsId = {0, 3};
    passport.columns.push_back(column);
    passport.entries.push_back({"operator", "Operator", "X"});
}

// Small enough for the scenario fuzzer to synthesise every one of them.
constexpr const char* kScenarios[] = {
    R"({"analysis_time": 1, "sample_rate": 100, "channels": [{}]})",
    R"({"analysis_time": 2.5, "sample_rate": 200, "channels": [
      {"noise": 0.1, "drift": -0.5, "peaks": [
        {"name": "A", "time": 0.5, "height": 10, "width": 0.05},
        {"time": 1.2, "height": 4, "area": 0.3},
        {"time": 2.0, "height": 3, "width": 0.1, "front": 1.8, "back": 2.3}]},
      {"peaks": [{"time": 2.49, "height": 1}, {"time": 3, "height": 1}]}]})",
    R"({"analysis_time": 1, "sample_rate": 60,
      "passport": {"series": "S", "duration": 1.5, "sample": "Проба <1> & "2"", "method": "M",
        "graduation": true, "date": 42, "defect": false, "mixture": "gas", "isDeleted": false,
        "columns": [{"channel": 0, "name": "HP-5", "brand": "b", "type": 1, "diameter": 0.32,
          "length": 30, "carrier": "He", "phase": "p", "percent": 5, "unit": 2, "fraction0": 0.1,
          "fraction1": 0.9, "film": 0.25, "part": "x", "serial": "y", "channelsId": [0, 3]}],
        "entries": [{"name": "operator", "title": "Оператор", "value": "Ivanova"}]},
      "channels": [{"peaks": [{"time": 0.5, "height": 1}]}]})",
    R"({"analysis_time": 3, "sample_rate": 100, "seed": 7,
      "assay_id": "0123abcd-0000-4000-8000-00000000beef", "analysis_date": 1765152000,
      "channels": [{"noise": 0.01, "peaks": [{"time": 0.5, "height": 5, "tailing": 2.5},
        {"time": 1.5, "height": 2, "width": 0.05, "tailing": 0.7},
        {"time": 2.2, "height": 1, "area": 0.2, "tailing": 1.4}]}]})",
    R"({"analysis_time": 3, "sample_rate": 100, "channels": [{"noise": 0.01, "drift": 0.1,
      "steps": [{"time": 1, "height": 0.5, "width": 0.3}, {"time": 2, "height": -1, "width": 0}],
      "sine": {"amplitude": 0.02, "period": 0.4, "phase": 1}, "settle": {"height": 1,
      "time_constant": 0.5}, "wander": {"sigma": 0.05}, "pink": 0.02,
      "spikes": {"rate": 2, "height": {"min": 0.1, "max": 1}},
      "peaks": [{"time": 1.5, "height": 3}, {"time": 2.5, "height": 1, "area": 0.1}]}]})",
};

// Small enough for the recipe fuzzer to draw and check every one of them.
constexpr const char* kRecipes[] = {
    R"({"analysis_time": 10, "sample_rate": 100, "peaks_per_channel": 5,
      "peak_time": {"min": 0.5, "max": 9}, "height": {"min": 1, "max": 100, "log": true},
      "width": {"min": 0.03, "max": 0.1}, "tailing": {"min": 0.5, "max": 4},
      "noise": {"min": 0, "max": 0.1}, "drift": {"min": -1, "max": 1}, "min_resolution": 1})",
    R"({"analysis_time": {"min": 2, "max": 4}, "sample_rate": {"min": 50, "max": 100},
      "channels": {"min": 1, "max": 3}, "peaks_per_channel": {"min": 0, "max": 3},
      "peak_time": 1, "height": 2, "area": {"min": 0.1, "max": 1}, "analysis_date": -5,
      "passport": {"method": "M", "entries": [{"name": "x", "value": "y"}]}})",
    R"({"analysis_time": 5, "sample_rate": 100, "peaks_per_channel": 2, "peak_time": 2,
      "height": 1, "width": 0.1, "steps": {"count": {"min": 0, "max": 3}, "time": {"min": 0,
      "max": 5}, "height": {"min": -1, "max": 1}, "width": {"min": 0, "max": 1}},
      "sine": {"amplitude": 0.1, "period": {"min": 0.1, "max": 2}}, "settle": {"height": 1,
      "time_constant": 2}, "wander": {"sigma": 0.01}, "pink": {"min": 0, "max": 0.1},
      "spikes": {"rate": {"min": 0, "max": 5}, "height": {"min": 0.1, "max": 2}}})",
};

bool Save(CTarvikFile4& doc, const std::filesystem::path& path) {
    const int result = doc.SaveToFile(path.string());
    if (result != save_result::kOk) std::cerr << path << ": save failed with " << result << "\n";
    return result == save_result::kOk;
}

// Every channel of `doc` as an AIA file, as `xstgtool export --aia` writes it.
void SaveAia(const CTarvikFile4& doc, const std::filesystem::path& folder,
             const std::string& name) {
    for (std::size_t c = 0; c < doc.m_channels.size(); ++c) {
        const AiaBytes bytes = MakeAiaFile(doc, c, name + ".xstg");
        std::ofstream(folder / (name + "-" + std::to_string(c) + ".cdf"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seed_corpus <folder>\n";
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::filesystem::path documents = root / "documents";
    const std::filesystem::path spectra = root / "spectra";
    std::filesystem::create_directories(documents);
    std::filesystem::create_directories(spectra);
    const std::filesystem::path scenarios = root / "scenarios";
    std::filesystem::create_directories(scenarios);
    const std::filesystem::path aia = root / "aia";
    std::filesystem::create_directories(aia);
    for (std::size_t i = 0; i < std::size(kScenarios); ++i)
        std::ofstream(scenarios / ("scenario-" + std::to_string(i) + ".json")) << kScenarios[i];
    const std::filesystem::path recipes = root / "recipes";
    std::filesystem::create_directories(recipes);
    for (std::size_t i = 0; i < std::size(kRecipes); ++i)
        std::ofstream(recipes / ("recipe-" + std::to_string(i) + ".json")) << kRecipes[i];

    bool ok = true;
    {
        CTarvikFile4 doc;
        ok &= Save(doc, documents / "empty.xstg");
    }
    {
        CTarvikFile4 doc;
        AddChannels(doc, 1, 0);
        ok &= Save(doc, documents / "silent.xstg");
    }
    {
        CTarvikFile4 doc;
        AddChannels(doc, 3, 16);
        FillPassport(doc.m_passport);
        ok &= Save(doc, documents / "full.xstg");
        SaveAia(doc, aia, "full");
        doc.m_channels.resize(1);
        doc.m_channels[0].table.clear();
        SaveAia(doc, aia, "without-peaks");
    }
    {
        CTarvikFile4 doc;
        doc.m_spectra.push_back({0.5, {{250, 1.0f}}});
        ok &= Save(doc, spectra / "single.xstg");
        CTarvikFile4 three;
        for (int r = 0; r < 3; ++r) {
            SpectrumRecord record{r * 0.25, {}};
            for (std::uint16_t i = 0; i < 8; ++i) {
                record.points.push_back({static_cast<std::uint16_t>(65534 + 2 * i), 0.5f * i});
            }
            three.m_spectra.push_back(record);
        }
        ok &= Save(three, spectra / "three.xstg");
    }
    // The spectra fuzzer wants only the spectra files.
    for (const char* name : {"single.xstg", "three.xstg"}) std::filesystem::remove(spectra / name);
    return ok ? 0 : 1;
}
