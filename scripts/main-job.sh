#!/usr/bin/env bash
# The main job: builds the Linux launcher, the bridge and the stand-in
# solver, installs the example model in a fresh run directory the way an
# application is installed, and runs it through the launcher on the real
# JVM. Ends 0 only when the launcher ended 0, the model finished cleanly,
# the record file "zindle.out" was written and every solver routine was
# reached.
#
# Usage: scripts/main-job.sh [--discover] [--direct] [--keep]
#   --discover  no "javapath" line: the launcher finds Java itself, through
#               its view of the runtimes installed under /usr/lib/jvm
#   --direct    start the model with java directly, without the launcher
#               (tells a launcher problem from a bridge problem)
#   --keep      keep the run directory and print where it is
# Environment:
#   MAIN_JOB_BUILD_DIR  build there (linux preset settings) instead of
#                       build/linux
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

discover=0
direct=0
keep=0
for arg in "$@"; do
  case "$arg" in
    --discover) discover=1 ;;
    --direct) direct=1 ;;
    --keep) keep=1 ;;
    *) echo "usage: $0 [--discover] [--direct] [--keep]" >&2; exit 2 ;;
  esac
done

scripts/setup.sh

# --- Build ---------------------------------------------------------------
echo "=== building zindle, Velmora and Quarnel (linux preset)"
build_log=$(mktemp)
if [ -n "${MAIN_JOB_BUILD_DIR:-}" ]; then
  build_dir=$MAIN_JOB_BUILD_DIR
  configure=(cmake --preset linux -B "$build_dir")
  build=(cmake --build "$build_dir" -j2 --target zindle Velmora Quarnel)
else
  build_dir=build/linux
  configure=(cmake --preset linux)
  build=(cmake --build --preset linux --target zindle Velmora Quarnel)
fi
if ! { "${configure[@]}" && "${build[@]}"; } >"$build_log" 2>&1; then
  tail -n 40 "$build_log"
  echo "main job: FAILED: the build failed (full log: $build_log)"
  exit 1
fi
rm -f "$build_log"

if [ -z "${JAVA_HOME:-}" ] || [ ! -x "$JAVA_HOME/bin/javac" ]; then
  JAVA_HOME=/usr/lib/jvm/java-17-openjdk-amd64
  [ -x "$JAVA_HOME/bin/javac" ] ||
    JAVA_HOME=$(dirname "$(dirname "$(readlink -f "$(command -v javac)")")")
fi
export JAVA_HOME

# --- Install the application in a run directory -----------------------------
# The build's install rules lay the tree out; the application's own files
# are added the way an integrator adds them:
# <run>/surface-model           the installed launcher, renamed as the application
# <run>/surface-model.config    its configuration, from the installed example
# <run>/lib/model.jar           the model and the bridge's Java declarations
# <run>/native/                 libVelmora.so with the stand-in libQuarnel.so beside it
# <run>/logs/, <run>/work/      the model's log and working directory
run=$(mktemp -d "${TMPDIR:-/tmp}/surface-model.XXXXXX")
if [ "$keep" -eq 0 ]; then
  trap 'rm -rf "$run"' EXIT
fi
install_log=$(mktemp)
if ! { cmake --install "$build_dir" --prefix "$run" &&
       cmake --install "$build_dir" --prefix "$run" --component standin; } \
     >"$install_log" 2>&1; then
  cat "$install_log"
  echo "main job: FAILED: the install failed"
  exit 1
fi
rm -f "$install_log"
mv "$run/zindle" "$run/surface-model"
mkdir -p "$run/lib" "$run/logs" "$run/work" "$run/classes"

"$JAVA_HOME/bin/javac" --release 17 -encoding UTF-8 -d "$run/classes" \
  "$run/java/qel/surface/Native2DSolver.java" \
  $(find "$run/examples/model/src" -name '*.java' | sort)
"$JAVA_HOME/bin/jar" --create --file "$run/lib/model.jar" -C "$run/classes" .
rm -rf "$run/classes"

# The example's mesh and bathymetry must be consistent in every table before
# they are worth handing to the solver.
echo "=== checking the example's mesh"
mkdir -p "$run/check"
"$JAVA_HOME/bin/javac" --release 17 -encoding UTF-8 -d "$run/check" \
  -classpath "$run/lib/model.jar" "$run/examples/model/test/qel/example/MeshCheck.java"
mesh_ok=1
"$JAVA_HOME/bin/java" -ea -classpath "$run/lib/model.jar:$run/check" \
  qel.example.MeshCheck || mesh_ok=0
rm -rf "$run/check"

