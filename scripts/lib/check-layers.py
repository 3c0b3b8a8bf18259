#!/usr/bin/env python3
"""Fails when a file includes a header of a higher layer, or when portable
code includes a Windows header or a win32/ header. Every library exports the
same include root, so the compiler cannot catch either.

  check-layers.py ROOT        checks ROOT/src, ROOT/tests and ROOT/bench
  check-layers.py --self-test checks that the rules catch what they must
"""
import os
import re
import sys
import tempfile

# Lowest first; a layer uses only the layers at or below it.
LAYERS = ["common", "platform", "environment", "model", "storage", "monitor", "ui", "app"]
RANK = {name: i for i, name in enumerate(LAYERS)}

# Headers outside the C++ standard library that portable code may include.
PORTABLE_LIBRARY_HEADERS = {"sqlite3.h", "png.h", "jpeglib.h", "gif_lib.h", "zlib.h"}
PORTABLE_LIBRARY_FOLDERS = ("gtest/", "gmock/", "benchmark/")

# The folders of ui/win32, lowest first. A folder uses the ones below it; of
# the windows' folders of one rank none uses another (a dialog never opens a
# window; the settings dialog does not reach into the add wizard); only the
# main window opens them all.
WINDOW_FOLDERS = {"toolkit": 0, "skin": 1, "dialogs": 2, "reminder": 3, "settings": 3, "addwizard": 3, "main": 4}

