#!/usr/bin/python3
"""The corpus of cli_bench's Batch/TenPeaksGaussian written as a user would write it with NumPy.

Each document: 10 minutes at 100 samples per minute (1,000 samples), 10 Gaussian peaks with
heights log-uniform from 1 to 1,000 mV, widths 0.03 to 0.12 min and retention times 0.5 to 9 min,
each time drawn again until the peak is resolved (resolution at least 1) from those already
placed, NumPy's normal noise of an amplitude drawn from 0 to 0.05 mV and a drift from -0.1 to
0.1 mV/min. The signal is written as 32-bit floats (NNNNNNN.f32) and the truth of its peaks
(time, height, width and area, the closed form height * width * sqrt(pi)) as CSV (NNNNNNN.csv),
each file with one plain write, neither flushed nor renamed into place.
Prints the wall time and the documents per second.

    bench/peer/corpus.py FOLDER [documents]
"""
import math
import os
import sys
import time

import numpy as np

MINUTES = 10.0
RATE = 100.0
PEAKS = 10
MIN_RESOLUTION = 1.0
SQRT_PI = math.sqrt(math.pi)


def place_peaks(rng):
    """Times, heights and widths of one document's peaks, each resolved from the others."""
    heights = np.exp(rng.uniform(math.log(1.0), math.log(1000.0), PEAKS))
    widths = rng.uniform(0.03, 0.12, PEAKS)
    times = np.empty(PEAKS)
    for k in range(PEAKS):
        sigma = widths[k] / math.sqrt(2.0)
        for _ in range(1000):
            t = rng.uniform(0.5, 9.0)
            gaps = np.abs(times[:k] - t) / (2.0 * (widths[:k] / math.sqrt(2.0) + sigma))
            if k == 0 or gaps.min() >= MIN_RESOLUTION:
                break
        times[k] = t
    order = np.argsort(times)
    return times[order], heights[order], widths[order]


def write_document(folder, number, rng, axis):
    times, heights, widths = place_peaks(rng)
    scaled = (axis[None, :] - times[:, None]) / widths[:, None]
    signal = (np.exp(-scaled * scaled) * heights[:, None]).sum(axis=0)
    signal += rng.standard_normal(axis.size) * rng.uniform(0.0, 0.05)
    signal += axis * rng.uniform(-0.1, 0.1)
    stem = os.path.join(folder, f"{number:07d}")
    signal.astype(np.float32).tofile(stem + ".f32")
    areas = heights * widths * SQRT_PI
    with open(stem + ".csv", "w") as truth:
        truth.write("peak,time,height,width,area\n")
        for k in range(PEAKS):
            truth.write(f"{k},{times[k]!r},{heights[k]!r},{widths[k]!r},{areas[k]!r}\n")


def main():
    folder = sys.argv[1]
    documents = int(sys.argv[2]) if len(sys.argv) > 2 else 10_000
    os.makedirs(folder, exist_ok=True)
    axis = np.arange(math.ceil(MINUTES * RATE)) / RATE
    rng = np.random.default_rng(42)
    started = time.perf_counter()
    for number in range(1, documents + 1):
        write_document(folder, number, rng, axis)
    elapsed = time.perf_counter() - started
    print(f"NumPy {np.__version__} corpus of {documents} documents: {elapsed:.2f} s, "
          f"{documents / elapsed:.0f} documents/s")


if __name__ == "__main__":
    main()
