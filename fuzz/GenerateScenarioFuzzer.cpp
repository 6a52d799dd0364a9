// Any bytes as a scenario file: parsing ends in a scenario or a ScenarioError, never a crash or
// an uncaught exception. Scenarios small enough to synthesise quickly (the sample and peak limits
// below) are generated, saved, loaded back and dumped; a document the generator saved must load.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <streambuf>
#include <string>

#include "FuzzSupport.h"
#include "cli/DocumentJson.h"
#include "cli/Generator.h"
#include "cli/Scenario.h"

namespace {

constexpr std::size_t kMaxFuzzSamples = 20'000;  // over all channels
constexpr std::size_t kMaxFuzzPeaks = 64;
constexpr std::size_t kMaxFuzzAreaPeaks = 4;

bool SmallEnough(const Scenario& scenario) {
    std::size_t peaks = 0;
    std::size_t by_area = 0;
    for (const ScenarioChannel& channel : scenario.channels) {
        peaks += channel.peaks.size();
        for (const ScenarioPeak& peak : channel.peaks) by_area += peak.area ? 1 : 0;
    }
    return scenario.sample_count * scenario.channels.size() <= kMaxFuzzSamples &&
           peaks <= kMaxFuzzPeaks && by_area <= kMaxFuzzAreaPeaks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = FuzzFolder() + "/generated.xstg";
    Scenario scenario;
    try {
        scenario = ParseScenario(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const ScenarioError&) {
        return 0;
    }
    if (!SmallEnough(scenario)) return 0;
    CTarvikFile4 document;
    GenerateOptions options;
    options.assay_id = "00000000-0000-4000-8000-000000000000";
    try {
        GenerateDocument(scenario, options, document);
    } catch (const ScenarioError&) {
        return 0;
    }
    if (document.SaveToFile(path) != 0) return 0;
    CTarvikFile4 back;
    if (back.LoadFromFile(path) != 0) std::abort();
    NullStream out;
    WriteDocumentJson(back, out, true);
    return 0;
}
