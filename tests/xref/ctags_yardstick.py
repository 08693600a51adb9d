#!/usr/bin/env python3
"""A yardstick for the cross-references, measured against universal-ctags.

Runs ctags and xref_dump over the same folders and checks two things:
  anchored   every function, macro, type and member that ctags finds has a
             definition at the same file and line with the same name in the dump
             (at least ANCHOR_THRESHOLD per language and kind group);
  linked     every use that the dump links, of a name that ctags defines exactly
             once over the whole tree, leads to that definition's line.
Prints the figures per language and kind; exits 1 when a threshold is missed.

usage: ctags_yardstick.py XREF_DUMP REPO_ROOT [-v]
"""
import collections
import json
import os
import shutil
import subprocess
import sys
import tempfile

ANCHOR_THRESHOLD = 0.95
LINK_THRESHOLD = 1.0

# ctags kind -> the group it is counted in. Kinds not named here are left out:
# namespaces and packages (not one line each in every language), variables (globals and,
# in Basic, locals), and the kinds ctags only lists on request (locals, parameters,
# prototypes, extern declarations, labels, template and macro parameters). So are the
# names ctags makes up for what has none ("__anon...": lambdas, anonymous structs).
GROUPS = {
    "function": "function", "method": "member", "macro": "macro",
    "class": "type", "struct": "type", "union": "type", "enum": "type",
    "typedef": "type", "interface": "type", "type": "type",
    "member": "member", "field": "member", "enumerator": "member",
    "enumConstant": "member", "property": "member", "event": "member",
    "constant": "member",
}
# ctags' language -> the name used in the figures.
LANGUAGES = {"C++": "C++", "C": "C++", "C#": "C#", "Java": "Java", "Basic": "VB"}
# The project's own C++ code that is measured besides the sources made for this.
OWN_FOLDERS = ["engine", "classmodel", "workspace", "xref", "reflinks"]


def ctags_command():
    # Debian's package installs it as ctags-universal, with ctags an alternative.
    return shutil.which("ctags-universal") or shutil.which("ctags")


def run_ctags(folder):
    out = subprocess.run(
        [ctags_command(), "--output-format=json", "--fields=+nKZSl", "--sort=no",
         "--langmap=Basic:+.vb", "--languages=C,C++,C#,Java,Basic", "-R", "-f", "-", "."],
        cwd=folder, check=True, capture_output=True, text=True).stdout
    tags = []
    for line in out.splitlines():
        tag = json.loads(line)
        if tag.get("_type") != "tag":
            continue
        path = tag["path"][2:] if tag["path"].startswith("./") else tag["path"]
        name = tag["name"]
        # ctags' own names for what has none (lambdas, anonymous structs and enums).
        if name.startswith("__anon"):
            continue
        # A destructor is anchored at the class's name after "~"; an operator is written
        # without spaces.
        destructor = name.startswith("~")
        name = name.lstrip("~").replace(" ", "")
        tags.append((path, int(tag.get("line", 0)), name, tag.get("kind", ""),
                     LANGUAGES.get(tag.get("language", ""), tag.get("language", "")),
                     destructor))
    return tags


def run_dump(dump, folder):
    out = subprocess.run([dump, folder], check=True, capture_output=True,
                         text=True, errors="replace").stdout
    defs, uses = [], []
    for line in out.splitlines():
        fields = line.split(" ")
        if fields[0] == "def" and len(fields) >= 5:
            path, ln, col = fields[1].rsplit(":", 2)
            defs.append((path, int(ln), fields[2], fields[3], fields[4]))
        elif fields[0] == "use" and len(fields) >= 5:
            path, ln, col = fields[1].rsplit(":", 2)
            uses.append((path, int(ln), int(col), fields[2], fields[4]))
    return defs, uses


