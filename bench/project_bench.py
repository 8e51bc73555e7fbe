#!/usr/bin/env python3
"""Runs the project's own benchmark program and prints its figures as peer lines
(`TASK.project_NAME: median_ms (runs)`), for run_peers.sh's PROJECT_BENCH or alone.

  project_bench.py [PATH_TO_quova_bench]     (default: build/bench/quova_bench of the current folder)
"""
import json, os, subprocess, sys

# project benchmark -> peer task (same work, see README "What each benchmark measures")
MAP = {
    "BM_LoadChart30000": "parse30000",
    "BM_ParseQuote": "parse30000",
    "BM_PlotModel30000": "indicators_all_30000",
    "BM_PolynomialFit50": "poly50_2000",
    "BM_FourierSearch": "four50_search1000_2000",
    "BM_FourierSearchThreads": "four50_search1000_2000",
    "BM_UDWatch5000": "qlist5000_tail2",
    "BM_ParsePage5MB": "parsepage5mb",
    "BM_RenderChart30000": "render30000_1600x1000",
}
UNIT = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}

def main():
    exe = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.getcwd(), "build/bench/quova_bench")
    reps = os.environ.get("PROJECT_REPS", "5")
    filt = "^(" + "|".join(MAP) + ")(/.*)?$"
    out = subprocess.run([exe, "--benchmark_filter=" + filt, "--benchmark_repetitions=" + reps,
                          "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
                         capture_output=True, text=True, check=True).stdout
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        parts = b["run_name"].split("/")
        base = parts[0]
        # a variant per argument (the thread count of BM_FourierSearchThreads/N)
        args = [p for p in parts[1:] if ":" not in p]
        name = "_".join([base[3:]] + args)
        ms = b["real_time"] * UNIT[b["time_unit"]]
        print("%s.project_%s: %.4g (%s)" % (MAP[base], name, ms, reps))

if __name__ == "__main__":
    main()
