#!/usr/bin/python3
"""The long runs of synth_bench written as a user would write them with NumPy.

60 minutes at 6,000 samples per minute (360,000 samples), the same 200 peaks as synth_bench
(widths 0.02 to 0.2 minutes), NumPy's normal noise of amplitude 0.1 and a drift of 0.5 mV/min,
rounded to 32-bit floats at the end, in three variants:

- plain: Gaussian peaks, each summed over its support of 27.5 widths either side;
- components: the same with what synth_bench's LongRunComponents adds: steps at 20 minutes
  (2 mV over 1 minute) and 41 minutes (-0.5 mV over 0.3 minute), a sine of 0.05 mV and period
  0.5 minute (phase 1), a wander of 0.2 mV per square root of a minute, pink noise of 0.1 mV
  (white noise shaped by 1/sqrt(f) in its Fourier transform) and spikes of 1 to 5 mV at 0.5 per
  minute;
- tailing: every peak an exponentially modified Gaussian of tailing factor 1.5, summed over the
  support where its exponentials are not 0.0 (39 sigmas before the Gaussian's centre to
  decay/2 + 746/decay sigmas after it), erfc being the same Chebyshev fit as the program's.

Prints, per variant, the best and the median time of the whole computation over a number of
repetitions.

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

STEPS = [(20.0, 2.0, 1.0), (41.0, -0.5, 0.3)]  # time, height, width (10 % to 90 %)
SINE = (0.05, 0.5, 1.0)  # amplitude, period, phase
WANDER = 0.2
PINK = 0.1
SPIKES = (0.5, 1.0, 5.0)  # rate per minute, least and greatest height

TAILING = 1.5
ERFC_FIT = [-1.26551223, 1.00002368, 0.37409196, 0.09678418, -0.18628806, 0.27886807,
            -1.13520398, 1.48851587, -0.82215223, 0.17087277]


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


def erfc_fit(x):
    """t and the exponent of the Chebyshev fit of erfc on arrays, x >= 0:
    erfc(x) = t e^(exponent - x^2)."""
    t = 1.0 / (1.0 + 0.5 * x)
    exponent = np.full_like(t, ERFC_FIT[-1])
    for c in reversed(ERFC_FIT[:-1]):
        exponent = c + t * exponent
    return t, exponent


def unit_tail(z, decay):
    """The exponentially modified Gaussian of unit sigma, up to a constant factor, written with
    no exponential of positive argument."""
    x = (decay - z) * math.sqrt(0.5)
    t, exponent = erfc_fit(np.abs(x))
    front = t * np.exp(exponent - 0.5 * z * z)
    tail = np.exp(np.minimum(0.5 * decay * decay - z * decay, 0.0)) * (
        2.0 - t * np.exp(exponent - x * x))
    return np.where(x >= 0.0, front, tail)


def tail_shape(factor):
    """(decay, apex, apex value) of the shape whose tailing factor at 5 % is `factor`."""
    def shape_of(decay):
        z = np.linspace(-40.0, 40.0 + 60.0 / decay, 400001)
        values = unit_tail(z, decay)
        apex = int(np.argmax(values))
        level = 0.05 * values[apex]
        front = z[apex] - z[np.argmax(values >= level)]
        back = z[len(values) - 1 - np.argmax(values[::-1] >= level)] - z[apex]
        return (front + back) / (2.0 * front), z[apex], values[apex]
    lo, hi = 0.05, 50.0  # the factor falls as the decay grows
    for _ in range(60):
        mid = math.sqrt(lo * hi)
        if shape_of(mid)[0] > factor:
            lo = mid
        else:
            hi = mid
    decay = math.sqrt(lo * hi)
    _, apex, apex_value = shape_of(decay)
    return decay, apex, apex_value


def noise_and_drift(signal, times, rng):
    signal += rng.standard_normal(signal.size) * NOISE
    signal += times * DRIFT
    return signal


def gaussian_peaks(peaks, times, step):
    n = times.size
    signal = np.zeros(n)
    for centre, height, width in peaks:
        first = max(0, math.floor((centre - ZERO_REACH * width) / step))
        last = min(n, math.ceil((centre + ZERO_REACH * width) / step) + 1)
        scaled = (times[first:last] - centre) / width
        signal[first:last] += np.exp(-scaled * scaled) * height
    return signal


def plain(peaks, times, step, rng):
    return noise_and_drift(gaussian_peaks(peaks, times, step), times, rng).astype(np.float32)


def components(peaks, times, step, rng):
    n = times.size
    signal = noise_and_drift(gaussian_peaks(peaks, times, step), times, rng)
    for at, height, width in STEPS:
        signal += height / (1.0 + np.exp(-(times - at) * 2.0 * math.log(9.0) / width))
    amplitude, period, phase = SINE
    signal += amplitude * np.sin(2.0 * math.pi * times / period + phase)
    signal[1:] += np.cumsum(rng.standard_normal(n - 1) * WANDER * math.sqrt(step))
    spectrum = np.fft.rfft(rng.standard_normal(n))
    frequencies = np.fft.rfftfreq(n)
    spectrum[1:] /= np.sqrt(frequencies[1:])
    spectrum[0] = 0.0
    pink = np.fft.irfft(spectrum, n)
    signal += pink * (PINK / pink.std())
    rate, least, greatest = SPIKES
    gaps = rng.exponential(1.0 / rate, int(rate * MINUTES * 2) + 20)
    when = np.cumsum(gaps)
    where = (when[when < MINUTES] / step).astype(np.int64)
    heights = rng.uniform(least, greatest, where.size) * rng.choice([-1.0, 1.0], where.size)
    np.add.at(signal, where, heights)
    return signal.astype(np.float32)


def tailing(peaks, times, step, rng, shape):
    decay, apex, apex_value = shape
    n = times.size
    signal = np.zeros(n)
    for centre, height, width in peaks:
        sigma = width * math.sqrt(0.5)
        first = max(0, math.floor((centre - (39.0 + apex) * sigma) / step))
        last = min(n, math.ceil((centre + (decay / 2 + 746.0 / decay - apex) * sigma) / step) + 1)
        z = apex + (times[first:last] - centre) / sigma
        signal[first:last] += unit_tail(z, decay) / apex_value * height
    return noise_and_drift(signal, times, rng).astype(np.float32)


def measure(label, run, repetitions):
    timings = []
    for _ in range(repetitions):
        started = time.perf_counter()
        run()
        timings.append(time.perf_counter() - started)
    timings.sort()
    print(f"NumPy {np.__version__} long run, {label}: best {timings[0] * 1e3:.1f} ms, "
          f"median {timings[len(timings) // 2] * 1e3:.1f} ms over {repetitions} runs")


def main():
    repetitions = int(sys.argv[1]) if len(sys.argv) > 1 else 50
    n = math.ceil(MINUTES * RATE)
    step = 1.0 / RATE
    times = np.arange(n) * step
    peaks = long_run_peaks()
    rng = np.random.default_rng(42)
    shape = tail_shape(TAILING)
    print(f"{n} samples, {len(peaks)} peaks; tailing {TAILING}: decay {shape[0]:.6f} sigma^-1")
    measure("plain", lambda: plain(peaks, times, step, rng), repetitions)
    measure("with components", lambda: components(peaks, times, step, rng), repetitions)
    measure("every peak tailing", lambda: tailing(peaks, times, step, rng, shape),
            max(3, repetitions // 10))


if __name__ == "__main__":
    main()
