#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a package would ship: every file in its
# place and nothing else, the desktop entry, MIME type, metainfo and icons agreeing on their names,
# the manual page and the package documentation readable and up to date, the desktop entry and
# metainfo passing their validators, and the Debian package passing lintian, when those tools are
# installed.
# Usage: release-check.sh <build dir> <source dir> [bin dir] [data dir] [version] [man dir]
# Reports every problem it finds, then exits 1 if there was any.
set -uo pipefail

usage="usage: release-check.sh <build dir> <source dir> [bin dir] [data dir] [version] [man dir]"
build_dir=${1:?$usage}
source_dir=${2:?$usage}
bin_dir=${3:-bin}
data_dir=${4:-share}
version=${5:-}
man_dir=${6:-$data_dir/man}

app_id=io.github.tolvane.Tolvane
mime_type=application/x-tavro-patch-set

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

problems=0
fail() {
    echo "FAIL: $*"
    problems=$((problems + 1))
}
pass() {
    echo "ok: $*"
}

if ! cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    echo "FAIL: cmake --install $build_dir did not succeed"
    exit 1
fi

binary=$bin_dir/tolvane
desktop=$data_dir/applications/tolvane.desktop
mime_xml=$data_dir/mime/packages/tolvane.xml
metainfo=$data_dir/metainfo/$app_id.metainfo.xml
icon_png=$data_dir/icons/hicolor/32x32/apps/tolvane.png
icon_svg=$data_dir/icons/hicolor/scalable/apps/tolvane.svg
manual=$man_dir/man1/tolvane.1.gz
copyright=$data_dir/doc/tolvane/copyright
changelog=$data_dir/doc/tolvane/changelog.gz
expected=("$binary" "$desktop" "$mime_xml" "$metainfo" "$icon_png" "$icon_svg"
    "$manual" "$copyright" "$changelog")

for file in "${expected[@]}"; do
    if [ -f "$prefix/$file" ]; then
        pass "installed $file"
    else
        fail "missing $file"
    fi
done

# A stray file (a test program, a static library) would end up in the package unnoticed.
while IFS= read -r file; do
    known=0
    for wanted in "${expected[@]}"; do
        if [ "$file" = "$wanted" ]; then
            known=1
        fi
    done
    if [ $known -eq 0 ]; then
        fail "unexpected installed file $file (if it belongs in the package, list it in $0)"
    fi
done < <(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)

if [ -f "$prefix/$binary" ]; then
    if [ -x "$prefix/$binary" ]; then
        pass "$binary is executable"
    else
        fail "$binary is not executable"
    fi
    # The build RPATH is dropped on install, so every library must come from the system.
    if command -v ldd >/dev/null 2>&1; then
        if ldd "$prefix/$binary" | grep -q 'not found'; then
            ldd "$prefix/$binary" | grep 'not found'
            fail "$binary needs libraries that cannot be found"
        else
            pass "$binary finds all its libraries"
        fi
    fi
fi

