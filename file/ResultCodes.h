#pragma once

// Result codes of the document operations. 0 is success; failures are small negative numbers.
// The document and its spectra file share one range of codes; CTarvikFile4::LastFailure() says
// which of the two files failed, and why (FileFailure.h).

// CTarvikFile4::SaveToFile. WriteSpectra returns the subset marked "spectra".
namespace save_result {
inline constexpr int kOk = 0;
// The document or the spectra file cannot be created, or cannot be put in place of the old one.
inline constexpr int kOpenFailed = -1;
inline constexpr int kHeaderNotWritten = -2;  // document header or spectra header
// Spectra: the first record has 0 or more than 801 points, or the records differ in length.
inline constexpr int kBadSpectrumLength = -3;
inline constexpr int kBlockHeaderNotWritten = -5;  // signal block header or spectrum record header
inline constexpr int kDataNotWritten = -6;         // samples or spectrum values
// XML text not completely written and flushed, or a passport entry named so that the text
// would not load again (then nothing is written).
// Also: a text the XML cannot hold (not UTF-8, or a character outside XML 1.0, such as NUL or
// another control character), refused before anything is written.
inline constexpr int kXmlNotWritten = -7;
// The document path or its spectra path names something other than a regular file (a folder,
// a FIFO, a device, a link to one of them); nothing is written.
inline constexpr int kNotRegularFile = -8;
// The spectra path of the document path is the document itself ("run.xspc"); nothing is written.
inline constexpr int kSpectraPathIsDocument = -9;
// More samples, XML text or spectra than a document may have (DocumentLimits.h); nothing is
// put in place.
inline constexpr int kTooLarge = -10;
// A sample or a value a stored peak holds is infinite or not a number: such a document would
// describe nothing. Nothing is written; the failure names the channel, and the peak and value.
inline constexpr int kNonFiniteValue = -11;
}  // namespace save_result

// CTarvikFile4::LoadFromFile, for the document itself. The spectra file's failures are passed
// on with the codes of spectra_read_result (except kOpenFailed, which means "no spectra").
namespace load_result {
inline constexpr int kOk = 0;
inline constexpr int kOpenFailed = -1;
inline constexpr int kShortHeader = -2;
inline constexpr int kBadMagic = -3;
inline constexpr int kUnknownVersion = -4;
inline constexpr int kShortBlockHeader = -5;
// A block claims more samples than the file holds, or 2^32 samples or more.
inline constexpr int kBadSamples = -6;
inline constexpr int kXmlNotParsed = -7;
// The file is larger than any document the program writes, or its XML text would cost more
// than the limits allow (DocumentLimits.h); refused before it is read.
inline constexpr int kTooLarge = -8;
}  // namespace load_result

// CTarvikFile4::LoadFromBuffer. Codes -4 to -6 reject buffers that end before the signal section
// they describe; they mirror the file reader's short-header and short-block codes.
namespace buffer_result {
inline constexpr int kOk = 0;
inline constexpr int kBadMagic = -1;
inline constexpr int kUnknownVersion = -2;
inline constexpr int kXmlNotParsed = -3;
inline constexpr int kShortHeader = -4;       // fewer than 16 bytes
inline constexpr int kShortBlockHeader = -5;  // a block header runs past the end
inline constexpr int kSamplesPastEnd = -6;    // a block's samples run past the end
inline constexpr int kTooLarge = -7;          // as load_result::kTooLarge
}  // namespace buffer_result

// CTarvikFile4::ReadSpectra.
namespace spectra_read_result {
inline constexpr int kOk = 0;
inline constexpr int kOpenFailed = -1;  // also: there is no spectra file
inline constexpr int kShortHeader = -2;
inline constexpr int kBadMagic = -3;
inline constexpr int kUnknownVersion = -4;
inline constexpr int kBadPointCount = -5;  // 0 or more than 801 points per record
inline constexpr int kShortRecordHeader = -6;
inline constexpr int kShortValues = -7;
inline constexpr int kTooLarge = -8;  // larger than DocumentLimits.h allows a spectra file
}  // namespace spectra_read_result
