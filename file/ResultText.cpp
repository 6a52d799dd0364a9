#include "ResultText.h"

#include "ResultCodes.h"
#include "SaveTarget.h"

namespace {

std::string DescribeSpectraRead(int code) {
    using namespace spectra_read_result;
    switch (code) {
        case kOk:
            return "loaded";
        case kOpenFailed:
            return "the spectra file cannot be opened";
        case kShortHeader:
            return "the spectra file's header is cut short";
        case kBadMagic:
            return "not a spectra file (wrong magic)";
        case kUnknownVersion:
            return "unknown format version of the spectra file";
        case kBadPointCount:
            return "the spectra file gives 0 or more than 801 points per record";
        case kShortRecordHeader:
            return "a spectrum record header is cut short";
        case kShortValues:
            return "the values of a spectrum record are cut short";
        case kTooLarge:
            return "the spectra file is larger than a spectra file may be";
        default:
            return "unknown result";
    }
}

const char* Verb(const FileFailure& failure) {
    if (failure.operation == FileOperation::Save)
        return failure.spectra ? "cannot save the spectra file" : "cannot save";
    return failure.spectra ? "cannot load the spectra file" : "cannot load";
}

}  // namespace

std::string DescribeLoadResult(int code, bool spectra) {
    if (spectra) return DescribeSpectraRead(code);
    using namespace load_result;
    switch (code) {
        case kOk:
            return "loaded";
        case kOpenFailed:
            return "the file cannot be opened";
        case kShortHeader:
            return "the document header is cut short";
        case kBadMagic:
            return "not a chromatogram document (wrong magic)";
        case kUnknownVersion:
            return "unknown format version of the document";
        case kShortBlockHeader:
            return "a signal block header is cut short";
        case kBadSamples:
            return "a signal block claims more samples than the file holds";
        case kXmlNotParsed:
            return "the XML text does not parse";
        case kTooLarge:
            return "the file is larger than any document the program writes";
        default:
            return "unknown result";
    }
}

std::string DescribeBufferResult(int code) {
    using namespace buffer_result;
    switch (code) {
        case kOk:
            return "loaded";
        case kBadMagic:
            return "not a chromatogram document (wrong magic)";
        case kUnknownVersion:
            return "unknown format version of the document";
        case kXmlNotParsed:
            return "the XML text does not parse";
        case kShortHeader:
            return "the document header is cut short";
        case kShortBlockHeader:
            return "a signal block header runs past the end";
        case kSamplesPastEnd:
            return "a signal block's samples run past the end";
        case kTooLarge:
            return "larger than any document the program writes";
        default:
            return "unknown result";
    }
}

std::string DescribeSaveResult(int code, bool spectra) {
    using namespace save_result;
    const std::string file = spectra ? "the spectra file" : "the document";
    switch (code) {
        case kOk:
            return "saved";
        case kOpenFailed:
            return file + " cannot be created or put in place";
        case kHeaderNotWritten:
            return "the header of " + file + " cannot be written";
        case kBadSpectrumLength:
            return "the spectrum records have no points, more than 801, or differing numbers of "
                   "points";
        case kBlockHeaderNotWritten:
            return spectra ? "a spectrum record header cannot be written"
                           : "a signal block header cannot be written";
        case kDataNotWritten:
            return spectra ? "the spectrum values cannot be written"
                           : "the samples cannot be written";
        case kXmlNotWritten:
            return "the XML text cannot be written completely, or holds text XML cannot hold";
        case kNotRegularFile:
            return "the path names something other than a regular file";
        case kSpectraPathIsDocument:
            return "the document's spectra file would be the document itself; choose a name "
                   "whose extension is not .xspc";
        case kTooLarge:
            return "the document is larger than a document may be";
        case kNonFiniteValue:
            return "the document holds a value that is infinite or not a number";
        default:
            return "unknown result";
    }
}

std::string DescribeFailure(const FileFailure& failure) {
    if (failure.code == 0) return {};
    std::string text =
        std::string(Verb(failure)) + ": result code " + std::to_string(failure.code) + ": ";
    switch (failure.operation) {
        case FileOperation::Save:
            text += DescribeSaveResult(failure.code, failure.spectra);
            break;
        case FileOperation::Load:
            text += DescribeLoadResult(failure.code, failure.spectra);
            break;
        case FileOperation::LoadBuffer:
            text += DescribeBufferResult(failure.code);
            break;
    }
    if (!failure.detail.empty()) text += ": " + failure.detail;
    if (failure.offset >= 0) text += ", at byte " + std::to_string(failure.offset);
    if (failure.system_error != 0) text += ": " + SystemErrorText(failure.system_error);
    return text;
}
