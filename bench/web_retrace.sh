#!/usr/bin/env bash
# web_retrace.sh NATIVE_BUILD SITE_DIR: the web page's re-trace of a drag in
# headless Chromium (web_retrace_bench.mjs) against the window's, the native
# drag benchmark (bench_drag, Drag/17_segments), which drags the same end of
# the same 17-segment scene (seed 4) the same way; both measure from the
# accepted position to its complete picture: the scene drawn, its diagram
# traced. For reference, the native re-trace of the diagram alone
# (bench_retrace: both sweeps, warm, one after another). Three rounds, taking
# turns so that all meet the same load; prints each run's medians. The page is
# served isolated (web/serve.py), as make web-serve serves it. Uses the
# puppeteer-core that the web page's tests install (make test).
set -euo pipefail
native=$1 site=$2
root=$(cd "$(dirname "$0")/.." && pwd)
modules=$native/tests/web/browser
[ -d "$modules/node_modules/puppeteer-core" ] || {
  echo "no puppeteer-core in $modules; make test installs it" >&2
  exit 1
}
work=$(mktemp -d)
. "$root/web/serve_in_background.sh"
serve_in_background "$site" "$work/server.out" && started=0 || started=1
trap 'kill $server; rm -rf "$work"' EXIT
[ $started = 0 ] || { echo "the server did not start: $(cat "$work/server.out")" >&2; exit 1; }
"$native/tools/kaldra-render" --seed 4 --save-scene "$work/seed-4.scene" --quiet
cp "$root/bench/web_retrace_bench.mjs" "$modules/"
# The median of each counter named, from Google Benchmark's JSON.
medians() {
  python3 -c 'import json, sys
runs = [b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"]
print(", ".join("%s %.2f" % (c, runs[0][c]) for c in sys.argv[1:]))' "$@"
}
for round in 1 2 3; do
  echo "web page, round $round: $(node "$modules/web_retrace_bench.mjs" "$address" "$work/seed-4.scene")"
  echo "window (bench_drag), round $round: $("$native/bench/bench_drag" --benchmark_filter='Drag/17_segments' \
    --benchmark_format=json 2>/dev/null | medians behind_median_ms trace_median_ms)"
  echo "diagram alone (bench_retrace), round $round: $("$native/bench/bench_retrace" --benchmark_filter=17 \
    --benchmark_format=json 2>/dev/null | medians fast_ms threads)"
done
