#include "SignalComponents.h"

#include "SplitMix64.h"

bool ChannelComponents::IsEmpty() const {
    return steps.empty() && !sine && !settle && wander == 0.0 && pink == 0.0 &&
           (!spikes || spikes->rate == 0.0);
}

std::uint32_t ComponentSeed(std::uint32_t seed, std::uint32_t channel, ComponentStream stream) {
    const std::uint64_t key = (std::uint64_t{seed} << 32) + std::uint64_t{channel} * 16u +
                              static_cast<std::uint32_t>(stream);
    return static_cast<std::uint32_t>(SplitMix64(key) >> 32);
}
