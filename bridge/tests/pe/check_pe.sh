#!/usr/bin/env bash
# Checks a PE DLL's export and import tables with objdump -p.
#   check_pe.sh OBJDUMP DLL EXPORTS [IMPORTED_DLL IMPORTS]
# EXPORTS: file of names the DLL must export, exactly (one a line).
# IMPORTED_DLL, IMPORTS: a DLL whose imported names must be exactly those of
# the file IMPORTS; every other imported DLL must be a system DLL.
set -euo pipefail
objdump=$1 dll=$2 exports=$3 imported=${4:-} imports=${5:-}
dump=$("$objdump" -p "$dll")
status=0

# same WHAT EXPECTED ACTUAL: reports where two sorted name lists differ.
same() {
  if [ "$3" != "$2" ]; then
    echo "$dll: $1 differ (< expected, > actual):"
    diff <(echo "$2") <(echo "$3") || true
    status=1
  fi
}

actual_exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next}
                      on && NF == 0 {on=0}
                      on {print $NF}' <<<"$dump" | sort)
same exports "$(grep -v '^$' "$exports" | sort)" "$actual_exports"
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
  if [ -z "$actual_imports" ]; then
    echo "$dll: does not import $imported"
    status=1
  else
    same "routines imported from $imported" \
      "$(grep -v '^$' "$imports" | sort)" "$actual_imports"
  fi
  echo "$dll: $(grep -c . <<<"$actual_imports") routines imported from $imported"
fi
exit $status
