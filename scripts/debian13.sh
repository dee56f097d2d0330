#!/usr/bin/env bash
# Runs the test command on Debian 13 (trixie) in a chroot. The chroot is made once with
# debootstrap, from the Debian mirror this machine's apt sources name, and kept in
# /var/tmp/hexorin-debian13 (or HEXORIN_DEBIAN13_DIR); each run copies the work tree's files into
# it afresh and runs ./scripts/test.sh there, which installs what it needs from trixie. Needs root;
# the first run takes long (the chroot, the packages and three builds on 2 cores). Arguments, if
# given, name another command to run there instead, such as ./scripts/analyse.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

suite=trixie
place="${HEXORIN_DEBIAN13_DIR:-/var/tmp/hexorin-debian13}"
root="$place/root"
[ "$(id -u)" -eq 0 ] || hexorin_fail "debian13.sh needs root: debootstrap, chroot and mounts."

# The first Debian archive (not its security archive) in this machine's apt sources, in either
# format.
apt_mirror() {
    local file lists=(/etc/apt/sources.list /etc/apt/sources.list.d/*.list)
    for file in "${lists[@]}" /etc/apt/sources.list.d/*.sources; do
        [ ! -f "$file" ] || cat "$file"
    done | sed -nE -e 's/^URIs:[[:space:]]*//p' \
        -e 's/^deb[[:space:]]+(\[[^]]*\][[:space:]]+)?([^[:space:]]+).*/\2/p' |
        tr ' ' '\n' | grep -m 1 -E '^https?://.*/debian/?$'
}

make_chroot() {
    [ -f "$place/ready" ] && return 0
    command -v debootstrap >/dev/null ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null ||
        hexorin_fail "could not install debootstrap."
    local mirror
    mirror="$(apt_mirror)"
    [ -n "$mirror" ] || hexorin_fail "no Debian mirror in /etc/apt/sources.list*."
    echo "hexorin: debootstrap $suite from $mirror into $root"
    rm -rf "$root"
    mkdir -p "$root"
    debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$place/debootstrap.log" 2>&1 || {
        tail -n 20 "$place/debootstrap.log" >&2
        hexorin_fail "debootstrap failed; its log: $place/debootstrap.log"
    }
    touch "$place/ready"
}

mounted=()
# A process the tests started may still be on its way out: each mount gets a few tries.
unmount_all() {
    local index try
    for ((index = ${#mounted[@]} - 1; index >= 0; index--)); do
        for try in 1 2 3 4 5 6 7 8 9 10; do
            umount "${mounted[index]}" 2>/dev/null && continue 2
            sleep 1
        done
        echo "hexorin: could not unmount ${mounted[index]}" >&2
    done
}

# Each its own mount, nothing recursive: unmounting them cannot reach the machine's own.
mount_into_chroot() {
    trap unmount_all EXIT
    local type target options
    while read -r type target options; do
        mkdir -p "$root$target"
        if [ "$type" = bind ]; then
            mount --bind "$target" "$root$target"
        else
            mount -t "$type" -o "$options" "$type" "$root$target"
        fi
        mounted+=("$root$target")
    done <<'EOF'
proc /proc nosuid,nodev,noexec
sysfs /sys nosuid,nodev,noexec,ro
bind /dev -
devpts /dev/pts newinstance,ptmxmode=0666,mode=620
tmpfs /dev/shm nosuid,nodev,mode=1777
EOF
}

make_chroot
mount_into_chroot
cp /etc/resolv.conf "$root/etc/resolv.conf"

source_dir=/root/hexorin
rm -rf "${root:?}$source_dir"
mkdir -p "$root$source_dir"
(cd "$hexorin_root" && git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -T - -cf - 2>/dev/null) | tar -xf - -C "$root$source_dir"

command=("${@:-./scripts/test.sh}")
echo "hexorin: running ${command[*]} on Debian $(cat "$root/etc/debian_version")"
chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    bash -c 'cd "$0" && exec "$@"' "$source_dir" "${command[@]}" ||
    hexorin_fail "${command[*]} failed on Debian 13."
echo "hexorin: ${command[*]} passed on Debian 13"
