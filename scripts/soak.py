"""The fault soak of rxt4 download and rxt4 update against rxt4-sim.

Each run picks a scenario (a fault of the simulated instrument, a target that takes
no files, a cancel at a random moment...) from a random generator seeded with --seed,
runs the command against a fresh simulator and checks:
  - a success is byte-exact: the downloaded set folder equals what the data set writer
    makes of the kind images the simulator serves (rxt4-sim --write-served); the parts
    the simulator received equal the parts of the image file;
  - a failure exits 1 with a failure text and leaves no partial file (*.part), no empty
    kind folder that it made itself, and only kind folders that are complete; a set
    folder that takes no files is a saving failure naming the folder;
  - an overwrite (--force over an earlier download) ends with exactly the new download
    (and the user's own file), or, failed or cancelled, with the set folder exactly as
    it was and nothing beside it;
  - of two downloads started at once into one set folder, one is refused while the
    other writes; the set folder ends as exactly one download;
  - a cancel (SIGINT) exits 130 within 100 ms of the signal, with the cancel text;
  - no run exceeds its time bound.
Four of every five runs are downloads (one in ten runs two at once), the fifth an update. Prints a table of
scenario x outcome; exits 1 when any run went wrong.
"""

import argparse
import os
import random
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

DONE = "データ転送が完了しました。"
CANCELLED = "データ転送を中止しました。"
LINK_FAILED = "通信に失敗しました。\nRXT4との接続を確認してください。"
SAVE_FAILED = "データを保存できませんでした。"
FOLDER_LINE = "保存先のフォルダに書き込めません: "
BUSY_LINE = "保存先のフォルダには別のデータ転送が書き込んでいます: "
NO_INSTRUMENT = "RXT4との接続が確認できません。"
UPDATE_DONE = "Ver.{} から Ver.{} にアップデートが完了しました。"
UPDATE_CANCELLED = "アップデートを中止しました。"
KINDS = ["LEVEL", "BER", "CONSTEL", "SPECTRUM", "PROFILE", "SKY", "MULTI"]
PARTS = [(1, "main"), (2, "tsnm"), (17, "dec")]
SET_NAMES = ["SET", "0412", "データ", "a b", "x.y"]
CANCEL_LIMIT_S = 0.100
BLOCK_BYTES = 180
XMODEM_BLOCK = 1024


class Run:
    """One planned run: the simulator's arguments, what may come of it, its time bound."""

    def __init__(self, scenario, sim=None, expect="ok", texts=None, bound=10.0):
        self.scenario = scenario
        self.sim = sim or []
        self.expect = expect  # ok, fail, any (ok or fail), cancel (cancelled, or ok when it ended first)
        self.texts = texts or [LINK_FAILED]  # failure texts that may come
        self.bound = bound
        self.rate = 9600
        self.cancel_after = None  # seconds after the first message, or None
        self.target = None  # download: how the set folder refuses files
        self.precreate = None  # download: an empty kind folder there before
        self.parts = None  # update: the part types of the image
        self.port_missing = False
        self.overwrite = False  # download: over an earlier download, with --force
        self.readonly_kind = None  # download: a kind folder that takes no files


# ----------------------------------------------------------------- planning


def last_block(total):
    body = total - 8
    return (body + BLOCK_BYTES - 1) // BLOCK_BYTES


