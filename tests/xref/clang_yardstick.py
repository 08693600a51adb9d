#!/usr/bin/python3
"""The C cross-references measured against the compiler's own answers.

Parses every .c file of a tree with libclang, follows each reference (a name of a
variable, parameter, function or enumerator, a member after . or ->, a type name, a macro
expansion) to its definition, and compares with the link the scanner gives the same place
(the `use` lines of xref_dump). Per kind it counts the uses whose link leads to the same
file, line and column as the compiler's definition (right), elsewhere (wrong), to a chooser
page, or nowhere (none).

usage: clang_yardstick.py XREF_DUMP TREE [--min-right PCT] [--min-precision PCT] [-v]
Status 1 when fewer uses than --min-right (80) per cent are right, or when right/(right +
wrong) is below --min-precision (98) per cent; choosers count as neither.
"""
import argparse
import os
import subprocess
import sys
from collections import defaultdict

import clang.cindex as ci

LIBRARIES = ["/usr/lib/llvm-14/lib/libclang.so.1", "/usr/lib/llvm-14/lib/libclang-14.so.1",
             "/usr/lib/x86_64-linux-gnu/libclang-14.so.1"]
KINDS = ["function", "macro", "type", "enumerator", "field", "parameter", "local", "global"]
K = ci.CursorKind
REFERENCE_KINDS = {K.DECL_REF_EXPR, K.MEMBER_REF_EXPR, K.TYPE_REF, K.MACRO_INSTANTIATION}


def kind_of(target):
    k = target.kind
    if k == K.FUNCTION_DECL:
        return "function"
    if k == K.MACRO_DEFINITION:
        return "macro"
    if k in (K.TYPEDEF_DECL, K.STRUCT_DECL, K.UNION_DECL, K.ENUM_DECL):
        return "type"
    if k == K.ENUM_CONSTANT_DECL:
        return "enumerator"
    if k == K.FIELD_DECL:
        return "field"
    if k == K.PARM_DECL:
        return "parameter"
    if k == K.VAR_DECL:
        parent = target.semantic_parent
        return "local" if parent is not None and parent.kind == K.FUNCTION_DECL else "global"
    return None


class Tree:
    def __init__(self, root):
        self.root = os.path.realpath(root)
        self.lines = {}

    def relative(self, filename):
        if filename is None:
            return None
        path = os.path.realpath(str(filename))
        if not path.startswith(self.root + os.sep):
            return None
        return os.path.relpath(path, self.root).replace(os.sep, "/")

    def text_at(self, rel, line, col, length):
        if rel not in self.lines:
            with open(os.path.join(self.root, rel), "rb") as f:
                self.lines[rel] = f.read().split(b"\n")
        rows = self.lines[rel]
        if line - 1 >= len(rows):
            return b""
        return rows[line - 1][col:col + length]


def place_of(tree, cursor):
    loc = cursor.location
    rel = tree.relative(loc.file.name if loc.file else None)
    if rel is None:
        return None
    return (rel, loc.line, loc.column - 1)


def clang_uses(tree, sources):
    """Returns {place: (name, kind, usr)} of the uses and {usr: place} of the definitions."""
    index = ci.Index.create()
    uses = {}
    definitions = {}
    declarations = {}
    options = ci.TranslationUnit.PARSE_DETAILED_PROCESSING_RECORD
    for source in sources:
        unit = index.parse(os.path.join(tree.root, source), args=["-std=c11", "-I", tree.root],
                           options=options)
        for d in unit.diagnostics:
            if d.severity >= ci.Diagnostic.Error:
                sys.exit("clang_yardstick: %s: %s" % (source, d))
        for cursor in unit.cursor.walk_preorder():
            place = place_of(tree, cursor)
            if place is None:
                continue
            if cursor.kind in REFERENCE_KINDS:
                target = cursor.referenced
                if target is None:
                    continue
                kind = kind_of(target)
                name = target.spelling
                if kind is None or not name:
                    continue
                # Only where the name itself stands: not a place inside a macro's expansion.
                if tree.text_at(place[0], place[1], place[2], len(name.encode())) != name.encode():
                    continue
                definition = target.get_definition() or target
                there = place_of(tree, definition)
                if there is None:
                    continue  # defined outside the tree (the C library)
                usr = target.get_usr() or "%s@%s:%d:%d" % ((name,) + there)
                uses[place] = (name, kind, usr)
                declarations.setdefault(usr, there)
                if definition.is_definition() or kind == "macro":
                    definitions[usr] = there
            elif cursor.is_definition() and cursor.get_usr():
                definitions[cursor.get_usr()] = place
    # A function defined in another file than the use: its definition over the prototype.
    return uses, {usr: definitions.get(usr, there) for usr, there in declarations.items()}


