#!/usr/bin/env bash
# The Linux installation and the Debian package: "cmake --install" into a
# temporary prefix (the programs, the sample files, the desktop entry, its
# icons and the manual page), the desktop entry's start in ~/Ostravion, and
# the .deb's name, dependencies and packaged command line.
#   linux_test.sh BUILD DEB VERSION
set -u
build=$1
deb=$2
version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
. "$(dirname "$0")/../check.sh"
yes_() { # name, command...
    local name=$1; shift
    if "$@"; then echo "ok $name"; else echo "FAIL $name"; fail=1; fi
}

# --- cmake --install
p=$scratch/prefix
cmake --install "$build" --prefix "$p" >/dev/null
for f in bin/ostravion-cli bin/ostravion bin/ostravion-start share/ostravion/KEYLIST.DAT \
         share/ostravion/vxa.spl share/applications/ostravion.desktop \
         share/icons/hicolor/48x48/apps/ostravion.png share/icons/hicolor/256x256/apps/ostravion.png \
         share/man/man1/ostravion-cli.1.gz share/man/man1/ostravion.1.gz \
         share/man/man1/ostravion-start.1.gz share/doc/ostravion/copyright \
         share/doc/ostravion/changelog.gz; do
    yes_ "install: $f" test -s "$p/$f"
done
check "install: the user guide with every picture it shows" "" "$(guide_gaps "$p/share/doc/ostravion/guide")"
check "install: ostravion-cli --version" "ostravion-cli $version" "$("$p/bin/ostravion-cli" --version)"
check "install: ostravion --version" "ostravion $version" "$(QT_QPA_PLATFORM=offscreen "$p/bin/ostravion" --version)"
# Asked for its usage or version, the desktop program answers on stdout
# without a display, a window or a folder; a bad argument is told in Korean.
mkdir -p "$scratch/cwd"
usage=$(cd "$scratch/cwd" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        "$p/bin/ostravion" --help 2>&1; echo "status $?")
check "ostravion --help without a display: usage and status 0" "사용법: ostravion|status 0" \
    "$(printf '%s\n' "$usage" | sed -n '1s/ \[.*//p;$p' | paste -sd'|')"
check "ostravion --version without a display" "ostravion $version" \
    "$(cd "$scratch/cwd" && env -u DISPLAY -u WAYLAND_DISPLAY "$p/bin/ostravion" --version 2>&1)"
bad=$(cd "$scratch/cwd" && env -u DISPLAY -u WAYLAND_DISPLAY "$p/bin/ostravion" --drive C=/no/such 2>&1 \
      >/dev/null; echo "status $?")
check "ostravion: a bad --drive is told in Korean, status 2" \
    "ostravion: 검사할 드라이브로 쓸 수 없습니다: --drive C=/no/such|status 2" \
    "$(printf '%s\n' "$bad" | sed -n '1p;$p' | paste -sd'|')"
check "ostravion: nothing is made in the current folder" "" "$(ls -A "$scratch/cwd")"
check "ostravion-start --help makes no work folder" "0|" \
    "$(HOME=$scratch/cwd "$p/bin/ostravion-start" --help >/dev/null 2>&1; echo "$?|$(ls -A "$scratch/cwd")")"

entry=$p/share/applications/ostravion.desktop
check "desktop entry: starts through ostravion-start with its icon" "Exec=ostravion-start %f|Icon=ostravion" \
    "$(grep -E '^(Exec|Icon)=' "$entry" | paste -sd'|')"