def plan_download(rng, served, unwritable_variants):
    """Picks a download scenario; served: the kind image totals of the data served."""
    code = rng.choice([0x20, 0x23, 0x26, 0x24])
    connect = code in (0x20, 0x23)
    kind = rng.randrange(7)
    block = rng.randint(0, last_block(served[kind]))
    name = rng.choices(
        ["clean", "garbage", "checksum", "status", "wrong block", "wrong kind", "wrong total", "split",
         "delay", "late reply", "drop", "hang-up", "mode wait", "other rate", "no port", "no files", "cancel",
         "overwrite", "read-only kind"],
        [10, 8, 8, 5, 8, 8, 8, 8, 8, 3, 4, 6, 4, 2, 2, 10, 14, 12, 5])[0]
    fail_text = [NO_INSTRUMENT] if connect else [LINK_FAILED]
    if name == "clean":
        run = Run(name)
    elif name == "garbage":
        run = Run(name, ["--fault", "garbage:%x:%d" % (code, rng.randint(1, 3))])
    elif name == "checksum":
        n = rng.randint(1, 4)
        bad = code != 0x24 or n == 4  # only the block read asks again, three times
        run = Run(name, ["--fault", "checksum:%x:%d" % (code, n)], "fail" if bad else "ok", fail_text)
    elif name == "status":
        run = Run(name, ["--fault", "status:%x" % code], "fail", fail_text)
    elif name in ("wrong block", "wrong kind", "wrong total"):
        fault = {"wrong block": "echo", "wrong kind": "kind", "wrong total": "total"}[name]
        n = rng.randint(1, 4)
        bad = n == 4 or (fault == "total" and block == 0)
        run = Run(name, ["--fault", "%s:%d:%d:%d" % (fault, kind, block, n)], "fail" if bad else "ok")
    elif name == "split":
        run = Run(name, ["--fault", "split:%x:%d" % (code, rng.randint(1, 40))])
    elif name == "delay":
        ms = rng.randint(50, 800) if code != 0x24 else rng.randint(100, 3000)
        run = Run(name, ["--fault", "delay:%x:%d:%d" % (code, ms, rng.randint(1, 2))], bound=10 + 2 * ms / 1000)
    elif name == "late reply":
        # Past the time-out: the connection checks fail; a block is asked for again and
        # its late reply comes besides the new one.
        if code == 0x24:
            run = Run(name, ["--fault", "delay:24:5600"], "any", bound=40)
        else:
            run = Run(name, ["--fault", "delay:%x:1300" % code], "fail", fail_text, bound=10)
    elif name == "drop":
        if code == 0x24:
            n = rng.choice([1, 1, 2, 4])
            run = Run(name, ["--fault", "drop:24:%d" % n], "fail" if n == 4 else "ok", bound=10 + 5.5 * n)
        else:
            run = Run(name, ["--fault", "drop:%x" % code], "fail", fail_text)
    elif name == "hang-up":
        run = Run(name, ["--fault", "hangup:%d:%d" % (kind, block)], "fail")
    elif name == "mode wait":
        polls = rng.randint(1, 3)
        run = Run(name, ["--mode-wait", str(polls)], bound=10 + 1.2 * polls)
    elif name == "other rate":
        run = Run(name, ["--baud", "19200"], "fail", [NO_INSTRUMENT])
    elif name == "no port":
        run = Run(name, [], "fail")
        run.port_missing = True
    elif name == "no files":
        run = Run(name, [], "fail", [SAVE_FAILED])
        run.target = rng.choice(unwritable_variants)
    elif name == "read-only kind":
        # A kind folder that takes no files: empty (a download into the set folder) or
        # holding an earlier download (an overwrite, which could not remove it after).
        if "no permission" not in unwritable_variants:
            return plan_download(rng, served, unwritable_variants)
        run = Run(name, [], "fail", [SAVE_FAILED])
        run.readonly_kind = rng.choice(KINDS)
        run.overwrite = rng.random() < 0.5
        run.scenario += " (overwrite)" if run.overwrite else " (empty)"
    elif name == "overwrite":
        # Over an earlier download: a failure on the way, a cancel, or a clean run.
        how = rng.choice(["hang-up", "status", "wrong total", "cancel", "clean"])
        if how == "hang-up":
            run = Run(name, ["--fault", "hangup:%d:%d" % (kind, block)], "fail")
        elif how == "status":
            run = Run(name, ["--fault", "status:24"], "fail")
        elif how == "wrong total":
            run = Run(name, ["--fault", "total:%d:0:4" % kind], "fail")
        elif how == "cancel":
            run = Run(name, ["--line-rate", "--baud", "115200"], "cancel", bound=30)
            run.rate = 115200
            run.cancel_after = rng.uniform(0, 0.2 + 1.2 * sum(served) * 10 / run.rate)
        else:
            run = Run(name)
        run.overwrite = True
        run.scenario = "overwrite: " + how
    else:  # cancel
        run = Run(name, [], "cancel", bound=30)
        run.rate = rng.choice([115200, 460800, 921600])
        run.sim += ["--line-rate", "--baud", str(run.rate)]
        extra = rng.choice(["", "", "mode", "delay"])
        # The signal falls anywhere in the paced transfer (or in the pause before it).
        window = 0.2 + 1.2 * sum(served) * 10 / run.rate
        if extra == "mode":
            run.sim += ["--mode-wait", "2"]
            window += 2.0
        elif extra == "delay":
            run.sim += ["--fault", "delay:24:1500"]
            window += 1.5
        run.cancel_after = rng.uniform(0, window)
        run.scenario = "cancel" + (" (" + extra + ")" if extra else "")
    if run.expect != "ok" and run.target is None and not run.overwrite and run.readonly_kind is None \
            and rng.random() < 0.3:
        run.precreate = rng.choice(KINDS)
    return run


