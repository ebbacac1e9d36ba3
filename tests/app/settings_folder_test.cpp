// SPDX-License-Identifier: GPL-3.0-or-later
// Where config.ini and dir.txt live: beside a portable copy, in the user's
// configuration folder for an installed one.

#include "app/settings_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "support/temp_dir.h"

namespace varnel {
namespace {

TEST(SettingsFolder, PortableOrInstalled) {
    struct Case {
        const char* what;
        SettingsFolderFacts facts;
        const char* folder;
    };
    const std::string bin = "/usr/bin/";
    const std::string home = "/home/u/.config";
    const Case cases[] = {
        {"unpacked where the user may write",
         {"/home/u/varnel/", false, true, bin, home},
         "/home/u/varnel/"},
        {"a config.ini beside it, folder read-only",
         {"/opt/varnel/", true, false, bin, home},
         "/opt/varnel/"},
        {"read-only folder without config.ini",
         {"/opt/varnel/", false, false, bin, home},
         "/home/u/.config/varnel/"},
        {"installed, run by root",
         {"/usr/bin/", false, true, bin, home},
         "/home/u/.config/varnel/"},
        {"installed, config.ini put there on purpose",
         {"/usr/bin/", true, true, bin, home},
         "/usr/bin/"},
        {"no configuration folder known", {"/opt/varnel/", false, false, bin, ""}, "/opt/varnel/"},
        {"executable's folder unknown", {"", false, false, bin, home}, "/home/u/.config/varnel/"},
    };
    for (const Case& c : cases) EXPECT_EQ(choose_settings_folder(c.facts), c.folder) << c.what;
}

// The facts come from the system: the environment and the folder itself.
TEST(SettingsFolder, FactsOfTheSystem) {
    test::TempDir dir;
    const char* saved_xdg = getenv("XDG_CONFIG_HOME");
    const std::string xdg = saved_xdg ? saved_xdg : "";
    const char* saved_home = getenv("HOME");
    const std::string home = saved_home ? saved_home : "";

    setenv("XDG_CONFIG_HOME", "/custom/config//", 1);
    SettingsFolderFacts facts = settings_folder_facts(dir.path());
    EXPECT_EQ(facts.user_config_home, "/custom/config");
    EXPECT_TRUE(facts.executable_folder_writable);
    EXPECT_FALSE(facts.config_beside_executable);
    EXPECT_EQ(facts.installed_program_folder.back(), '/');

    setenv("XDG_CONFIG_HOME", "relative/config", 1);  // ignored, as the XDG rules say
    setenv("HOME", "/home/someone", 1);
    dir.write_file("config.ini");
    facts = settings_folder_facts(dir.path());
    EXPECT_EQ(facts.user_config_home, "/home/someone/.config");
    EXPECT_TRUE(facts.config_beside_executable);

    if (saved_xdg)
        setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    if (saved_home) setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace varnel
