#!/usr/bin/env bash
# forensic.sh <cmake build dir> <forensic_erase.exe>
#
# Makes a small NTFS volume in a file, mounts it through FUSE, maps the mount as drive N: of the
# test prefix, writes files of known random contents, erases all but one with ErasemillKillFile
# (under Wine), unmounts, and then looks at the raw volume: neither a raw search nor The Sleuth
# Kit's listing of deleted entries (fls -rd, icat of each) may find anything of the erased files,
# while the file that was kept must still be found (so the search itself is shown to work).
# Exit 77 (skipped) when the host cannot make or mount the volume, saying why.
set -uo pipefail
PATH=$PATH:/usr/sbin:/sbin  # mkntfs lives there

build=$1 exe=$2
prefix=$(sed -n 's/^prefix=//p' "$build/wine-run.sh")
[ -n "$prefix" ] && [ -d "$prefix/dosdevices" ] || { echo "no test prefix (run through ./lumaspan test)"; exit 1; }

skip() { echo "SKIPPED: $*"; exit 77; }
for tool in mkntfs ntfs-3g fusermount fls icat grep; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (Debian packages ntfs-3g, sleuthkit, fuse)"
done
[ -c /dev/fuse ] || skip "no /dev/fuse: FUSE is not available on this host"

work=$(dirname "$prefix")/scratch/forensic
drive=$prefix/dosdevices/n:
mnt=$work/mnt image=$work/volume.img
daemon=
cleanup() {
  rm -f "$drive"
  if mountpoint -q "$mnt" 2>/dev/null; then
    fusermount -u "$mnt" 2>/dev/null || umount -l "$mnt" 2>/dev/null
  fi
  if [ -n "$daemon" ]; then  # a daemon a lazy unmount left running must not keep the test waiting
    for _ in $(seq 1 50); do kill -0 "$daemon" 2>/dev/null || break; sleep 0.1; done
    kill "$daemon" 2>/dev/null
    wait "$daemon" 2>/dev/null
  fi
  mountpoint -q "$mnt" 2>/dev/null || rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
rm -f "$drive"
mountpoint -q "$mnt" 2>/dev/null && fusermount -u "$mnt"  # left by a run that was killed
rm -rf "$work"; mkdir -p "$mnt"

truncate -s 24M "$image"
mkntfs -F -Q -q "$image" >/dev/null 2>&1 || skip "mkntfs could not make a volume"
# no_detach keeps the daemon a child of this script, so its exit (everything written) can be awaited.
ntfs-3g -o no_detach "$image" "$mnt" >"$work/ntfs-3g.log" 2>&1 &
daemon=$!
for _ in $(seq 1 50); do mountpoint -q "$mnt" && break; kill -0 "$daemon" 2>/dev/null || break; sleep 0.1; done
mountpoint -q "$mnt" || skip "ntfs-3g could not mount the volume: $(tr '\n' ' ' <"$work/ntfs-3g.log")"
# The drive reaches the mounted volume and nothing else of the host.
ln -s "$mnt" "$drive"

# Contents: random bytes written as hex text, so a fragment is a plain string to search for.
tag=$(head -c 4 /dev/urandom | od -An -tx1 | tr -d ' \n')
content() { head -c $(( ($1 + 1) / 2 )) /dev/urandom | od -An -v -tx1 | tr -d ' \n' | head -c "$1"; }
declare -A size=([small]=300 [medium]=5120 [large]=1048576 [nested]=3000 [kept]=300)
declare -A name=([small]="small-$tag.txt" [medium]="medium-$tag.txt" [large]="large-$tag.bin"
                 [nested]="sub-$tag/nested-$tag.txt" [kept]="kept-$tag.txt")
mkdir "$mnt/sub-$tag"
for f in "${!size[@]}"; do content "${size[$f]}" >"$work/$f.content"; cp "$work/$f.content" "$mnt/${name[$f]}"; done
sync
erased=(small medium large nested)
args=()
for f in "${erased[@]}"; do args+=("N:\\${name[$f]//\//\\}"); done
"$build/wine-run.sh" "$exe" "${args[@]}"
rc=$?
rm -f "$drive"
fusermount -u "$mnt" || { echo "FAIL: could not unmount the volume"; exit 1; }
wait "$daemon"; daemon=
[ $rc -eq 0 ] || { echo "FAIL: forensic_erase exited with $rc"; exit 1; }

# Fragments of 32 characters (128 random bits) at every 128th character of a content, and its last
# 32: a content's copies in the volume's file records are cut every 512 bytes by the record's
# check words, so whole contents are not searched for.
fragments() { fold -w 32 "$1" | awk 'NR % 4 == 1 && length($0) == 32'; tail -c 32 "$1"; echo; }
found() { grep -a -o -F -f "$1" "$2" | wc -l; }
failed=0
fls -rd -p "$image" >"$work/deleted.txt" 2>&1 || { echo "FAIL: fls could not read the volume"; cat "$work/deleted.txt"; exit 1; }
# Every deleted entry's data, as an undelete tool would bring it back.
: >"$work/recovered.bin"
while read -r kind _ address _; do
  address=${address%:}
  icat "$image" "$address" >>"$work/recovered.bin" 2>/dev/null
done < <(sed -n 's/^\([^ ]*\) \* \([0-9-]*\):.*/\1 * \2: x/p' "$work/deleted.txt")
echo "deleted entries listed: $(wc -l <"$work/deleted.txt"), bytes recovered from them: $(stat -c %s "$work/recovered.bin")"
for f in "${!size[@]}"; do
  fragments "$work/$f.content" >"$work/$f.fragments"
  head -n 1 "$work/$f.fragments" >"$work/$f.first"
  copies=$(found "$work/$f.first" "$image")
  raw=$(found "$work/$f.fragments" "$image")
  undeleted=$(found "$work/$f.fragments" "$work/recovered.bin")
  listed=$(grep -c -F -- "$(basename "${name[$f]}")" "$work/deleted.txt")
  echo "$f (${size[$f]} bytes): copies of its start in the volume $copies, fragments in the volume $raw," \
       "fragments in undeleted data $undeleted, deleted entries of its name $listed"
  if [ "$f" = kept ]; then
    [ "$raw" -ge 1 ] || { echo "FAIL: the file that was kept is not found: the search does not work"; failed=1; }
  elif [ "$raw" -ne 0 ] || [ "$undeleted" -ne 0 ] || [ "$listed" -ne 0 ]; then
    echo "FAIL: something of the erased file $f is still on the volume"; failed=1
  fi
done
[ $failed -eq 0 ] && echo "PASS: nothing of the erased files is left on the volume"
exit $failed
