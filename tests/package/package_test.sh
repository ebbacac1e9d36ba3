#!/usr/bin/env bash
# The Debian package, checked the way a user meets it: unpacked into a fresh
# root (dpkg -x, no container), its files validated, lintian run on it, and
# both programs run from that root as a normal user, whose settings must
# land in ~/.config/varnel/ and survive a restart.
#
# Usage: package_test.sh PACKAGE.deb
# Run as root, it uses (and creates when missing) the user varnel-test;
# run as a normal user, it runs the programs as that user.
set -euo pipefail
export LC_ALL=C

deb=$(realpath "$1")
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
dpkg -x "$deb" "$root"
# The programs' folder belongs to the system, as after an installation.
chmod -R a-w "$root/usr"

# ---- contents --------------------------------------------------------------
for path in usr/bin/varnel usr/bin/varnel-cli \
    usr/share/applications/app.varnel.Varnel.desktop \
    usr/share/metainfo/app.varnel.Varnel.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/app.varnel.Varnel.svg \
    usr/share/icons/hicolor/16x16/apps/app.varnel.Varnel.png \
    usr/share/icons/hicolor/48x48/apps/app.varnel.Varnel.png \
    usr/share/icons/hicolor/256x256/apps/app.varnel.Varnel.png \
    usr/share/man/man1/varnel.1.gz usr/share/man/man1/varnel-cli.1.gz \
    usr/share/bash-completion/completions/varnel-cli \
    usr/share/doc/varnel/copyright usr/share/doc/varnel/changelog.gz; do
    [[ -e $root/$path ]] || fail "the package lacks /$path"
done
png_size=$(file -b "$root/usr/share/icons/hicolor/48x48/apps/app.varnel.Varnel.png")
[[ $png_size == *"48 x 48"* ]] || fail "48x48 icon is $png_size"

desktop=$root/usr/share/applications/app.varnel.Varnel.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx 'Exec=varnel %F' "$desktop" || fail "desktop entry Exec"
grep -qx 'MimeType=audio/mpeg;inode/directory;' "$desktop" || fail "desktop entry MimeType"
grep -q '^Name\[zh_CN\]=' "$desktop" || fail "desktop entry lacks a Chinese name"
appstreamcli validate --no-net "$root/usr/share/metainfo/app.varnel.Varnel.metainfo.xml" \
    || fail "appstreamcli validate"
man --warnings -l "$root/usr/share/man/man1/varnel-cli.1.gz" > /dev/null 2> "$work/man.err" || true
[[ ! -s $work/man.err ]] || fail "man page warnings: $(cat "$work/man.err")"
bash -n "$root/usr/share/bash-completion/completions/varnel-cli" || fail "bash completion syntax"

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] || fail "Depends from shlibdeps: $depends"
version=$(dpkg-deb -f "$deb" Version)

# ---- lintian: no errors; warnings are listed -------------------------------
if command -v lintian > /dev/null; then
    lintian --tag-display-limit 0 "$deb" > "$work/lintian.out" 2>&1 || true
    sed 's/^/lintian: /' "$work/lintian.out"
    if grep -q '^E:' "$work/lintian.out"; then fail "lintian reports errors"; else pass "lintian: no errors"; fi
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
    (exec "${as_user[@]}" "${user_env[@]}" "$program" "$@" > "$work/gui.log" 2>&1) &
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
