#!/usr/bin/env bash
# scourwell --purge against find, side by side, in memory (tmpfs) and on disk:
#   bench/bench_purge.sh [SCOURWELL] [RUNS] [DISK_FOLDER]
# Trees: 100,000 files in one folder, half of them old ("flat"), and 1,000 folders of 100
# files each, half of the files and half of the folders old ("nested"). Every run purges a
# fresh copy of the tree. Prints the median wall time of RUNS runs (hyperfine) and the peak
# memory of one run (GNU time), and the peak memory at a tenth of the files, which shows
# whether memory grows with the file count.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
scourwell=${1:-$root/build/bin/scourwell}
runs=${2:-7}
disk=${3:-/var/tmp}
for tool in hyperfine /usr/bin/time python3; do
    command -v "$tool" >/dev/null || { echo "bench_purge: $tool is missing" >&2; exit 1; }
done
[ -x "$scourwell" ] || { echo "bench_purge: no program at $scourwell" >&2; exit 1; }
[ "$(stat -f -c %T "$disk")" != tmpfs ] || { echo "bench_purge: $disk is tmpfs, not a disk" >&2; exit 1; }

work_dirs=()
cleanup() { [ ${#work_dirs[@]} -eq 0 ] || rm -rf "${work_dirs[@]}"; }
trap cleanup EXIT

# make_tree KIND FILES FOLDER: old items are 3 days old, new ones are made now.
make_tree() {
    python3 - "$@" <<'EOF'
import os, sys, time
kind, files, root = sys.argv[1], int(sys.argv[2]), sys.argv[3]
old = time.time() - 3 * 86400
def make(path, is_old):
    os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o644))
    if is_old:
        os.utime(path, (old, old))
os.makedirs(root)
if kind == "flat":
    for i in range(files):
        make(f"{root}/f{i}", i % 2 == 0)
else:
    for d in range(files // 100):
        folder = f"{root}/d{d}"
        os.mkdir(folder)
        for i in range(100):
            make(f"{folder}/f{i}", i % 2 == 0)
        if d % 2 == 0:
            os.utime(folder, (old, old))
EOF
}

# Threshold: one day, in minutes for both tools.
minutes=1440
scourwell_cmd() { # STYLE DIR
    echo "$scourwell --purge $2 --older-than $minutes Minute --style '$1'"
}
find_cmd() { # STYLE DIR
    case $1 in
    "Files Only") echo "find $2 -maxdepth 1 -type f -mmin +$minutes -delete" ;;
    "Include Files in Subfolders") echo "find $2 -mindepth 2 -type f -mmin +$minutes -delete" ;;
    "Subfolders Only") echo "find $2 -mindepth 1 -maxdepth 1 -type d -mmin +$minutes -exec rm -rf {} +" ;;
    esac
}

peak_kb() { # COMMAND...
    /usr/bin/time -f '%M' -o "$tmp/rss" bash -c "$*" >/dev/null 2>&1
    cat "$tmp/rss"
}

printf '%-7s %-28s %-7s %12s %12s %7s %12s %12s\n' place style tree "scourwell ms" "find ms" ratio "sw peak KB" "sw KB @1/10"
for place in /dev/shm "$disk"; do
    base=$(mktemp -d "$place/bench_purge.XXXXXX")
    work_dirs+=("$base")
    tmp=$base
    label=$([ "$place" = /dev/shm ] && echo tmpfs || echo disk)
    make_tree flat 100000 "$base/flat"
    make_tree nested 100000 "$base/nested"
    make_tree flat 10000 "$base/flat-small"
    make_tree nested 10000 "$base/nested-small"
    for style_tree in "Files Only:flat" "Include Files in Subfolders:nested" "Subfolders Only:nested"; do
        style=${style_tree%%:*}
        tree=${style_tree##*:}
        target=$base/run
        printf 'rm -rf %q && cp -a %q %q\n' "$target" "$base/$tree" "$target" >"$base/prepare.sh"
        hyperfine -N --runs "$runs" --prepare "bash $base/prepare.sh" --export-json "$base/result.json" \
            "$(scourwell_cmd "$style" "$target")" "$(find_cmd "$style" "$target")" >/dev/null
        read -r ours theirs < <(python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))["results"]
print(*(round(x["median"] * 1000, 1) for x in r))' "$base/result.json")
        bash "$base/prepare.sh"
        rss=$(peak_kb "$(scourwell_cmd "$style" "$target")")
        rm -rf "$target" && cp -a "$base/$tree-small" "$target"
        rss_small=$(peak_kb "$(scourwell_cmd "$style" "$target")")
        ratio=$(python3 -c "print(f'{$ours / $theirs:.2f}')")
        printf '%-7s %-28s %-7s %12s %12s %7s %12s %12s\n' "$label" "$style" "$tree" "$ours" "$theirs" "$ratio" "$rss" "$rss_small"
    done
    rm -rf "$base"
done
