// xstgtool: generates chromatogram documents from scenario files, and dumps and exports them.
#include <CLI/CLI.hpp>

#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "AiaExport.h"
#include "AiaJson.h"
#include "CsvExport.h"
#include "DocumentJson.h"
#include "EchoText.h"
#include "Generator.h"
#include "ProgressBar.h"
#include "Scenario.h"
#include "aia/AiaError.h"
#include "file/ResultText.h"
#include "file/SaveTarget.h"
#include "res/Version.h"

namespace {

// A failure to report as one line, "xstgtool: <subject>: <what>", with exit status 1.
struct ToolError {
    std::string subject;
    std::string what;
};

// Failures already reported, line by line; only the exit status is left to set.
struct Reported {};

ToolError FileError(const CTarvikFile4& document, const std::string& path) {
    const FileFailure& failure = document.LastFailure();
    return {failure.path.empty() ? path : failure.path, DescribeFailure(failure)};
}

void Load(CTarvikFile4& document, const std::string& path) {
    if (document.LoadFromFile(path) != 0) throw FileError(document, path);
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
    if (!ok) throw ToolError{"--assay-id", Echo(text) + " is not a UUID (8-4-4-4-12 hex digits)"};
    return lower;
}

// Whole seconds, exactly: a value beyond 64 bits is refused rather than clamped.
std::int64_t CheckDate(const std::string& text) {
    std::int64_t seconds = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (error == std::errc::result_out_of_range)
        throw ToolError{"--date", Echo(text) + " lies outside the 64-bit range of seconds"};
    if (error != std::errc{} || stop != end)
        throw ToolError{"--date", Echo(text) + " is not a whole number of seconds"};
    return seconds;
}

struct GenerateArgs {
    std::string scenario;
    std::string output;
    std::uint32_t seed = 42;
    std::string assay_id;
    std::optional<std::string> date;
    bool strict = false;
};

Scenario ReadScenario(const std::string& path) {
    try {
        return ParseScenario(ReadScenarioFile(path));
    } catch (const ScenarioError& error) {
        throw ToolError{path, error.what()};
    }
}

void Generate(const GenerateArgs& args) {
    GenerateOptions options;
    options.seed = args.seed;
    if (!args.assay_id.empty()) options.assay_id = CheckUuid(args.assay_id);
    options.date =
        args.date ? CheckDate(*args.date) : static_cast<std::int64_t>(std::time(nullptr));

    // The output is checked before any work, so that a refused name costs nothing.
    CTarvikFile4 document;
    if (document.CheckSavePath(args.output) != 0) throw FileError(document, args.output);
    const Scenario scenario = ReadScenario(args.scenario);

    std::vector<std::string> warnings;
    try {
        ProgressBar bar(stderr);
        warnings = GenerateDocument(
            scenario, options, document,
            [&bar](std::size_t done, std::size_t total) { bar.Update(done, total); });
    } catch (const ScenarioError& error) {
        throw ToolError{args.scenario, error.what()};
    }
    const char* kind = args.strict ? "" : "warning: ";
    for (const std::string& warning : warnings)
        std::cerr << "xstgtool: " << Printable(args.scenario) << ": " << kind << warning << '\n';
    if (args.strict && !warnings.empty()) throw Reported{};

    if (document.SaveToFile(args.output) != 0) throw FileError(document, args.output);
}

void DumpAia(const std::string& path, bool with_samples) {
    AiaTrace trace;
    try {
        trace = ReadAiaFile(path);
    } catch (const AiaError& error) {
        throw ToolError{path, error.what()};
    }
    WriteAiaJson(trace, std::cout, with_samples);
}

void Dump(const std::string& path, bool with_samples) {
    if (LooksLikeNetcdf(path)) {
        DumpAia(path, with_samples);
    } else {
        CTarvikFile4 document;
        Load(document, path);
        WriteDocumentJson(document, std::cout, with_samples);
    }
    std::cout.flush();
    if (!std::cout) throw ToolError{"standard output", "cannot write"};
}

void CheckOutput(const std::string& file) {
    const SaveTarget target = ResolveSaveTarget(file);
    if (!target.refusal.empty())
        throw ToolError{file, "cannot write: it is " + target.refusal + ", not a regular file"};
    if (target.error != 0) throw ToolError{file, "cannot write: " + SystemErrorText(target.error)};
}

void ExportCsvFiles(const CTarvikFile4& document, const std::string& path, const std::string& csv) {
    CsvExportPlan plan;
    try {
        plan = PlanCsvExport(document, csv);
    } catch (const CsvSourceError& error) {
        throw ToolError{path, error.what()};
    }
    for (const std::string& file : plan.files) CheckOutput(file);
    try {
        ExportCsv(document, plan);
    } catch (const CsvExportError& error) {
        throw ToolError{csv, error.what()};
    }
    if (plan.split) {
        std::cerr << "xstgtool: the channels have different time axes; wrote one file per channel:";
        for (const std::string& file : plan.files) std::cerr << ' ' << Printable(file);
        std::cerr << '\n';
    }
}

void ExportAiaFiles(const CTarvikFile4& document, const std::string& path, const std::string& aia) {
    const std::vector<std::string> files = PlanAiaExport(document, aia);
    for (const std::string& file : files) CheckOutput(file);
    try {
        ExportAia(document, files, std::filesystem::path(path).filename().string());
    } catch (const AiaError& error) {
        throw ToolError{path, error.what()};
    } catch (const AiaWriteError& error) {
        throw ToolError{error.File(), error.what()};
    }
    if (files.size() > 1) {
        std::cerr << "xstgtool: an AIA file holds one channel; wrote one file per channel:";
        for (const std::string& file : files) std::cerr << ' ' << Printable(file);
        std::cerr << '\n';
    }
}

struct ExportArgs {
    std::string document;
    std::optional<std::string> csv;
    std::optional<std::string> aia;
};

void Export(const ExportArgs& args) {
    // An export that would write nothing is a mistake, not a success.
    if (!args.csv && !args.aia) throw ToolError{"export", "give --csv FILE, --aia FILE or both"};
    for (const auto& [option, file] : {std::pair{"--csv", args.csv}, std::pair{"--aia", args.aia}})
        if (file && file->empty()) throw ToolError{option, "the file name is empty"};
    CTarvikFile4 document;
    Load(document, args.document);
    if (args.csv) ExportCsvFiles(document, args.document, *args.csv);
    if (args.aia) ExportAiaFiles(document, args.document, *args.aia);
}

int Run(int argc, char** argv) {
    CLI::App app{
        "Generates synthetic chromatogram documents (.xstg) from scenario files, and "
        "dumps and exports them."};
    app.name("xstgtool");
    // The same four numbers as the desktop program's caption.
    app.set_version_flag("--version", std::string("xstgtool ") + QuelmarVersion::kText,
                         "Print the program's version and exit");
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
    generate->add_flag("--strict", gen.strict,
                       "Refuse, instead of warning about, peaks stored other than requested");

    std::string dump_file;
    bool with_samples = false;
    CLI::App* dump = app.add_subcommand("dump", "Print a document as JSON on standard output");
    dump->add_option("FILE", dump_file, "Document (.xstg) or AIA file (.cdf)")->required();
    dump->add_flag("--samples", with_samples, "Include every channel's samples");

    ExportArgs exported;
    CLI::App* exporter = app.add_subcommand(
        "export", "Write a document's signals as CSV, or its channels as AIA (netCDF) files");
    exporter->add_option("FILE", exported.document, "Document (.xstg)")->required();
    exporter->add_option("--csv", exported.csv, "CSV file to write");
    exporter->add_option("--aia", exported.aia,
                         "AIA file to write (.cdf); one per channel for several channels");

    CLI11_PARSE(app, argc, argv);

    if (generate->parsed()) Generate(gen);
    if (dump->parsed()) Dump(dump_file, with_samples);
    if (exporter->parsed()) Export(exported);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The dump writes large amounts through std::cout; the progress bar and the messages go to
    // standard error unbuffered either way.
    std::ios::sync_with_stdio(false);
    // Nothing escapes as an uncaught exception: every failure ends as one line.
    try {
        return Run(argc, argv);
    } catch (const ToolError& error) {
        std::cerr << "xstgtool: " << Printable(error.subject) << ": " << Printable(error.what)
                  << '\n';
    } catch (const Reported&) {
    } catch (const std::bad_alloc&) {
        std::cerr << "xstgtool: out of memory\n";
    } catch (const std::exception& error) {
        std::cerr << "xstgtool: internal error: " << Echo(error.what()) << '\n';
    } catch (...) {
        std::cerr << "xstgtool: internal error\n";
    }
    return 1;
}
