#!/usr/bin/env bash
# Builds the fuzz targets with clang (installing it when missing) and runs each
# for a bounded time, starting from its committed seeds, two at a time. Fails
# when a target finds a fault; the input that found it is left in BUILD_DIR/fallos.
# Usage: tests/fuzz/ejecutar.sh [BUILD_DIR] [SECONDS_PER_TARGET]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/../.." && pwd)
dir=${1:-$raiz/build-fuzz}
segundos=${2:-30}
objetivos=(fuzz_ValorNumerico fuzz_ArchivoIni fuzz_AjustarNumero fuzz_PlantillaScript fuzz_LectorCsv)

faltan=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ] && command -v apt-get >/dev/null; then
  sudo_=""
  [ "$(id -u)" -ne 0 ] && sudo_="sudo"
  $sudo_ apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -qq --no-install-recommends "${faltan[@]}" || true
fi
if ! command -v clang++ >/dev/null; then
  echo "clang++ not found: fuzz targets skipped"
  exit 0
fi

cmake -S "$raiz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVELA_FUZZ=ON -DCORVELA_BENCH=OFF
cmake --build "$dir" --target fuzz

unset ASAN_OPTIONS
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$dir/fallos"

# The corpus grows in the build folder; the committed seeds stay as they are.
ejecutar() {
  local nombre=$1
  mkdir -p "$dir/corpus/$nombre"
  "$dir/tests/fuzz/$nombre" -max_total_time="$segundos" -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$dir/fallos/$nombre-" "$dir/corpus/$nombre" "$raiz/tests/fuzz/semillas/$nombre" \
    >"$dir/fallos/$nombre.log" 2>&1
}

resultado=0
for ((i = 0; i < ${#objetivos[@]}; i += 2)); do
  pareja=("${objetivos[@]:i:2}")
  pids=()
  for nombre in "${pareja[@]}"; do
    ejecutar "$nombre" &
    pids+=($!)
  done
  for j in "${!pareja[@]}"; do
    if wait "${pids[j]}"; then
      echo "${pareja[j]}: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$dir/fallos/${pareja[j]}.log" | grep -o '[0-9]*$') inputs, no fault"
    else
      echo "${pareja[j]} FOUND A FAULT:"
      grep -A3 -E 'FALLO|ERROR:' "$dir/fallos/${pareja[j]}.log" | head -n 20
      grep -E 'Test unit written' "$dir/fallos/${pareja[j]}.log" || true
      resultado=1
    fi
  done
done
exit $resultado
