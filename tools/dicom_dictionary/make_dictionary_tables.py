#!/usr/bin/env python3
"""Writes the static data-dictionary tables of the DICOM library.

The public table comes from the standard's data dictionary (every public
element, retired ones included), the private table from a dictionary of the
vendors' private elements plus the library's own "TAVUQELM" elements
(OwnPrivateElements.tsv beside this script). Both sources are read as data
only: the two modules of the Debian package python3-pydicom that carry them
are parsed, never imported or run.

The output, Dicom/High/src/DictionaryTables.cpp, is committed, so that the
build never needs these inputs. Run again after changing the inputs:

    tools/dicom_dictionary/make_dictionary_tables.py
"""

import argparse
import ast
import pathlib
import re

HERE = pathlib.Path(__file__).resolve().parent
ROOT = HERE.parent.parent
SOURCES = pathlib.Path("/usr/lib/python3/dist-packages/pydicom")

# Value representations whose codes the tables carry as they are; any other
# text (alternatives such as "US or SS") is reduced by reduce_vr.
KNOWN_VRS = {
    "AE", "AS", "AT", "CS", "DA", "DS", "DT", "FD", "FL", "IS", "LO", "LT", "OB", "OF", "OW",
    "PN", "SH", "SL", "SQ", "SS", "ST", "TM", "UI", "UL", "UN", "US", "UT",
    "OD", "OL", "OV", "SV", "UV", "UC", "UR", "NO",
}
ANY_NUMBER = 9999
OWN_CREATOR = "TAVUQELM"
PRIVATE_BLOCK = 0x10  # private elements are listed in the first block, (gggg,10xx)


def read_assignments(path, names):
    """Returns the literal values assigned to the given names in a module."""
    tree = ast.parse(path.read_text(encoding="utf-8"), filename=str(path))
    found = {}
    for node in tree.body:
        if isinstance(node, ast.AnnAssign) and isinstance(node.target, ast.Name):
            target, value = node.target.id, node.value
        elif isinstance(node, ast.Assign) and len(node.targets) == 1 and isinstance(
                node.targets[0], ast.Name):
            target, value = node.targets[0].id, node.value
        else:
            continue
        if target in names:
            found[target] = ast.literal_eval(value)
    missing = set(names) - set(found)
    if missing:
        raise SystemExit(f"{path}: no {', '.join(sorted(missing))}")
    return found


def reduce_vr(text):
    """One VR code for a table entry: implicit-VR data of pixel-like values
    is OW, other alternatives take the first one."""
    text = text.strip().upper()
    if text == "NONE":
        return "NO"
    options = [part for part in re.split(r"\s+OR\s+|_", text) if part]
    if "OW" in options and len(options) > 1:
        return "OW"
    if options and options[0] in KNOWN_VRS:
        return options[0]
    raise SystemExit(f"unknown value representation {text!r}")


def vm_count(text):
    """The value multiplicity as a count: the upper bound, 9999 for n."""
    upper = text.strip().split("-")[-1]
    if upper.endswith("n"):
        return ANY_NUMBER
    return int(upper)


def keyword_from_name(name):
    words = re.findall(r"[A-Za-z0-9]+", name)
    return "".join(word[0].upper() + word[1:] for word in words)


def repeated_tag(pattern):
    """A tag of a repeating-group pattern: every x taken as 0, unless that
    would give element 0000 (a group length), then the lowest element."""
    group = int(pattern[:4].replace("x", "0"), 16)
    element_text = pattern[4:]
    element = int(element_text.replace("x", "0"), 16)
    if element == 0 and "x" in element_text:
        last = element_text.rfind("x")
        element = 1 << (4 * (3 - last))
    return group, element


def public_records(dictionary, repeaters):
    records = []
    for tag, (vr, vm, name, _retired, keyword) in dictionary.items():
        if not keyword and name in ("", "Retired-blank"):
            continue  # retired slots the standard left blank
        records.append((tag >> 16, tag & 0xFFFF, reduce_vr(vr), vm_count(vm), None,
                        keyword or keyword_from_name(name) or "?", name or "?"))
    for pattern, (vr, vm, name, _retired, keyword) in repeaters.items():
        group, element = repeated_tag(pattern)
        records.append((group, element, reduce_vr(vr), vm_count(vm), None, keyword, name))
    records.sort(key=lambda r: (r[0], r[1]))
    return records


