#!/usr/bin/env python3
"""Plots and tabulates Google Benchmark results of bench_scale and gui_bench_mainwindow.

Usage: bench-plot.py OUT.png TABLE.md RESULT.json...

Benchmark names are Operation/shape/programs[/...]. The plot has one panel per
operation, time against catalogue size on log scales, one line per shape; the table
gives every figure in milliseconds and the growth from 100,000 to 1,000,000 programs.
"""
import json
import math
import statistics
import sys
from collections import defaultdict

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def read(paths):
    # times[operation][shape][programs] = milliseconds (the median when repeated)
    runs = defaultdict(lambda: defaultdict(lambda: defaultdict(list)))
    context = None
    for path in paths:
        with open(path) as f:
            data = json.load(f)
        context = context or data.get("context", {})
        for b in data.get("benchmarks", []):
            if b.get("run_type") == "aggregate" or b.get("error_occurred"):
                continue
            parts = b["name"].split("/")
            if len(parts) < 3 or not parts[2].isdigit():
                continue
            if "peak_per_file" in b:
                # The peak memory of a load, as a multiple of the file's size.
                runs["LoadPeakMemory (x file size)"][parts[1]][int(parts[2])].append(b["peak_per_file"])
                continue
            ms = b["real_time"] * UNIT_MS[b.get("time_unit", "ns")]
            runs[parts[0]][parts[1]][int(parts[2])].append(ms)
    times = defaultdict(lambda: defaultdict(dict))
    for op, shapes in runs.items():
        for shape, sizes in shapes.items():
            for n, values in sizes.items():
                times[op][shape][n] = statistics.median(values)
    return times, context or {}


def table(times, context):
    sizes = sorted({n for op in times.values() for shape in op.values() for n in shape})
    lines = ["Machine: %s CPUs at %s MHz; %s" % (context.get("num_cpus", "?"), context.get("mhz_per_cpu", "?"),
                                               context.get("date", "")), ""]
    head = "| Operation | Shape | " + " | ".join("%s programs" % format(n, ",") for n in sizes) + " | 100k to 1M |"
    lines += [head, "|" + "---|" * (len(sizes) + 3)]
    for op in sorted(times):
        for shape in sorted(times[op]):
            row = times[op][shape]
            unit = "" if op.startswith("LoadPeakMemory") else " ms"
            cells = [("%.2f" if not unit else "%.1f") % row[n] + unit if n in row else "" for n in sizes]
            growth = ""
            if 100000 in row and 1000000 in row and row[100000] > 0:
                growth = "%.1fx" % (row[1000000] / row[100000])
            lines.append("| %s | %s | %s | %s |" % (op, shape, " | ".join(cells), growth))
    return "\n".join(lines) + "\n"


def plot(times, out):
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    ops = sorted(times)
    cols = 4
    rows = math.ceil(len(ops) / cols)
    fig, axes = plt.subplots(rows, cols, figsize=(4.2 * cols, 3.4 * rows), squeeze=False)
    for ax, op in zip([a for r in axes for a in r], ops):
        for shape in sorted(times[op]):
            points = sorted(times[op][shape].items())
            ax.plot([p[0] for p in points], [p[1] for p in points], marker="o", label=shape)
        memory = op.startswith("LoadPeakMemory")
        ax.set_xscale("log")
        ax.set_yscale("linear" if memory else "log")
        ax.set_title(op, fontsize=10)
        ax.set_xlabel("programs")
        ax.set_ylabel("peak / file" if memory else "ms")
        ax.grid(True, which="both", alpha=0.3)
    for ax in [a for r in axes for a in r][len(ops):]:
        ax.axis("off")
    handles, labels = [a for r in axes for a in r][0].get_legend_handles_labels()
    fig.legend(handles, labels, loc="lower center", ncol=6)
    fig.tight_layout(rect=(0, 0.04, 1, 1))
    fig.savefig(out, dpi=90)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    times, context = read(sys.argv[3:])
    with open(sys.argv[2], "w") as f:
        f.write(table(times, context))
    plot(times, sys.argv[1])


if __name__ == "__main__":
    main()