# Each data file ships exactly as kept in the source tree, not an older or a wrong one.
sources=(
    "$desktop:packaging/tolvane.desktop"
    "$mime_xml:packaging/tolvane-mime.xml"
    "$metainfo:packaging/metainfo/$app_id.metainfo.xml"
    "$icon_png:resources/icons/tolvane-32.png"
    "$icon_svg:resources/icons/tolvane.svg"
    "$copyright:packaging/copyright"
)
for pair in "${sources[@]}"; do
    installed=${pair%%:*}
    original=${pair#*:}
    if [ -f "$prefix/$installed" ] && ! cmp -s "$prefix/$installed" "$source_dir/$original"; then
        fail "$installed differs from $original"
    fi
done

# Debian wants these two compressed at the highest level (XFL 2) and without a stored name or time
# stamp (FLG 0, MTIME 0), which is what makes the package reproducible; the header says all three.
compressed=(
    "$manual:packaging/tolvane.1"
    "$changelog:packaging/changelog"
)
for pair in "${compressed[@]}"; do
    installed=${pair%%:*}
    original=${pair#*:}
    [ -f "$prefix/$installed" ] || continue
    if ! gzip -dc "$prefix/$installed" 2>/dev/null | cmp -s - "$source_dir/$original"; then
        fail "$installed does not decompress to $original"
    fi
    header=$(od -An -tx1 -N9 "$prefix/$installed" | tr -d ' \n')
    if [ "$header" = "1f8b08000000000002" ]; then
        pass "$installed is compressed with gzip -9n"
    else
        fail "$installed is not compressed with gzip -9n (header $header)"
    fi
done

if [ -n "$version" ] && [ -f "$prefix/$changelog" ]; then
    latest=$(gzip -dc "$prefix/$changelog" | head -n 1)
    if [[ "$latest" == "tolvane ($version) "* ]]; then
        pass "changelog starts with release $version"
    else
        fail "changelog starts with '$latest', not release $version (the project version)"
    fi
fi

if [ -f "$prefix/$manual" ]; then
    if [ -n "$version" ]; then
        if gzip -dc "$prefix/$manual" | grep -q "^\.TH TOLVANE 1 .*\"Tolvane $version\""; then
            pass "manual page is for version $version"
        else
            fail "manual page title (.TH) does not name \"Tolvane $version\" (the project version)"
        fi
    fi
    # man prints roff's complaints on stderr and still renders; any complaint is a fault here.
    if command -v man >/dev/null 2>&1; then
        complaints=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/$manual" \
            2>&1 >/dev/null)
        if [ -z "$complaints" ]; then
            pass "man renders $manual without warnings"
        else
            echo "$complaints"
            fail "man warns about $manual"
        fi
        # lexgrog reads the NAME section the way mandb does for apropos and whatis.
        if lexgrog "$prefix/$manual" | grep -q ': "tolvane - .'; then
            pass "manual page has a NAME line for whatis"
        else
            lexgrog "$prefix/$manual"
            fail "manual page has no usable NAME line (lexgrog)"
        fi
    else
        echo "SKIP: man not installed (package man-db)"
    fi
fi

# The PNG header holds width and height as big-endian 32-bit numbers at bytes 16 and 20.
if [ -f "$prefix/$icon_png" ]; then
    signature=$(od -An -tx1 -N8 "$prefix/$icon_png" | tr -d ' \n')
    size=$(od -An -tu1 -j16 -N8 "$prefix/$icon_png" | tr -s ' ' | sed 's/^ //')
    if [ "$signature" != "89504e470d0a1a0a" ]; then
        fail "$icon_png is not a PNG file"
    elif [ "$size" != "0 0 0 32 0 0 0 32" ]; then
        fail "$icon_png is not 32 x 32 pixels (header: $size)"
    else
        pass "$icon_png is a 32 x 32 PNG"
    fi
fi
if [ -f "$prefix/$icon_svg" ]; then
    if grep -q '<svg' "$prefix/$icon_svg"; then
        pass "$icon_svg is an SVG document"
    else
        fail "$icon_svg holds no <svg> element"
    fi
fi

# The desktop entry, the MIME type and the metainfo name each other; a rename in one place alone
# leaves an entry without icon, a type no program opens, or a metainfo that points nowhere.
if [ -f "$prefix/$desktop" ]; then
    entry() {
        sed -n "s/^$1=//p" "$prefix/$desktop" | head -n 1
    }
    exec_line=$(entry Exec)
    if [ "${exec_line%% *}" = tolvane ]; then
        pass "desktop entry starts tolvane"
    else
        fail "desktop entry Exec is '$exec_line', not tolvane"
    fi
    # Without a field code a file manager's "Open with" starts an empty window.
    if [[ " $exec_line " == *" %F "* ]]; then
        pass "desktop entry passes the opened files (%F)"
    else
        fail "desktop entry Exec '$exec_line' does not pass the opened files with %F"
    fi
    if [ "$(entry Icon)" = tolvane ]; then
        pass "desktop entry names the installed icon"
    else
        fail "desktop entry Icon is '$(entry Icon)', but the icon is installed as tolvane"
    fi
    if entry MimeType | tr ';' '\n' | grep -qx "$mime_type"; then
        pass "desktop entry handles $mime_type"
    else
        fail "desktop entry MimeType does not list $mime_type"
    fi
fi
if [ -f "$prefix/$metainfo" ]; then
    if grep -q '<launchable type="desktop-id">tolvane.desktop</launchable>' "$prefix/$metainfo"; then
        pass "metainfo launches tolvane.desktop"
    else
        fail "metainfo has no desktop-id launchable tolvane.desktop"
    fi
    if grep -q "<id>$app_id</id>" "$prefix/$metainfo"; then
        pass "metainfo id is $app_id"
    else
        fail "metainfo id is not $app_id, the name of its file"
    fi
    if grep -q '<project_license>MIT</project_license>' "$prefix/$metainfo"; then
        pass "metainfo names the MIT license"
    else
        fail "metainfo does not name the project license MIT"
    fi
    if [ -n "$version" ]; then
        if grep -q "<release version=\"$version\"" "$prefix/$metainfo"; then
            pass "metainfo lists release $version"
        else
            fail "metainfo lists no release $version (the project version): add it to <releases>"
        fi
    fi
fi

# update-mime-database exits 0 even when it cannot parse a package, so the check reads what it
# compiled: the glob and the header magic must both reach the database.
if [ -f "$prefix/$mime_xml" ]; then
    if command -v update-mime-database >/dev/null 2>&1; then
        mkdir -p "$work/mime/packages"
        cp "$prefix/$mime_xml" "$work/mime/packages/"
        update-mime-database "$work/mime" >"$work/mime.log" 2>&1
        if grep -q ":$mime_type:\*\.tvr" "$work/mime/globs2" 2>/dev/null \
            && grep -aq "$mime_type" "$work/mime/magic" 2>/dev/null; then
            pass "shared-mime-info compiles $mime_type with glob *.tvr and magic"
        else
            cat "$work/mime.log"
            fail "shared-mime-info did not compile $mime_type with glob *.tvr and magic"
        fi
    else
        echo "SKIP: update-mime-database not installed (package shared-mime-info)"
    fi
fi

# Hints are advice; errors and warnings fail.
if command -v desktop-file-validate >/dev/null 2>&1; then
    if [ -f "$prefix/$desktop" ]; then
        output=$(desktop-file-validate "$prefix/$desktop" 2>&1)
        status=$?
        [ -n "$output" ] && echo "$output"
        if [ $status -ne 0 ] || echo "$output" | grep -qE '(error|warning):'; then
            fail "desktop-file-validate rejects $desktop"
        else
            pass "desktop-file-validate accepts $desktop"
        fi
    fi
else
    echo "SKIP: desktop-file-validate not installed (package desktop-file-utils)"
fi

if command -v appstreamcli >/dev/null 2>&1; then
    if [ -f "$prefix/$metainfo" ]; then
        if appstreamcli validate --no-net "$prefix/$metainfo"; then
            pass "appstreamcli validate accepts $metainfo"
        else
            fail "appstreamcli validate rejects $metainfo"
        fi
    fi
else
    echo "SKIP: appstreamcli not installed (package appstream)"
fi

# The package itself, built from this build folder into a throw-away folder, so the check leaves
# no .deb behind. Informational tags are shown; an error or a warning fails.
if command -v lintian >/dev/null 2>&1; then
    if cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 \
        && package=$(find "$work/deb" -maxdepth 1 -name 'tolvane_*.deb' | head -n 1) \
        && [ -n "$package" ]; then
        as_root=()
        if [ "$(id -u)" -eq 0 ]; then
            as_root=(--allow-root)
        fi
        output=$(lintian "${as_root[@]}" --display-info --fail-on error,warning "$package" 2>&1)
        status=$?
        [ -n "$output" ] && echo "$output"
        if [ $status -ne 0 ] || echo "$output" | grep -qE '^[EW]: '; then
            fail "lintian reports errors or warnings on $(basename "$package")"
        else
            pass "lintian accepts $(basename "$package")"
        fi
    else
        cat "$work/cpack.log"
        fail "cpack -G DEB did not build a package from $build_dir"
    fi
else
    echo "SKIP: lintian not installed (package lintian)"
fi

if [ $problems -ne 0 ]; then
    echo "Release check: $problems problem(s) in the installed files of $build_dir"
    exit 1
fi
echo "Release check passed"
