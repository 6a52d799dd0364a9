#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "model/GeneratorModel.h"
#include "synth/NoiseEngine.h"

// Everything a view could read of a model, to compare states bit for bit.
struct ModelState {
    double time = 0.0;
    double rate = 0.0;
    std::vector<std::vector<float>> samples;
    std::vector<std::vector<GenPeak4>> peaks;
    std::vector<double> noise;
    std::vector<double> drift;
};

inline ModelState StateOf(const CGeneratorModel& model) {
    ModelState state{model.AnalysisTime(), model.SampleRate(), {}, {}, {}, {}};
    for (int c = 0; c < model.ChannelCount(); ++c) {
        state.samples.push_back(model.ChannelSignal(c).samples);
        state.peaks.push_back(model.Peaks(c));
        state.noise.push_back(model.Working(c).noise);
        state.drift.push_back(model.Working(c).drift);
    }
    return state;
}

// Bit for bit: samples by their bytes, peaks by every field the table, the graph or the document
// shows.
inline void ExpectSameState(const ModelState& a, const ModelState& b) {
    EXPECT_EQ(a.time, b.time);
    EXPECT_EQ(a.rate, b.rate);
    ASSERT_EQ(a.samples.size(), b.samples.size());
    for (std::size_t c = 0; c < a.samples.size(); ++c) {
        ASSERT_EQ(a.samples[c].size(), b.samples[c].size()) << "channel " << c;
        EXPECT_EQ(std::memcmp(a.samples[c].data(), b.samples[c].data(),
                              a.samples[c].size() * sizeof(float)),
                  0)
            << "channel " << c;
        ASSERT_EQ(a.peaks[c].size(), b.peaks[c].size()) << "channel " << c;
        for (std::size_t i = 0; i < a.peaks[c].size(); ++i) {
            const GenPeak4& p = a.peaks[c][i];
            const GenPeak4& q = b.peaks[c][i];
            EXPECT_EQ(p.name, q.name);
            const double pv[] = {p.time,
                                 p.height,
                                 p.width,
                                 p.front,
                                 p.back,
                                 p.area,
                                 p.front_base_height,
                                 p.back_base_height};
            const double qv[] = {q.time,
                                 q.height,
                                 q.width,
                                 q.front,
                                 q.back,
                                 q.area,
                                 q.front_base_height,
                                 q.back_base_height};
            EXPECT_EQ(std::memcmp(pv, qv, sizeof pv), 0) << "channel " << c << " peak " << i;
            EXPECT_EQ(p.auto_bounds, q.auto_bounds);
        }
    }
    EXPECT_EQ(a.noise, b.noise);
    EXPECT_EQ(a.drift, b.drift);
}

// A model as the desktop program starts: one flat channel, 10 minutes at 100 per minute.
inline void AddFirstChannel(CGeneratorModel& model) {
    ASSERT_TRUE(model.AddChannel().Applied());
}
