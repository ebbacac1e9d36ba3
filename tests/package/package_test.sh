#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages varnel and varnel-cli, checked the way a user meets
# them: unpacked into a fresh root (dpkg -x, no container) as an
# installation would leave them, their files validated, lintian run on
# them, and both programs run from that root as a normal user, whose
# settings must land in ~/.config/varnel/ and survive a restart. Further
# checks run from scripts beside this one: the file managers' actions, that
# no file type's default opener becomes Varnel, varnel-cli alone without Qt,
# and its manual and completion against its --help.
#
# Usage: package_test.sh VARNEL.deb VARNEL-CLI.deb (in either order)
# Run as root, it uses (and creates when missing) the user varnel-test;
# run as a normal user, it runs the programs as that user.
set -euo pipefail
export LC_ALL=C
here=$(dirname "$(realpath "$0")")

deb='' cli_deb=''
for package in "$@"; do
    case $(dpkg-deb -f "$package" Package) in
        varnel) deb=$(realpath "$package") ;;
        varnel-cli) cli_deb=$(realpath "$package") ;;
        *) echo "not a package of Varnel: $package" >&2; exit 2 ;;
    esac
done
if [[ -z $deb || -z $cli_deb ]]; then
    echo "usage: $0 VARNEL.deb VARNEL-CLI.deb" >&2
    exit 2
fi
test_user=varnel-test
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

work=$(mktemp -d /tmp/varnel-package.XXXXXX)
cleanup() {
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"
root=$work/root
dpkg -x "$cli_deb" "$root"
dpkg -x "$deb" "$root"
# What the installation's trigger adds: the cache of the desktop entries'
# file types.
update-desktop-database "$root/usr/share/applications"
# The programs' folder belongs to the system, as after an installation.
chmod -R a-w "$root/usr"

# ---- contents --------------------------------------------------------------
contents() {  # PACKAGE.deb: its files, as /usr/...
    dpkg-deb -c "$1" | awk '{print substr($6, 2)}' | grep -v '/$'
}
check_contents() {  # PACKAGE.deb PATH...
    local package=$1 listing
    shift
    listing=$(contents "$package")
    for path in "$@"; do
        grep -qxF "/$path" <<< "$listing" || fail "$(basename "$package") lacks /$path"
    done
}
check_contents "$cli_deb" usr/bin/varnel-cli usr/share/man/man1/varnel-cli.1.gz \
    usr/share/bash-completion/completions/varnel-cli \
    usr/share/doc/varnel-cli/copyright usr/share/doc/varnel-cli/changelog.gz
check_contents "$deb" usr/bin/varnel \
    usr/share/applications/app.varnel.Varnel.desktop \
    usr/share/metainfo/app.varnel.Varnel.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/app.varnel.Varnel.svg \
    usr/share/icons/hicolor/16x16/apps/app.varnel.Varnel.png \
    usr/share/icons/hicolor/48x48/apps/app.varnel.Varnel.png \
    usr/share/icons/hicolor/256x256/apps/app.varnel.Varnel.png \
    usr/share/man/man1/varnel.1.gz \
    usr/share/kio/servicemenus/varnel-rename.desktop \
    usr/share/Thunar/sendto/varnel-rename.desktop \
    usr/share/nemo/actions/varnel-rename.nemo_action \
    usr/share/nautilus-python/extensions/varnel-rename.py \
    usr/share/doc/varnel/copyright usr/share/doc/varnel/changelog.gz
# Each file in one package only, so that both install side by side.
shared=$(comm -12 <(contents "$deb" | sort) <(contents "$cli_deb" | sort))
[[ -z $shared ]] || fail "files in both packages: $shared"
png_size=$(file -b "$root/usr/share/icons/hicolor/48x48/apps/app.varnel.Varnel.png")
[[ $png_size == *"48 x 48"* ]] || fail "48x48 icon is $png_size"

# ---- licence ---------------------------------------------------------------
for package in varnel varnel-cli; do
    copyright=$root/usr/share/doc/$package/copyright
    head -1 "$copyright" | grep -qF 'copyright-format/1.0' || fail "$package: copyright is not DEP-5"
    grep -qx 'License: GPL-3.0+' "$copyright" || fail "$package: copyright names no GPL-3.0+ licence"
    grep -qF '/usr/share/common-licenses/GPL-3' "$copyright" || fail "$package: copyright lacks the GPL's place"
done

# ---- desktop entry, actions, metainfo, manuals -----------------------------
desktop=$root/usr/share/applications/app.varnel.Varnel.desktop
for entry in "$desktop" "$root/usr/share/Thunar/sendto/varnel-rename.desktop"; do
    desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
done
grep -qx 'Exec=varnel %F' "$desktop" || fail "desktop entry Exec"
grep -q '^MimeType=' "$desktop" && fail "the desktop entry claims file types: $(grep '^MimeType=' "$desktop")"
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "desktop entry lacks a Chinese name"
python3 "$here/actions_test.py" "$root" || fail "file-manager actions"
"$here/mime_default_test.sh" "$root" || fail "default openers"

metainfo=$root/usr/share/metainfo/app.varnel.Varnel.metainfo.xml
appstreamcli validate --pedantic --no-net "$metainfo" > "$work/appstream.out" 2>&1 || true
sed 's/^/appstreamcli: /' "$work/appstream.out"
if grep -qE '^(E|W):' "$work/appstream.out"; then
    fail "appstreamcli reports errors or warnings"
else
    pass "appstreamcli validate --pedantic: no errors or warnings"
fi
grep -qx '  <project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "metainfo licence"

# Read in a UTF-8 locale, as lintian reads them: the pages quote Chinese
# texts of the programs.
for manual in varnel varnel-cli; do
    LC_ALL=C.UTF-8 man --warnings -l "$root/usr/share/man/man1/$manual.1.gz" > /dev/null 2> "$work/man.err" || true
    [[ ! -s $work/man.err ]] || fail "$manual(1) warnings: $(cat "$work/man.err")"
done
zcat "$root/usr/share/man/man1/varnel.1.gz" | grep -qF 'varnel/journals/' ||
    fail "varnel(1) does not say where the undo journal lives"
bash -n "$root/usr/share/bash-completion/completions/varnel-cli" || fail "bash completion syntax"
python3 "$here/cli_docs_test.py" "$root/usr/bin/varnel-cli" \
    "$root/usr/share/man/man1/varnel-cli.1.gz" "$root/usr/share/bash-completion/completions/varnel-cli" ||
    fail "varnel-cli's manual and completion against its --help"

# ---- dependencies ----------------------------------------------------------
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] || fail "Depends from shlibdeps: $depends"
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ $recommends == *"fonts-noto-cjk | fonts-wqy-microhei"* && $recommends == *qt6-translations-l10n* ]] ||
    fail "varnel recommends: $recommends"
