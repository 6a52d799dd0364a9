#include "ResultText.h"

#include "file/ResultCodes.h"

std::string DescribeLoadResult(int code) {
    using namespace load_result;
    switch (code) {
        case kOk:
            return "loaded";
        case kOpenFailed:
            return "the file cannot be opened";
        case kShortHeader:
            return "the document header, or the spectra file's header, is cut short";
        case kBadMagic:
            return "not a chromatogram document (wrong magic), or a spectra file with wrong magic";
        case kUnknownVersion:
            return "unknown format version of the document or of its spectra file";
        case kShortBlockHeader:
            return "a signal block header is cut short, or the spectra file's point count is out "
                   "of range";
        case kBadSamples:
            return "a signal block claims more samples than the file holds, or a spectrum record "
                   "header is cut short";
        case kXmlNotParsed:
            return "the XML text does not parse, or the spectra file's values are cut short";
        default:
            return "unknown result";
    }
}

std::string DescribeSaveResult(int code) {
    using namespace save_result;
    switch (code) {
        case kOk:
            return "saved";
        case kOpenFailed:
            return "the document or its spectra file cannot be created or put in place";
        case kHeaderNotWritten:
            return "the header of the document or of its spectra file cannot be written";
        case kBadSpectrumLength:
            return "the spectrum records have no points, too many, or differing numbers of points";
        case kBlockHeaderNotWritten:
            return "a signal block header or spectrum record header cannot be written";
        case kDataNotWritten:
            return "samples or spectrum values cannot be written";
        case kXmlNotWritten:
            return "the XML text cannot be written completely";
        default:
            return "unknown result";
    }
}
