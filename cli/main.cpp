// xstgtool: generates chromatogram documents from scenario files, and dumps and exports them.
#include <CLI/CLI.hpp>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "CsvExport.h"
#include "DocumentJson.h"
#include "Generator.h"
#include "ProgressBar.h"
#include "ResultText.h"
#include "Scenario.h"

namespace {

// A failure to report as one line, "xstgtool: <subject>: <what>", with exit status 1.
struct ToolError {
    std::string subject;
    std::string what;
};

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolError{path, "cannot open the file"};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw ToolError{path, "cannot read the file"};
    return text.str();
}

void Load(CTarvikFile4& document, const std::string& path) {
    const int code = document.LoadFromFile(path);
    if (code != 0)
        throw ToolError{path, "cannot load: result code " + std::to_string(code) + ": " +
                                  DescribeLoadResult(code)};
}

// 8-4-4-4-12 hexadecimal digits, returned in lower case as the document keeps them.
std::string CheckUuid(const std::string& text) {
    static constexpr std::size_t kHyphens[] = {8, 13, 18, 23};
    bool ok = text.size() == 36;
    std::string lower = text;
    for (std::size_t i = 0; ok && i < text.size(); ++i) {
        const bool hyphen_place =
            i == kHyphens[0] || i == kHyphens[1] || i == kHyphens[2] || i == kHyphens[3];
        const unsigned char c = static_cast<unsigned char>(text[i]);
        ok = hyphen_place ? c == '-' : std::isxdigit(c) != 0;
        lower[i] = static_cast<char>(std::tolower(c));
    }
    if (!ok)
        throw ToolError{"--assay-id", "\"" + text + "\" is not a UUID (8-4-4-4-12 hex digits)"};
    return lower;
}

struct GenerateArgs {
    std::string scenario;
    std::string output;
    std::uint32_t seed = 42;
    std::string assay_id;
    std::optional<std::int64_t> date;
};

void Generate(const GenerateArgs& args) {
    GenerateOptions options;
    options.seed = args.seed;
    if (!args.assay_id.empty()) options.assay_id = CheckUuid(args.assay_id);
    options.date = args.date.value_or(static_cast<std::int64_t>(std::time(nullptr)));

    Scenario scenario;
    try {
        scenario = ParseScenario(ReadWholeFile(args.scenario));
    } catch (const ScenarioError& error) {
        throw ToolError{args.scenario, error.what()};
    }

    CTarvikFile4 document;
    {
        ProgressBar bar(stderr);
        GenerateDocument(scenario, options, document,
                         [&bar](std::size_t done, std::size_t total) { bar.Update(done, total); });
    }
    const int code = document.SaveToFile(args.output);
    if (code != 0)
        throw ToolError{args.output, "cannot save: result code " + std::to_string(code) + ": " +
                                         DescribeSaveResult(code)};
}

void Dump(const std::string& path, bool with_samples) {
    CTarvikFile4 document;
    Load(document, path);
    std::cout << DocumentToJson(document, with_samples).dump(2) << '\n';
    std::cout.flush();
    if (!std::cout) throw ToolError{"standard output", "cannot write"};
}

void Export(const std::string& path, const std::string& csv) {
    CTarvikFile4 document;
    Load(document, path);
    CsvExportResult result;
    try {
        result = ExportCsv(document, csv);
    } catch (const CsvExportError& error) {
        throw ToolError{csv, error.what()};
    }
    if (result.split) {
        std::cerr << "xstgtool: the channels have different time axes; wrote one file per channel:";
        for (const std::string& file : result.files) std::cerr << ' ' << file;
        std::cerr << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Generates synthetic chromatogram documents (.xstg) from scenario files, and "
        "dumps and exports them."};
    app.name("xstgtool");
    app.require_subcommand(1);

    GenerateArgs gen;
    CLI::App* generate = app.add_subcommand(
        "generate", "Synthesise the chromatogram a scenario file describes and save it");
    generate->add_option("SCENARIO", gen.scenario, "Scenario file (JSON)")->required();
    generate->add_option("-o,--output", gen.output, "Document to write (.xstg)")->required();
    generate->add_option("--seed", gen.seed, "Seed of the noise generator")
        ->default_val(42)
        ->check(CLI::Range(0u, 4294967295u));
    generate->add_option("--assay-id", gen.assay_id,
                         "Assay identifier (UUID) instead of a new one");
    generate->add_option("--date", gen.date,
                         "Analysis date, seconds since 1970-01-01 00:00 UTC, instead of now");

    std::string dump_file;
    bool with_samples = false;
    CLI::App* dump = app.add_subcommand("dump", "Print a document as JSON on standard output");
    dump->add_option("FILE", dump_file, "Document (.xstg)")->required();
    dump->add_flag("--samples", with_samples, "Include every channel's samples");

    std::string export_file;
    std::string csv_file;
    CLI::App* exporter = app.add_subcommand("export", "Write a document's signals as CSV");
    exporter->add_option("FILE", export_file, "Document (.xstg)")->required();
    exporter->add_option("--csv", csv_file, "CSV file to write")->required();

    CLI11_PARSE(app, argc, argv);

    try {
        if (generate->parsed()) Generate(gen);
        if (dump->parsed()) Dump(dump_file, with_samples);
        if (exporter->parsed()) Export(export_file, csv_file);
    } catch (const ToolError& error) {
        std::cerr << "xstgtool: " << error.subject << ": " << error.what << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "xstgtool: out of memory\n";
        return 1;
    }
    return 0;
}
