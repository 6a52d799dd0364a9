#pragma once

#include <QString>

#include "model/Refusal.h"

// The user's words for why the generator model refused a change.
QString RefusalText(const Refusal& refusal);
