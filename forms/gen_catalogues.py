#!/usr/bin/env python3
"""Field identifier catalogues and form definitions from the catalogue data.

Reads forms/catalogues/*.txt (one field list per catalogue), forms/forms.txt
(every form of both returns and the list its fields come from) and
forms/overlay/*.txt (what the lists do not say: kinds, lengths, edit codes,
names, line labels), and writes

  <header-dir>/<Class>.h         one aggregate class and one constexpr object
                                 per catalogue, one member per field, named by
                                 field number (kGAForm70FieldIds.f44)
  <header-dir>/AllFieldIds.h     includes every catalogue
  <manifest>                     per catalogue: names, form, count and the
                                 given members, for tests, tools and the
                                 host's check of entries that count nowhere
  <defs-dir>/<DevName>.def       the stand-in host's form definitions, fields
                                 in catalogue order
  <defs-dir>/efile.def           a copy of forms/efile.def, the e-file lists

Any fault in the data stops the build with "<file>:<line>: <what is wrong>".

Catalogue data file
-------------------
  class <ClassName>              GAFormNNNFieldIds, StateFormNNNFieldIds,
                                 FormNNNFieldIds or a role name ending in FieldIds
  form <number> <state|federal>  the form the members belong to, or
  role <text>                    for a list kept for one use (no form of its own)
  count <n>                      the stated member count
  runs <n>                       optional: the stated number of runs (stretches
                                 of members whose numbers rise by exactly 1)
  list: <items>                  the whole list in member order
  at <index>: <items>            members given at their index (consecutive
                                 from there); with a whole list, a check
  seq: <items>                   members in this relative order, index unknown

Items are comma-separated numbers and runs a-b (a, a+1, ..., b). A line that
starts with blanks continues the items of the line before. '#' starts a comment.

Partial lists
-------------
A catalogue without a whole list keeps its full stated count. Its members are
placed in three steps:
  1. every 'at' item at its index;
  2. every 'seq' line in file order: an item already placed must stand after
     the item before it in the line; an item not yet placed takes the first free
     places after the item before it (a run needs as many free places in a row);
  3. filler rule: the places still free are filled in index order with the
     smallest positive numbers that are not given in the catalogue, taking
     every number at least two above the previous filler, and skipping a number
     that would extend a run with its left neighbour or with a given right
     neighbour. Fillers are therefore unique, never equal to a given number and
     add no run of their own. Their members are named u<number> (unnamed field)
     instead of f<number>, so that code that names a field no list gives does
     not compile.

Form registry (forms/forms.txt)
-------------------------------
  <DevName> <number> <state|federal> <ClassName|->
The dev name is GA<n> for a Georgia form, ST<n> for a shared state form and
F<n> for a federal form; '-' gives a form without fields.

Overlay (forms/overlay/<DevName>.txt)
-------------------------------------
  name "<business name>"         copies <n>         rank <n>
  field <n>[-<m>] <attribute>=<value> ...
Attributes are those of the form-definition format: kind (N, T, B, D or a
kind of what the field holds, forms/README.md), len, edit, width, short, line,
calc, fractions, domain, choices, range. A run a-b names the fields of the catalogue
from field a to field b in catalogue order. A field may get its attributes
once, and no two fields of a form may share a short name (the default is
F<number>).
"""

import argparse
import os
import re
import sys


class DataError(Exception):
    pass


def fail(path, line, what):
    raise DataError(f"{path}:{line}: {what}")


# ---------------------------------------------------------------- data lines

def logical_lines(path):
    """Yields (line number, text) with comments removed and continuation
    lines (starting with blanks) joined to the line before."""
    out = []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            text = strip_comment(raw.rstrip("\n"))
            if not text.strip():
                continue
            if text[0] in " \t":
                if not out:
                    fail(path, number, "continuation line without a line before it")
                out[-1][1] += " " + text.strip()
            else:
                out.append([number, text.strip()])
    return [(n, t) for n, t in out]


def strip_comment(text):
    in_quotes = False
    escaped = False
    for i, c in enumerate(text):
        if escaped:
            escaped = False
        elif c == "\\" and in_quotes:
            escaped = True
        elif c == '"':
            in_quotes = not in_quotes
        elif c == "#" and not in_quotes:
            return text[:i]
    return text


