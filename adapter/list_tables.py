#!/usr/bin/env python3
"""Lists every member of the application's interface tables, read from the SDK's headers.

    list_tables.py SDK_FRAMEWORKS_DIR OUT_FILE

Writes one line per table, `TABLE(C4D_General, Ge)`, followed by one line per member,
`ENTRY(C4D_General, Ge, EventAdd)`, in declaration order; the table's three plain functions as
`FUNCTION(C4D_CrashHandler, CrashHandler)`; then each registry library the same way,
`LIBRARY(DescriptionLib)` and `LIBRARY_ENTRY(DescriptionLib, Alloc)`. The adapter includes the file to give every
member of every table a trap that names it; the compiler checks the list against the headers
(every member named exists, and the named members fill each table's whole size).
"""
import re
import sys

# The SDK libraries the module finds through the registry, with the header that declares each.
LIBRARIES = {"DescriptionLib": "cinema.framework/source/c4d_libs/lib_description.h"}

SOURCES = ["cinema.framework/source/operatingsystem.h",
           "cinema.framework/source/c4d_bitmapfilterstruct.h",
           "cinema.framework/source/c4d_gv/c4d_graphview_def.h"]

FUNCTION = re.compile(r"\(\s*(?:[A-Za-z_][\w:]*::)?\*\s*([A-Za-z_]\w*)\s*\)\s*\(")
DATA = re.compile(r"^[\w:<>,\s]+?[\s*&]+([A-Za-z_]\w*)\s*(?:\[[^\]]*\])?$")


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def structs(text, pattern=r"C4D_\w+"):
    for match in re.finditer(r"^struct\s+(%s)\s*(?::[^{]*)?\{" % pattern, text, flags=re.M):
        depth, i = 1, match.end()
        while depth:
            depth += {"{": 1, "}": -1}.get(text[i], 0)
            i += 1
        yield match.group(1), text[match.end():i - 1]


def members(body):
    if "#" in body:
        raise SystemExit("list_tables: a table with preprocessor lines; extend the reader")
    for statement in body.split(";"):
        statement = " ".join(statement.split())
        if not statement:
            continue
        found = FUNCTION.search(statement)
        if found:
            yield found.group(1)
            continue
        found = DATA.match(statement)
        if not found:
            raise SystemExit("list_tables: cannot read the member '%s'" % statement)
        yield found.group(1)


def main():
    root, out = sys.argv[1], sys.argv[2]
    tables = {}
    for source in SOURCES:
        with open("%s/%s" % (root, source), encoding="latin-1") as f:
            for name, body in structs(strip_comments(f.read())):
                tables[name] = list(members(body))
    with open("%s/%s" % (root, SOURCES[0]), encoding="latin-1") as f:
        text = strip_comments(f.read())
    os_struct = re.search(r"struct OperatingSystem\s*\{(.*?)\};", text, flags=re.S).group(1)
    lines = []
    for table, field in re.findall(r"(C4D_\w+)\s*\*\s*(\w+)\s*;", os_struct):
        if table not in tables:
            raise SystemExit("list_tables: no definition of %s" % table)
        lines.append("TABLE(%s, %s)" % (table, field))
        lines += ["ENTRY(%s, %s, %s)" % (table, field, m) for m in tables[table]]
    for typename, field in re.findall(r"(C4D_\w+)\s+(\w+)\s*;", os_struct):
        lines.append("FUNCTION(%s, %s)" % (typename, field))
    for library, header in LIBRARIES.items():
        with open("%s/%s" % (root, header), encoding="latin-1") as f:
            body = dict(structs(strip_comments(f.read()), library))[library]
        lines.append("LIBRARY(%s)" % library)
        lines += ["LIBRARY_ENTRY(%s, %s)" % (library, m) for m in members(body)]
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
