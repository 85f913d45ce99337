#!/usr/bin/env bash
# wasm_parity_test.sh NATIVE_BUILD WASM_BUILD CORPUS: the WebAssembly build of
# the core, run with node, against the native build: the same digest of the
# diagram and of the picture's pixels for seeds 0 to 1999 and every scene of
# the corpus; kaldra-render's plot
# lists and summaries byte for byte (but the times) on scene files, scaled
# ones among them; the same run-time error and status where the drawing
# faults. Exit status 77: skipped, when there is no WebAssembly build or node.
set -u
native=$1 wasm=$2 corpus=$3 failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$wasm/kaldra-digest.js" ] && [ -f "$wasm/kaldra-render.js" ] && command -v node >/dev/null || {
  echo "SKIP: no WebAssembly build in $wasm (make wasm) or no node"
  exit 77
}
node() { command node --no-experimental-fetch "$@"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The digests: one process each for the seeds, one for the files.
"$native/tools/kaldra-digest" --seeds 0-1999 >"$work/native-seeds"
node "$wasm/kaldra-digest.js" --seeds 0-1999 >"$work/wasm-seeds"
cmp -s "$work/native-seeds" "$work/wasm-seeds" ||
  fail "seed digests differ: $(diff "$work/native-seeds" "$work/wasm-seeds" | sed -n 2p)"
(cd "$corpus" && "$native/tools/kaldra-digest" ok-*.scene) >"$work/native-files"
(cd "$corpus" && node "$wasm/kaldra-digest.js" ok-*.scene) >"$work/wasm-files"
cmp -s "$work/native-files" "$work/wasm-files" ||
  fail "corpus digests differ: $(diff "$work/native-files" "$work/wasm-files" | sed -n 2p)"

# The renderer itself: plot list, summary without its times, status, message.
render() {  # render NAME PROGRAM ARGS...
  local name=$1
  shift
  rm -f "$work/$name".*
  "$@" --plots "$work/$name.plots" >"$work/$name.out" 2>"$work/$name.err"
  echo $? >"$work/$name.status"
  sed -i 's/, "generate_ms".*//' "$work/$name.out"
}
for args in "--seed 4" "--seed 725" "--seed 1980 --scale 2" "--scene $corpus/ok-seed-1.scene --scale 3" \
  "--scene $corpus/ok-edges.scene" "--scene $corpus/ok-divides-by-zero.scene" \
  "--scene $corpus/ok-three.scene --size 300x200"; do
  # shellcheck disable=SC2086
  render native "$native/tools/kaldra-render" $args
  # shellcheck disable=SC2086
  render wasm node "$wasm/kaldra-render.js" $args
  for part in out status; do
    cmp -s "$work/native.$part" "$work/wasm.$part" || fail "$args: the $part differ"
  done
  if [ -e "$work/native.plots" ] || [ -e "$work/wasm.plots" ]; then
    cmp -s "$work/native.plots" "$work/wasm.plots" || fail "$args: the plot lists differ"
  fi
  # The message, but the program's name, which node calls by its file.
  sed 's/^[^:]*: //' "$work/native.err" >"$work/native.msg"
  sed 's/^[^:]*: //' "$work/wasm.err" >"$work/wasm.msg"
  cmp -s "$work/native.msg" "$work/wasm.msg" || fail "$args: the messages differ"
done
[ "$failures" -eq 0 ] && echo "wasm parity: 2000 seeds, the corpus and 7 renderings alike"
[ "$failures" -eq 0 ]