def parse_int(path, line, text, what):
    if not re.fullmatch(r"-?\d+", text.strip()):
        fail(path, line, f"{what} is not a number: '{text.strip()}'")
    return int(text)


def parse_items(path, line, text):
    """Comma-separated numbers and runs a-b; returns a list of runs (lists)."""
    items = []
    for raw in text.split(","):
        token = raw.strip()
        if not token:
            fail(path, line, "empty item in a field list")
        m = re.fullmatch(r"(\d+)(?:-(\d+))?", token)
        if not m:
            fail(path, line, f"not a field number or run: '{token}'")
        a = int(m.group(1))
        b = int(m.group(2)) if m.group(2) is not None else a
        if a <= 0:
            fail(path, line, f"field number {a} is not positive")
        if a > b:
            fail(path, line, f"run {a}-{b} does not ascend")
        if b > 2**31 - 1:
            fail(path, line, f"field number {b} is too large")
        items.append(list(range(a, b + 1)))
    return items


# ---------------------------------------------------------------- catalogues

class Catalogue:
    def __init__(self, path):
        self.path = path
        self.class_name = None
        self.form = None          # (number, is_state) or None for a role list
        self.role = None
        self.count = None
        self.runs = None
        self.whole = None         # (line, items)
        self.at = []              # (line, index, items)
        self.seq = []             # (line, items)
        self.members = []         # field numbers in member order
        self.given = []           # True where the data gives the member
        self.title = None

    @property
    def object_name(self):
        return "k" + self.class_name


def read_catalogue(path):
    cat = Catalogue(path)
    with open(path, encoding="utf-8") as f:
        first = f.readline().strip()
    if first.startswith("#"):
        cat.title = first.lstrip("#").strip()
    seen = set()
    for line, text in logical_lines(path):
        m = re.match(r"(class|form|role|count|runs|list:|at|seq:)(?=\s|$)\s*(.*)$", text)
        if not m:
            fail(path, line, f"unknown directive: '{text.split()[0]}'")
        key, value = m.group(1), m.group(2)
        if key in seen and key in ("class", "form", "role", "count", "runs", "list:"):
            fail(path, line, f"'{key.rstrip(':')}' given twice")
        seen.add(key)
        if key == "class":
            if not re.fullmatch(r"[A-Za-z][A-Za-z0-9]*FieldIds", value):
                fail(path, line, f"class name '{value}' does not end in FieldIds")
            cat.class_name = value
        elif key == "form":
            parts = value.split()
            if len(parts) != 2 or parts[1] not in ("state", "federal"):
                fail(path, line, "expected: form <number> <state|federal>")
            number = parse_int(path, line, parts[0], "form number")
            if number <= 0:
                fail(path, line, f"form number {number} is not positive")
            cat.form = (number, parts[1] == "state")
        elif key == "role":
            if not value:
                fail(path, line, "role without a description")
            cat.role = value
        elif key == "count":
            cat.count = parse_int(path, line, value, "count")
            if cat.count <= 0:
                fail(path, line, "count must be positive")
        elif key == "runs":
            cat.runs = parse_int(path, line, value, "runs")
        elif key == "list:":
            cat.whole = (line, parse_items(path, line, value))
        elif key == "at":
            m2 = re.fullmatch(r"(\S+):\s*(.*)", value)
            if not m2:
                fail(path, line, "expected: at <index>: <items>")
            index = parse_int(path, line, m2.group(1), "index")
            if index < 0:
                fail(path, line, f"index {index} is negative")
            cat.at.append((line, index, parse_items(path, line, m2.group(2))))
        elif key == "seq:":
            cat.seq.append((line, parse_items(path, line, value)))

    if cat.class_name is None:
        fail(path, 1, "no class line")
    stem = os.path.splitext(os.path.basename(path))[0]
    if stem != cat.class_name:
        fail(path, 1, f"file name '{stem}' differs from class name '{cat.class_name}'")
    if (cat.form is None) == (cat.role is None):
        fail(path, 1, "give exactly one of 'form' and 'role'")
    if cat.count is None:
        fail(path, 1, "no count line")
    if cat.form is not None:
        number, is_state = cat.form
        expected = f"{'StateForm' if is_state else 'Form'}{number}FieldIds"
        if cat.class_name not in (expected, f"GAForm{number}FieldIds" if is_state else expected):
            fail(path, 1, f"class name '{cat.class_name}' does not match form {number} "
                          f"({'state' if is_state else 'federal'})")
    elif re.fullmatch(r"(GA|State)?Form\d+FieldIds", cat.class_name):
        fail(path, 1, f"role list '{cat.class_name}' is named like a form catalogue")
    build_members(cat)
    return cat


