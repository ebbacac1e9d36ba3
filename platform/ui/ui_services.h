// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the windows ask of the desktop that would block on a modal
// window or reach outside the program: message boxes, file, folder, font and
// colour choosers, the busy cursor, opening a web address. The windows take
// this interface, so tests drive every command with a scripted stand-in.

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace varnel {

enum class MessageIcon { none, information, warning, exclamation, question, error };
// yes_no_default_no: 是 and 否 with 否 the default (Enter answers No).
enum class MessageButtons { ok, yes_no, yes_no_default_no };
enum class MessageAnswer { ok, yes, no };

// One entry of a file chooser's filter list: the caption shown and the
// name patterns (code-page text, see matches_pattern) it lets through.
struct ChooserFilter {
    QString caption;
    std::vector<std::string> patterns;
};

// The folder picker's answer.
struct FolderChoice {
    std::string path;              // file-system bytes, no trailing '/' but for the root
    bool with_subfolders = false;  // 包含子文件夹 was checked
    bool show_hidden = false;      // 显示隐藏文件 was checked: hidden files are wanted too
};

// The progress window of a long command: window-modal, with a 取消
// button, shown only once the command has run for half a second.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // `done` of `count` items are done; lets the window handle its input.
    virtual void set_value(int done, int count) = 0;
    // Whether the user has pressed 取消.
    [[nodiscard]] virtual bool was_cancelled() = 0;
};

// A progress window that shows nothing and is never cancelled.
class NoProgressWindow final : public ProgressWindow {
public:
    void set_value(int, int) override {}
    bool was_cancelled() override { return false; }
};

class UiServices {
public:
    virtual ~UiServices() = default;

    // A modal message box; returns the button pressed (ok for an OK box).
    virtual MessageAnswer message_box(QWidget* parent, const QString& title, const QString& text,
                                      MessageIcon icon, MessageButtons buttons) = 0;

    // The multi-select open-file chooser, opened in `folder` (file-system
    // bytes; empty or not a folder: the home folder) with the first filter
    // selected. Returns the chosen paths, file-system bytes exactly as the
    // folder lists them (a typed name need not exist), in the chooser's
    // order; empty when cancelled.
    virtual std::vector<std::string> open_files(QWidget* parent, const QString& title,
                                                const std::string& folder,
                                                const std::vector<ChooserFilter>& filters) = 0;

    // The save-file chooser, opened in `folder` (file-system bytes) with
    // `name` proposed: the chosen path (file-system bytes), empty when
    // cancelled. The default cancels.
    virtual std::string save_file(QWidget* /*parent*/, const QString& /*title*/,
                                  const std::string& /*folder*/, const QString& /*name*/) {
        return {};
    }

    // The folder picker, opened in `folder` (file-system bytes; empty or not
    // a folder: the home folder) with the focus in its path field,
    // 包含子文件夹 checked as `with_subfolders` says and 显示隐藏文件
    // unchecked: the chosen folder and those check boxes; nullopt when
    // cancelled.
    virtual std::optional<FolderChoice> choose_folder(QWidget* parent, const QString& prompt,
                                                      const std::string& folder,
                                                      bool with_subfolders) = 0;

    // The font chooser; nullopt when cancelled.
    virtual std::optional<QFont> choose_font(QWidget* parent, const QFont& initial) = 0;

    // The colour chooser; nullopt when cancelled.
    virtual std::optional<QColor> choose_colour(QWidget* parent, const QColor& initial) = 0;

    // Shows or takes away the wait cursor; calls nest.
    virtual void set_busy(bool busy) = 0;

    // Opens `url` in the default browser; false when that failed.
    virtual bool open_url(const QString& url) = 0;

    // Fetches `url` with a blocking GET that cannot hang (see http_get);
    // nullopt on any failure.
    virtual std::optional<QByteArray> fetch(const QString& url) = 0;

    // The progress window of a command (see ProgressWindow), labelled
    // `label`, over `parent`; it closes when destroyed.
    [[nodiscard]] virtual std::unique_ptr<ProgressWindow> progress(QWidget* /*parent*/,
                                                                   const QString& /*label*/) {
        return std::make_unique<NoProgressWindow>();
    }
};

// Holds the wait cursor for a scope.
class BusyCursor {
public:
    explicit BusyCursor(UiServices& services) : services_(services) { services_.set_busy(true); }
    ~BusyCursor() { services_.set_busy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UiServices& services_;
};

}  // namespace varnel
