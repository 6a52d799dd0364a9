#pragma once

#include <string>

// What a result code of the document's load and save means, for messages. The document and its
// spectra file share one range of codes, so some texts name both possibilities.
std::string DescribeLoadResult(int code);
std::string DescribeSaveResult(int code);
