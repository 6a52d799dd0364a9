#include "RuleText.h"

#include <cmath>

#include <nlohmann/json.hpp>

namespace {

// Limits in the shortest text that reads back as the same double, whole numbers without ".0".
std::string Limit(double value) {
    if (value == std::trunc(value) && std::fabs(value) < 0x1p53)
        return std::to_string(static_cast<long long>(value));
    return nlohmann::json(value).dump();
}

}  // namespace

std::string RuleText(const Refusal& refusal) {
    const std::string limit = Limit(refusal.limit);
    switch (refusal.code) {
        case RefusalCode::None:
            return "is acceptable";
        case RefusalCode::NotFinite:
            return "must be a finite number";
        case RefusalCode::TimeNotPositive:
            return "must be greater than 0 minutes";
        case RefusalCode::RateBelowOne:
            return "must be at least 1 sample per minute";
        case RefusalCode::ChannelTooLong:
            return "the analysis would need more than " + limit + " samples per channel";
        case RefusalCode::DocumentTooLong:
            return "the channels would exceed the " + limit + " samples a document may hold";
        case RefusalCode::TooManyChannels:
            return "a document numbers at most " + limit + " channels";
        case RefusalCode::NoiseNegative:
            return "must not be negative";
        case RefusalCode::NoiseTooLarge:
            return "must be at most " + limit + " mV: its deviates would leave single precision";
        case RefusalCode::DriftTooLarge:
            return "must lie within +-" + limit +
                   " mV per minute: by the end of the analysis it would leave single precision";
        case RefusalCode::HeightTooLarge:
            return "must lie within +-" + limit + " mV, the range of single precision";
        case RefusalCode::WidthNotPositive:
            return "must be greater than 0";
        case RefusalCode::TailingOutOfRange:
            return "must lie between 0.5 and 4";
        case RefusalCode::AreaNotPositive:
            return "must be greater than 0";
        case RefusalCode::ComponentsRefused:
            return "holds baseline or noise components that cannot be made";
        default:
            // The remaining codes concern edits of a document (bounds, undo, channels by
            // number), which scenarios and recipes do not make.
            return "is refused by the document's rules";
    }
}
