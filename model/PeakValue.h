#pragma once

// Which value of a peak an edit sets: a table column, a scenario key.
enum class PeakValue { Time, Front, Back, Height, Width, Area };
