#!/usr/bin/env bash
# gaugehost_cli_test.sh GAUGES_DIR BROKEN_DIR HOST [EMULATOR]: the gaugehost program as a
# panel maker runs it: outputs, exit statuses and error messages.
set -uo pipefail
gauges=$1 broken=$2; shift 2
host=("$@")
fail=0 checks=0
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# expect NAME STATUS PATTERN -- ARGS...: exit status and a line matching PATTERN (grep -E).
expect() {
  local name=$1 status=$2 pattern=$3; shift 4
  local out rc
  out=$("${host[@]}" "$@" 2>&1); rc=$?
  checks=$((checks + 1))
  if [ "$rc" != "$status" ] || ! printf '%s\n' "$out" | grep -Eq -- "$pattern"; then
    echo "FAIL $name: status $rc (want $status), output:"; printf '%s\n' "$out" | sed 's/^/  | /'
    fail=$((fail + 1))
  fi
}

baro=$gauges/Kv_BaroDial.gau pitot=$gauges/Kv_PitotDial.gau
expect help 0 'Subcommands:' -- --help
expect render-help 0 '--frames' -- render --help
expect info 0 '^tooltip: "Backup-Altimeter"$' -- info "$baro"
expect info-json 0 '"tooltip": "Backup-Altimeter"' -- info --json "$baro"
expect info-vars 0 'in order: 61,64$' -- info "$pitot"
expect click-knob 0 '^0x10030 0$' -- click "$baro" 26 135
expect click-outside 0 '^click 12,135: no clickable area there, nothing sent$' -- click "$baro" 12 135
expect click-odd 1 'X Y' -- click "$baro" 26
expect click-json 0 '"id": 65584' -- click --json "$baro" 26 135
expect render-json 0 '"text": "0250"' -- render "$pitot" --set 61=250.4 --json -o "$tmp/p.png"
expect render-file 0 '.' -- render "$pitot" --scale 2 -o "$tmp/q.png"
expect run-steps 0 '^0x10030 0$' -- run "$baro" set:74=1234 frame click:26,135 render:"$tmp/r.png" click:0,0
expect bad-set 1 "bad number 'x'" -- render "$pitot" --set 61=x -o "$tmp/s.png"
expect bad-step 1 "unknown step 'jump'" -- run "$pitot" jump
expect missing 2 'no such file' -- info "$gauges/Kv_Nothing.gau"
expect not-module 2 'not a loadable module' -- info "$broken/NotAModule.gau"
expect looping 2 'element chain loops' -- info "$broken/Kv_Broken2.gau"
expect bad-output 1 '.' -- render "$pitot" -o "$tmp/no/such/dir/p.png"
for png in p q r; do
  checks=$((checks + 1))
  head -c 8 "$tmp/$png.png" 2>/dev/null | od -An -tx1 | grep -q '89 50 4e 47' || { echo "FAIL $png.png is no PNG"; fail=$((fail + 1)); }
done
echo "$((checks - fail)) passed, $fail failed"
[ $fail = 0 ]