def plan_update(rng, part_types, part_sizes):
    """Picks an update scenario and the image's parts (a subset of the demonstration image)."""
    parts = rng.choice([[1, 2, 17], [1, 2, 17], [1, 2], [2, 17], [17], [1], [1, 17]])
    type_ = rng.choice(parts)
    key = dict(PARTS)[type_]
    blocks = part_sizes[type_] // XMODEM_BLOCK + 1
    name = rng.choices(
        ["clean", "NAK storm", "split", "late wake-up", "ESC count", "completion", "version status",
         "announce status", "silence", "delay", "NAK on EOT", "hang-up", "no wake-up", "cancel"],
        [5, 6, 5, 4, 2, 6, 2, 2, 2, 4, 3, 3, 2, 6])[0]
    run = Run(name)
    if name == "NAK storm":
        run.sim = ["--nak", "%s:%d:%d" % (key, rng.randint(1, blocks), rng.randint(1, 60))]
    elif name == "split":
        codes = rng.sample(["E0", "E1", "E2", "E3"], rng.randint(1, 4))
        run.sim = [a for c in codes for a in ("--split", c)]
    elif name == "late wake-up":
        ms = rng.randint(100, 1500)
        run.sim, run.bound = ["--entry-after-ms", str(ms)], 10 + ms / 1000
    elif name == "ESC count":
        run.sim = ["--entry-esc", str(rng.randint(2, 500))]
    elif name == "completion":
        statuses = [rng.randint(1, 3) for _ in range(rng.randint(0, 3))]
        bad = rng.random() < 0.4
        statuses.append(rng.randint(4, 255) if bad else 0)
        interval = rng.randint(0, 300)
        run.sim = ["--completion", ",".join(map(str, statuses)), "--completion-interval-ms", str(interval)]
        run.expect = "fail" if bad and 17 in parts else "ok"
        run.bound = 10 + len(statuses) * interval / 1000
    elif name in ("version status", "announce status"):
        run.sim, run.expect = ["--" + name.replace(" ", "-"), "%s:%d" % (key, rng.randint(1, 255))], "fail"
    elif name == "silence":
        where = rng.choice(["version:" + key, "version:" + key, "block:%s:%d" % (key, rng.randint(1, blocks)),
                            "eot:" + key])
        run.sim, run.expect, run.bound = ["--silent", where], "fail", 25
    elif name == "delay":
        where = rng.choice(["version:" + key, "block:%s:%d" % (key, rng.randint(1, blocks)), "eot:" + key])
        late = where.startswith("version") and rng.random() < 0.3
        ms = 1300 if late else rng.randint(50, 800 if where.startswith("version") else 3000)
        run.sim, run.bound = ["--delay", "%s:%d" % (where, ms)], 10 + ms / 1000
        run.expect = "fail" if late else "ok"
    elif name == "NAK on EOT":
        run.sim, run.expect = ["--nak-eot", key], "fail"
    elif name == "hang-up":
        where = rng.choice(["version:" + key, "announce:" + key, "block:%s:%d" % (key, rng.randint(1, blocks)),
                            "eot:" + key])
        run.sim, run.expect = ["--hangup", where], "fail"
    elif name == "no wake-up":
        run.sim, run.expect, run.cancel_after = ["--entry-esc", "0"], "cancel", rng.uniform(0, 1.0)
    elif name == "cancel":
        run.rate = 115200
        run.sim, run.expect = ["--line-rate"], "cancel"
        run.cancel_after = rng.uniform(0, 6.0)
        run.bound = 30
    version = rng.choice(["0.00", "1.02", "0.99"])
    if version != "0.00":
        run.sim += ["--fw-version", "%s:%s" % (dict(PARTS)[parts[0]], version)]
    run.old_version = version
    run.parts = parts
    return run


