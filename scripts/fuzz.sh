#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer + UndefinedBehaviorSanitizer) in
# build-fuzz and runs each for a bounded time and memory on its seed corpus:
#   scripts/fuzz.sh [SECONDS]        default 60 seconds per target
# Seeds: the drawing files of fuzz/corpus; for the imaging targets, a phantom series (one frame per
# file and multi-frame, two orientations) and its NIfTI export made by the tool, and pydicom's small
# MR test files. New inputs collect in build-fuzz/corpus/TARGET; what a run finds is kept in
# build-fuzz/findings/TARGET/ and fails the script. The last lines say executions and findings per
# target.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build-fuzz
targets=(drawing_file_fuzz dicom_fuzz nifti_fuzz)

CC=clang CXX=clang++ cmake -S . -B "$build" -DZK_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

# The tool of the optimised build makes the imaging seeds; without one, the fuzz tree builds it.
tool="$PWD/build/tools/zokorvane-tool"
if [ ! -x "$tool" ]; then
  cmake --build "$build" -j "$(nproc)" --target zokorvane-tool
  tool="$PWD/$build/tools/zokorvane-tool"
fi
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/dicom" "$seeds/nifti"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CACHE_HOME="$work/cache"
"$tool" phantom "$work/sagittal" --slices 2 --size 8 >/dev/null
"$tool" phantom "$work/axial" --slices 2 --size 8 --orientation axial --tilt 10 >/dev/null
"$tool" phantom "$work/frames" --slices 3 --size 8 --multi-frame >/dev/null
for series in sagittal axial frames; do
  cp "$(find "$work/$series" -type f | sort | head -n 1)" "$seeds/dicom/phantom-$series.dcm"
done
"$tool" load-series "$work/sagittal" --export-volume "$seeds/nifti/phantom.nii" >/dev/null
"$tool" load-series "$work/axial" --export-volume "$seeds/nifti/phantom.nii.gz" >/dev/null
pydicom=/usr/lib/python3/dist-packages/pydicom/data/test_files
for name in MR_small.dcm MR_small_RLE.dcm MR_small_bigendian.dcm MR_small_implicit.dcm \
            MR_small_jpeg_ls_lossless.dcm emri_small.dcm image_dfl.dcm JPEG-lossy.dcm; do
  if [ -f "$pydicom/$name" ]; then cp "$pydicom/$name" "$seeds/dicom/"; fi
done

seedsOf() {
  case "$1" in
    drawing_file_fuzz) echo fuzz/corpus/drawing_file ;;
    dicom_fuzz) echo "$seeds/dicom" ;;
    nifti_fuzz) echo "$seeds/nifti" ;;
  esac
}

# Undefined behaviour is a finding too, not a line in the log.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
summary=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  log="$build/$target.log"
  if "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=30 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$(seedsOf "$target")" >"$log" 2>&1; then
    :
  else
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  found=$(find "$findings" -type f | wc -l)
  summary+=("$target: ${runs:-0} executions in ${seconds} s, $found findings")
  if [ "$found" -gt 0 ]; then
    status=1
    tail -n 40 "$log"
  fi
done
printf '%s\n' "${summary[@]}"
exit "$status"
