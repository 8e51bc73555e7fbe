# Shared by scripts/run-demo and scripts/make-tour-pictures: the demo root and the demo
# page server. Expects $repo, $quova and $work (a scratch folder removed by the caller).

# Gives each demo quote file the time stamp that the program keeps on it: the date of its
# last record, at 16:00 (git does not keep file times).
stamp_quote_files() {
  local f last
  while IFS= read -r -d '' f; do
    last=$(awk 'NF && $1 ~ /^[0-9][0-9]\/[0-9][0-9]\/[0-9][0-9][0-9][0-9]$/ { d = $1 } END { print d }' "$f")
    [ -n "$last" ] || continue
    touch -d "${last:6:4}-${last:0:2}-${last:3:2} 16:00:00" "$f"
  done < <(find "$1/quotes.day" -type f -iname '*.day' -print0)
}

# make_demo_root DIR: completes the root on every start (an earlier root gets what a fresh
# one has, such as the repair tool link in Utilities); a new one gets the demo's lists, QCFs
# and histories.
make_demo_root() {
  local fresh=0
  [ -d "$1" ] || fresh=1
  "$quova" --init-root "$1" > /dev/null || true
  [ $fresh = 1 ] || return 0
  # The demo's files replace the fresh root's templates (daily.dcf); its pages stay in the
  # repository, served by scripts/demo-page-server.
  tar -C "$repo/demo" --exclude=./pages --exclude=./README.md -cf - . | tar -C "$1" -xf -
  stamp_quote_files "$1"
  echo "run-demo: made $1"
}

# start_page_server ROOT: the page server on a port nobody uses, in the background
# ($server_pid, $port); the root's QCFs are pointed at it.
start_page_server() {
  python3 "$repo/scripts/demo-page-server" --port 0 --quiet > "$work/server.out" 2>&1 &
  server_pid=$!
  port=""
  for _ in $(seq 100); do
    port=$(sed -n 's/^demo-page-server: serving .* on 127\.0\.0\.1:\([0-9][0-9]*\)$/\1/p' "$work/server.out")
    [ -n "$port" ] && break
    kill -0 "$server_pid" 2> /dev/null || break
    sleep 0.1
  done
  if [ -z "$port" ]; then
    echo "the demo page server did not start:" >&2
    cat "$work/server.out" >&2
    return 1
  fi
  local qcf
  for qcf in "$1/QuoteList Configuration Files"/*.qcf; do
    sed -i "s#http://127\.0\.0\.1:[0-9]*/#http://127.0.0.1:$port/#" "$qcf"
  done
}

stop_page_server() {
  if [ -n "${server_pid:-}" ]; then
    kill "$server_pid" 2> /dev/null || true
    wait "$server_pid" 2> /dev/null || true
    server_pid=""
  fi
}
