#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs each for a given time.
#
#   fuzz/run-fuzzers.sh [SECONDS_PER_TARGET] [TARGET...]
#
# Each target starts from its seed corpus in fuzz/corpus/<target>/ and keeps
# what it finds new in build-fuzz/corpus/<target>/; crashes are written to
# build-fuzz/findings/<target>/. The seeds in the repository are not changed.
# A target with a dictionary (fuzz/<target>.dict) is given it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build="$root/build-fuzz"
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_replyreader fuzz_passivereply fuzz_pagewriter fuzz_savedwork fuzz_picturesize fuzz_heifexif
                                fuzz_sftppacket fuzz_serveraddress fuzz_knownhosts fuzz_mobilepage fuzz_jpegend
                                fuzz_jpegheaders)

need=()
command -v clang++ >/dev/null || need+=(clang)
dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q 'install ok installed' \
    || need+=(libclang-rt-14-dev)
if [ ${#need[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    echo "== $target: $seconds s"
    dict=()
    [ -f "$here/$target.dict" ] && dict=(-dict="$here/$target.dict")
    if ! "$build/$target" "$build/corpus/$target" "$here/corpus/$target" "${dict[@]}" \
        -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/findings/$target/" -print_final_stats=1 \
        >"$build/$target.log" 2>&1; then
        status=1
        echo "$target: FINDING, see $build/$target.log and $build/findings/$target/"
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^Done' "$build/$target.log" || true
    tail -n 3 "$build/$target.log"
done
exit $status
