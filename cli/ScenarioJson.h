#pragma once

#include <string>

#include "Scenario.h"

// The scenario as compact JSON in the scenario file's own keys, which ParseScenario reads back
// to the same values: numbers in their shortest form that reads back to the same double, keys
// left out where the file would leave them (a Gaussian's tailing, automatic bounds, white noise
// and drift of 0).
std::string ScenarioText(const Scenario& scenario);
