// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scripted stand-in for the desktop: answers queued by the test, every
// request recorded.

#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ui/ui_services.h"

namespace varnel::test {

class FakeUiServices final : public UiServices {
public:
    struct Message {
        QString title;
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    // Answers, consumed in order; when a queue is empty the user cancels
    // (and says No to questions).
    std::deque<MessageAnswer> answers;
    std::deque<std::vector<std::string>> file_choices;  // file-system paths
    std::deque<std::string> folder_choices;             // empty: cancelled
    std::deque<std::string> save_choices;               // save-file chooser; empty: cancelled
    std::deque<bool> subfolder_choices;  // 包含子文件夹 with each folder choice; none left: off
    std::deque<bool> hidden_choices;  // 显示隐藏文件 with each folder choice; none left: off
    std::deque<std::optional<QFont>> font_choices;
    std::deque<std::optional<QColor>> colour_choices;
    std::deque<std::optional<QByteArray>> pages;  // answers to fetch()

    // What was asked.
    std::vector<Message> messages;
    std::vector<std::string> open_files_folders;    // the folder each file dialog opened in
    std::vector<std::string> choose_folder_starts;  // the folder each folder picker opened in
    std::vector<bool> subfolders_offered;  // 包含子文件夹 as each folder picker opened
    std::vector<QString> chooser_titles;   // of every file and folder chooser, in order
    std::vector<QString> chooser_filter_captions;  // every file chooser's filter captions
    std::vector<QFont> fonts_offered;              // the font each font chooser opened with
    std::vector<QString> opened_urls;
    std::vector<QString> fetched_urls;
    std::vector<int> busy_at_fetch;  // busy_depth while each fetch ran
    int busy_depth = 0;
    int busy_calls = 0;
    // The user presses 取消 in a progress window once this many of its
    // items are done; negative: never.
    int cancel_after = -1;
    std::vector<QString> progress_labels;  // the label of each progress window
    std::vector<int> progress_values;      // every value shown, in order
    // Called as each message box opens, to look at the window behind it.
    std::function<void()> on_message;

    MessageAnswer message_box(QWidget*, const QString& title, const QString& text, MessageIcon icon,
                              MessageButtons buttons) override {
        if (on_message) on_message();
        messages.push_back({title, text, icon, buttons});
        if (buttons == MessageButtons::ok) return MessageAnswer::ok;
        return take(answers, MessageAnswer::no);
    }
    std::vector<std::string> open_files(QWidget*, const QString& title, const std::string& folder,
                                        const std::vector<ChooserFilter>& filters) override {
        chooser_titles.push_back(title);
        for (const ChooserFilter& filter : filters)
            chooser_filter_captions.push_back(filter.caption);
        open_files_folders.push_back(folder);
        return take(file_choices, std::vector<std::string>{});
    }
    std::string save_file(QWidget*, const QString& title, const std::string&,
                          const QString&) override {
        chooser_titles.push_back(title);
        return take(save_choices, std::string{});
    }
    std::optional<FolderChoice> choose_folder(QWidget*, const QString& title,
                                              const std::string& start,
                                              bool with_subfolders_shown) override {
        chooser_titles.push_back(title);
        choose_folder_starts.push_back(start);
        subfolders_offered.push_back(with_subfolders_shown);
        std::string folder = take(folder_choices, std::string{});
        const bool with_subfolders = take(subfolder_choices, false);
        const bool show_hidden = take(hidden_choices, false);
        if (folder.empty()) return std::nullopt;
        return FolderChoice{std::move(folder), with_subfolders, show_hidden};
    }
    std::optional<QFont> choose_font(QWidget*, const QFont& initial) override {
        fonts_offered.push_back(initial);
        return take(font_choices, std::optional<QFont>{});
    }
    std::optional<QColor> choose_colour(QWidget*, const QColor&) override {
        return take(colour_choices, std::optional<QColor>{});
    }
    void set_busy(bool busy) override {
        busy_depth += busy ? 1 : -1;
        if (busy) ++busy_calls;
    }
    bool open_url(const QString& url) override {
        opened_urls.push_back(url);
        return true;
    }
    std::optional<QByteArray> fetch(const QString& url) override {
        fetched_urls.push_back(url);
        busy_at_fetch.push_back(busy_depth);
        return take(pages, std::optional<QByteArray>{});
    }

    std::unique_ptr<ProgressWindow> progress(QWidget*, const QString& label) override {
        progress_labels.push_back(label);
        return std::make_unique<ScriptedProgress>(*this);
    }

private:
    class ScriptedProgress final : public ProgressWindow {
    public:
        explicit ScriptedProgress(FakeUiServices& owner) : owner_(owner) {}
        void set_value(int done, int) override {
            done_ = done;
            owner_.progress_values.push_back(done);
        }
        bool was_cancelled() override {
            return owner_.cancel_after >= 0 && done_ >= owner_.cancel_after;
        }

    private:
        FakeUiServices& owner_;
        int done_ = 0;
    };

    template <typename T>
    static T take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

}  // namespace varnel::test
