#!/usr/bin/env bash
# The folders keep their layers: only platform/ sees Qt, and every include
# points down the order below (a folder may include itself and those after
# it), so no folder reaches up or round. The shipped program holds none of
# the test stand-ins.
set -u
source_dir=$1
program=$2
cd "$source_dir" || exit 1
fail=0
complain() { echo "$*"; fail=1; }

order=(app "curve colour geometry history" display state files platform core)
below() {  # the folders `$1` may include
  local seen=0 allowed="$1" rank
  for rank in "${order[@]}"; do
    if [ $seen -eq 1 ]; then allowed="$allowed $rank"; fi
    [[ " $rank " == *" $1 "* ]] && seen=1
  done
  echo "$allowed"
}

for folder in core files state display curve colour geometry history app; do
  grep -l '#include <Q' -r "$folder" && complain "$folder/ includes Qt"
done
for folder in core files platform state display curve colour geometry history app; do
  allowed=" $(below "$folder") "
  while IFS= read -r line; do
    target=${line#*\#include \"}
    target=${target%%/*}
    [[ $allowed == *" $target "* ]] || complain "up or round: $line"
  done < <(grep -rn '#include "' "$folder")
done

symbols=$(nm -C "$program" | grep -E 'fe::testing|korven::write_jpeg|korven::test::')
[ -z "$symbols" ] || complain "the program holds test code: $symbols"

[ $fail -eq 0 ] && echo "layers: ok"
exit $fail
