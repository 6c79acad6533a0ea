#!/bin/bash
# Lets a kernel that cannot run 32-bit x86 programs run 32-bit Wine, for the
# tests of the 32-bit Windows build: qemu's user-mode emulator runs every
# 32-bit Linux program (through binfmt_misc), and 32-bit Wine with its
# libraries comes from an i386 Debian tree of its own, so that the host's
# package set is left as it is. Run as root; each step is skipped when done.
#
# The tree is /opt/dotvane-i386/root and its Wine is started by
# /opt/dotvane-i386/wine, which the 32-bit build's tests find.
#
# Exits 0 when 32-bit Wine can run afterwards, 1 with a message otherwise.
set -euo pipefail

home=/opt/dotvane-i386
root=$home/root
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=http://deb.debian.org/debian

# qemu 7 (Debian 12's own) does not honour MAP_FIXED_NOREPLACE, so that each
# Wine process spends a minute probing its address space; qemu 10 does.
# Debian 12 has it in its backports, later releases in main.
qemu=/usr/bin/qemu-i386
version=$([ -x "$qemu" ] && "$qemu" --version | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p' || true)
if [ "${version:-0}" -lt 8 ]; then
  from=()
  if [ "$suite" = bookworm ]; then
    if ! grep -rqs "bookworm-backports" /etc/apt/sources.list /etc/apt/sources.list.d; then
      printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\n' "$mirror" \
        >/etc/apt/sources.list.d/bookworm-backports.sources
    fi
    apt-get update -qq
    from=(-t bookworm-backports)
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${from[@]}" qemu-user >/dev/null
fi

# 32-bit x86 programs go to the emulator. F opens it now, so that it also
# serves programs started in other mount namespaces.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ] && ! mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null; then
  echo "binfmt_misc is not available here, so 32-bit programs cannot run even emulated" >&2
  exit 1
fi
if [ ! -e "$binfmt/dotvane-i386" ]; then
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":dotvane-i386:M::$magic:$mask:$qemu:F" >"$binfmt/register"
fi

# The i386 tree: a minimal Debian with 32-bit Wine, configured by its own
# (emulated) package scripts. A tree half made, or with another Wine than
# the host's wineserver (which serves its programs), is made anew.
wine_version() { dpkg-query --admindir="$1" -W -f='${Version}' "$2" 2>/dev/null || true; }
if [ ! -f "$home/.complete" ] ||
   [ "$(wine_version "$root/var/lib/dpkg" wine32)" != "$(wine_version /var/lib/dpkg wine64)" ]; then
  command -v debootstrap >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
  rm -rf "$root"
  mkdir -p "$home"
  debootstrap --arch=i386 --variant=minbase --include=wine32,libwine,fonts-wine "$suite" "$root" "$mirror" \
    >"$home/debootstrap.log" 2>&1 || {
    tail -20 "$home/debootstrap.log" >&2
    echo "The i386 tree for 32-bit Wine could not be made (log: $home/debootstrap.log)" >&2
    exit 1
  }
  # Wine's 32-bit programs find their libraries in the tree, and everything
  # else (the prefix, the build tree, the X server's socket) on the host.
  cat >"$home/wine" <<EOF
#!/bin/sh
# 32-bit Wine from the i386 tree, emulated by qemu-i386.
export QEMU_LD_PREFIX=$root
exec $root/usr/lib/wine/wine "\$@"
EOF
  chmod +x "$home/wine"
  touch "$home/.complete"
fi
