#!/bin/bash
# Builds the Debian package dotvane_VERSION_ARCH.deb from a build tree.
#
# Usage: build-deb.sh BUILD_FOLDER [OUTPUT_FOLDER] [REVISION]
#
# Installs the build into a staging tree under /usr/lib/dotvane, then
# arranges it the Debian way: the example configuration moves to
# /etc/dotvane (configuration files, which an upgrade keeps) and the program
# folder links to it, because the program reads DOTVANE.INI from the folder
# of its executable; the unit moves to /lib/systemd/system; /usr/bin gets
# links to both programs; the manual page, the copyright file and the
# changelog are added. The version is the program's own ("Dotvane v. 0.3.2
# pre13" gives 0.3.2~pre13, which sorts before 0.3.2) with the Debian
# REVISION (1 unless given; a higher one builds the same package as an
# upgrade); the dependencies come from dpkg-shlibdeps. Prints the path of
# the package.
set -euo pipefail

fail() {
  echo "build-deb.sh: $*" >&2
  exit 1
}

(($# >= 1 && $# <= 3)) || fail "usage: build-deb.sh BUILD_FOLDER [OUTPUT_FOLDER] [REVISION]"
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
output=$(cd "${2:-.}" && pwd)
revision=${3:-1}
[[ $revision =~ ^[0-9]+$ ]] || fail "the revision must be a number, not \"$revision\""
for tool in cmake strip dpkg-shlibdeps dpkg-gencontrol dpkg-deb gzip; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

umask 022
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# dpkg-shlibdeps and dpkg-gencontrol work in a source tree whose debian/
# folder holds the package's tree.
root=$work/debian/dotvane
program_dir=/usr/lib/dotvane
DESTDIR=$root cmake --install "$build" --prefix "$program_dir" >/dev/null
programs=("$root$program_dir/dotvane" "$root$program_dir/dotvane-plain")
library=$root$program_dir/libdlportio.so
unit=$root$program_dir/dotvane.service
for file in "${programs[@]}" "$library" "$unit"; do
  [ -f "$file" ] || fail "the build installs no ${file#"$root"}"
done
# Stripped as Debian strips: no symbols, no compiler's comment.
strip --remove-section=.comment --remove-section=.note "${programs[@]}"
strip --remove-section=.comment --remove-section=.note --strip-unneeded "$library"

# The version as the program states it, checked against the project's.
caption=$("${programs[0]}" --version)
project=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
pattern='^Dotvane v\. ([0-9][0-9.]*)( ([a-z]+[0-9]*))? NT$'
if [[ ! $caption =~ $pattern ]] || [ "${BASH_REMATCH[1]}" != "$project" ]; then
  fail "the caption \"$caption\" does not carry the project's version $project"
fi
shown_version=${caption#Dotvane v. }
shown_version=${shown_version% NT}
version=${BASH_REMATCH[1]}${BASH_REMATCH[3]:+~${BASH_REMATCH[3]}}-$revision

# The date of the source, for the changelog and the manual page: the last
# commit's, unless SOURCE_DATE_EPOCH says otherwise.
# dpkg-deb clamps the files' times to it, so that two builds of one source
# give the same package.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH=$epoch

# The unit, which may name the manual page that the package has.
mkdir -p "$root/lib/systemd/system"
sed '/^Description=/a Documentation=man:dotvane(1)' "$unit" >"$root/lib/systemd/system/dotvane.service"
rm "$unit"

# The example configuration moves to /etc. Anything else the build installs
# is refused rather than made a configuration file unseen.
mkdir -p "$root/etc/dotvane" "$root/usr/bin"
for entry in "$root$program_dir"/*; do
  name=$(basename "$entry")
  case $name in
    dotvane | dotvane-plain | libdlportio.so) ;;
    DOTVANE.INI | LCDPERF.INI | screens | images)
      mv "$entry" "$root/etc/dotvane/$name"
      ln -s "/etc/dotvane/$name" "$entry"
      ;;
    *) fail "the build installs $program_dir/$name, which the package has no place for" ;;
  esac
done
chmod 644 "$library"
ln -s ../lib/dotvane/dotvane "$root/usr/bin/dotvane"
ln -s ../lib/dotvane/dotvane-plain "$root/usr/bin/dotvane-plain"

man_dir=$root/usr/share/man/man1
mkdir -p "$man_dir"
sed -e "s/@DATE@/$(date -u -d "@$epoch" +%F)/" -e "s/@VERSION@/$shown_version/g" "$here/../man/dotvane.1.in" |
  gzip -9n >"$man_dir/dotvane.1.gz"
ln -s dotvane.1.gz "$man_dir/dotvane-plain.1.gz"

doc_dir=$root/usr/share/doc/dotvane
mkdir -p "$doc_dir"
cp "$here/copyright" "$doc_dir/copyright"
sed -e "s/@VERSION@/$version/" -e "s/@DATE@/$(LC_ALL=C date -u -R -d "@$epoch")/" "$here/changelog.in" \
  >"$work/debian/changelog"
gzip -9n <"$work/debian/changelog" >"$doc_dir/changelog.Debian.gz"

mkdir -p "$root/DEBIAN"
cp "$here/control" "$work/debian/control"
install -m 755 "$here/postinst" "$here/prerm" "$here/postrm" "$root/DEBIAN/"
(cd "$root" && find etc -type f | LC_ALL=C sort | sed 's|^|/|') >"$root/DEBIAN/conffiles"
(cd "$root" && find usr lib -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
(cd "$work" && dpkg-shlibdeps -Tdebian/substvars "${programs[@]#"$work/"}" "${library#"$work/"}" &&
  dpkg-gencontrol -pdotvane -Pdebian/dotvane -Tdebian/substvars)

package=$output/dotvane_${version}_$(dpkg --print-architecture).deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$package" >/dev/null
echo "$package"
