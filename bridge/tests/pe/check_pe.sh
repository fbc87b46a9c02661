#!/usr/bin/env bash
# Checks a PE DLL's export and import tables with objdump -p.
#   check_pe.sh OBJDUMP DLL EXPORTS [IMPORTED_DLL IMPORTS]
# EXPORTS: file of names the DLL must export, exactly (one a line).
# IMPORTED_DLL, IMPORTS: a DLL whose imported names must be exactly those of
# the file IMPORTS; every other imported DLL must be a system DLL.
set -euo pipefail
objdump=$1 dll=$2 exports=$3 imported=${4:-} imports=${5:-}
dump=$("$objdump" -p "$dll")

actual_exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next}
                      on && NF == 0 {on=0}
                      on {print $NF}' <<<"$dump" | sort)
expected_exports=$(grep -v '^$' "$exports" | sort)
status=0
if [ "$actual_exports" != "$expected_exports" ]; then
  echo "$dll: exports differ (< expected, > actual):"
  diff <(echo "$expected_exports") <(echo "$actual_exports") || true
  status=1
fi
echo "$dll: $(grep -c . <<<"$actual_exports") exports"

dlls=$(awk '/DLL Name:/ {print $3}' <<<"$dump")
echo "$dll imports from:" $dlls
for d in $dlls; do
  case "${d,,}" in
    kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll|ntdll.dll|api-ms-win-*) ;;
    *)
      if [ -z "$imported" ] || [ "${d,,}" != "${imported,,}" ]; then
        echo "$dll: imports a non-system DLL: $d"
        status=1
      fi
      ;;
  esac
done

if [ -n "$imported" ]; then
  actual_imports=$(awk -v want="$imported" '
      /DLL Name:/ {on = (tolower($3) == tolower(want)); next}
      on && NF == 0 {on=0}
      on && $1 ~ /^[0-9a-f]+$/ && NF >= 3 {print $NF}' <<<"$dump" | sort)
  expected_imports=$(grep -v '^$' "$imports" | sort)
  if [ -z "$actual_imports" ]; then
    echo "$dll: does not import $imported"
    status=1
  elif [ "$actual_imports" != "$expected_imports" ]; then
    echo "$dll: routines imported from $imported differ (< expected, > actual):"
    diff <(echo "$expected_imports") <(echo "$actual_imports") || true
    status=1
  fi
  echo "$dll: $(grep -c . <<<"$actual_imports") routines imported from $imported"
fi
exit $status
