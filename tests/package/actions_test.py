# SPDX-License-Identifier: GPL-3.0-or-later
"""The file managers' actions "Rename with Varnel" of an unpacked package.

Dolphin's service menu and Nemo's action are key files that
desktop-file-validate does not know: their groups and keys are checked here
as those file managers read them. Thunar's Send To entry is a desktop entry
(validated by the caller). Every action must start varnel with all the
selected local paths (%F) and carry the Chinese label. The Nautilus
extension is run against a stand-in of the Nautilus module: its menu item
must start varnel with the selected paths, byte for byte.

Usage: actions_test.py ROOT
"""

import configparser
import os
import subprocess
import sys
import tempfile
import textwrap

failures = []
LABEL_ZH = "用Varnel批量更名"
LABEL_EN = "Rename with Varnel"


def fail(message):
    failures.append(message)
    print("FAIL: " + message, file=sys.stderr)


def key_file(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case-sensitive, Name[zh_CN] included
    with open(path, encoding="utf-8") as f:
        parser.read_file(f)
    return parser


def check_launch(where, group):
    if group.get("Exec") != "varnel %F":
        fail(f"{where}: Exec is {group.get('Exec')!r}, not varnel with every selected path")
    if group.get("Name") != LABEL_EN or group.get("Name[zh_CN]") != LABEL_ZH:
        fail(f"{where}: labels {group.get('Name')!r} / {group.get('Name[zh_CN]')!r}")


def check_dolphin(path):
    menu = key_file(path)
    entry = menu["Desktop Entry"]
    if entry.get("Type") != "Service":
        fail(f"{path}: Type is not Service")
    # all/all: files and folders alike.
    if "all/all" not in entry.get("MimeType", "").split(";"):
        fail(f"{path}: not offered on every file and folder")
    if "KonqPopupMenu/Plugin" not in entry.get("X-KDE-ServiceTypes", ""):
        fail(f"{path}: KDE Frameworks 5 would not read it as a service menu")
    actions = [a for a in entry.get("Actions", "").split(";") if a]
    if not actions:
        fail(f"{path}: no action")
    for action in actions:
        group = f"Desktop Action {action}"
        if group not in menu:
            fail(f"{path}: the action {action} has no group")
        else:
            check_launch(f"{path} [{group}]", menu[group])


def check_nemo(path):
    action = key_file(path)["Nemo Action"]
    check_launch(path, action)
    if action.get("Selection") != "notnone":
        fail(f"{path}: Selection {action.get('Selection')!r} (wanted: any selection)")
    if "any" not in action.get("Extensions", "").split(";"):
        fail(f"{path}: not offered on every file and folder")
    if not path.endswith(".nemo_action"):
        fail(f"{path}: Nemo reads only *.nemo_action files")


def check_thunar(path):
    entry = key_file(path)["Desktop Entry"]
    check_launch(path, entry)
    types = entry.get("MimeType", "").split(";")
    for mime in ("application/octet-stream", "inode/directory"):
        if mime not in types:
            fail(f"{path}: Send To would not list it for {mime}")


# A stand-in of gi and gi.repository.Nautilus, enough for a MenuProvider.
FAKE_GI = textwrap.dedent('''
    import sys, types
    gi = types.ModuleType("gi")
    gi.require_version = lambda name, version: None
    repository = types.ModuleType("gi.repository")
    class GObject:
        class GObject:
            pass
    class MenuItem:
        def __init__(self, name, label, icon=None, **_):
            self.name, self.label, self.handlers = name, label, []
        def connect(self, signal, handler, *data):
            self.handlers.append((signal, handler, data))
        def activate(self):
            for signal, handler, data in self.handlers:
                if signal == "activate":
                    handler(self, *data)
    class Nautilus:
        MenuProvider = object
    Nautilus.MenuItem = MenuItem
    repository.GObject, repository.Nautilus = GObject, Nautilus
    gi.repository = repository
    sys.modules.update({"gi": gi, "gi.repository": repository})
''')

RUN_EXTENSION = textwrap.dedent('''
    import importlib.util, os, sys, time
    found = importlib.util.spec_from_file_location("extension", sys.argv[1])
    extension = importlib.util.module_from_spec(found)
    found.loader.exec_module(extension)
    class Location:
        def __init__(self, path): self.path = path
        def get_path(self): return self.path
    class File:
        def __init__(self, path): self.location = Location(path)
        def get_location(self): return self.location
    paths = [os.fsdecode(p) for p in sys.argv[3:]]
    provider = extension.VarnelRenameMenu()
    # Nautilus 43 and later pass the files alone, earlier ones the window too.
    items = provider.get_file_items([File(p) for p in paths])
    old_items = provider.get_file_items(None, [File(p) for p in paths])
    remote = provider.get_file_items([File(None)])
    print(len(items), len(old_items), len(remote), items[0].label)
    items[0].activate()
    for _ in range(100):
        if os.path.exists(sys.argv[2]): break
        time.sleep(0.05)
''')


def check_nautilus(path):
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "fake_gi.py"), "w") as f:
            f.write(FAKE_GI)
        record = os.path.join(folder, "arguments")
        fake_varnel = os.path.join(folder, "varnel")
        with open(fake_varnel, "w") as f:
            f.write(f'#!/bin/sh\nprintf "%s\\0" "$@" > "{record}.tmp" && mv "{record}.tmp" "{record}"\n')
        os.chmod(fake_varnel, 0o755)
        # A GBK name that is not UTF-8, a space, a leading dash: as they are.
        selected = [os.path.join(folder.encode(), "\u6b4c".encode("gb18030") + b" 1.mp3"),
                    os.path.join(folder.encode(), b"-folder")]
        for language, label in (("zh_CN.UTF-8", LABEL_ZH), ("C.UTF-8", LABEL_EN)):
            if os.path.exists(record):
                os.remove(record)
            result = subprocess.run(
                [sys.executable, "-c", "import fake_gi\n" + RUN_EXTENSION, path, record,
                 *selected],
                capture_output=True, env={"PATH": folder + ":/usr/bin:/bin", "PYTHONPATH": folder,
                                          "LANG": language, "LC_ALL": language},
                timeout=30)
            if result.returncode != 0:
                fail(f"{path}: the extension failed: {result.stderr.decode(errors='replace')}")
                continue
            counts_label = result.stdout.decode().split(maxsplit=3)
            if counts_label[:3] != ["1", "1", "0"]:
                fail(f"{path}: menu items for files, files with a window, remote files: "
                     f"{counts_label[:3]} (wanted 1 1 0)")
            if counts_label[3].strip() != label:
                fail(f"{path}: label {counts_label[3].strip()!r} under {language}")
            if not os.path.exists(record):
                fail(f"{path}: activating the item did not start varnel")
                continue
            with open(record, "rb") as f:
                arguments = f.read().split(b"\0")[:-1]
            if arguments != [b"--", *selected]:
                fail(f"{path}: varnel started with {arguments!r}")


def main():
    share = os.path.join(sys.argv[1], "usr/share")
    check_dolphin(os.path.join(share, "kio/servicemenus/varnel-rename.desktop"))
    check_thunar(os.path.join(share, "Thunar/sendto/varnel-rename.desktop"))
    check_nemo(os.path.join(share, "nemo/actions/varnel-rename.nemo_action"))
    check_nautilus(os.path.join(share, "nautilus-python/extensions/varnel-rename.py"))
    if failures:
        return 1
    print("ok: Dolphin, Thunar, Nemo and Nautilus actions start varnel with the selection")
    return 0


if __name__ == "__main__":
    sys.exit(main())
