#pragma once

#include <cstddef>

// Measures heap use through operator new and delete, which this file's source replaces for the
// whole test program: memory bounds are asserted on what was allocated, never on timing.
namespace allocation_meter {

// Starts a measurement at the bytes live now.
void Start();
// The most bytes live at any moment since Start, beyond those live at Start.
std::size_t PeakSinceStart();

}  // namespace allocation_meter
