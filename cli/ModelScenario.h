#pragma once

#include <string>
#include <vector>

#include "Scenario.h"
#include "model/GeneratorModel.h"

// The working peaks a scenario channel asks for, before any width is fitted: a peak given by its
// area has the width its area has in closed form; manual bounds where front and back are given.
std::vector<GenPeak4> WorkingPeaks(const ScenarioChannel& channel);

// The working channels of a scenario, one per channel, for a model to adopt.
std::vector<WorkingChannel> WorkingChannels(const Scenario& scenario);

// The scenario the model's settings make: its time and rate, per channel noise and drift, per
// peak name, time, height, width, tailing and, where they are manual, the bounds. The passport
// stays in the document; the seed, assay identifier and date are left for the caller to add.
Scenario ScenarioOfModel(const CGeneratorModel& model);

// The settings entry's text for the model as it is saved: its scenario with the model's seed and
// the assay identifier and date its passport was just stamped with.
std::string SettingsText(const CGeneratorModel& model);