# ----------------------------------------------------------------- running


class Result:
    def __init__(self):
        self.rc = None
        self.out = ""
        self.err = ""
        self.seconds = 0.0
        self.cancel_seconds = None
        self.timed_out = False


def wait_exit(pidfd, seconds):
    """True once the process behind pidfd has ended, within seconds."""
    poller = select.poll()
    poller.register(pidfd, select.POLLIN)
    return bool(poller.poll(max(0, int(seconds * 1000))))


def run_tool(argv, folder, bound, cancel_after, first_line):
    """Runs argv with its output in files; SIGINT cancel_after seconds after first_line
    shows on standard error. The exit is seen through a pidfd, so the cancel time is exact."""
    res = Result()
    out_path, err_path = folder / "stdout.txt", folder / "stderr.txt"
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        start = time.monotonic()
        proc = subprocess.Popen(argv, stdout=out, stderr=err)
    pidfd = os.pidfd_open(proc.pid)
    try:
        deadline = start + bound
        if cancel_after is not None:
            while first_line.encode() not in err_path.read_bytes() and time.monotonic() < deadline:
                if wait_exit(pidfd, 0.005):
                    break
            if not wait_exit(pidfd, cancel_after):
                signalled = time.monotonic()
                proc.send_signal(signal.SIGINT)
                if wait_exit(pidfd, deadline - time.monotonic()):
                    res.cancel_seconds = time.monotonic() - signalled
        if not wait_exit(pidfd, deadline - time.monotonic()):
            res.timed_out = True
            proc.kill()
        res.seconds = time.monotonic() - start
        res.rc = proc.wait()
    finally:
        os.close(pidfd)
    res.out = out_path.read_text(errors="replace")
    res.err = err_path.read_text(errors="replace")
    return res


class Simulator:
    def __init__(self, binary, port, args, log):
        self.port = port
        self.log = open(log, "wb")
        self.proc = subprocess.Popen([binary, "--link", str(port)] + args, stdout=subprocess.DEVNULL,
                                     stderr=self.log)
        deadline = time.monotonic() + 10
        while not os.path.islink(port):
            if self.proc.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("rxt4-sim did not start: " + " ".join(args))
            time.sleep(0.005)

    def stop(self):
        self.proc.send_signal(signal.SIGTERM)
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.log.close()


# ----------------------------------------------------------------- checking


def tree(folder):
    """Relative path -> bytes of every file under folder."""
    files = {}
    for root, _, names in os.walk(folder):
        for n in names:
            p = Path(root) / n
            files[str(p.relative_to(folder))] = p.read_bytes()
    return files


def tree_with_folders(folder):
    """Relative path -> bytes of every file, and -> None of every folder, under folder."""
    entries = {}
    for root, dirs, names in os.walk(folder):
        for d in dirs:
            entries[str((Path(root) / d).relative_to(folder))] = None
        for n in names:
            p = Path(root) / n
            entries[str(p.relative_to(folder))] = p.read_bytes()
    return entries


def check_partial_state(run, set_folder, reference, problems):
    """What a failure or cancel may leave: complete kind folders, empty kind folders
    that were there before, nothing else; no *.part file anywhere."""
    if not set_folder.is_dir():
        return
    for root, _, names in os.walk(set_folder):
        for n in names:
            if n.endswith(".part"):
                problems.append("partial file " + str(Path(root) / n))
    for entry in sorted(set_folder.iterdir()):
        if entry.name not in KINDS:
            problems.append("unexpected " + entry.name)
        elif not any(entry.iterdir()):
            if entry.name != run.precreate:
                problems.append("empty kind folder %s left behind" % entry.name)
        elif tree(entry) != tree(reference / entry.name):
            problems.append("kind folder %s is not complete" % entry.name)
    if run.precreate and not (set_folder / run.precreate).is_dir():
        problems.append("kind folder %s that was there before is gone" % run.precreate)


