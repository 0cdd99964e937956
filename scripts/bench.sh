#!/usr/bin/env bash
# make bench: builds the Release benchmark harness (linked against
# libmspack), makes the corpus from files a Debian machine with the
# project's packages holds, and prints one table.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${BENCH_RUNS:-5}
OUT=bench-out
CORPUS=$OUT/corpus
rm -rf $CORPUS
mkdir -p $CORPUS $OUT/work

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DQD_BENCH=ON >/dev/null
cmake --build build/bench -j2 --target szdd_bench >/dev/null

WINE32=/usr/lib/x86_64-linux-gnu/wine/i386-windows
WINE64=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
GCC32=$(ls -d /usr/lib/gcc/i686-w64-mingw32/*-posix | head -1)
# A PE32 DLL of about 150 KB (wine's 32-bit zlib).
cp $WINE32/zlib1.dll $CORPUS/pe32-zlib1.dll
# PE files of several MB: a 32-bit runtime DLL and a 64-bit system DLL.
cp $GCC32/libgfortran-5.dll $CORPUS/pe32-libgfortran.dll
cp $WINE64/jscript.dll $CORPUS/pe64-jscript.dll
# head ends the pipes below early on purpose.
set +o pipefail
# 10 MB of text: C headers.
find /usr/include /usr/share/mingw-w64/include -name '*.h' 2>/dev/null | sort | xargs cat 2>/dev/null | head -c 10000000 > $CORPUS/text-10m.h
# 64 MB of mixed PE files.
{ find $GCC32 $WINE32 -name '*.dll' | sort | xargs cat; find $WINE64 -name '*.dll' | sort | xargs cat; } 2>/dev/null \
  | head -c 67108864 > $CORPUS/pe-mixed-64m.bin
set -o pipefail
# The plug-in library itself.
for p in build/win32/payload/NpQDK32.dll build/x64/payload/NpQDK32.dll; do
  [ -f $p ] && cp $p $CORPUS/NpQDK32.dll && break
done

echo "SZDD codec benchmark, $RUNS runs per figure, $(nproc) cores"
build/bench/szdd_bench "$RUNS" "$OUT/work" $CORPUS/*