# The manual names every subcommand the program has, its exit status and files.
man=$(zcat "$p/share/man/man1/ostravion-cli.1.gz")
commands=$("$p/bin/ostravion-cli" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && NF {print $1}')
keylist=$("$p/bin/ostravion-cli" keylist --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && NF {print "keylist " $1}')
missing=
while read -r c; do
    [ -z "$c" ] || [ "$c" = keylist ] && continue
    printf '%s\n' "$man" | grep -q "^\.SS \"$(printf %s "$c" | sed 's/-/\\\\-/g')" || missing="$missing $c"
done <<<"$commands
$keylist"
check "manual: a section for every subcommand" "" "$missing"
check "manual: exit status and files" "2" "$(printf '%s\n' "$man" | grep -cE '^\.SH (EXIT STATUS|FILES)$')"

# The launcher: the work folder made with the sample files on the first
# start, a key list already there kept, the program started inside it.
cat >"$p/bin/ostravion" <<'STUB'
#!/bin/sh
echo "$(pwd)|$*"
STUB
chmod +x "$p/bin/ostravion"
home=$scratch/home
mkdir -p "$home"
# A relative argument names the file where the launcher was started.
check "start: the program runs in ~/Ostravion" "$home/Ostravion|$PWD/a.tls" \
    "$(HOME=$home "$p/bin/ostravion-start" a.tls)"
yes_ "start: the sample key list and the splash picture are copied" \
    sh -c "cmp -s '$p/share/ostravion/KEYLIST.DAT' '$home/Ostravion/KEYLIST.DAT' &&
           cmp -s '$p/share/ostravion/vxa.spl' '$home/Ostravion/vxa.spl'"
yes_ "start: the work folder CheckOut is there" test -d "$home/Ostravion/CheckOut"
printf 'mine' >"$home/Ostravion/KEYLIST.DAT"
HOME=$home "$p/bin/ostravion-start" >/dev/null
check "start: the user's key list is kept" "mine" "$(cat "$home/Ostravion/KEYLIST.DAT")"

# The Debian changelog is made from CHANGELOG.md: this version is its newest entry.
check "changelog: the newest entry is this version" "ostravion ($version) unstable; urgency=medium" \
    "$(zcat "$p/share/doc/ostravion/changelog.gz" | head -n1)"

# --- the Debian package
# lintian, the distribution's checks: no error and no warning.
if lint=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1 |
          grep -v '^running with root privileges'; exit "${PIPESTATUS[0]}"); then
    echo "ok deb: lintian reports no error and no warning"
else
    echo "FAIL deb: lintian"; printf '%s\n' "$lint"; fail=1
fi
[ -z "$lint" ] || printf '%s\n' "$lint" | sed 's/^/  lintian: /'
# Its dependencies resolve from the distribution's archive alone: apt
# simulates the installation on a system that has no package installed.
: >"$scratch/no-packages"
if sim=$(apt-get install --simulate --no-install-recommends -o Dir::State::status="$scratch/no-packages" \
         "$(readlink -f "$deb")" 2>&1) && grep -q '^Inst ostravion ' <<<"$sim"; then
    echo "ok deb: apt-get resolves its dependencies on a system with no package installed" \
         "($(grep -c '^Inst ' <<<"$sim") packages)"
else
    echo "FAIL deb: apt-get install --simulate"; printf '%s\n' "$sim" | tail -n 20; fail=1
fi
check "deb: its name" "ostravion_${version}_$(dpkg --print-architecture).deb" "$(basename "$deb")"
check "deb: its version" "$version" "$(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n fonts-nanum; do
    yes_ "deb: depends on $d" grep -q "\(^\|, \)$d\( \|,\|$\)" <<<"$depends"
done
check "deb: recommends xdg-utils (the guide and folders open through xdg-open)" "xdg-utils" \
    "$(dpkg-deb -f "$deb" Recommends)"
x=$scratch/deb
dpkg-deb -x "$deb" "$x"
yes_ "deb: the desktop program, its entry and the manual" \
    test -x "$x/usr/bin/ostravion" -a -s "$x/usr/share/applications/ostravion.desktop" \
         -a -s "$x/usr/share/man/man1/ostravion-cli.1.gz"
check "deb: the user guide with every picture it shows" "" "$(guide_gaps "$x/usr/share/doc/ostravion/guide")"
cli=$x/usr/bin/ostravion-cli
check "deb: ostravion-cli --version" "ostravion-cli $version" "$("$cli" --version)"
check "deb: the packaged sample key list loads" "0" \
    "$("$cli" keylist list "$x/usr/share/ostravion/KEYLIST.DAT" >/dev/null; echo $?)"
mkdir -p "$scratch/tree/app" "$scratch/work"
out=$("$cli" -C "$scratch/work" scan --group DEB --name PC01 \
      --keylist "$x/usr/share/ostravion/KEYLIST.DAT" --drive "C=$scratch/tree" 2>/dev/null)
check "deb: the packaged command line inspects" "0|$scratch/work/CheckOut/DEB_PC01.ipt" "$?|$out"
exit $fail
