#!/usr/bin/env bash
# run_browser_tests.sh SITE_DIR RENDERER CORPUS WORK_DIR: the web page's tests
# (browser_test.mjs) in Debian's Chromium, with npm's puppeteer-core installed
# from package-lock.json into WORK_DIR, the site served by web/serve.py on a
# free port of 127.0.0.1, and once more without the isolating headers. Exit
# status 77: skipped, when Chromium, node or npm is missing or the site is not
# built (make web).
set -u
site=$1 renderer=$2 corpus=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
chromium=${CHROMIUM:-/usr/bin/chromium}

for tool in node npm python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
[ -x "$chromium" ] || { echo "SKIP: no Chromium at $chromium (apt install chromium)"; exit 77; }
[ -f "$site/index.html" ] && [ -f "$site/kaldra-web.wasm" ] || { echo "SKIP: no site in $site (make web)"; exit 77; }

# puppeteer-core as the lock file pins it, installed again when the lock changes.
mkdir -p "$work"
if ! cmp -s "$here/package-lock.json" "$work/package-lock.json" || [ ! -d "$work/node_modules" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$work/" &&
    (cd "$work" && npm ci --no-audit --no-fund --loglevel=error) || { echo "FAIL: npm ci"; exit 1; }
fi
cp "$here/browser_test.mjs" "$work/"

. "$here/../../web/serve_in_background.sh"
serve_in_background "$site" "$work/plain-server.out" --plain
started=$?
plain_server=$server plain_address=$address
serve_in_background "$site" "$work/server.out" && [ $started = 0 ]
started=$?
trap 'kill $server $plain_server 2>/dev/null' EXIT
[ $started = 0 ] || { echo "FAIL: a server did not start: $(cat "$work"/*server.out)"; exit 1; }

CHROMIUM=$chromium node --test-reporter=tap "$work/browser_test.mjs" "$address" "$renderer" "$corpus" \
  "$plain_address"
