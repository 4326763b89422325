#!/usr/bin/env python3
"""LumaspanCmd's --json document read by a real JSON parser and checked against its schema
(docs/COMMAND_LINE.md). Seeds junk on the test drive T: from the host side, then scans it.
usage: json_check.py <wine-run.sh> <LumaspanCmd.exe> <folder of drive T:>"""
import json, os, shutil, subprocess, sys

wine_run, exe, drive = sys.argv[1:4]
seed = os.path.join(drive, "cmdjson")
shutil.rmtree(seed, ignore_errors=True)
os.makedirs(os.path.join(seed, "sub"))
files = {"a.tmp": b"12345", "sub/b \u00e9.old": b"12", "keep.txt": b"k"}
for name, data in files.items():
    with open(os.path.join(seed, name), "wb") as f:
        f.write(data)
try:
    run = subprocess.run([wine_run, exe, "scan", "--junk=T:", "--json", "--quiet"], capture_output=True, timeout=300)
finally:
    left = sorted(os.path.relpath(os.path.join(d, n), seed) for d, _, ns in os.walk(seed) for n in ns)
    shutil.rmtree(seed, ignore_errors=True)
assert run.returncode == 0, (run.returncode, run.stderr)
doc = json.loads(run.stdout.decode("utf-8"))
keys = {"schema": str, "command": str, "started": str, "stopped": bool, "items": list,
        "found": int, "bytes": int, "removed": int, "failed": int, "exitCode": int}
assert set(doc) == set(keys), sorted(doc)
for key, kind in keys.items():
    assert type(doc[key]) is kind, (key, doc[key])
assert doc["schema"] == "lumaspan-cmd/1" and doc["command"] == "scan" and not doc["stopped"]
item_keys = {"kind": str, "category": str, "location": str, "name": str, "size": int, "state": str}
for item in doc["items"]:
    assert set(item) == set(item_keys), item
    for key, kind in item_keys.items():
        assert type(item[key]) is kind, (key, item)
    assert item["kind"] in ("junk", "trace", "registry") and item["state"] == "found", item
ours = sorted((i["location"], i["name"], i["size"]) for i in doc["items"] if i["location"].startswith("T:\\cmdjson\\"))
assert ours == [("T:\\cmdjson\\", "a.tmp", 5), ("T:\\cmdjson\\sub\\", "b \u00e9.old", 2)], ours
assert doc["found"] == len(doc["items"]) and doc["bytes"] == sum(i["size"] for i in doc["items"])
assert doc["removed"] == 0 and doc["failed"] == 0 and doc["exitCode"] == 0
assert left == sorted(["a.tmp", "keep.txt", os.path.join("sub", "b \u00e9.old")]), left
print("json document valid:", len(doc["items"]), "items")
