#!/usr/bin/env bash
# Fills a seed corpus folder for one fuzz target with fuzz/corpus/TARGET and the installation and
# project files it reads, copied from data/ and tests/data/:  bash fuzz/seed-corpus.sh TARGET DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 TARGET DIR" >&2; exit 2; }
target=$1 dir=$2
root=$(cd "$(dirname "$0")/.." && pwd)
case "$target" in
    FuzzTechnicalData) seeds="data/Beispiel.kon tests/data/sample-project.kon tests/data/new-project.kon" ;;
    FuzzProductData) seeds="data/freikon.txt data/zwangskon.txt data/bauhoehen.txt data/konvektoren.txt
        data/tepatext.txt tests/data/install/freikon.txt tests/data/install/zwangskon.txt
        tests/data/install/bauhoehen.txt tests/data/install/tepatext.txt
        tests/data/install/konvektoren.txt" ;;
    FuzzCli) seeds="" ;;
    *) echo "$0: no seeds known for $target" >&2; exit 2 ;;
esac
mkdir -p "$dir"
[ ! -d "$root/fuzz/corpus/$target" ] || cp "$root/fuzz/corpus/$target"/* "$dir"/
for seed in $seeds; do
    # Named after the whole path: both installations hold files of the same names.
    cp "$root/$seed" "$dir/${seed//\//-}"
done
# Bytes after a whole project record change single fields; such a seed lets inputs grow.
if [ "$target" = FuzzTechnicalData ]; then
    cat "$root/data/Beispiel.kon" "$root/fuzz/corpus/FuzzTechnicalData/field-changes" >"$dir/Beispiel-changed.kon"
fi
