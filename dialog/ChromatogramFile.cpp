#include "ChromatogramFile.h"

#include <QFile>
#include <QStringList>
#include <cstring>

#include "cli/Generator.h"
#include "cli/ModelScenario.h"
#include "file/ResultCodes.h"
#include "model/SettingsEntry.h"
#include "res/Strings.h"

namespace {

QString LoadFailureReason(const FileFailure& failure) {
    using namespace load_result;
    QString reason;
    if (failure.spectra) {
        reason = Strings::Tr(Strings::kLoadSpectraDamaged);
    } else {
        switch (failure.code) {
            case kOpenFailed:
                reason = Strings::Tr(Strings::kLoadOpenFailed);
                break;
            case kShortHeader:
                reason = Strings::Tr(Strings::kLoadShortHeader);
                break;
            case kBadMagic:
                reason = Strings::Tr(Strings::kLoadBadMagic);
                break;
            case kUnknownVersion:
                reason = Strings::Tr(Strings::kLoadUnknownVersion);
                break;
            case kShortBlockHeader:
                reason = Strings::Tr(Strings::kLoadShortBlockHeader);
                break;
            case kBadSamples:
                reason = Strings::Tr(Strings::kLoadBadSamples);
                break;
            case kXmlNotParsed:
                reason = Strings::Tr(Strings::kLoadXmlNotParsed);
                break;
            case kTooLarge:
                reason = Strings::Tr(Strings::kLoadTooLarge);
                break;
            default:
                reason = Strings::Tr(Strings::kLoadUnknown).arg(failure.code);
                break;
        }
    }
    if (failure.system_error != 0)
        reason += QStringLiteral("\n") +
                  Strings::Tr(Strings::kSystemReason)
                      .arg(QString::fromLocal8Bit(std::strerror(failure.system_error)));
    if (!failure.detail.empty()) {
        QString detail = QString::fromStdString(failure.detail);
        if (failure.offset >= 0) detail += QStringLiteral(", байт %1").arg(failure.offset);
        reason += QStringLiteral("\n") + Strings::Tr(Strings::kLoadDetail).arg(detail);
    }
    return reason;
}

}  // namespace

namespace {

// The working channels the document's settings entry describes, adopted on its stored samples.
// Returns what could not be taken, or nothing.
QString AdoptSettings(CGeneratorModel& model) {
    const std::string* text = FindSettingsEntry(model.Document().m_passport);
    if (text == nullptr) return Strings::Tr(Strings::kOpenedWithoutSettings);
    try {
        const Scenario scenario = ParseScenario(*text);
        if (scenario.channels.size() != static_cast<std::size_t>(model.ChannelCount()))
            throw ScenarioError("it describes " + std::to_string(scenario.channels.size()) +
                                " channels, the document holds " +
                                std::to_string(model.ChannelCount()));
        if (const Refusal refused = model.AdoptWorking(WorkingChannels(scenario)))
            throw ScenarioError("its values are outside what a document can hold");
        if (scenario.seed) model.SetSeed(*scenario.seed);
    } catch (const ScenarioError& error) {
        return Strings::Tr(Strings::kSettingsUnreadable).arg(QString::fromUtf8(error.what())) +
               QStringLiteral(" ") + Strings::Tr(Strings::kOpenedWithoutSettings);
    }
    return {};
}

OpenedChromatogram OpenDocumentFile(const QString& path) {
    OpenedChromatogram opened;
    int result = 0;
    FileFailure failure;
    opened.model = CGeneratorModel::Load(QFile::encodeName(path).toStdString(), result, failure);
    if (!opened.model) {
        opened.error = LoadFailureReason(failure);
        return opened;
    }
    opened.note = AdoptSettings(*opened.model);
    opened.is_document = true;
    return opened;
}

// A scenario opens as the command-line generator makes its document: the same samples, the same
// seed, assay identifier and date where it gives them.
OpenedChromatogram OpenScenarioFile(const QString& path) {
    OpenedChromatogram opened;
    try {
        const Scenario scenario =
            ParseScenario(ReadScenarioFile(QFile::encodeName(path).toStdString()));
        const GenerateOptions options = ScenarioOptions(scenario);
        std::vector<std::string> warnings;
        DocumentTruth truth;
        auto model = CGeneratorModel::MadeBy([&](CTarvikFile4& document) {
            warnings = GenerateDocument(scenario, options, document, {}, &truth);
        });
        // The working peaks are the scenario's with the widths the generation fitted.
        std::vector<WorkingChannel> working = WorkingChannels(scenario);
        for (std::size_t c = 0; c < truth.size(); ++c)
            for (const StoredPeakTruth& peak : truth[c])
                working[c].peaks[peak.request].width = peak.width;
        if (const Refusal refused = model->AdoptWorking(std::move(working)))
            throw ScenarioError("its values are outside what the window can edit");
        model->SetSeed(options.seed);
        QStringList notes;
        for (const std::string& warning : warnings) notes << QString::fromUtf8(warning);
        opened.note = notes.join(QStringLiteral("; "));
        opened.model = std::move(model);
    } catch (const ScenarioError& error) {
        opened.error = Strings::Tr(Strings::kScenarioUnusable).arg(QString::fromUtf8(error.what()));
    }
    return opened;
}

}  // namespace

OpenedChromatogram OpenChromatogram(const QString& path) {
    if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) return OpenScenarioFile(path);
    return OpenDocumentFile(path);
}