"$here/cli_alone_test.sh" "$cli_deb" "$deb" || fail "varnel-cli without Qt"
version=$(dpkg-deb -f "$deb" Version)
[[ $(dpkg-deb -f "$cli_deb" Version) == "$version" ]] || fail "the packages' versions differ"

# ---- lintian: no errors or warnings; the rest is listed --------------------
if command -v lintian > /dev/null; then
    lintian --display-info --tag-display-limit 0 "$deb" "$cli_deb" > "$work/lintian.out" 2>&1 || true
    sed 's/^/lintian: /' "$work/lintian.out"
    if grep -qE '^(E|W):' "$work/lintian.out"; then
        fail "lintian reports errors or warnings"
    else
        pass "lintian: no errors or warnings"
    fi
else
    fail "lintian is not installed"
fi

# ---- the programs, run as a normal user ------------------------------------
home=$work/home
mkdir -p "$home"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
    if ! id -u "$test_user" > /dev/null 2>&1 &&
        ! useradd --system --no-create-home --shell /usr/sbin/nologin "$test_user"; then
        echo "SKIPPED: the programs' runs: no normal user can be made here" >&2
        [[ $failures -eq 0 ]] || exit 1
        exit 0
    fi
    chown "$test_user:" "$home"
    as_user=(setpriv --reuid="$test_user" --regid="$test_user" --clear-groups --)
fi
user_env=(env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
    XDG_RUNTIME_DIR="$home/run")
extra_env=()
run() { "${as_user[@]}" "${user_env[@]}" "$@"; }
run mkdir -m 700 "$home/run"
[[ $(run id -u) -ne 0 ]] || fail "the programs would run as root"

cli=$root/usr/bin/varnel-cli
gui=$root/usr/bin/varnel

[[ $(run "$gui" --version) == "Varnel ${version%%-*}" ]] || fail "varnel --version: $(run "$gui" --version)"
run "$cli" --help > /dev/null || fail "varnel-cli --help"

run mkdir "$home/files"
run touch "$home/files/b.txt" "$home/files/a.txt"
run "$cli" rename number --body song --digits 2 -- "$home/files/a.txt" "$home/files/b.txt" > /dev/null \
    || fail "varnel-cli rename"
