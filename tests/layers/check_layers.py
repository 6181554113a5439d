#!/usr/bin/env python3
"""Fails when a source file includes across the layers against the dependency graph, when a core
folder includes Qt, or when a library links against a layer it may not use.

    platform <- common <- dataset <- {catalog, images, checklist}; {catalog, images} <- convert;
    {convert, checklist} <- {cli, gui}; gui <- tools
"""
import pathlib
import re
import sys

ALLOWED = {
    "platform": set(),
    "common": {"platform"},
    "dataset": {"platform", "common"},
    "catalog": {"platform", "common", "dataset"},
    "images": {"platform", "common", "dataset"},
    "checklist": {"platform", "common", "dataset"},
    "convert": {"platform", "common", "dataset", "catalog", "images"},
    "cli": {"platform", "common", "dataset", "catalog", "images", "checklist", "convert"},
    "gui": {"platform", "common", "dataset", "catalog", "images", "checklist", "convert"},
}
QT_ALLOWED = {"gui"}
TARGET_FOLDER = {"dw_platform": "platform", "dw_common": "common", "dw_dataset": "dataset", "dw_catalog": "catalog",
                 "dw_images": "images", "dw_checklist": "checklist", "dw_convert": "convert",
                 "dw_cli_lib": "cli", "dw_gui": "gui"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def main(root: pathlib.Path) -> int:
    src = root / "src"
    faults = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cc", ".cpp"):
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in ALLOWED:
            faults.append(f"{path}: folder '{folder}' is not in the layer graph")
            continue
        for bracket, name in INCLUDE.findall(path.read_text(encoding="utf-8")):
            first = name.split("/")[0]
            if bracket == "<" and re.match(r"Q[A-Za-z]", first) and folder not in QT_ALLOWED:
                faults.append(f"{path}: includes Qt <{name}> outside gui/")
            if bracket == '"' and "/" in name and first in ALLOWED and first != folder \
                    and first not in ALLOWED[folder]:
                faults.append(f"{path}: includes \"{name}\" ({folder} may not use {first})")
    for cmake in sorted(src.glob("*/CMakeLists.txt")):
        folder = cmake.parent.name
        text = cmake.read_text(encoding="utf-8")
        for links in re.findall(r"target_link_libraries\(([^)]*)\)", text):
            for word in links.split():
                used = TARGET_FOLDER.get(word)
                if used and used != folder and used not in ALLOWED.get(folder, set()):
                    faults.append(f"{cmake}: links {word} ({folder} may not use {used})")
                if word.startswith("Qt6::") and folder not in QT_ALLOWED:
                    faults.append(f"{cmake}: links {word} outside gui/")
    for fault in faults:
        print(fault)
    print(f"layer check: {len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")))