def quillon_links(dump, tree):
    out = subprocess.run([dump, tree.root], check=True, stdout=subprocess.PIPE).stdout
    links = {}
    for line in out.decode("utf-8", "replace").splitlines():
        fields = line.split()
        if len(fields) < 5 or fields[0] != "use":
            continue
        path, ln, col = fields[1].rsplit(":", 2)
        links[(path, int(ln), int(col))] = fields[4]
    return links


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dump")
    ap.add_argument("tree")
    ap.add_argument("--min-right", type=float, default=80.0)
    ap.add_argument("--min-precision", type=float, default=98.0)
    ap.add_argument("-v", "--verbose", action="store_true")
    args = ap.parse_args()
    for library in LIBRARIES:
        if os.path.exists(library):
            ci.Config.set_library_file(library)
            break
    tree = Tree(args.tree)
    sources = sorted(os.path.relpath(os.path.join(d, f), tree.root)
                     for d, _, files in os.walk(tree.root) for f in files if f.endswith(".c"))
    uses, definitions = clang_uses(tree, sources)
    links = quillon_links(args.dump, tree)

    counts = defaultdict(lambda: defaultdict(int))
    examples = defaultdict(list)
    for place in sorted(uses):
        name, kind, usr = uses[place]
        want = "%s:%d:%d" % definitions[usr]
        got = links.get(place, "none")
        if got == want:
            verdict = "right"
        elif got in ("none", "chooser"):
            verdict = got
        else:
            verdict = "wrong"
        counts[kind][verdict] += 1
        if verdict != "right":
            examples[(kind, verdict)].append("%s:%d:%d %s -> %s (clang %s)"
                                             % (place + (name, got, want)))

    def row(label, c):
        total = sum(c[v] for v in ("right", "wrong", "chooser", "none"))
        linked = c["right"] + c["wrong"]
        right = 100.0 * c["right"] / total if total else 100.0
        precision = 100.0 * c["right"] / linked if linked else 100.0
        print("%-11s %6d %6d %6d %7d %6d %7.1f%% %9.1f%%"
              % (label, total, c["right"], c["wrong"], c["chooser"], c["none"], right, precision))
        return right, precision

    print("C cross-references against libclang, %d files, %s" % (len(sources), args.tree))
    print("%-11s %6s %6s %6s %7s %6s %8s %10s"
          % ("kind", "uses", "right", "wrong", "chooser", "none", "right", "precision"))
    total = defaultdict(int)
    for kind in KINDS:
        if kind in counts:
            row(kind, counts[kind])
            for v, n in counts[kind].items():
                total[v] += n
    right, precision = row("all", total)
    shown = 20 if args.verbose else 3
    for (kind, verdict) in sorted(examples):
        for line in examples[(kind, verdict)][:shown]:
            print("  %s %s: %s" % (kind, verdict, line))
    if right < args.min_right or precision < args.min_precision:
        print("clang_yardstick: below the thresholds (right %.1f%% < %.1f%% or precision "
              "%.1f%% < %.1f%%)" % (right, args.min_right, precision, args.min_precision))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
