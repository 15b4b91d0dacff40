# Sourced by the scripts that need a private X server: starts Xvfb on a
# display it picks itself, exports DISPLAY and XDG_RUNTIME_DIR, and stops it
# when the calling script exits.
start_private_xvfb() {
  local screen=${1:-1024x768x24}
  xvfb_runtime=$(mktemp -d)
  chmod 700 "$xvfb_runtime"
  export XDG_RUNTIME_DIR=$xvfb_runtime
  Xvfb -displayfd 4 -screen 0 "$screen" -noreset -nolisten tcp 4>"$xvfb_runtime/display" 2>/dev/null &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$xvfb_runtime"' EXIT
  for _ in $(seq 100); do [ -s "$xvfb_runtime/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$xvfb_runtime/display")"
}
