#!/usr/bin/env bash
# End-to-end check of a data folder shared through a real SMB server (not part of CI; needs root, the
# samba, smbclient and smbnetfs packages and /dev/fuse). Samba serves a fresh folder on 127.0.0.1; two
# independent client mounts of it stand for two workstations: the kernel's cifs when the kernel has it,
# else two FUSE (smbnetfs) mounts, whose locks stay in each mount. Then:
#   1. verify through the second mount names what the mount lacks for shared locks;
#   2. one program on each mount (the storage helper's "present"): each is warned about the other
#      within a heartbeat when their locks do not meet;
#   3. 2 x N appends, one process per mount: how many arrive whole.
# Usage: scripts/samba_check.sh [BUILD_DIR] [N]
set -u
build=$(realpath "${1:-build}")
appends=${2:-1000}
tool="$build/bin/ombrisa-tool"
helper="$build/bin/ombrisa-storage-helper"
for f in "$tool" "$helper"; do
  [ -x "$f" ] || { echo "manca $f (cmake --build $build --target ombrisa-tool ombrisa-storage-helper)"; exit 2; }
done
[ "$(id -u)" = 0 ] || { echo "serve root (smbd sulla porta 445, mount FUSE)"; exit 77; }
for c in smbd smbnetfs fusermount; do
  command -v "$c" > /dev/null || { echo "manca $c (apt-get install samba smbclient smbnetfs fuse3)"; exit 77; }
done
[ -c /dev/fuse ] || { echo "manca /dev/fuse"; exit 77; }

work=$(mktemp -d /tmp/ombrisa-samba.XXXXXX)
smbpid=""
cleanup() {
  for m in "$work/a" "$work/b"; do
    mountpoint -q "$m" && { umount "$m" 2> /dev/null || fusermount -u "$m"; }
  done
  [ -n "$smbpid" ] && kill "$smbpid" 2> /dev/null
  sleep 1
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work"/{share,priv,lock,state,cache,log,a,b,home-a/.smb,home-b/.smb}
chmod 777 "$work/share"
cat > "$work/smb.conf" <<CONF
[global]
  interfaces = 127.0.0.1
  bind interfaces only = yes
  smb ports = 445
  private dir = $work/priv
  lock directory = $work/lock
  state directory = $work/state
  cache directory = $work/cache
  pid directory = $work/lock
  log file = $work/log/%m.log
  rpc start on demand helpers = no
  map to guest = Bad User
  server role = standalone server
  disable netbios = yes
  load printers = no
  printcap name = /dev/null
[dati]
  path = $work/share
  read only = no
  guest ok = yes
  force user = root
CONF
smbd -D -s "$work/smb.conf" || { echo "smbd non parte"; exit 1; }
for _ in $(seq 50); do [ -s "$work/lock/smbd.pid" ] && break; sleep 0.1; done
smbpid=$(cat "$work/lock/smbd.pid")
echo "Samba in ascolto su 127.0.0.1:445 (pid $smbpid)"

# Two workstations: the kernel's cifs when it is there, else two FUSE mounts.
if mount -t cifs //127.0.0.1/dati "$work/a" -o guest,vers=3.0 2> "$work/cifs.err" &&
   mount -t cifs //127.0.0.1/dati "$work/b" -o guest,vers=3.0,nosharesock 2>> "$work/cifs.err"; then
  kind="cifs del kernel"
  da="$work/a"; db="$work/b"
else
  echo "cifs del kernel non disponibile: $(tr '\n' ' ' < "$work/cifs.err")"
  mountpoint -q "$work/a" && umount "$work/a"
  for w in a b; do
    printf 'auth "guest" ""\n' > "$work/home-$w/.smb/smbnetfs.conf"
    chmod 600 "$work/home-$w/.smb/smbnetfs.conf"
    HOME="$work/home-$w" smbnetfs "$work/$w" || { echo "smbnetfs non monta"; exit 1; }
  done
  kind="FUSE (smbnetfs)"
  da="$work/a/127.0.0.1/dati"; db="$work/b/127.0.0.1/dati"
  for _ in $(seq 100); do [ -d "$da" ] && [ -d "$db" ] && break; sleep 0.1; done
fi
echo "Due montaggi indipendenti: $kind"

status=0
"$tool" generate --dir "$da" --clients 20 --calls 20 --agents 1 --works 1 > /dev/null || { echo "generate fallito"; exit 1; }
echo "--- 1. verify dal secondo montaggio"
"$tool" verify --dir "$db" | grep -E "Cartella dei dati|Esito"

echo "--- 2. un programma per montaggio, un segnale al secondo"
"$helper" present "$da" 6 > "$work/present-a.txt" &
pa=$!
sleep 1.5 # as when one workstation starts the program after the other
"$helper" present "$db" 5 > "$work/present-b.txt" &
pb=$!
wait "$pa" "$pb"
for w in a b; do
  if grep -q "da una sola postazione" "$work/present-$w.txt"; then
    echo "montaggio $w: avvisato ($(head -c 160 "$work/present-$w.txt")...)"
  else
    echo "montaggio $w: NESSUN avviso"
    status=1
  fi
done

echo "--- 3. $appends + $appends aggiunte, un processo per montaggio"
"$helper" append "$da/prova.dat" "$appends" 0 &
pa=$!
"$helper" append "$db/prova.dat" "$appends" 1 &
pb=$!
wait "$pa"; ea=$?
wait "$pb"; eb=$?
size=$(stat -c %s "$da/prova.dat")
whole=$(python3 - "$da/prova.dat" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
ok = 0
for i in range(0, len(data) - len(data) % 64, 64):
    r = data[i:i + 64]
    head, _, tail = r.partition(b'|')
    p = head[1:2]
    if head.startswith(b'P') and p in (b'0', b'1') and tail == bytes([65 + int(p)]) * len(tail):
        ok += 1
print(ok)
PY
)
echo "uscite dei processi: $ea $eb; schede nel file: $((size / 64)) (resto $((size % 64)) byte); intere: $whole su $((2 * appends))"
[ "$whole" = "$((2 * appends))" ] && echo "tutte le aggiunte sono arrivate intere" ||
  echo "aggiunte perse o rovinate: i blocchi dei due montaggi non si incontrano"
exit $status
