#!/usr/bin/env bash
# Builds the Debian package from a build tree (argument) and checks what it holds: the three programs,
# the word list as the build wrote it, a desktop entry that validates, the icon, dependencies read
# from the Qt 6 libraries the programs link, and manual pages that render without warnings and say
# what the packaged programs' --help says.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "check-package: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log") || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/out/marlix_*_amd64.deb)
[ -f "${debs[0]}" ] || fail "cpack made no marlix_<version>_amd64.deb"
deb=${debs[0]}
root=$work/root
dpkg-deb -x "$deb" "$root"

for file in usr/bin/marlix usr/bin/marlix-send usr/bin/marlix-emulator usr/share/marlix/KXWords.txt \
    usr/share/applications/marlix.desktop usr/share/icons/hicolor/scalable/apps/marlix.svg \
    usr/share/man/man1/marlix-send.1.gz usr/share/man/man1/marlix-emulator.1.gz; do
    [ -s "$root/$file" ] || fail "$file is missing or empty"
done
cmp -s "$root/usr/share/marlix/KXWords.txt" "$build/KXWords.txt" || fail "the word list differs from the build's"
desktop-file-validate "$root/usr/share/applications/marlix.desktop" || fail "the desktop entry does not validate"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6core6 libqt6widgets6 libqt6serialport6 libqt6svg6; do
    grep -Eq "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends names no $library: '$depends'"
done

# The --help text in pieces: the description, then each option's names and its text, each joined
# from its lines.
help_pieces() {
    awk '
        /^Usage:/ { description = 1; next }
        description && /^$/ { description = 0; print text; text = ""; next }
        description { text = text " " $0; next }
        /^  [^ ]/ {
            if (text != "") print text
            line = substr($0, 3)
            split_at = match(line, /  +/)
            print substr(line, 1, split_at - 1)
            text = substr(line, split_at + RLENGTH)
            next
        }
        /^   +/ { text = text " " $0; next }
        { if (text != "") print text; text = "" }
        END { if (text != "") print text }
    '
}
squeeze() { tr -s ' \t\n' '   ' | sed 's/^ //; s/ $//'; }

for program in marlix-send marlix-emulator; do
    page=$root/usr/share/man/man1/$program.1.gz
    warnings=$(LC_ALL=C MANWIDTH=1000 man --warnings -l "$page" 2>&1 >"$work/$program.txt") ||
        fail "$program.1 does not render"
    [ -z "$warnings" ] || fail "$program.1: $warnings"
    text=$(squeeze <"$work/$program.txt")
    "$root/usr/bin/$program" --help >"$work/$program.help"
    pieces=0
    while IFS= read -r piece; do
        piece=$(squeeze <<<"$piece")
        [ -n "$piece" ] || continue
        grep -qF -- "$piece" <<<"$text" || fail "$program.1 does not say what --help says: '$piece'"
        pieces=$((pieces + 1))
    done < <(help_pieces <"$work/$program.help")
    [ "$pieces" -ge 10 ] || fail "$program --help gave only $pieces pieces to compare"
done
echo "check-package: $(basename "$deb") holds $(dpkg-deb -c "$deb" | grep -vc '/$') files; Depends: $depends"