def measure(label, dump, folder, verbose):
    tags = run_ctags(folder)
    defs, uses = run_dump(dump, folder)
    anchored = {(p, ln, name) for p, ln, name, _kind, _role in defs}
    ok = True

    # Anchored: per language and group, and per ctags kind within it.
    counts = collections.defaultdict(lambda: [0, 0])
    misses = collections.defaultdict(list)
    excluded = collections.Counter()
    for path, ln, name, kind, lang, _destructor in tags:
        group = GROUPS.get(kind)
        if group is None:
            excluded[(lang, kind)] += 1
            continue
        hit = (path, ln, name) in anchored
        for key in ((lang, group, ""), (lang, group, kind)):
            counts[key][0] += hit
            counts[key][1] += 1
        if not hit:
            misses[(lang, group)].append(f"{path}:{ln} {name} ({kind})")
    print(f"-- {label}: ctags' definitions anchored by the cross-references")
    for key in sorted(counts):
        lang, group, kind = key
        hit, total = counts[key]
        share = hit / total
        below = not kind and share < ANCHOR_THRESHOLD
        ok &= not below
        name = f"{group}/{kind}" if kind else f"{group} (all)"
        print(f"   {lang:5} {name:24} {hit:5}/{total:<5} {100 * share:6.1f}%"
              f"{'  BELOW THRESHOLD' if below else ''}")
    for key in sorted(misses):
        shown = misses[key] if verbose else misses[key][:5]
        for m in shown:
            print(f"   missed {key[0]} {key[1]}: {m}")
        if len(misses[key]) > len(shown):
            print(f"   ... and {len(misses[key]) - len(shown)} more")
    if excluded:
        print("   left out: " + ", ".join(f"{lang} {kind} {n}" for (lang, kind), n
                                          in sorted(excluded.items())))

    # Linked: names ctags defines once, over every kind it lists (so a name that is also
    # a variable or namespace somewhere is not taken as unique). A destructor is not a
    # definition of its class's name.
    seen = collections.defaultdict(list)
    for path, ln, name, kind, lang, destructor in tags:
        if not destructor:
            seen[name].append((path, ln, lang))
    unique = {name: places[0] for name, places in seen.items() if len(places) == 1}
    dump_kind = {(p, ln, name): kind for p, ln, name, kind, _role in defs}
    linked = collections.defaultdict(lambda: [0, 0])
    wrong = []
    for path, ln, col, name, to in uses:
        if name not in unique or to in ("none", "chooser"):
            continue
        tpath, tline, _tcol = to.rsplit(":", 2)
        tpath, tline = tpath, int(tline)
        dpath, dline, lang = unique[name]
        # A link to a parameter or local of the same name is not ctags' definition, and
        # ctags does not list those: not counted.
        if dump_kind.get((tpath, tline, name)) in ("Parameter", "Local"):
            continue
        good = (tpath, tline) == (dpath, dline)
        linked[lang][0] += good
        linked[lang][1] += 1
        if not good:
            wrong.append(f"{path}:{ln}:{col} {name} -> {to}, ctags: {dpath}:{dline}")
    print(f"-- {label}: linked uses of names ctags defines once lead to that definition")
    for lang in sorted(linked):
        good, total = linked[lang]
        share = good / total if total else 1.0
        below = share < LINK_THRESHOLD
        ok &= not below
        print(f"   {lang:5} {good:5}/{total:<5} {100 * share:6.1f}%"
              f"{'  BELOW THRESHOLD' if below else ''}")
    for w in (wrong if verbose else wrong[:20]):
        print(f"   elsewhere: {w}")
    if len(wrong) > 20 and not verbose:
        print(f"   ... and {len(wrong) - 20} more")
    return ok


def main(argv):
    verbose = "-v" in argv
    args = [a for a in argv if a != "-v"]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    dump, root = os.path.abspath(args[0]), os.path.abspath(args[1])
    if ctags_command() is None:
        print("ctags_yardstick: ctags (universal-ctags) is not installed", file=sys.stderr)
        return 2
    ok = measure("tests/data/xref/langs", dump,
                 os.path.join(root, "tests", "data", "xref", "langs"), verbose)
    # The dump takes one folder: the project's folders are copied side by side into one.
    with tempfile.TemporaryDirectory() as tmp:
        for folder in OWN_FOLDERS:
            source = os.path.join(root, folder)
            if os.path.isdir(source):
                shutil.copytree(source, os.path.join(tmp, folder))
        ok &= measure("the project's own code", dump, tmp, verbose)
    print("ctags yardstick: " + ("thresholds met" if ok else "THRESHOLDS MISSED"))
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