def flatten(items):
    return [n for run in items for n in run]


def build_members(cat):
    path = cat.path
    if cat.whole is not None:
        line, items = cat.whole
        members = flatten(items)
        if len(members) != cat.count:
            fail(path, line, f"the list expands to {len(members)} members, count says {cat.count}")
        check_unique(path, line, members)
        cat.members = members
        cat.given = [True] * len(members)
        for at_line, index, at_items in cat.at:
            for k, n in enumerate(flatten(at_items)):
                i = index + k
                if i >= len(members) or members[i] != n:
                    held = members[i] if i < len(members) else "nothing"
                    fail(path, at_line, f"member {i} holds {held}, not {n}")
        for seq_line, seq_items in cat.seq:
            last = -1
            for n in flatten(seq_items):
                if n not in members:
                    fail(path, seq_line, f"field {n} is not in the list")
                i = members.index(n)
                if i <= last:
                    fail(path, seq_line, f"field {n} (member {i}) stands before the field named before it")
                last = i
    else:
        slots = [None] * cat.count
        where = {}

        def place(line, i, n):
            if i >= cat.count:
                fail(path, line, f"member {i} is beyond the count {cat.count}")
            if n in where and where[n] != i:
                fail(path, line, f"field {n} is given at members {where[n]} and {i}")
            if slots[i] is not None and slots[i] != n:
                fail(path, line, f"member {i} is given as {slots[i]} and as {n}")
            slots[i] = n
            where[n] = i

        for line, index, items in cat.at:
            for k, n in enumerate(flatten(items)):
                place(line, index + k, n)
        for line, items in cat.seq:
            last = -1
            for run in items:
                placed = [n in where for n in run]
                if all(placed):
                    indexes = [where[n] for n in run]
                    if indexes[0] <= last or indexes != list(range(indexes[0], indexes[0] + len(run))):
                        fail(path, line, f"field {run[0]} stands out of the stated order")
                    last = indexes[-1]
                elif any(placed):
                    fail(path, line, f"run {run[0]}-{run[-1]} is given only in part elsewhere")
                else:
                    start = first_free(slots, last + 1, len(run))
                    if start is None:
                        fail(path, line, f"no room for field {run[0]} after member {last}")
                    for k, n in enumerate(run):
                        place(line, start + k, n)
                    last = start + len(run) - 1
        cat.given = [n is not None for n in slots]
        fill(slots)
        cat.members = slots
        check_unique(path, 1, slots)
    if cat.runs is not None:
        found = count_runs(cat.members)
        if found != cat.runs:
            fail(path, 1, f"the list has {found} runs, the data says {cat.runs}")


def first_free(slots, start, length):
    i = start
    while i + length <= len(slots):
        if all(slots[j] is None for j in range(i, i + length)):
            return i
        i += 1
    return None


def fill(slots):
    """The filler rule of the module docstring."""
    used = {n for n in slots if n is not None}
    candidate = 1
    for i, n in enumerate(slots):
        if n is not None:
            continue
        left = slots[i - 1] if i > 0 else None
        right = slots[i + 1] if i + 1 < len(slots) else None
        while (candidate in used
               or (left is not None and candidate == left + 1)
               or (right is not None and candidate + 1 == right)):
            candidate += 1
        slots[i] = candidate
        used.add(candidate)
        candidate += 2


def check_unique(path, line, members):
    seen = {}
    for i, n in enumerate(members):
        if n <= 0:
            fail(path, line, f"member {i} holds {n}, not a positive number")
        if n in seen:
            fail(path, line, f"field {n} stands twice, at members {seen[n]} and {i}")
        seen[n] = i