# Test folders that build only for Windows, whole.
WINDOWS_ONLY_TEST_FOLDERS = {"platform", "e2e"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")


def is_windows_code(relative):
    parts = relative.split("/")
    if "win32" in parts:
        return True
    return parts[0] == "tests" and len(parts) > 1 and parts[1] in WINDOWS_ONLY_TEST_FOLDERS


def layer_of(relative):
    parts = relative.split("/")
    if parts[0] == "src" and len(parts) > 2:
        return parts[1]
    return None


# What the ui rules (the files of src/ui itself) may use: they know no stored
# option, no engine and no system service; the presenters below src/ui/presenters
# and the windows are the ones that do.
UI_RULES_MAY_USE = {"common", "model", "ui"}


def is_ui_rule(relative):
    parts = relative.split("/")
    return len(parts) == 3 and parts[:2] == ["src", "ui"]


def window_folder_of(relative):
    """The ui/win32 folder a file of src/ lies in, if any. (Tests may drive a
    folder's code through the windows above it.)"""
    parts = relative.split("/")
    if len(parts) > 4 and parts[0] == "src" and parts[1:3] == ["ui", "win32"]:
        return parts[3] if parts[3] in WINDOW_FOLDERS else None
    return None


def system_header_allowed(header):
    if header in PORTABLE_LIBRARY_HEADERS or header.startswith(PORTABLE_LIBRARY_FOLDERS):
        return True
    # The C++ standard library: no extension, no folder.
    return "." not in header and "/" not in header


def check_file(relative, text):
    problems = []
    windows = is_windows_code(relative)
    layer = layer_of(relative)
    for match in INCLUDE.finditer(text):
        kind, header = match.groups()
        line = text.count("\n", 0, match.start()) + 1
        where = f"{relative}:{line}"
        if kind == "<":
            if not windows and not system_header_allowed(header):
                problems.append(f"{where}: portable code includes <{header}>")
            continue
        parts = header.split("/")
        if not windows and "win32" in parts:
            problems.append(f'{where}: portable code includes "{header}"')
        if layer in RANK and parts[0] in RANK and RANK[parts[0]] > RANK[layer]:
            problems.append(f'{where}: {layer}/ includes "{header}" of the higher layer {parts[0]}/')
        if is_ui_rule(relative) and parts[0] in RANK and (parts[0] not in UI_RULES_MAY_USE or parts[1] == "presenters"):
            problems.append(f'{where}: a ui rule includes "{header}"; only common/, model/ and ui/ rules may be used')
        folder = window_folder_of(relative)
        used = parts[2] if len(parts) > 3 and parts[:2] == ["ui", "win32"] else None
        if folder and used in WINDOW_FOLDERS and used != folder:
            if WINDOW_FOLDERS[used] >= WINDOW_FOLDERS[folder]:
                problems.append(f'{where}: ui/win32/{folder}/ includes "{header}" of ui/win32/{used}/')
    return problems


def check_tree(root):
    problems = []
    for top in ("src", "tests", "bench"):
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                with open(path, encoding="utf-8") as f:
                    problems += check_file(relative, f.read())
    return problems


def self_test():
    cases = [
        # (file, text, problems expected)
        ("src/storage/A.h", '#include "monitor/B.h"\n', 1),
        ("src/model/A.cpp", '#include "storage/B.h"\n', 1),
        ("src/common/A.cpp", '#include <windows.h>\n', 1),
        ("src/ui/A.cpp", '#include "ui/win32/Form.h"\n', 1),
        ("tests/storage/A_test.cpp", "#  include <oleacc.h>\n", 1),
        ("src/monitor/A.cpp", '#include "storage/B.h"\n#include "model/C.h"\n#include <vector>\n', 0),
        ("src/ui/win32/A.cpp", '#include <windows.h>\n#include "ui/win32/B.h"\n', 0),
        ("tests/e2e/A_test.cpp", '#include <windows.h>\n', 0),
        ("src/storage/A.cpp", "#include <sqlite3.h>\n", 0),
        ("tests/model/A_test.cpp", '#include <gtest/gtest.h>\n#include "storage/B.h"\n', 0),
        # The window folders: a dialog never includes a window's folder, nor
        # one window another's; the main window includes them all.
        ("src/ui/win32/dialogs/A.cpp", '#include "ui/win32/main/MainFRM.h"\n', 1),
        ("src/ui/win32/settings/A.cpp", '#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"\n', 1),
        ("src/ui/win32/toolkit/A.cpp", '#include "ui/win32/skin/BaseFRM.h"\n', 1),
        ("tests/ui/win32/toolkit/A_test.cpp", '#include "ui/win32/dialogs/WarningFRM.h"\n', 0),
        ("src/ui/win32/main/A.cpp",
         '#include "ui/win32/dialogs/WarningFRM.h"\n#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"\n', 0),
        ("src/ui/win32/dialogs/A.cpp", '#include "ui/win32/skin/BaseFRM.h"\n#include "ui/win32/toolkit/Form.h"\n', 0),
        # The ui rules know no stored option; the presenters do.
        ("src/ui/Rules.cpp", '#include "storage/Options.h"\n', 1),
        ("src/ui/Rules.cpp", '#include "ui/presenters/SettingsSession.h"\n', 1),
        ("src/ui/Rules.cpp", '#include "model/DayRules.h"\n#include "ui/Geometry.h"\n', 0),
        ("src/ui/presenters/A.cpp", '#include "storage/Options.h"\n#include "monitor/MainMonitor.h"\n', 0),
    ]
    failures = 0
    for relative, text, expected in cases:
        found = check_file(relative, text)
        if len(found) != expected:
            print(f"self-test: {relative}: expected {expected} problem(s), found {found}")
            failures += 1
    # The tree walk reads files the rules then refuse.
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, "src", "storage"))
        with open(os.path.join(root, "src", "storage", "Bad.h"), "w", encoding="utf-8") as f:
            f.write('#pragma once\n#include "ui/Thing.h"\n')
        if len(check_tree(root)) != 1:
            print("self-test: the tree walk missed an upward include")
            failures += 1
    print("layer check self-test:", "failed" if failures else "passed")
    return 1 if failures else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__)
        return 2
    problems = check_tree(argv[1])
    for problem in problems:
        print(problem)
    print(f"layer check: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
