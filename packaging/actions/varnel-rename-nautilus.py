# SPDX-License-Identifier: GPL-3.0-or-later
# Nautilus (through nautilus-python) menu item "Rename with Varnel" on the
# selected files and folders: starts varnel with their paths.

import locale
import os
import subprocess

import gi

try:
    gi.require_version("Nautilus", "4.0")
except ValueError:
    gi.require_version("Nautilus", "3.0")
from gi.repository import GObject, Nautilus  # noqa: E402


def _label():
    language = locale.getlocale(locale.LC_MESSAGES)[0] or next(
        (os.environ[name] for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")
         if os.environ.get(name)), "")
    return "用Varnel批量更名" if language.startswith("zh") else "Rename with Varnel"


def _local_paths(files):
    """The selection's local paths; None when one is not a local file."""
    paths = []
    for item in files:
        location = item.get_location()
        path = location.get_path() if location is not None else None
        if path is None:
            return None
        paths.append(path)
    return paths


class VarnelRenameMenu(GObject.GObject, Nautilus.MenuProvider):
    # Nautilus 43 and later call get_file_items(files), earlier ones
    # get_file_items(window, files): the selection is the last argument.
    def get_file_items(self, *args):
        paths = _local_paths(args[-1])
        if not paths:
            return []
        item = Nautilus.MenuItem(name="VarnelRenameMenu::rename", label=_label(),
                                 icon="app.varnel.Varnel")
        item.connect("activate", self._start, paths)
        return [item]

    @staticmethod
    def _start(_item, paths):
        # Paths go to varnel exactly as the file system spells them.
        subprocess.Popen(["varnel", "--", *paths], start_new_session=True)
