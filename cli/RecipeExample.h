#pragma once

// The complete recipe that `xstgtool batch --help` and README.md show: every key, with ranges of
// each kind.
inline constexpr const char* kRecipeExample = R"({
  "analysis_time": 10,
  "sample_rate": 100,
  "channels": { "min": 1, "max": 2 },
  "peaks_per_channel": { "min": 5, "max": 10 },
  "peak_time": { "min": 0.5, "max": 9 },
  "height": { "min": 1, "max": 1000, "log": true },
  "width": { "min": 0.03, "max": 0.12 },
  "tailing": { "min": 0.9, "max": 2.5 },
  "noise": { "min": 0, "max": 0.05 },
  "drift": { "min": -0.1, "max": 0.1 },
  "min_resolution": 1.0,
  "steps": { "count": { "min": 0, "max": 2 }, "time": { "min": 1, "max": 9 },
             "height": { "min": -0.5, "max": 0.5 }, "width": { "min": 0.2, "max": 1 } },
  "sine": { "amplitude": { "min": 0, "max": 0.01 }, "period": { "min": 0.2, "max": 1 },
            "phase": { "min": 0, "max": 6.283 } },
  "settle": { "height": { "min": 0, "max": 0.2 }, "time_constant": { "min": 0.5, "max": 2 } },
  "wander": { "sigma": { "min": 0, "max": 0.01 } },
  "pink": { "min": 0, "max": 0.02 },
  "spikes": { "rate": { "min": 0, "max": 0.5 }, "height": { "min": 0.05, "max": 0.5 } },
  "analysis_date": 1765152000,
  "passport": { "method": "Corpus A", "sample": "synthetic" }
})";