cp "$run/examples/model/surface-model.config" "$run/surface-model.config"
if [ "$discover" -eq 0 ]; then
  {
    echo
    echo "# The Java runtime to start (without this line the launcher finds one)."
    echo 'javapath $JAVA_HOME/bin/java'
  } >>"$run/surface-model.config"
fi

# The stand-in solver journals every routine call here.
journal=$run/logs/journal.txt
output=$run/logs/output.txt

# --- Run -----------------------------------------------------------------
set +e
if [ "$direct" -eq 1 ]; then
  echo "=== running the model with java directly (no launcher)"
  (cd "$run/work" &&
    SURFACE_MODEL_RUN=direct QUARNEL_JOURNAL=$journal \
      timeout -k 10 300 "$JAVA_HOME/bin/java" -Djava.library.path="$run/native" \
      -DLOGFILE="$run/logs/surface-model.log" -Xmx512m -Xcheck:jni \
      -classpath "$run/lib/*" qel.example.SurfaceModel \
      "--subbasin=RELAY Valley" --cells=200x100 --flow-periods=6 --sediment-periods=4) \
    </dev/null 2>&1 | tee "$output"
  status=${PIPESTATUS[0]}
  echo "=== java exit status: $status"
else
  echo "=== running $run/surface-model -o"
  echo "    (the stand-in solver writes coded, predictable values, not physics)"
  echo "--- surface-model.config"
  cat "$run/surface-model.config"
  echo "---"
  # The configuration names the installation folder as $appdir, the
  # launcher's own folder, so no variable of our own is needed. Standard
  # input is not a terminal, so a question box of the launcher answers No
  # instead of waiting.
  # The whole run is bounded: a launcher or model that hangs is ended with
  # its process group after five minutes.
  QUARNEL_JOURNAL=$journal timeout -k 10 300 \
    "$run/surface-model" -o </dev/null 2>&1 | tee "$output"
  status=${PIPESTATUS[0]}
  echo "=== launcher exit status: $status"
  echo "--- $run/zindle.out"
  cat "$run/zindle.out" 2>/dev/null || echo "(missing)"
  echo "---"
fi
set -e

# --- Checks --------------------------------------------------------------
problems=()
[ "$mesh_ok" -eq 1 ] || problems+=("the example's mesh is inconsistent")
if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  problems+=("the run did not end within five minutes")
elif [ "$status" -ne 0 ]; then
  problems+=("exit status $status, not 0")
fi
grep -q '^surface-model: finished, exit status 0$' "$output" ||
  problems+=("the model did not finish cleanly")
grep -q '^bad input refused: boundary is null$' "$output" &&
  grep -q '^bad input refused: _faceFraction has 2 elements, needs 3$' "$output" ||
  problems+=("bad input was not refused as expected")
if grep -q 'WARNING in native method' "$output"; then
  problems+=("the JVM's JNI check warned about the bridge")
fi
if [ "$direct" -eq 0 ]; then
  { grep -q '^#Version .*Version: 1\.2\.6' "$run/zindle.out" &&
    grep -q '^#Command line=$' "$run/zindle.out"; } 2>/dev/null ||
    problems+=("zindle.out is missing or incomplete")
  grep -q "^ *SURFACE_MODEL_RUN = launcher/[0-9][0-9]*$" "$output" ||
    problems+=("the setenv variable did not reach the model")
fi

# Every one of the solver's routines must have been called.
routines=$(sed -n 's/^[[:space:]][[:space:]]*\([A-Z][A-Z]*\)[[:space:]]*$/\1/p' bridge/Quarnel.def | sort -u)
if [ -s "$journal" ]; then
  called=$(cut -d' ' -f1 "$journal" | sort | uniq -c)
  echo "--- solver routines called (from the stand-in's journal)"
  echo "$called" | awk '{ printf "  %5d  %s\n", $1, $2 }'
  missing=$(comm -23 <(echo "$routines") <(echo "$called" | awk '{ print $2 }' | sort -u))
  [ -z "$missing" ] || problems+=("routines never called: $(echo $missing)")
  # The mesh as the solver received it: counts, then coordinates in feet.
  echo "--- the mesh as it reached the solver (start of its journal line)"
  grep -m1 '^INITSUBBASINGEOMETRY' "$journal" | cut -c1-400 | fold -w 100 |
    sed 's/^/  /'
  # The refused declaration must not have reached the solver.
  ! grep -q 'Broken' "$journal" || problems+=("a refused call reached the solver")
else
  problems+=("the stand-in wrote no journal")
fi

[ "$keep" -eq 1 ] && echo "run directory kept: $run"
if [ ${#problems[@]} -ne 0 ]; then
  printf 'main job: FAILED: %s\n' "${problems[@]}"
  exit 1
fi
echo "main job: OK ($(echo "$routines" | wc -l) solver routines reached through all 47 native methods)"