def outcome_of(run, res, problems, done_text, cancel_text):
    """ok, failed or cancelled from the exit status and the final text; problems grow."""
    if res.timed_out:
        problems.append("still running after %.0f s" % run.bound)
        return "hung"
    out = res.out.rstrip("\n")
    if res.rc == 0:
        if out != done_text:
            problems.append("success with the text %r" % out)
        outcome = "ok"
    elif res.rc == 130:
        if run.cancel_after is None:
            problems.append("exit 130 without a cancel")
        if out != cancel_text:
            problems.append("cancel with the text %r" % out)
        if res.cancel_seconds is None or res.cancel_seconds > CANCEL_LIMIT_S:
            problems.append("cancel took %s s" % ("?" if res.cancel_seconds is None else "%.3f" % res.cancel_seconds))
        outcome = "cancelled"
    elif res.rc == 1:
        # The text may be followed by lines that say more (the folder refused and why,
        # the rates that differ).
        if not any(out == t or out.startswith(t + "\n") for t in run.texts):
            problems.append("failure with the text %r" % out)
        outcome = "failed"
    else:
        problems.append("exit status %s" % res.rc)
        return "crashed"
    wanted = {"ok": ["ok"], "fail": ["failed"], "any": ["ok", "failed"], "cancel": ["cancelled", "ok"]}[run.expect]
    if outcome not in wanted:
        problems.append("expected %s, got %s" % ("/".join(wanted), outcome))
    return outcome


# ----------------------------------------------------------------- the soak


