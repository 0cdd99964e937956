#!/usr/bin/env bash
# The szdd tool: a round trip, and bad input refused with a clear message
# and a non-zero exit.
#   szdd_tool_test.sh SZDD_TOOL
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() {  # what, expected exit (0 or 1), expected message part, command...
  local what=$1 want=$2 text=$3; shift 3
  out=$("$@" 2>&1); rc=$?
  if [ $rc -ne "$want" ] || ! grep -q -- "$text" <<<"$out"; then
    echo "FAIL: $what: exit $rc, said: $out"; fail=1
  else
    echo "ok: $what"
  fi
}
head -c 30000 /usr/share/common-licenses/GPL-3 > "$dir/in.txt"
check "compress" 0 "" "$tool" compress "$dir/in.txt" "$dir/in.tx_"
check "verify" 0 "" "$tool" verify "$dir/in.tx_" "$dir/in.txt"
check "expand" 0 "" "$tool" expand "$dir/in.tx_" "$dir/out.txt"
cmp -s "$dir/in.txt" "$dir/out.txt" || { echo "FAIL: expanded bytes differ"; fail=1; }
head -c 2000 "$dir/in.tx_" > "$dir/cut.tx_"
check "truncated data" 1 "truncated" "$tool" expand "$dir/cut.tx_" "$dir/x"
check "no signature" 1 "no SZDD signature" "$tool" expand "$dir/in.txt" "$dir/x"
{ head -c 8 "$dir/in.tx_"; printf 'B'; tail -c +10 "$dir/in.tx_"; } > "$dir/b.tx_"
check "another mode" 1 "mode is not A" "$tool" expand "$dir/b.tx_" "$dir/x"
{ head -c 10 "$dir/in.tx_"; printf '\x01\x00\x00\x00'; tail -c +15 "$dir/in.tx_"; } > "$dir/len.tx_"
check "length field too small" 1 "beyond the length" "$tool" expand "$dir/len.tx_" "$dir/x"
check "verify against other bytes" 1 "does not expand to" "$tool" verify "$dir/in.tx_" "$dir/b.tx_"
exit $fail
