#pragma once

#include <string>

#include "file/Passport.h"

// The passport entry in which both programs keep the settings a document was made from: its
// scenario as compact JSON. Other readers keep it as an ordinary entry; the stored samples stay
// the authority, the entry says how to make them again and how to go on editing.
inline constexpr const char* kSettingsEntryName = "quelmarScenario";
inline constexpr const char* kSettingsEntryTitle = "Параметры генератора";

// Makes `scenario_json` the passport's one settings entry, in place of any there were.
void PutSettingsEntry(Passport& passport, std::string scenario_json);

// The settings entry's value, or null when the passport has none.
const std::string* FindSettingsEntry(const Passport& passport);