def count_runs(members):
    if not members:
        return 0
    return 1 + sum(1 for a, b in zip(members, members[1:]) if b != a + 1)


# ---------------------------------------------------------------- forms

KINDS = ("N", "T", "B", "D", "name", "address", "ssn", "ein", "ssnorein", "writtenid", "zip", "state", "phone", "routing",
         "account", "choice", "count")
FIELD_ATTRIBUTES = ("kind", "len", "edit", "width", "short", "line", "calc", "fractions", "domain", "choices",
                    "range")
DOMAINS = ("nonnegative", "intaxyear", "notaftertaxyear", "taxyearpayment")


class Form:
    def __init__(self, dev, number, is_state, catalogue, line):
        self.dev = dev
        self.number = number
        self.is_state = is_state
        self.catalogue = catalogue
        self.line = line
        self.name = None
        self.copies = None
        self.rank = None
        self.attributes = {}   # field number -> [(key, value)]


def read_registry(path, catalogues):
    forms = []
    by_dev = {}
    by_id = {}
    used = {}
    for line, text in logical_lines(path):
        parts = text.split()
        if len(parts) != 4 or parts[2] not in ("state", "federal"):
            fail(path, line, "expected: <DevName> <number> <state|federal> <ClassName|->")
        dev, number_text, kind, source = parts
        number = parse_int(path, line, number_text, "form number")
        is_state = kind == "state"
        m = re.fullmatch(r"(GA|ST|F)(\d+)", dev)
        if not m or int(m.group(2)) != number:
            fail(path, line, f"dev name '{dev}' does not name form {number}")
        if (m.group(1) in ("GA", "ST")) != is_state:
            fail(path, line, f"dev name '{dev}' does not fit a {kind} form")
        if dev.upper() in by_dev:
            fail(path, line, f"dev name '{dev}' given twice")
        if (number, is_state) in by_id:
            fail(path, line, f"{kind} form {number} given twice")
        cat = None
        if source != "-":
            if source not in catalogues:
                fail(path, line, f"no catalogue named '{source}'")
            cat = catalogues[source]
            if cat.form is not None and cat.form != (number, is_state):
                fail(path, line, f"'{source}' lists another form")
            if cat.form is not None and m.group(1) == "GA" and not source.startswith("GAForm"):
                fail(path, line, f"Georgia form {dev} takes the list of a shared state form")
            if cat.form is not None and m.group(1) == "ST" and source.startswith("GAForm"):
                fail(path, line, f"shared state form {dev} takes the list of a Georgia form")
            used.setdefault(source, []).append(dev)
        form = Form(dev, number, is_state, cat, line)
        forms.append(form)
        by_dev[dev.upper()] = form
        by_id[(number, is_state)] = form
    for cat in catalogues.values():
        if cat.form is not None and cat.class_name not in used:
            fail(path, 1, f"the form of '{cat.class_name}' is not in the registry")
    return forms


