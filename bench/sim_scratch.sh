# Sourced by the bench scripts that run vantrel-sim: a scratch installation in $work (the
# sample device files, no device tree of this machine: COM1 is the emulator's terminal only),
# removed at exit together with the emulator.
#   start_sim <build directory> [emulator options...]   vantrel-sim on COM1 of $work/vantrel.ini
#   stop_sim
#   make_program                                         $work/program.mot: 64 KiB over the
#                                                        sample device's first bank
work=$(mktemp -d)
sim_pid=
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill -TERM "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  sim_pid=
}
trap 'stop_sim; rm -rf "$work"' EXIT
cp -r examples/Device "$work/"
export VANTREL_DEVICE_ROOT="$work/no-device-tree"

# Returns once the emulator has printed its terminal's name into $work/sim.out.
start_sim() {
  local build=$1
  shift
  "$build/bin/vantrel-sim" "$@" --settings "$work/vantrel.ini" --com 1 >"$work/sim.out" 2>/dev/null &
  sim_pid=$!
  for _ in $(seq 200); do [ -s "$work/sim.out" ] && break; sleep 0.02; done
}

make_program() {
  srec_cat -generate 0xC0000 0xD0000 -repeat-string "Vantrel programs" -o "$work/program.mot"
}