[[ -e $home/files/song00.txt && -e $home/files/song01.txt ]] || fail "varnel-cli renamed: $(ls "$home/files")"

# Starts the desktop program offscreen with `args`, waits until it handles
# SIGTERM, then ends it the way a session does; the window saves on closing.
run_gui_once() {
    local program=$1
    shift
    # exec all the way down: $! is then the program itself.
    (exec "${as_user[@]}" "${user_env[@]}" "${extra_env[@]}" "$program" "$@" > "$work/gui.log" 2>&1) &
    local pid=$! ready=0
    for _ in $(seq 1 300); do
        local caught
        caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2> /dev/null || true)
        if [[ -n $caught ]] && (((0x$caught >> 14) & 1)); then
            ready=1
            break
        fi
        sleep 0.1
    done
    [[ $ready -eq 1 ]] || fail "varnel did not start: $(cat "$work/gui.log")"
    sleep 1  # let the window come up and add the start-up items
    kill -TERM "$pid" 2> /dev/null || true
    local status=0
    wait "$pid" || status=$?
    [[ $status -eq 0 ]] || fail "varnel ended with $status: $(cat "$work/gui.log")"
}

gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GB18030; }
config=$home/.config/varnel/config.ini
count_line=$(gbk '预览数量=')
auto_line=$(gbk '自动预览=')
style_line=$(gbk '字体样式=常规')

# First start: no settings anywhere; a file and a folder open with it.
run_gui_once "$gui" "$home/files/song00.txt" "$home/files"
if [[ -f $config ]]; then
    pass "first run saved $config"
    [[ $(stat -c %a "$home/.config/varnel") == 700 ]] || fail "settings folder mode $(stat -c %a "$home/.config/varnel")"
    grep -qF "${count_line}10" "$config" || fail "default preview count not saved"
    grep -qF "$style_line" "$config" || fail "font style not saved"
else
    fail "no $config after the first run"
fi
[[ ! -e $root/usr/bin/config.ini ]] || fail "config.ini written beside the installed program"

# A changed setting survives a restart: the second run reads it and writes it
# back (the removed style line comes back, so the file was saved again).
if [[ -f $config ]]; then
    run env LC_ALL=C sed -i -e "s/${count_line}10/${count_line}37/" -e "s/${auto_line}$(gbk '关')/${auto_line}$(gbk '开')/" \
        -e "/$(gbk '字体样式')/d" "$config"
    run_gui_once "$gui"
    grep -qF "${count_line}37" "$config" || fail "preview count lost at restart"
    grep -qF "${auto_line}$(gbk '开')" "$config" || fail "automatic preview lost at restart"
    grep -qF "$style_line" "$config" || fail "settings were not saved again at exit"
    [[ $failures -eq 0 ]] && pass "settings survive a restart"
fi

# No notice about fonts where a CJK font is installed; where none is, the
# program says so once at start (and a quit signal still ends it).
notice='No installed font can show Chinese text'
if ! fc-list :lang=zh family | grep -q .; then
    echo "note: no CJK font is installed here; the start with one is not checked"
elif grep -qF "$notice" "$work/gui.log"; then
    fail "font notice although a CJK font is installed: $(cat "$work/gui.log")"
fi
fonts=$work/latin-fonts.conf
cat > "$fonts" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir><cachedir>$work/font-cache</cachedir></fontconfig>
EOF
chmod 644 "$fonts"
# The Chinese interface needs a CJK font; the English one (the C locale) does not.
extra_env=(FONTCONFIG_FILE="$fonts" LANG=zh_CN.UTF-8)
run_gui_once "$gui"
extra_env=()
[[ $(grep -cF "$notice" "$work/gui.log") -eq 1 ]] ||
    fail "no single font notice with DejaVu fonts only: $(cat "$work/gui.log")"
extra_env=(FONTCONFIG_FILE="$fonts")
run_gui_once "$gui"
extra_env=()
grep -qF "$notice" "$work/gui.log" &&
    fail "font notice in the English interface with DejaVu fonts only: $(cat "$work/gui.log")"

# A copy in a folder of the user's own is portable: its settings stay beside it.
run mkdir "$home/portable"
run cp "$gui" "$home/portable/varnel"
run_gui_once "$home/portable/varnel"
[[ -f $home/portable/config.ini ]] || fail "portable copy did not save beside itself"

if [[ $failures -ne 0 ]]; then
    echo "package test: $failures failure(s)" >&2
    exit 1
fi
echo "package test: all checks passed"