def private_element(creator, pattern):
    """(group, element) of a vendor entry, or None for a pattern that does not
    name one group and one element block."""
    if "x" in pattern[:4] or "x" in pattern[6:]:
        return None
    group = int(pattern[:4], 16)
    if group % 2 == 0:
        return None
    if pattern[4:6] == "xx":
        return group, PRIVATE_BLOCK << 8 | int(pattern[6:], 16)
    return group, int(pattern[4:], 16)


def vendor_records(dictionaries):
    records = []
    for creator in sorted(dictionaries):
        if creator == OWN_CREATOR:
            continue
        for pattern, (vr, vm, name, _retired) in sorted(dictionaries[creator].items()):
            tag = private_element(creator, pattern.lower())
            if tag is None:
                continue
            known = name.strip() and name.strip().lower() != "unknown"
            records.append((tag[0], tag[1], reduce_vr(vr), vm_count(vm), creator,
                            keyword_from_name(name) if known else "?", name if known else "?"))
    return records


def own_records(path):
    records = []
    for line in path.read_text(encoding="utf-8").splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        group, element, vr, vm, keyword, name = line.split("\t")
        records.append((int(group, 16), int(element, 16), reduce_vr(vr), vm_count(vm),
                        OWN_CREATOR, keyword, name))
    return records


def c_text(text):
    if text is None:
        return "nullptr"
    escaped = text.replace("\\", "\\\\").replace('"', '\\"')
    if not escaped.isascii() or not escaped.isprintable():
        raise SystemExit(f"text needs escaping: {text!r}")
    return f'"{escaped}"'


def table_lines(records):
    for group, element, vr, vm, creator, keyword, name in records:
        code = ord(vr[0]) << 8 | ord(vr[1])
        yield (f"    {{0x{element:04X}{group:04X}u, 0x{code:04X}, {vm}, {c_text(creator)}, "
               f"{c_text(keyword)}, {c_text(name)}, 0}},")


def write_tables(out, public, private, source_note):
    lines = [
        "// Generated by tools/dicom_dictionary/make_dictionary_tables.py from",
        f"// {source_note}",
        "// and tools/dicom_dictionary/OwnPrivateElements.tsv. Do not edit by hand.",
        "// clang-format off",
        '#include "DictionaryTables.h"',
        "",
        "// Tags are stored as group | element << 16; VR codes carry the first",
        "// letter in the high byte; a VM of 9999 stands for any number.",
        f"// {len(public)} public records.",
        "const DictionaryItem PublicDictionaryTable[] = {",
        *table_lines(public),
        "    {0, 0, 0, nullptr, nullptr, nullptr, 0},",
        "};",
        "",
        f"// {len(private)} private records.",
        "const DictionaryItem PrivateDictionaryTable[] = {",
        *table_lines(private),
        "    {0, 0, 0, nullptr, nullptr, nullptr, 0},",
        "};",
        "// clang-format on",
        "",
    ]
    out.write_text("\n".join(lines), encoding="ascii")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", type=pathlib.Path, default=SOURCES,
                        help="folder holding _dicom_dict.py and _private_dict.py")
    parser.add_argument("--output", type=pathlib.Path,
                        default=ROOT / "Dicom/High/src/DictionaryTables.cpp")
    args = parser.parse_args()

    standard = read_assignments(args.sources / "_dicom_dict.py",
                                ["DicomDictionary", "RepeatersDictionary"])
    vendors = read_assignments(args.sources / "_private_dict.py", ["private_dictionaries"])
    public = public_records(standard["DicomDictionary"], standard["RepeatersDictionary"])
    # The library's own records come first: where a vendor uses the same tag,
    # the dictionary answers with the record met first.
    private = own_records(HERE / "OwnPrivateElements.tsv") + vendor_records(
        vendors["private_dictionaries"])
    write_tables(args.output, public, private,
                 "the data dictionaries of python3-pydicom (_dicom_dict.py, _private_dict.py)")
    print(f"{args.output}: {len(public)} public and {len(private)} private records")


if __name__ == "__main__":
    main()
