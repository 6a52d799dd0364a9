#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Joins the manifests DIR/manifest.csv of the given folders, parts of one corpus, in document
// order: the same recipe and seed, every part complete, their documents following on without gap
// or overlap. Every row is checked before any is given to `out`, and again as it is copied: it
// has the manifest's fields, ends in a line feed, is no longer than a row the batch writes, and
// its document, channel and peak follow those of the row before it, the document within its
// part. `out` receives the merged text piece by piece; memory does not grow with the parts.
// Throws ManifestError naming the file and, for a row, its line.
void MergeManifests(const std::vector<std::string>& folders,
                    const std::function<void(std::string_view)>& out);

// Refuses an output of the merge that is one of the parts' own manifests (however it is spelled
// or linked), which the merge would replace while reading it. Throws ManifestError.
void CheckMergeOutput(const std::vector<std::string>& folders, const std::string& output);
