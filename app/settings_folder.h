// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which folder holds config.ini and dir.txt.
//
// A copy of the program unpacked somewhere the user may write to (or whose
// folder already holds a config.ini) is portable: its files live beside the
// executable. An installed program keeps them in the user's configuration
// folder, $XDG_CONFIG_HOME/varnel/ (by default ~/.config/varnel/), which is
// created when the first file is saved there. The installation's own
// program folder (/usr/bin) never counts as writable, so that running the
// installed program as root does not put files beside the system's programs.

#include <string>

namespace varnel {

// What the choice depends on (paths are file-system bytes).
struct SettingsFolderFacts {
    std::string executable_folder;  // ending in '/'; empty when unknown
    bool config_beside_executable = false;
    bool executable_folder_writable = false;
    std::string installed_program_folder;  // ending in '/'
    std::string user_config_home;          // without a trailing '/'; may be empty
};

// The folder, ending in '/'. Falls back to the executable's folder when no
// configuration folder is known (no home folder at all).
[[nodiscard]] std::string choose_settings_folder(const SettingsFolderFacts& facts);

// The facts of the running program, asked of the system.
[[nodiscard]] SettingsFolderFacts settings_folder_facts(const std::string& executable_folder);

}  // namespace varnel
