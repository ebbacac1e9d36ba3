// SPDX-License-Identifier: GPL-3.0-or-later
// varnel: the desktop program. `varnel [FILE|FOLDER]...` adds those items
// at start, as dropping them on the window would.

#include <QApplication>
#include <QIcon>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/product.h"
#include "app/settings.h"
#include "app/settings_folder.h"
#include "app/start_arguments.h"
#include "app/ui/font_coverage.h"
#include "app/ui/main_window.h"
#include "app/ui/qt_translations.h"
#include "audio/tag_journal.h"
#include "platform/codec.h"
#include "platform/exe_folder.h"
#include "platform/journal_folder.h"
#include "platform/quit_signals.h"
#include "platform/ui/qt_ui_services.h"
#include "platform/working_folder.h"

namespace {

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The start-up paths (file-system bytes) made absolute against the current
// folder, "." and ".." resolved as written.
std::vector<std::string> absolute_paths(const std::vector<std::string>& fs_paths) {
    const std::string cwd = varnel::working_folder();
    std::vector<std::string> paths;
    for (const std::string& path : fs_paths) {
        const std::filesystem::path whole = path.starts_with('/') ? path : cwd + "/" + path;
        paths.push_back(whole.lexically_normal().string());
    }
    return paths;
}

// SIGTERM, SIGINT and SIGHUP close the windows as the user would, so the
// settings are saved on the way out.
void close_on_quit_signals(QApplication& application) {
    const int fd = varnel::quit_signal_fd();
    if (fd < 0) return;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        varnel::drain_quit_signals();
        QApplication::closeAllWindows();
    });
}

// --version and --help are answered before the toolkit starts, so they work
// without a display.
std::optional<int> answer_printing_options(int argc, char** argv) {
    using Action = varnel::StartArguments::Action;
    const varnel::StartArguments arguments =
        varnel::parse_start_arguments(std::vector<std::string>(argv + 1, argv + argc));
    if (arguments.action == Action::version) {
        std::fputs(varnel::version_text().c_str(), stdout);
        return 0;
    }
    if (arguments.action == Action::help) {
        std::fputs(varnel::start_help_text().c_str(), stdout);
        return 0;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = answer_printing_options(argc, argv)) return *status;
    QApplication application(argc, argv);  // takes its own options out of argv
    using Action = varnel::StartArguments::Action;
    const varnel::StartArguments arguments =
        varnel::parse_start_arguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (arguments.action) {
        case Action::version:
        case Action::help:
            return 0;  // answered above
        case Action::usage_error:
            std::fprintf(stderr, "varnel: %s\n%s", arguments.error.c_str(),
                         varnel::start_help_text().c_str());
            return 2;
        case Action::run:
            break;
    }
    QApplication::setApplicationName(latin1(varnel::product::name));
    QApplication::setApplicationVersion(latin1(varnel::product::version));
    QGuiApplication::setDesktopFileName(latin1(varnel::product::desktop_id));
    QApplication::setWindowIcon(QIcon::fromTheme(latin1(varnel::product::desktop_id)));
    close_on_quit_signals(application);
    const std::string folder =
        varnel::choose_settings_folder(varnel::settings_folder_facts(varnel::executable_folder()));
    // Without its translation file the window still works, in the source
    // language; nothing a person could do about it at this point.
    (void)varnel::use_language(
        application,
        varnel::chosen_language(varnel::load_settings(varnel::config_path(folder)).language));

    const varnel::Codec codec;
    varnel::QtUiServices services;
    // Without the journal folder, batches ask before running without a journal.
    const varnel::JournalFolder journals = varnel::automatic_journal_folder(true);
    if (!journals.path) std::fprintf(stderr, "varnel: %s\n", journals.reason.c_str());
    varnel::MainWindow window(varnel::MainWindowSetup{
        codec, services, varnel::config_path(folder), folder + "dir.txt",
        journals.path.value_or(""), varnel::old_tag_journal_path().value_or("")});
    window.show();
    // From the event loop, so that a quit signal also closes the notice.
    QTimer::singleShot(0, &window, [&window, &services] {
        if (varnel::ensure_font_covers(varnel::shown_texts(window), varnel::cjk_families(),
                                       services) == varnel::FontCoverage::none)
            std::fprintf(stderr, "varnel: %s\n", varnel::no_cjk_font_notice());
    });
    window.offer_interrupted_undo();
    if (!arguments.paths.empty()) window.add_dropped_paths(absolute_paths(arguments.paths));
    return application.exec();
}
