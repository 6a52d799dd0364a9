#pragma once

#include <string>

// A new time-based (sequential) UUID as 36 lower-case hexadecimal digits and hyphens, without
// braces; empty when none can be made. Saving stamps it into the passport's assay identifier.
std::string NewGuidString();