def read_overlay(path, form):
    fields = form.catalogue.members if form.catalogue else []
    position = {n: i for i, n in enumerate(fields)}
    short_lines = {}
    for line, text in logical_lines(path):
        tokens = tokenize(path, line, text)
        key = tokens[0]
        if key in ("name", "copies", "rank"):
            if len(tokens) != 2:
                fail(path, line, f"expected: {key} <value>")
            if getattr(form, key) is not None:
                fail(path, line, f"'{key}' given twice")
            if key == "name":
                setattr(form, key, tokens[1])
            else:
                value = parse_int(path, line, tokens[1], key)
                if value < (1 if key == "copies" else 0) or value > 65535:
                    fail(path, line, f"{key} {value} is out of range")
                setattr(form, key, value)
        elif key == "field":
            if len(tokens) < 3:
                fail(path, line, "expected: field <n>[-<m>] <attribute>=<value> ...")
            m = re.fullmatch(r"(\d+)(?:-(\d+))?", tokens[1])
            if not m:
                fail(path, line, f"not a field or run: '{tokens[1]}'")
            a = int(m.group(1))
            b = int(m.group(2)) if m.group(2) else a
            for n in (a, b):
                if n not in position:
                    fail(path, line, f"{form.dev} has no field {n}")
            if position[a] > position[b]:
                fail(path, line, f"field {b} stands before field {a} on {form.dev}")
            attributes = []
            for token in tokens[2:]:
                k, sep, v = token.partition("=")
                if not sep or k not in FIELD_ATTRIBUTES:
                    fail(path, line, f"unknown field attribute '{token}'")
                check_attribute(path, line, k, v)
                attributes.append((k, v))
            given = dict(attributes)
            if len(given) != len(attributes):
                fail(path, line, "an attribute is given twice")
            if given.get("kind") == "D" and given.get("edit", "D") != "D":
                fail(path, line, "a date (kind=D) takes edit code D")
            if given.get("edit") == "D" and given.get("kind") != "D":
                fail(path, line, "edit code D marks a date, which needs kind=D")
            if ("choices" in given) != (given.get("kind") == "choice"):
                fail(path, line, "a choice (kind=choice) takes its choices on the same line, and only it")
            if "range" in given and given.get("kind", "N") not in ("count", "N"):
                fail(path, line, "a range belongs to a count (kind=count) or an amount (kind=N)")
            # A field may be named on several lines (its kind in one, its
            # short name and label in another), each attribute once.
            for n in fields[position[a]:position[b] + 1]:
                earlier = dict(form.attributes.get(n, []))
                for k, _ in attributes:
                    if k in earlier:
                        fail(path, line, f"field {n} of {form.dev} given '{k}' twice")
                form.attributes[n] = form.attributes.get(n, []) + attributes
                if "short" in dict(attributes):
                    short_lines[n] = line
        else:
            fail(path, line, f"unknown overlay directive '{key}'")
    # Symbolic names are made of the short names, so two fields of one form
    # must not share one, whether given here or the default F<number>.
    owner = {}
    for n in fields:
        short = dict(form.attributes.get(n, [])).get("short", f"F{n}")
        if short.upper() in owner:
            other = owner[short.upper()]
            fail(path, short_lines.get(n, short_lines.get(other, 1)),
                 f"short name '{short}' of field {n} is also that of field {other} on {form.dev}")
        owner[short.upper()] = n


def tokenize(path, line, text):
    tokens = []
    i = 0
    while i < len(text):
        if text[i].isspace():
            i += 1
            continue
        start = i
        token = ""
        while i < len(text) and not text[i].isspace():
            if text[i] == '"':
                i += 1
                while i < len(text) and text[i] != '"':
                    if text[i] == "\\" and i + 1 < len(text):
                        i += 1
                    token += text[i]
                    i += 1
                if i >= len(text):
                    fail(path, line, f"unclosed quote after column {start + 1}")
                i += 1
            else:
                token += text[i]
                i += 1
        tokens.append(token)
    return tokens


def check_attribute(path, line, key, value):
    if key == "kind" and value not in KINDS:
        fail(path, line, f"kind must be one of {', '.join(KINDS)}, not '{value}'")
    if key in ("len", "width"):
        n = parse_int(path, line, value, key)
        # A text length of 0 would leave the field unable to hold anything.
        if n < (1 if key == "len" else 0) or n > 65535:
            fail(path, line, f"{key} {n} is out of range")
    if key == "edit" and not (len(value) == 1 or (re.fullmatch(r"\d{1,3}", value) and int(value) <= 255)):
        fail(path, line, f"edit code must be one character or a byte value, not '{value}'")
    if key == "short" and not re.fullmatch(r"[A-Za-z0-9_]+", value):
        fail(path, line, f"short name '{value}' must be letters, digits or '_'")
    if key in ("calc", "fractions") and value not in ("0", "1"):
        fail(path, line, f"{key} must be 0 or 1")
    if key == "domain" and value not in DOMAINS:
        fail(path, line, f"domain must be one of {', '.join(DOMAINS)}, not '{value}'")


