#include "RefusalText.h"

#include <cmath>

#include "res/Strings.h"
#include "synth/NumberText.h"

namespace {

// Counts of samples and channels in whole digits ("50000000", not "5e+07").
QString Limit(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    return QString::fromStdString(FormatShortest(value));
}

const char* TextOf(RefusalCode code) {
    using namespace Strings;
    switch (code) {
        case RefusalCode::None:
            return "";
        case RefusalCode::NotFinite:
            return kRefusedNotFinite;
        case RefusalCode::TimeNotPositive:
            return kRefusedTimeNotPositive;
        case RefusalCode::RateBelowOne:
            return kRefusedRateBelowOne;
        case RefusalCode::ChannelTooLong:
            return kRefusedChannelTooLong;
        case RefusalCode::DocumentTooLong:
            return kRefusedDocumentTooLong;
        case RefusalCode::TooManyChannels:
            return kRefusedTooManyChannels;
        case RefusalCode::LastChannel:
            return kRefusedLastChannel;
        case RefusalCode::NoiseNegative:
            return kRefusedNoiseNegative;
        case RefusalCode::NoiseTooLarge:
            return kRefusedNoiseTooLarge;
        case RefusalCode::DriftTooLarge:
            return kRefusedDriftTooLarge;
        case RefusalCode::HeightTooLarge:
            return kRefusedHeightTooLarge;
        case RefusalCode::WidthNotPositive:
            return kRefusedWidthNotPositive;
        case RefusalCode::TailingOutOfRange:
            return kRefusedTailingOutOfRange;
        case RefusalCode::FrontNotBeforeBack:
            return kRefusedFrontNotBeforeBack;
        case RefusalCode::BoundsExcludeTime:
            return kRefusedBoundsExcludeTime;
        case RefusalCode::BoundsOutsideRun:
            return kRefusedBoundsOutsideRun;
        case RefusalCode::AreaNotPositive:
            return kRefusedAreaNotPositive;
        case RefusalCode::AreaUnreachable:
            return kRefusedAreaUnreachable;
        case RefusalCode::AreaTooSmall:
            return kRefusedAreaTooSmall;
        case RefusalCode::AreaNeedsHeight:
            return kRefusedAreaNeedsHeight;
        case RefusalCode::SignalNotFinite:
            return kRefusedSignalNotFinite;
        case RefusalCode::NameNotStorable:
            return kRefusedNameNotStorable;
        case RefusalCode::NoSuchChannel:
            return kRefusedNoSuchChannel;
        case RefusalCode::NoSuchPeak:
            return kRefusedNoSuchPeak;
        case RefusalCode::NothingToUndo:
            return kRefusedNothingToUndo;
        case RefusalCode::NothingToRedo:
            return kRefusedNothingToRedo;
    }
    return "";
}

}  // namespace

QString RefusalText(const Refusal& refusal) {
    QString text = Strings::Tr(TextOf(refusal.code));
    if (!text.contains(QStringLiteral("%1"))) return text;
    // The one message that names a channel counts channels from 1, as the tabs do.
    if (refusal.code == RefusalCode::SignalNotFinite) return text.arg(refusal.channel + 1);
    // Areas as the table shows them.
    if (refusal.code == RefusalCode::AreaUnreachable || refusal.code == RefusalCode::AreaTooSmall)
        return text.arg(QString::fromStdString(FormatFixed(refusal.limit, 3)));
    return text.arg(Limit(refusal.limit));
}
