// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/settings_folder.h"

#include "app/product.h"
#include "app/settings.h"
#include "platform/user_folders.h"

namespace varnel {

std::string choose_settings_folder(const SettingsFolderFacts& facts) {
    const bool installed = facts.executable_folder == facts.installed_program_folder;
    const bool portable =
        !facts.executable_folder.empty() &&
        (facts.config_beside_executable || (facts.executable_folder_writable && !installed));
    if (portable || facts.user_config_home.empty()) return facts.executable_folder;
    return facts.user_config_home + "/varnel/";
}

SettingsFolderFacts settings_folder_facts(const std::string& executable_folder) {
    SettingsFolderFacts facts;
    facts.executable_folder = executable_folder;
    facts.installed_program_folder = std::string(product::installed_program_folder);
    facts.user_config_home = user_config_home();
    if (!executable_folder.empty()) {
        facts.config_beside_executable = path_exists(config_path(executable_folder));
        facts.executable_folder_writable = folder_is_writable(executable_folder);
    }
    return facts;
}

}  // namespace varnel
