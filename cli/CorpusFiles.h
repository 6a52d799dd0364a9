#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The names of the files a batch writes into its folder. Document N's files are NNNNNNN.json (its
// complete scenario), NNNNNNN.xstg and, with --aia, NNNNNNN.cdf or NNNNNNN-channel-K.cdf for
// several channels. NNNNNNN is N with at least seven digits, the width of the 1,000,000
// documents one run may make: a document has the same name whichever run or part of a corpus
// made it, and the names of documents 1 to 9,999,999 sort in document order.
inline constexpr std::size_t kDocumentStemDigits = 7;

// "0000001" for 1, "12345678" for 12345678.
std::string DocumentStem(std::uint64_t number);

// The number of the document whose file this is, for a name a batch writes (with any number of
// digits from four on, as earlier versions wrote them) or a document's save would replace (its
// spectra file, NNNNNNN.xspc), or nothing for any other name.
std::optional<std::uint64_t> CorpusFileNumber(std::string_view name);
