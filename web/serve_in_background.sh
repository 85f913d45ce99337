# Sourced by the scripts that drive the page in Chromium (its tests, its
# benchmark, the README's picture). serve_in_background SITE LOG [--plain]
# serves SITE with serve.py on a free port of 127.0.0.1, in the background, its
# output in LOG; it sets `server` to the server's process, which the caller ends, and
# `address` to where it listens, which the server says on its first line.
# Returns 1 when the server says nothing within five seconds.
serve_in_background() {
  # Emptied here first: the server empties it only once started, and a log
  # left by an earlier run would name that run's address.
  : >"$2" || return 1
  python3 -u "$(dirname "${BASH_SOURCE[0]}")/serve.py" "$1" --port 0 "${@:3}" >"$2" 2>&1 &
  server=$!
  for _ in $(seq 50); do
    address=$(grep -o 'http://[^ ]*' "$2" 2>/dev/null) && return 0
    sleep 0.1
  done
  return 1
}
