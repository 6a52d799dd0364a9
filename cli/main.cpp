// xstgtool: generates chromatogram documents from scenario files, and dumps and exports them.
#include <CLI/CLI.hpp>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AiaExport.h"
#include "AiaJson.h"
#include "Batch.h"
#include "ComponentsCsv.h"
#include "CsvExport.h"
#include "DistinctFiles.h"
#include "DocumentJson.h"
#include "EchoText.h"
#include "Generator.h"
#include "Manifest.h"
#include "ManifestMerge.h"
#include "ModelScenario.h"
#include "ProgressBar.h"
#include "RecipeExample.h"
#include "Scenario.h"
#include "ScenarioJson.h"
#include "TextFile.h"
#include "UuidText.h"
#include "aia/AiaError.h"
#include "file/ResultText.h"
#include "file/SaveTarget.h"
#include "file/SpectraFile.h"
#include "model/SettingsEntry.h"
#include "res/Version.h"

namespace {

// A failure to report as one line, "xstgtool: <subject>: <what>", with exit status 1.
struct ToolError {
    std::string subject;
    std::string what;
};

// A command line that cannot be carried out as written (a missing, unknown or malformed option
// or argument): "xstgtool: <what>; see xstgtool <command> --help", with exit status 2.
struct UsageError {
    std::string what;
    std::string command;  // the subcommand whose help to point to; empty for the tool's own
};

// Exit statuses, as README.md lists them.
constexpr int kExitFailure = 1;        // a refusal or a failure
constexpr int kExitUsage = 2;          // a usage error
constexpr int kExitInterrupted = 130;  // a batch stopped by a signal, as a shell reports Ctrl-C

// Failures already reported, line by line; only the exit status is left to set.
struct Reported {};
// A batch stopped by a signal, reported.
struct Interrupted {};

ToolError FileError(const CTarvikFile4& document, const std::string& path) {
    const FileFailure& failure = document.LastFailure();
    return {failure.path.empty() ? path : failure.path, DescribeFailure(failure)};
}

void Load(CTarvikFile4& document, const std::string& path) {
    try {
        if (document.LoadFromFile(path) != 0) throw FileError(document, path);
    } catch (const std::bad_alloc&) {
        throw ToolError{path, "out of memory"};
    }
}

std::string CheckUuid(const std::string& text) {
    const std::optional<std::string> uuid = CanonicalUuid(text);
    if (!uuid)
        throw UsageError{"--assay-id: " + Echo(text) + " is not a UUID (8-4-4-4-12 hex digits)",
                         "generate"};
    return *uuid;
}

// Whole seconds, exactly: a value beyond 64 bits is refused rather than clamped.
std::int64_t CheckDate(const std::string& text) {
    std::int64_t seconds = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (error == std::errc::result_out_of_range)
        throw UsageError{"--date: " + Echo(text) + " lies outside the 64-bit range of seconds",
                         "generate"};
    if (error != std::errc{} || stop != end)
        throw UsageError{"--date: " + Echo(text) + " is not a whole number of seconds", "generate"};
    return seconds;
}

struct GenerateArgs {
    std::string scenario;
    std::string output;
    std::optional<std::uint32_t> seed;
    std::string assay_id;
    std::optional<std::string> date;
    std::string manifest;
    std::optional<std::string> components;
    bool strict = false;
};

Scenario ReadScenario(const std::string& path) {
    try {
        return ParseScenario(ReadScenarioFile(path));
    } catch (const ScenarioError& error) {
        throw ToolError{path, error.what()};
    }
}

void CheckOutput(const std::string& file) {
    const SaveTarget target = ResolveSaveTarget(file);
    if (!target.refusal.empty())
        throw ToolError{file, "cannot write: it is " + target.refusal + ", not a regular file"};
    if (target.error != 0) throw ToolError{file, "cannot write: " + SystemErrorText(target.error)};
}

// Before anything is written: a command never writes over one of its inputs, nor one of its
// outputs over another.
void RefuseSameFiles(const std::vector<CommandFile>& files) {
    if (const auto same = FindSameFile(files))
        throw ToolError{same->second.path, same->second.role + " names the same file as " +
                                               same->first.role + " (" +
                                               Printable(same->first.path) + ")"};
}

// The command line's seed, assay identifier and date, else the scenario's, else 42, a new UUID
// and now.
GenerateOptions ResolveOptions(const GenerateArgs& args, const Scenario& scenario,
                               const std::optional<std::string>& assay_id,
                               const std::optional<std::int64_t>& date) {
    // The command line overrides what the scenario gives itself.
    GenerateOptions options = ScenarioOptions(scenario);
    if (args.seed) options.seed = *args.seed;
    if (assay_id) options.assay_id = *assay_id;
    if (date) options.date = *date;
    return options;
}

// Writes each finished channel's parts, for generate --components.
ChannelPartsFn PartsWriter(std::optional<ComponentsCsv>& csv) {
    if (!csv) return {};
    return [&csv](std::size_t channel, const Signal4& signal, const SignalParts& parts) {
        csv->Write(channel, signal, parts);
    };
}

void CommitComponents(ComponentsCsv& csv) {
    try {
        csv.Commit();
    } catch (const ComponentsCsvError& error) {
        throw ToolError{error.File(), error.what()};
    }
}

void Generate(const GenerateArgs& args) {
    // The options and outputs are checked before any work, so that a refusal costs nothing.
    std::optional<std::string> assay_id;
    if (!args.assay_id.empty()) assay_id = CheckUuid(args.assay_id);
    std::optional<std::int64_t> date;
    if (args.date) date = CheckDate(*args.date);
    CTarvikFile4 document;
    if (document.CheckSavePath(args.output) != 0) throw FileError(document, args.output);
    // Saving also removes a stale spectra file beside the document.
    std::vector<CommandFile> files = {{args.scenario, "the scenario", false},
                                      {args.output, "-o", true},
                                      {SpectraPath(args.output), "the spectra file of -o", true}};
    if (!args.manifest.empty()) files.push_back({args.manifest, "--manifest", true});
    RefuseSameFiles(files);
    if (!args.manifest.empty()) CheckOutput(args.manifest);
    if (args.components && args.components->empty())
        throw ToolError{"--components", "the file name is empty"};
    const Scenario scenario = ReadScenario(args.scenario);
    const GenerateOptions options = ResolveOptions(args, scenario, assay_id, date);
    std::optional<ComponentsCsv> components;
    if (args.components) {
        components.emplace(*args.components, scenario.channels.size());
        for (const std::string& file : components->Files()) CheckOutput(file);
        if (const auto clash = components->FindClash(
                {args.scenario, args.output, SpectraPath(args.output), args.manifest}))
            throw ToolError{clash->file,
                            "--components names the same file as " + Printable(clash->other)};
    }

    std::vector<std::string> warnings;
    DocumentTruth truth;
    try {
        ProgressBar bar(stderr);
        warnings = GenerateDocument(
            scenario, options, document,
            [&bar](std::size_t done, std::size_t total) { bar.Update(done, total); },
            args.manifest.empty() ? nullptr : &truth, PartsWriter(components));
    } catch (const ScenarioError& error) {
        throw ToolError{args.scenario, error.what()};
    } catch (const ComponentsCsvError& error) {
        throw ToolError{error.File(), error.what()};
    }
    const char* kind = args.strict ? "" : "warning: ";
    for (const std::string& warning : warnings)
        std::cerr << "xstgtool: " << Printable(args.scenario) << ": " << kind << warning << '\n';
    if (args.strict && !warnings.empty()) throw Reported{};

    if (document.SaveToFile(args.output) != 0) throw FileError(document, args.output);
    if (components) CommitComponents(*components);
    if (args.manifest.empty()) return;
    try {
        WriteTextFile(args.manifest, ManifestHeader() + ManifestRows(1, scenario, document, truth));
    } catch (const TextFileError& error) {
        throw ToolError{args.manifest, error.what()};
    }
}

void DumpAia(const std::string& path, bool with_samples) {
    try {
        const AiaFile file(path);
        WriteAiaJson(file, std::cout, with_samples);
    } catch (const AiaError& error) {
        throw ToolError{path, error.what()};
    } catch (const std::bad_alloc&) {
        throw ToolError{path, "out of memory"};
    }
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

// The settings a document carries, as a scenario; for a document without them, the scenario its
// stored tables give, with a note on standard error of what they cannot tell.
void PrintScenario(const std::string& path) {
    int result = 0;
    FileFailure failure;
    const std::unique_ptr<CGeneratorModel> model = CGeneratorModel::Load(path, result, failure);
    if (!model)
        throw ToolError{failure.path.empty() ? path : failure.path, DescribeFailure(failure)};
    const Passport& passport = model->Document().m_passport;
    if (const std::string* settings = FindSettingsEntry(passport)) {
        std::cout << *settings << '\n';
    } else {
        Scenario scenario = ScenarioOfModel(*model);
        if (passport.assayid != kNullAssayId) scenario.assay_id = passport.assayid;
        scenario.analysis_date = passport.andate;
        std::cout << ScenarioText(scenario) << '\n';
        std::cerr << "xstgtool: " << Printable(path)
                  << ": holds no generator settings; this scenario comes from its stored peak "
                     "tables: noise, drift, components, tailing and the seed are not known (none "
                     "given), each width is the Gaussian's of the stored area and height, and the "
                     "bounds are the stored ones\n";
    }
    std::cout.flush();
    if (!std::cout) throw ToolError{"standard output", "cannot write"};
}

struct BatchArgs {
    BatchOptions options;
    std::vector<std::string> merge;
};

void MergeInto(const std::vector<std::string>& folders, const std::string& output) {
    try {
        if (output.empty()) {
            MergeManifests(folders, [](std::string_view text) { std::cout << text; });
            std::cout.flush();
            if (!std::cout) throw ToolError{"standard output", "cannot write"};
            return;
        }
        CheckMergeOutput(folders, output);
        CheckOutput(output);
        TextFileWriter merged(output);
        MergeManifests(folders, [&merged](std::string_view text) { merged.Append(text); });
        merged.Commit();
    } catch (const ManifestError& error) {
        throw ToolError{"--merge-manifests", error.what()};
    } catch (const TextFileError& error) {
        throw ToolError{output, error.what()};
    }
}

void Batch(const BatchArgs& args) {
    if (!args.merge.empty()) return MergeInto(args.merge, args.options.folder);
    if (args.options.recipe.empty()) throw UsageError{"batch: give a RECIPE file", "batch"};
    if (args.options.folder.empty())
        throw UsageError{"batch: give the corpus folder with -o", "batch"};
    try {
        CheckBatchNumbers(args.options);
    } catch (const BatchError& error) {
        throw UsageError{error.subject + ": " + error.what, "batch"};
    }
    BatchResult result;
    try {
        ProgressBar bar(stderr);
        result = RunBatch(args.options,
                          [&bar](std::size_t done, std::size_t total) { bar.Update(done, total); });
    } catch (const BatchError& error) {
        throw ToolError{error.subject, error.what};
    }
    for (const BatchError& failure : result.failures)
        std::cerr << "xstgtool: " << Printable(failure.subject) << ": " << Printable(failure.what)
                  << '\n';
    if (!result.failures.empty()) throw Reported{};
    if (!result.interrupted) return;
    std::cerr << "xstgtool: " << Printable(args.options.folder)
              << ": interrupted: " << result.finished << " of " << args.options.count
              << " documents finished; " << kManifestName << " lists them\n";
    throw Interrupted{};
}

struct ExportArgs {
    std::string document;
    std::optional<std::string> csv;
    std::optional<std::string> aia;
};

// The files of one export: each channel's for a format that writes one per channel.
void AddOutputs(std::vector<CommandFile>& files, const std::string& option,
                const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i)
        files.push_back({paths[i],
                         paths.size() == 1 ? option : option + " for channel " + std::to_string(i),
                         true});
}

void ReportChannelFiles(const std::vector<std::string>& files, const char* why) {
    std::cerr << "xstgtool: " << why << "; wrote one file per channel:";
    for (const std::string& file : files) std::cerr << ' ' << Printable(file);
    std::cerr << '\n';
}

void Export(const ExportArgs& args) {
    // An export that would write nothing is a mistake, not a success.
    if (!args.csv && !args.aia)
        throw UsageError{"export: give --csv FILE, --aia FILE or both", "export"};
    for (const auto& [option, file] : {std::pair{"--csv", args.csv}, std::pair{"--aia", args.aia}})
        if (file && file->empty())
            throw UsageError{std::string(option) + ": the file name is empty", "export"};
    CTarvikFile4 document;
    Load(document, args.document);
    std::vector<std::string> aia;
    if (args.aia) aia = PlanAiaExport(document, *args.aia);
    CsvExportPlan csv;
    try {
        if (args.csv) csv = PlanCsvExport(document, *args.csv);
    } catch (const CsvSourceError& error) {
        throw ToolError{args.document, error.what()};
    }
    std::vector<CommandFile> files = {
        {args.document, "the document", false},
        {SpectraPath(args.document), "the document's spectra file", false}};
    AddOutputs(files, "--aia", aia);
    AddOutputs(files, "--csv", csv.files);
    RefuseSameFiles(files);
    for (const CommandFile& file : files)
        if (file.written) CheckOutput(file.path);

    // Nothing is put in place before every file is written; AIA first, since it may refuse the
    // document.
    PendingFiles pending;
    try {
        if (args.aia)
            ExportAia(document, aia, std::filesystem::path(args.document).filename().string(),
                      pending);
        if (args.csv) ExportCsv(document, csv, pending);
        pending.CommitAll();
    } catch (const AiaError& error) {
        throw ToolError{args.document, error.what()};
    } catch (const FileWriteError& error) {
        throw ToolError{error.File(), error.what()};
    }
    if (csv.split) ReportChannelFiles(csv.files, "the channels have different time axes");
    if (aia.size() > 1) ReportChannelFiles(aia, "an AIA file holds one channel");
}

// The subcommand the command line named, for the help a usage error points to.
std::string ParsedSubcommand(const CLI::App& app) {
    for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
        if (command->parsed()) return command->get_name();
    return "";
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
    generate
        ->add_option("--seed", gen.seed,
                     "Seed of the noise generator, instead of the scenario's \"seed\" or 42")
        ->check(CLI::Range(0u, 4294967295u));
    generate->add_option("--assay-id", gen.assay_id,
                         "Assay identifier (UUID) instead of the scenario's \"assay_id\" or a new "
                         "one");
    generate->add_option("--date", gen.date,
                         "Analysis date, seconds since 1970-01-01 00:00 UTC, instead of the "
                         "scenario's \"analysis_date\" or now");
    generate->add_option("--manifest", gen.manifest,
                         "Also write the truth of every stored peak as CSV, as batch does");
    generate->add_option("--components", gen.components,
                         "Also write every sample's time, peaks, baseline, noise and total as CSV "
                         "(one file per channel for several, named as export --csv names them)");
    generate->add_flag("--strict", gen.strict,
                       "Refuse, instead of warning about, peaks stored other than requested");

    std::string dump_file;
    bool with_samples = false;
    CLI::App* dump = app.add_subcommand("dump", "Print a document as JSON on standard output");
    dump->add_option("FILE", dump_file, "Document (.xstg) or AIA file (.cdf)")->required();
    dump->add_flag("--samples", with_samples, "Include every channel's samples");

    std::string scenario_document;
    CLI::App* scenario = app.add_subcommand(
        "scenario", "Print the scenario a document carries (its generator settings) as JSON");
    scenario->add_option("FILE", scenario_document, "Document (.xstg)")->required();

    ExportArgs exported;
    CLI::App* exporter = app.add_subcommand(
        "export", "Write a document's signals as CSV, or its channels as AIA (netCDF) files");
    exporter->add_option("FILE", exported.document, "Document (.xstg)")->required();
    exporter->add_option("--csv", exported.csv, "CSV file to write");
    exporter->add_option("--aia", exported.aia,
                         "AIA file to write (.cdf); one per channel for several channels");

    BatchArgs bat;
    CLI::App* batch = app.add_subcommand(
        "batch", "Make a corpus of documents from a recipe, with its truth in manifest.csv");
    CLI::Option* recipe = batch->add_option("RECIPE", bat.options.recipe, "Recipe file (JSON)");
    batch->add_option("-o,--output", bat.options.folder,
                      "Folder of the corpus; with --merge-manifests the merged manifest (standard "
                      "output when absent)");
    CLI::Option* count = batch->add_option("--count", bat.options.count, "Number of documents")
                             ->default_val(100)
                             ->check(CLI::Range(std::uint64_t{1}, kMaxBatchCount));
    CLI::Option* seed = batch->add_option("--seed", bat.options.seed, "Seed of the corpus")
                            ->default_val(42)
                            ->check(CLI::Range(0u, 4294967295u));
    CLI::Option* first =
        batch->add_option("--first", bat.options.first, "Number of the first document made")
            ->default_val(1)
            ->check(CLI::Range(std::uint64_t{1}, std::uint64_t{4294967295u}));
    CLI::Option* jobs =
        batch->add_option("--jobs", bat.options.jobs, "Documents made at once (default: cores)")
            ->check(CLI::Range(1u, 1024u));
    CLI::Option* force =
        batch->add_flag("--force", bat.options.force, "Write into a folder that is not empty");
    CLI::Option* aia = batch->add_flag(
        "--aia", bat.options.aia,
        "Also write each document's channels as AIA files (NNNN.cdf, NNNN-channel-N.cdf)");
    batch
        ->add_option("--merge-manifests", bat.merge,
                     "Join the manifests of these part folders in document order instead")
        ->excludes(recipe)
        ->excludes(count)
        ->excludes(seed)
        ->excludes(first)
        ->excludes(jobs)
        ->excludes(force)
        ->excludes(aia);
    batch->footer(std::string("Example recipe:\n") + kRecipeExample);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and the version are printed by the library and end with status 0.
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(error);
        const std::string command = ParsedSubcommand(app);
        if (command.empty() && argc > 1 && argv[1][0] != '-')
            throw UsageError{
                Echo(argv[1]) + " is not a command (generate, dump, scenario, export, batch)", ""};
        throw UsageError{error.what(), command};
    }

    if (generate->parsed()) Generate(gen);
    if (dump->parsed()) Dump(dump_file, with_samples);
    if (scenario->parsed()) PrintScenario(scenario_document);
    if (exporter->parsed()) Export(exported);
    if (batch->parsed()) Batch(bat);
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
    } catch (const UsageError& error) {
        std::cerr << "xstgtool: " << Printable(error.what) << "; see xstgtool "
                  << (error.command.empty() ? "" : error.command + " ") << "--help\n";
        return kExitUsage;
    } catch (const Reported&) {
    } catch (const Interrupted&) {
        return kExitInterrupted;
    } catch (const std::bad_alloc&) {
        std::cerr << "xstgtool: out of memory\n";
    } catch (const std::exception& error) {
        std::cerr << "xstgtool: internal error: " << Echo(error.what()) << '\n';
    } catch (...) {
        std::cerr << "xstgtool: internal error\n";
    }
    return kExitFailure;
}
