#!/usr/bin/env bash
# web_retrace.sh NATIVE_BUILD SITE_DIR: the web page's re-trace of a drag in
# headless Chromium against the native re-trace (bench_retrace), both on the
# 17-segment scene of seed 4, three times each, taking turns so that both meet
# the same load; prints each run's medians. The page is served isolated
# (web/serve.py), as make web-serve serves it. Uses the puppeteer-core that
# the web page's tests install (make test).
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
for round in 1 2 3; do
  echo "web page, round $round: $(node "$modules/web_retrace_bench.mjs" "$address" "$work/seed-4.scene")"
  "$native/bench/bench_retrace" --benchmark_filter=17 --benchmark_format=json 2>/dev/null |
    python3 -c 'import json, sys
runs = [b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"]
print("native, round '"$round"': median fast_ms %.2f, threads %d" % (runs[0]["fast_ms"], runs[0]["threads"]))'
done
