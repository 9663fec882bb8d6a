#!/usr/bin/env python3
"""Ovilant's speed beside the programs it is compared with, run interleaved.

    bench/compare.py [--build FOLDER] [--anchor FOLDER] [--rounds N] [--files N] [--drop-caches]

Builds nothing: it runs the programs of a Release build folder (default
build/release): ovilant-plan, ovilant-start-probe (bench/start) and, when
built, bench_planio. Every figure is the median of N rounds (default 15);
in each round every program of a pair runs once, the order alternating from
round to round, so that the machine's load falls on both alike. Wall time
is the process's from start to exit; CPU time is its user and system time
(all threads), from wait4. The load average is printed before and after.

  start       ovilant-start-probe editor against ovilant-start-probe bare (a
              main window of 500 line edits), each to its first paint
              (offscreen unless DISPLAY is set); ratio editor / bare
  dump        ovilant-plan dump against pdftotext of the same plan; ratio
              pdftotext / ovilant-plan. A PDF library's tool is not run
              here, so there is no figure against one.
  open        bench_planio's BM_OpenInMemoryWithCheck (CPU per open, median
              of its repetitions)
  index       ovilant-plan index of a folder of N plan files (default 10,000,
              written once into a temporary folder from a few rendered
              plans): cold (no index cache; with --drop-caches, which needs
              root, the page cache is dropped before each cold run) and warm
              (the cache just written)

With --anchor FOLDER (another Release build folder, say of the main branch),
`open` and `index` run that build's programs too, interleaved with ours
round by round, so that a change is measured against what it changes under
the same load: open as the median of the rounds' CPU per open (each round
runs each bench_planio once, 5 repetitions), index as above. The folder of
plans is rendered by --build's tool.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def run(argv, env=None, stdout_path=os.devnull):
    """Runs argv with output thrown away; (wall seconds, CPU seconds, status)."""
    actions = [
        (os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0),
        (os.POSIX_SPAWN_OPEN, 1, stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644),
        (os.POSIX_SPAWN_OPEN, 2, os.devnull, os.O_WRONLY, 0),
    ]
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, env if env is not None else os.environ, file_actions=actions)
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    return wall, usage.ru_utime + usage.ru_stime, os.waitstatus_to_exitcode(status)


def interleaved(commands, rounds, before=None):
    """Runs each (name, argv, env) once per round, alternating the order;
    returns {name: ([walls], [cpus])}. `before(name)` runs before each."""
    results = {name: ([], []) for name, _, _ in commands}
    for r in range(rounds):
        order = commands if r % 2 == 0 else list(reversed(commands))
        for name, argv, env in order:
            if before:
                before(name)
            wall, cpu, status = run(argv, env)
            if status != 0:
                sys.exit(f"compare: {' '.join(argv)} ended with {status}")
            results[name][0].append(wall)
            results[name][1].append(cpu)
    return results


def median_ms(values):
    return statistics.median(values) * 1000.0


def show(results):
    for name, (walls, cpus) in results.items():
        print(f"  {name:<28} wall {median_ms(walls):9.2f} ms   CPU {median_ms(cpus):9.2f} ms"
              f"   (wall {min(walls) * 1000:.2f}-{max(walls) * 1000:.2f})")


def ratio(results, a, b):
    wa, ca = (statistics.median(v) for v in results[a])
    wb, cb = (statistics.median(v) for v in results[b])
    return wa / wb, ca / cb


def load():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def drop_page_cache():
    os.sync()
    with open("/proc/sys/vm/drop_caches", "w") as f:
        f.write("3\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--anchor", help="another Release build folder, run interleaved with --build")
    parser.add_argument("--rounds", type=int, default=15)
    parser.add_argument("--files", type=int, default=10000)
    parser.add_argument("--drop-caches", action="store_true")
    parser.add_argument("--only", default="start,dump,open,index",
                        help="comma-separated: start, dump, open, index")
    args = parser.parse_args()
    only = set(args.only.split(","))
    build = os.path.abspath(args.build)
    tool = os.path.join(build, "src", "cli", "ovilant-plan")
    probe = os.path.join(build, "bench", "start", "ovilant-start-probe")
    bench_planio = os.path.join(build, "bench", "planio", "bench_planio")
    if not os.access(tool, os.X_OK):
        sys.exit(f"compare: {tool} is not built")
    anchor = os.path.abspath(args.anchor) if args.anchor else None
    anchor_tool = os.path.join(anchor, "src", "cli", "ovilant-plan") if anchor else None
    anchor_planio = os.path.join(anchor, "bench", "planio", "bench_planio") if anchor else None
    if anchor and not os.access(anchor_tool, os.X_OK):
        sys.exit(f"compare: {anchor_tool} is not built")

    print(f"cores {os.cpu_count()}, load average {load()}, {args.rounds} rounds, medians")
    work = tempfile.mkdtemp(prefix="ovilant-compare-")
    try:
        home = os.path.join(work, "home")
        os.makedirs(home)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"), SOURCE_DATE_EPOCH="1700000000")
        plan = os.path.join(work, "plan.pdf")
        subprocess.run([tool, "render", os.path.join(ROOT, "tests", "data", "plans", "full.json"), plan],
                       env=env, check=True)

        if "start" in only:
            if os.access(probe, os.X_OK):
                start_env = dict(env)
                if not start_env.get("DISPLAY") and not start_env.get("WAYLAND_DISPLAY"):
                    start_env["QT_QPA_PLATFORM"] = "offscreen"
                print(f"start to the first painted window ({start_env.get('QT_QPA_PLATFORM', 'display')}):")
                r = interleaved([("editor", [probe, "editor"], start_env),
                                 ("bare Qt window", [probe, "bare"], start_env)], args.rounds)
                show(r)
                wall, cpu = ratio(r, "editor", "bare Qt window")
                print(f"  editor / bare: wall {wall:.3f}x, CPU {cpu:.3f}x (goal: CPU <= 1.0x)")
            else:
                print(f"start: {probe} is not built (needs the editor)")

        if "dump" in only:
            pdftotext = shutil.which("pdftotext")
            print("dump of one plan, as a process (mutool is not run: a PDF library's tool is not run here):")
            commands = [("ovilant-plan dump", [tool, "dump", plan], env)]
            if pdftotext:
                commands.append(("pdftotext", [pdftotext, plan, "-"], env))
            r = interleaved(commands, args.rounds * 4)
            show(r)
            if pdftotext:
                wall, cpu = ratio(r, "pdftotext", "ovilant-plan dump")
                print(f"  pdftotext / ovilant-plan: wall {wall:.2f}x, CPU {cpu:.2f}x")
            r = interleaved([("ovilant-plan --version", [tool, "--version"], env)], args.rounds * 4)
            show(r)

        if "open" in only and anchor:
            if os.access(bench_planio, os.X_OK) and os.access(anchor_planio, os.X_OK):
                print("open in memory with the read-back check (bench_planio), interleaved with the anchor:")
                cpu = {"ours": [], "anchor": []}
                for r in range(args.rounds):
                    pair = [("ours", bench_planio), ("anchor", anchor_planio)]
                    for name, program in pair if r % 2 == 0 else reversed(pair):
                        out = subprocess.run([program, "--benchmark_filter=BM_OpenInMemoryWithCheck$",
                                              "--benchmark_repetitions=5", "--benchmark_format=json"],
                                             env=env, check=True, capture_output=True, text=True).stdout
                        runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
                        cpu[name].append(statistics.median(b["cpu_time"] for b in runs))
                for name, values in cpu.items():
                    print(f"  {name:<8} CPU per open {statistics.median(values):.3f} ms"
                          f"   ({min(values):.3f}-{max(values):.3f})")
                print("  goal: <= 0.3 ms")
            else:
                print("open: bench_planio is not built in both folders")
        elif "open" in only:
            if os.access(bench_planio, os.X_OK):
                print("open in memory with the read-back check (bench_planio):")
                out = subprocess.run([bench_planio, "--benchmark_filter=BM_OpenInMemoryWithCheck$",
                                      f"--benchmark_repetitions={args.rounds}",
                                      "--benchmark_report_aggregates_only=true"],
                                     env=env, check=True, capture_output=True, text=True).stdout
                for line in out.splitlines():
                    if "_median" in line or "_mean" in line:
                        print("  " + line)
            else:
                print(f"open: {bench_planio} is not built")

        if "index" in only:
            folder = os.path.join(work, "plans")
            os.makedirs(folder)
            # Eight distinct plans, copied under N names.
            with open(os.path.join(ROOT, "tests", "data", "plans", "full.json"), encoding="utf-8") as f:
                base = json.load(f)
            sources = []
            for i in range(8):
                p = dict(base, Name=f"利用者{i}", PlanDate=f"202{i}-0{1 + i}-1{i}T10:00:00")
                p.pop("Age", None)
                text = os.path.join(work, f"source{i}.json")
                with open(text, "w", encoding="utf-8") as f:
                    json.dump(p, f, ensure_ascii=False)
                sources.append(os.path.join(work, f"source{i}.pdf"))
                subprocess.run([tool, "render", text, sources[-1]], env=env, check=True)
            for n in range(args.files):
                shutil.copyfile(sources[n % len(sources)], os.path.join(folder, f"plan{n:05d}.pdf"))
            cold_cache = os.path.join(work, "cold-cache")
            warm_cache = os.path.join(work, "warm-cache")
            cold_env = dict(env, XDG_CACHE_HOME=cold_cache)
            warm_env = dict(env, XDG_CACHE_HOME=warm_cache)
            run([tool, "index", folder], warm_env)

            def before(name):
                if "cold" in name:
                    shutil.rmtree(cold_cache, ignore_errors=True)
                    if args.drop_caches:
                        drop_page_cache()

            cold = "cold, page cache dropped" if args.drop_caches else "cold (no index cache)"
            print(f"index of {args.files} plan files:")
            commands = [(cold, [tool, "index", folder], cold_env), ("warm", [tool, "index", folder], warm_env)]
            if anchor:
                anchor_warm_env = dict(env, XDG_CACHE_HOME=os.path.join(work, "anchor-warm-cache"))
                run([anchor_tool, "index", folder], anchor_warm_env)
                commands += [("anchor " + cold, [anchor_tool, "index", folder], cold_env),
                             ("anchor warm", [anchor_tool, "index", folder], anchor_warm_env)]
            r = interleaved(commands, max(3, args.rounds // 3), before)
            show(r)
            print("  goals: cold <= 1500 ms wall, warm <= 150 ms")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"load average after: {load()}")


if __name__ == "__main__":
    main()
