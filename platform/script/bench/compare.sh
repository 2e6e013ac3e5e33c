#!/bin/sh
# Interleaved rounds: each program in python3, then in the engine, each repeated for half a second;
# the medians of the rounds' means and their ratio.
# Usage: compare.sh <script_bench> [rounds] [programs]
set -e
bench=$1
rounds=${2:-5}
here=$(dirname "$0")
programs=${3:-AdditionLoop ConcatenationLoop AppendLoop Fibonacci ArrayFillAndSum PropertyLetGet StringFunctions}
median() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
for p in $programs; do
    py=""
    en=""
    r=0
    while [ "$r" -lt "$rounds" ]; do
        py="$py $(python3 "$here/python_programs.py" "$p")"
        en="$en $("$bench" --benchmark_filter="^$p\$" --benchmark_min_time=0.5 --benchmark_format=csv 2>/dev/null |
            awk -F, -v p="\"$p\"" '$1 == p {print $4}')"
        r=$((r + 1))
    done
    pm=$(echo "$py" | median)
    em=$(echo "$en" | median)
    printf '%-18s engine %8.1f ms  python3 %8.1f ms  ratio %.2f\n' "$p" "$em" "$pm" "$(echo "$em / $pm" | bc -l)"
done
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