def quote(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def def_text(form, source_note):
    head = f"form {form.number} {'state' if form.is_state else 'federal'} {form.dev}"
    if form.copies is not None:
        head += f" copies={form.copies}"
    if form.rank is not None:
        head += f" rank={form.rank}"
    head += f" name={quote(form.name if form.name else f'Form {form.number}')}"
    lines = [f"# Generated by forms/gen_catalogues.py from {source_note}; do not edit.", head]
    members = form.catalogue.members if form.catalogue else []
    i = 0
    while i < len(members):
        n = members[i]
        if n in form.attributes:
            parts = [f"field {n}"]
            for k, v in form.attributes[n]:
                parts.append(f"{k}={quote(v) if k in ('line', 'choices') else v}")
            lines.append(" ".join(parts))
            i += 1
            continue
        j = i
        while (j + 1 < len(members) and members[j + 1] == members[j] + 1
               and members[j + 1] not in form.attributes):
            j += 1
        lines.append(f"fields {n}-{members[j]}" if j > i else f"field {n}")
        i = j + 1
    lines.append("end")
    return "\n".join(lines) + "\n"


# ---------------------------------------------------------------- C++ output

def member_name(number, given):
    return f"{'f' if given else 'u'}{number}"


def header_text(cat):
    names = [member_name(n, g) for n, g in zip(cat.members, cat.given)]
    what = cat.title or cat.class_name
    out = [
        f"// Generated by forms/gen_catalogues.py from forms/catalogues/{cat.class_name}.txt; do not edit.",
        f"// Field identifiers of {what[0].lower() + what[1:].rstrip('.')}, in form order.",
    ]
    if not all(cat.given):
        out.append("// Members named u<number> are the form's other fields, which no code reads.")
    out += [
        "#pragma once",
        "",
        "#include <cstddef>",
        "",
        '#include "platform/Primitives.h"',
        "",
        f"struct {cat.class_name} {{",
        f"    static constexpr std::size_t kMemberCount = {len(cat.members)};",
        "",
    ]
    out += [f"    Primitives::QVImmutableIdentifier {name};" for name in names]
    out += [
        "};",
        "",
        f"static_assert(sizeof({cat.class_name}) == {cat.class_name}::kMemberCount * "
        "sizeof(Primitives::QVImmutableIdentifier));",
        "",
        f"inline constexpr {cat.class_name} {cat.object_name}{{",
    ]
    for k in range(0, len(cat.members), 10):
        out.append("    " + " ".join(f"{n}," for n in cat.members[k:k + 10]))
    out += ["};", ""]
    return "\n".join(out)


def umbrella_text(catalogues):
    out = ["// Generated by forms/gen_catalogues.py; do not edit.",
           "// Every field identifier catalogue of the module.",
           "#pragma once", ""]
    out += [f'#include "module/catalogues/{c.class_name}.h"' for c in catalogues]
    return "\n".join(out) + "\n"


def cxx_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def manifest_text(catalogues, forms):
    dev_names = {}
    for f in forms:
        if f.catalogue is not None:
            dev_names.setdefault(f.catalogue.class_name, []).append(f.dev)
    out = [
        "// Generated by forms/gen_catalogues.py; do not edit.",
        "// Facts of every field identifier catalogue, for tests, tools and the",
        "// host's check of entries that count nowhere: the module's own code",
        "// names catalogue members directly.",
        "#pragma once",
        "",
        "#include <array>",
        "#include <cstddef>",
        "#include <cstdint>",
        "#include <span>",
        "",
        '#include "module/catalogues/AllFieldIds.h"',
        "",
        "namespace CatalogueManifest {",
        "",
        "struct Given {",
        "    int index;",
        "    std::int32_t number;",
        "};",
        "",
        "struct Entry {",
        "    const char* className;",
        "    const char* objectName;",
        "    std::int32_t formNumber;  // 0 for a list kept for one use",
        "    bool isState;",
        "    const char* role;         // empty for a form's catalogue",
        "    std::size_t count;",
        "    bool wholeList;           // every member given by the data",
        "    int statedRuns;           // -1 when the data states none",
        "    const char* devNames;     // forms described from this list, blank-separated",
        "    std::span<const Primitives::QVImmutableIdentifier> members;  // the object's members in order",
        "    std::span<const Given> given;  // the members that the data gives, with their index",
        "};",
        "",
    ]
    for c in catalogues:
        names = [member_name(n, g) for n, g in zip(c.members, c.given)]
        out.append(f"inline constexpr std::array<Primitives::QVImmutableIdentifier, {len(names)}> "
                   f"k{c.class_name}Members{{")
        for k in range(0, len(names), 8):
            out.append("    " + " ".join(f"{c.object_name}.{n}," for n in names[k:k + 8]))
        out.append("};")
        given = [(i, n) for i, (n, g) in enumerate(zip(c.members, c.given)) if g]
        out.append(f"inline constexpr std::array<Given, {len(given)}> k{c.class_name}Given{{{{")
        for k in range(0, len(given), 8):
            out.append("    " + " ".join(f"{{{i}, {n}}}," for i, n in given[k:k + 8]))
        out.append("}};")
    out.append("")
    out.append(f"inline constexpr std::array<Entry, {len(catalogues)}> kEntries{{{{")
    for c in catalogues:
        number, is_state = c.form if c.form else (0, False)
        out.append(
            f"    {{{cxx_string(c.class_name)}, {cxx_string(c.object_name)}, {number}, "
            f"{'true' if is_state else 'false'}, {cxx_string(c.role or '')}, {len(c.members)}, "
            f"{'true' if c.whole else 'false'}, {c.runs if c.runs is not None else -1}, "
            f"{cxx_string(' '.join(dev_names.get(c.class_name, [])))}, "
            f"k{c.class_name}Members, k{c.class_name}Given}},")
    out += ["}};", "", "}  // namespace CatalogueManifest", ""]
    return "\n".join(out)


# ---------------------------------------------------------------- main

def write_if_changed(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(tmp, path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--source", required=True, help="the forms/ directory")
    ap.add_argument("--header-dir", help="where the catalogue headers go")
    ap.add_argument("--manifest", help="the manifest header to write")
    ap.add_argument("--defs-dir", help="where the form definitions go")
    ap.add_argument("--stamp", help="file touched after a successful run")
    args = ap.parse_args()

    try:
        cat_dir = os.path.join(args.source, "catalogues")
        catalogues = {}
        ordered = []
        for name in sorted(os.listdir(cat_dir)):
            if not name.endswith(".txt"):
                continue
            cat = read_catalogue(os.path.join(cat_dir, name))
            catalogues[cat.class_name] = cat
            ordered.append(cat)
        forms = read_registry(os.path.join(args.source, "forms.txt"), catalogues)
        overlay_dir = os.path.join(args.source, "overlay")
        by_dev = {f.dev: f for f in forms}
        if os.path.isdir(overlay_dir):
            for name in sorted(os.listdir(overlay_dir)):
                if not name.endswith(".txt"):
                    continue
                dev = name[:-4]
                path = os.path.join(overlay_dir, name)
                if dev not in by_dev:
                    fail(path, 1, f"no form with dev name '{dev}' in the registry")
                read_overlay(path, by_dev[dev])
    except DataError as e:
        print(f"error: {e}", file=sys.stderr)
        return 1

    if args.header_dir:
        for cat in ordered:
            write_if_changed(os.path.join(args.header_dir, cat.class_name + ".h"), header_text(cat))
        write_if_changed(os.path.join(args.header_dir, "AllFieldIds.h"), umbrella_text(ordered))
    if args.manifest:
        write_if_changed(args.manifest, manifest_text(ordered, forms))
    if args.defs_dir:
        os.makedirs(args.defs_dir, exist_ok=True)
        wanted = set()
        for form in forms:
            note = (f"forms/catalogues/{form.catalogue.class_name}.txt" if form.catalogue
                    else "forms/forms.txt")
            name = form.dev + ".def"
            wanted.add(name)
            write_if_changed(os.path.join(args.defs_dir, name), def_text(form, note))
        # The e-file lists are kept by hand in the definition format itself.
        efile = os.path.join(args.source, "efile.def")
        if os.path.exists(efile):
            with open(efile, encoding="utf-8") as f:
                write_if_changed(os.path.join(args.defs_dir, "efile.def"), f.read())
            wanted.add("efile.def")
        # Definitions of forms that left the registry would otherwise linger.
        for name in os.listdir(args.defs_dir):
            if name.endswith(".def") and name not in wanted:
                os.remove(os.path.join(args.defs_dir, name))
    if args.stamp:
        with open(args.stamp, "w", encoding="utf-8") as f:
            f.write("ok\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
