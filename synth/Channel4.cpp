#include "Channel4.h"

Channel4::Channel4(std::int32_t number_) : number(number_), signal(1.0, 0.0, nullptr, 0) {}

Channel4::Channel4(std::int32_t number_, double step, double start, const float* data,
                   std::size_t count)
    : number(number_), signal(step, start, data, count) {}