class Soak:
    def __init__(self, args):
        self.bin = Path(args.bin)
        self.sim = str(self.bin / "rxt4-sim")
        self.rxt4 = str(self.bin / "rxt4")
        self.root = Path(tempfile.mkdtemp(prefix="rxt4-soak-"))
        self.verbose = args.verbose
        self.table = {}
        self.wrong = []
        subprocess.run([self.rxt4, "sample", str(self.root / "demo")], check=True)
        self.sources = [None] + sorted(p for p in (self.root / "demo").iterdir())
        self.references = {}
        image = self.root / "demo.img"
        subprocess.run([self.rxt4, "sample", "--firmware", str(image)], check=True)
        self.image = image.read_bytes()
        self.part_bytes, offset = {}, 0
        listing = subprocess.run([self.rxt4, "image", str(image)], check=True, capture_output=True, text=True)
        self.part_versions = {}
        for line in listing.stdout.splitlines():
            fields = line.split()
            type_, size = int(fields[0]), int(fields[2])
            self.part_bytes[type_] = self.image[offset:offset + size]
            self.part_versions[type_] = line.split('version "')[1].rstrip('"')
            offset += size
        self.unwritable = ["a file in its place", "under a file"] + self.probe_unwritable()

    def probe_unwritable(self):
        """The refusals this machine can make: a folder without write permission (for root
        an immutable one) and a read-only medium (root, in a private mount namespace)."""
        variants = []
        probe = self.root / "probe"
        probe.mkdir()
        if os.geteuid() != 0:
            variants.append("no permission")
        elif subprocess.run(["chattr", "+i", str(probe)], capture_output=True).returncode == 0:
            subprocess.run(["chattr", "-i", str(probe)], check=True)
            variants.append("no permission")
        if os.geteuid() == 0 and shutil.which("unshare"):
            r = subprocess.run(["unshare", "--mount", "--propagation", "private", "sh", "-c",
                                'mount -t tmpfs -o ro,size=64k rxt4-soak "$0" && ! touch "$0/x" 2>/dev/null',
                                str(probe)], capture_output=True)
            if r.returncode == 0:
                variants.append("a read-only medium")
        return variants

    def reference(self, source, name):
        """What a download of source must give, in a set folder called name, and the kind totals."""
        key = (source, name)
        if key not in self.references:
            folder = self.root / "ref" / str(len(self.references)) / name
            args = [self.sim, "--write-served", str(folder)] + (["--data", str(source)] if source else [])
            listing = subprocess.run(args, check=True, capture_output=True, text=True).stdout
            totals = [int(line.split()[1]) for line in listing.splitlines()]
            self.references[key] = (folder, totals)
        return self.references[key]

    def record(self, label, run, res, outcome, problems):
        row = self.table.setdefault(label, {"runs": 0, "ok": 0, "failed": 0, "cancelled": 0, "wrong": 0,
                                            "max_s": 0.0, "max_cancel_ms": None})
        row["runs"] += 1
        row["max_s"] = max(row["max_s"], res.seconds)
        if res.cancel_seconds is not None and outcome == "cancelled":
            row["max_cancel_ms"] = max(row["max_cancel_ms"] or 0, res.cancel_seconds * 1000)
        if problems:
            row["wrong"] += 1
            self.wrong.append((label, run, res, problems))
        elif outcome in row:
            row[outcome] += 1
        if self.verbose or problems:
            print("%-34s %-9s %5.2f s  %s%s" % (label, outcome, res.seconds, " ".join(run.sim),
                                                "  WRONG: " + "; ".join(problems) if problems else ""),
                  flush=True)

    def download(self, index, rng):
        source = rng.choice(self.sources)
        name = rng.choice(SET_NAMES)
        reference, totals = self.reference(source, name)
        run = plan_download(rng, totals, self.unwritable)
        if source:
            run.sim += ["--data", str(source)]
        folder = self.root / ("run%d" % index)
        out_root = folder / "out"
        set_folder = out_root / name
        out_root.mkdir(parents=True)
        if run.precreate:
            (set_folder / run.precreate).mkdir(parents=True)
        if run.overwrite:
            # An earlier download of other data (a mix would show), and a file of the user's.
            earlier, _ = self.reference(rng.choice([s for s in self.sources if s != source]), name)
            shutil.copytree(earlier, set_folder)
            (set_folder / "notes.txt").write_bytes(b"the user's")
        undo_kind = self.make_readonly_kind(run, set_folder)
        before = tree_with_folders(set_folder) if set_folder.is_dir() else None
        wrapper, cleanup, out, named, in_the_way = self.prepare_target(run, set_folder)
        port = folder / "port"
        sim = None if run.port_missing else Simulator(self.sim, port, run.sim, folder / "sim.log")
        try:
            argv = wrapper + [self.rxt4, "download", "--port", str(port), "--out", str(out), "--baud", str(run.rate)]
            if run.overwrite:
                argv.append("--force")
            res = run_tool(argv, folder, run.bound, run.cancel_after, "RXT4との接続確認を行います。")
        finally:
            if sim:
                sim.stop()
            cleanup()
            undo_kind()
        problems = []
        outcome = outcome_of(run, res, problems, DONE, CANCELLED)
        if run.overwrite or run.readonly_kind:
            if sorted(p.name for p in out_root.iterdir()) != [name]:
                problems.append("left beside the set folder: %s" % sorted(p.name for p in out_root.iterdir()))
        if outcome == "ok":
            got, want = tree(set_folder), tree(reference)
            if run.overwrite and got.pop("notes.txt", None) != b"the user's":
                problems.append("the user's file did not stay")
            if got != want:
                diff = sorted(set(got) ^ set(want)) or sorted(k for k in got if got[k] != want.get(k))
                problems.append("download differs from the served data: " + ", ".join(diff[:4]))
        elif run.readonly_kind:
            named = str(set_folder / run.readonly_kind)
            if FOLDER_LINE + named not in res.out:
                problems.append("the refusing kind folder is not named: %r" % res.out[-300:])
            if run.overwrite and tree_with_folders(set_folder) != before:
                problems.append("the earlier download was changed")
            if not run.overwrite and sorted(p.name for p in set_folder.iterdir()) != [run.readonly_kind]:
                problems.append("the set folder holds %s" % sorted(p.name for p in set_folder.iterdir()))
        elif run.overwrite:
            if tree_with_folders(set_folder) != before:
                problems.append("the earlier download was changed by a %s" % outcome)
        elif run.target:
            if FOLDER_LINE + named not in res.out:
                problems.append("the refused folder is not named: %r" % res.out[-300:])
            if in_the_way and in_the_way.read_bytes() != b"x":
                problems.append("the file in the way was changed")
            if not in_the_way and any(set_folder.iterdir()):
                problems.append("something was written into the refusing folder")
        else:
            check_partial_state(run, set_folder, reference, problems)
        label = "download: " + run.scenario + (" (%s)" % run.target if run.target else "")
        self.record(label, run, res, outcome, problems)
        if not problems:
            shutil.rmtree(folder, ignore_errors=True)

    def make_readonly_kind(self, run, set_folder):
        """Makes run.readonly_kind a kind folder that takes no files (immutable for root,
        mode 0555 otherwise); returns the undo."""
        if run.readonly_kind is None:
            return lambda: None
        kind = set_folder / run.readonly_kind
        kind.mkdir(parents=True, exist_ok=True)
        if os.geteuid() == 0:
            subprocess.run(["chattr", "+i", str(kind)], check=True)
            return lambda: subprocess.run(["chattr", "-i", str(kind)], check=True)
        kind.chmod(0o555)
        return lambda: kind.chmod(0o755)

    def two_writers(self, index, rng):
        """Two downloads of different data started at once into one empty set folder:
        one writes, the other is refused while it does (or, started after it ended,
        finds the measurements there); the set folder ends as one download, whole."""
        name = rng.choice(SET_NAMES)
        sources = rng.sample(self.sources, 2)
        folder = self.root / ("run%d" % index)
        set_folder = folder / "out" / name
        set_folder.mkdir(parents=True)
        run = Run("two writers", expect="any", bound=30)
        sims, procs, refs = [], [], []
        try:
            for n, source in enumerate(sources):
                args = ["--line-rate", "--baud", "115200"] + (["--data", str(source)] if source else [])
                sims.append(Simulator(self.sim, folder / ("port%d" % n), args, folder / ("sim%d.log" % n)))
                refs.append(self.reference(source, name)[0])
            start = time.monotonic()
            for n in range(2):
                with open(folder / ("out%d.txt" % n), "wb") as out, open(folder / ("err%d.txt" % n), "wb") as err:
                    procs.append(subprocess.Popen([self.rxt4, "download", "--port", str(folder / ("port%d" % n)),
                                                   "--out", str(set_folder), "--baud", "115200"],
                                                  stdout=out, stderr=err))
            codes = []
            for p in procs:
                try:
                    codes.append(p.wait(max(0.1, start + run.bound - time.monotonic())))
                except subprocess.TimeoutExpired:
                    p.kill()
                    codes.append(p.wait())
            seconds = time.monotonic() - start
        finally:
            for sim in sims:
                sim.stop()
        problems = []
        outs = [(folder / ("out%d.txt" % n)).read_text(errors="replace") for n in range(2)]
        for n, (code, out) in enumerate(zip(codes, outs)):
            if code == 0 and out != DONE + "\n":
                problems.append("writer %d: success with %r" % (n, out))
            elif code == 1 and out != SAVE_FAILED + "\n" + BUSY_LINE + str(set_folder) + "\n":
                problems.append("writer %d: failure with %r" % (n, out))
            elif code not in (0, 1, 2):
                problems.append("writer %d: exit status %s" % (n, code))
        winners = [refs[n] for n in range(2) if codes[n] == 0]
        got = tree(set_folder)
        if not winners:
            problems.append("neither writer wrote")
        elif all(got != tree(ref) for ref in winners):
            problems.append("the set folder is no one download whole")
        res = Result()
        res.seconds, res.rc, res.out = seconds, codes, " | ".join(outs)
        outcome = "ok" if codes.count(0) == 2 else "failed"
        label = "download: two writers (%s)" % ("both wrote, one after the other" if codes.count(0) == 2
                                               else "one refused" if 1 in codes else "one found the data")
        self.record(label, run, res, outcome, problems)
        if not problems:
            shutil.rmtree(folder, ignore_errors=True)

    def prepare_target(self, run, set_folder):
        """Makes the set folder refuse files as run.target says. Returns the command
        prefix, the undo, the --out path, the folder the message must name, and a file
        in the way that must stay as it is."""
        nothing = lambda: None
        if run.target is None:
            return [], nothing, set_folder, None, None
        if run.target == "a file in its place":
            set_folder.write_bytes(b"x")
            return [], nothing, set_folder, str(set_folder), set_folder
        if run.target == "under a file":
            set_folder.write_bytes(b"x")
            return [], nothing, set_folder / "SET", str(set_folder / "SET"), set_folder
        set_folder.mkdir()
        if run.target == "no permission":
            if os.geteuid() == 0:
                subprocess.run(["chattr", "+i", str(set_folder)], check=True)
                undo = lambda: subprocess.run(["chattr", "-i", str(set_folder)], check=True)
            else:
                set_folder.chmod(0o555)
                undo = lambda: set_folder.chmod(0o755)
            return [], undo, set_folder, str(set_folder), None
        # A read-only medium mounted on the set folder, seen by the command only.
        return (["unshare", "--mount", "--propagation", "private", "sh", "-c",
                 'mount -t tmpfs -o ro,size=64k rxt4-soak "$0" && exec "$@"', str(set_folder)],
                nothing, set_folder, str(set_folder), None)

    def update(self, index, rng):
        run = plan_update(rng, [t for t, _ in PARTS], {t: len(b) for t, b in self.part_bytes.items()})
        folder = self.root / ("run%d" % index)
        received = folder / "received"
        received.mkdir(parents=True)
        image = folder / "fw.img"
        image.write_bytes(b"".join(self.part_bytes[t] for t in run.parts))
        port = folder / "port"
        sim = Simulator(self.sim, port, ["--update-mode", "--received", str(received)] + run.sim,
                        folder / "sim.log")
        try:
            res = run_tool([self.rxt4, "update", "--port", str(port), str(image)], folder, run.bound,
                           run.cancel_after, "リモート更新モードで接続します。")
        finally:
            sim.stop()
        problems = []
        first = run.parts[0]
        outcome = outcome_of(run, res, problems, UPDATE_DONE.format(run.old_version, self.part_versions[first]),
                             UPDATE_CANCELLED)
        names = {dict(PARTS)[t] + ".bin": t for t in run.parts}
        for entry in sorted(received.iterdir()):
            if entry.name not in names:
                problems.append("received a part the image does not hold: " + entry.name)
            elif entry.read_bytes() != self.part_bytes[names[entry.name]]:
                problems.append("received %s differs from the image's part" % entry.name)
        if outcome == "ok" and sorted(p.name for p in received.iterdir()) != sorted(names):
            problems.append("not every part arrived")
        self.record("update: " + run.scenario, run, res, outcome, problems)
        if not problems:
            shutil.rmtree(folder, ignore_errors=True)

    def print_table(self, seconds):
        print()
        print("%-46s %5s %5s %7s %10s %6s %8s %10s" % ("scenario", "runs", "ok", "failed", "cancelled", "wrong",
                                                        "max s", "cancel ms"))
        totals = {"runs": 0, "ok": 0, "failed": 0, "cancelled": 0, "wrong": 0}
        for label in sorted(self.table, key=lambda l: (not l.startswith("download"), l)):
            row = self.table[label]
            cancel = "%.0f" % row["max_cancel_ms"] if row["max_cancel_ms"] is not None else "-"
            print("%-46s %5d %5d %7d %10d %6d %8.1f %10s" % (label, row["runs"], row["ok"], row["failed"],
                                                           row["cancelled"], row["wrong"], row["max_s"], cancel))
            for k in totals:
                totals[k] += row[k]
        print("%-46s %5d %5d %7d %10d %6d" % ("all", totals["runs"], totals["ok"], totals["failed"],
                                             totals["cancelled"], totals["wrong"]))
        print("%.0f s in all" % seconds)


def main():
    parser = argparse.ArgumentParser(prog="scripts/soak", description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=250, help="number of runs (default 250: 200 downloads, 50 updates)")
    parser.add_argument("--seed", type=int, default=None, help="seed of the random choices (default: from the clock)")
    parser.add_argument("--bin", required=True, help="folder holding rxt4 and rxt4-sim")
    parser.add_argument("--verbose", action="store_true", help="print every run")
    parser.add_argument("--keep", action="store_true", help="keep the working folder")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else int(time.time())
    print("scripts/soak --runs %d --seed %d" % (args.runs, seed), flush=True)
    rng = random.Random(seed)
    soak = Soak(args)
    started = time.monotonic()
    try:
        for i in range(args.runs):
            (soak.update if i % 5 == 4 else soak.two_writers if i % 10 == 7 else soak.download)(i, rng)
    finally:
        soak.print_table(time.monotonic() - started)
        if args.keep or soak.wrong:
            print("working folder (runs that went wrong are kept):", soak.root)
        else:
            shutil.rmtree(soak.root, ignore_errors=True)
    return 1 if soak.wrong else 0


if __name__ == "__main__":
    sys.exit(main())
