#!/usr/bin/python3
"""The long run of synth_bench written as a user would write it with NumPy.

60 minutes at 6,000 samples per minute (360,000 samples), the same 200 peaks as synth_bench
(widths 0.02 to 0.2 minutes), each summed over its support of 27.5 widths either side, NumPy's
normal noise of amplitude 0.1 and a drift of 0.5 mV/min, rounded to 32-bit floats at the end.
Prints the best and the median time of the whole computation over a number of repetitions.

    bench/peer/long_run.py [repetitions]
"""
import math
import random
import sys
import time

import numpy as np

MINUTES = 60.0
RATE = 6000.0
PEAK_COUNT = 200
NOISE = 0.1
DRIFT = 0.5
ZERO_REACH = 27.5  # widths beyond which a term is exactly zero in double precision


def mt19937_seeded(seed):
    """A generator whose getrandbits(32) gives the outputs of std::mt19937(seed)."""
    state = [seed]
    for i in range(1, 624):
        previous = state[-1]
        state.append((1812433253 * (previous ^ (previous >> 30)) + i) & 0xFFFFFFFF)
    generator = random.Random()
    generator.setstate((3, tuple(state) + (624,), None))
    return generator


def long_run_peaks():
    """(time, height, width) of each peak, drawn as synth_bench draws them."""
    words = mt19937_seeded(7)
    fraction = lambda: words.getrandbits(32) * 2.0**-32
    peaks = []
    for _ in range(PEAK_COUNT):
        centre = MINUTES * fraction()
        height = 1.0 + 99.0 * fraction()
        width = 0.02 + 0.18 * fraction()
        peaks.append((centre, height, width))
    return peaks


def synthesise(peaks, times, step, rng):
    n = times.size
    signal = np.zeros(n)
    for centre, height, width in peaks:
        first = max(0, math.floor((centre - ZERO_REACH * width) / step))
        last = min(n, math.ceil((centre + ZERO_REACH * width) / step) + 1)
        scaled = (times[first:last] - centre) / width
        signal[first:last] += np.exp(-scaled * scaled) * height
    signal += rng.standard_normal(n) * NOISE
    signal += times * DRIFT
    return signal.astype(np.float32)


def main():
    repetitions = int(sys.argv[1]) if len(sys.argv) > 1 else 50
    n = math.ceil(MINUTES * RATE)
    step = 1.0 / RATE
    times = np.arange(n) * step
    peaks = long_run_peaks()
    rng = np.random.default_rng(42)
    timings = []
    for _ in range(repetitions):
        started = time.perf_counter()
        synthesise(peaks, times, step, rng)
        timings.append(time.perf_counter() - started)
    timings.sort()
    print(f"NumPy {np.__version__} long run ({n} samples, {len(peaks)} peaks): "
          f"best {timings[0] * 1e3:.1f} ms, median {timings[len(timings) // 2] * 1e3:.1f} ms "
          f"over {repetitions} runs")


if __name__ == "__main__":
    main()
