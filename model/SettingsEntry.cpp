#include "SettingsEntry.h"

#include <algorithm>

void PutSettingsEntry(Passport& passport, std::string scenario_json) {
    std::erase_if(passport.entries,
                  [](const PassportEntry& e) { return e.name == kSettingsEntryName; });
    passport.entries.push_back({kSettingsEntryName, kSettingsEntryTitle, std::move(scenario_json)});
}

const std::string* FindSettingsEntry(const Passport& passport) {
    const auto found =
        std::find_if(passport.entries.begin(), passport.entries.end(),
                     [](const PassportEntry& e) { return e.name == kSettingsEntryName; });
    return found == passport.entries.end() ? nullptr : &found->value;
}
