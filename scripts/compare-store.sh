#!/usr/bin/env bash
# Compares what the store of two revisions makes of the same files: for every file, how the
# load ends (ok, line, version, message, entries) and the size and SHA-1 of the saved bytes.
#
#   scripts/compare-store.sh [--sanitize] [--keep DIR] OLD_REV [NEW_REV]
#
# NEW_REV defaults to the working tree as it is. The files are tests/data, fuzz/seeds,
# build-fuzz/corpus when present, and the sets at the format's limits (tests/support/
# LimitSets.h, written by the working tree). --sanitize builds both stores with
# AddressSanitizer and UndefinedBehaviorSanitizer; a file that crashes one of them shows as
# CRASHED in its output. --keep copies both outputs (old.txt, new.txt) into DIR. Prints the
# differences; exits 0 when there are none, 1 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

sanitize=OFF
keep=""
while [ $# -gt 0 ]; do
    case "$1" in
    --sanitize) sanitize=ON ;;
    --keep) keep=$(realpath -m "${2:?--keep needs a folder}") && shift ;;
    *) break ;;
    esac
    shift
done
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
old_rev=$(git rev-parse --verify "$1^{commit}")
new_rev=""
if [ $# -eq 2 ]; then
    new_rev=$(git rev-parse --verify "$2^{commit}")
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/compare-store.XXXXXX")
cleanup() {
    for tree in "$work/old" "$work/new"; do
        if [ -d "$tree" ]; then
            git worktree remove --force "$tree" >/dev/null 2>&1 || true
        fi
    done
    rm -rf "$work"
}
trap cleanup EXIT

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# build NAME STORE_DIR [LIMIT_SETS_DIR]: the tool against one revision's store, in $work/NAME.
build() {
    echo "== Building the store of $1" >&2
    cmake -S "$repo/tools/compare-store" -B "$work/build-$1" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCOMPARE_SANITIZE="$sanitize" \
        -DSTORE_SOURCE_DIR="$2" -DLIMIT_SETS_DIR="${3:-}" "${launcher[@]}" >/dev/null
    cmake --build "$work/build-$1" -j2 >/dev/null
}

git worktree add --detach "$work/old" "$old_rev" >/dev/null 2>&1
build old "$work/old/src/store"
if [ -n "$new_rev" ]; then
    git worktree add --detach "$work/new" "$new_rev" >/dev/null 2>&1
    build new "$work/new/src/store"
    build limits "$repo/src/store" "$repo/tests/support"
    limit_writer="$work/build-limits/write_limit_sets"
else
    build new "$repo/src/store" "$repo/tests/support"
    limit_writer="$work/build-new/write_limit_sets"
fi

# The inputs, under short names that both outputs share.
inputs="$work/inputs"
mkdir -p "$inputs/limits"
"$limit_writer" "$inputs/limits"
ln -s "$repo/tests/data" "$inputs/tests-data"
ln -s "$repo/fuzz/seeds" "$inputs/fuzz-seeds"
if [ -d build-fuzz/corpus ]; then
    ln -s "$repo/build-fuzz/corpus" "$inputs/fuzz-corpus"
fi
(cd "$inputs" && find -L . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$work/files"

# describe NAME: one line per input from the tool built as NAME; a crash marks its file and
# the run goes on with the next one.
describe() {
    local tool="$work/build-$1/store_digest" out="$work/$1.txt" done total
    : >"$out"
    total=$(wc -l <"$work/files")
    done=0
    while [ "$done" -lt "$total" ]; do
        tail -n "+$((done + 1))" "$work/files" >"$work/rest"
        # In a subshell of its own that does not just exec the tool, so that the notice of a
        # crash goes to the error file with the sanitizer's report.
        if (
            cd "$inputs" || exit
            ASAN_OPTIONS=abort_on_error=1:detect_leaks=0 "$tool" <"$work/rest" >>"$out"
            status=$?
            exit $status
        ) 2>>"$work/$1.err"; then
            break
        fi
        done=$(wc -l <"$out")
        printf '%s\tCRASHED\n' "$(sed -n "$((done + 1))p" "$work/files")" >>"$out"
        done=$((done + 1))
    done
}

echo "== Loading and saving $(wc -l <"$work/files") files with each store" >&2
describe old
describe new
crashes_old=$(grep -c $'\tCRASHED$' "$work/old.txt" || true)
crashes_new=$(grep -c $'\tCRASHED$' "$work/new.txt" || true)
if [ -n "$keep" ]; then
    mkdir -p "$keep"
    cp "$work/old.txt" "$work/new.txt" "$keep/"
fi
echo "old ($1): $crashes_old crashed; new (${2:-working tree}): $crashes_new crashed" >&2
if [ -s "$work/old.err" ] || [ -s "$work/new.err" ]; then
    echo "== First sanitizer reports" >&2
    for side in old new; do
        grep -m 3 -E "ERROR: AddressSanitizer|runtime error|SUMMARY" "$work/$side.err" \
            | sed "s/^/$side: /" >&2 || true
    done
fi
if diff -u --label "old $1" --label "new ${2:-working tree}" "$work/old.txt" "$work/new.txt"; then
    echo "Same results for all $(wc -l <"$work/files") files." >&2
    exit 0
fi
exit 1
