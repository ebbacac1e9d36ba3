// Renaming and undo, with progress in panel 进度 and the summaries.

#include <QAction>
#include <QLabel>

#include "app/ui/main_window.h"
#include "filelist/ui/file_list_model.h"
#include "platform/ui/ui_services.h"
#include "rename/batch_texts.h"
#include "rename/renamer.h"
#include "rename/ui/rule_tabs.h"

namespace varnel {

// The batch runs here on the GUI thread; the panel is repainted at once so
// the squares grow while no user input is handled.
void MainWindow::show_progress(std::string_view text) {
    panels_[1]->setText(code_page_text(text));
    panels_[1]->repaint();
}

void MainWindow::rename_command() {
    set_buttons(preview_button, false);
    BatchOutcome outcome;
    {
        const BusyCursor busy(services_);
        outcome = rename_items(list_, tabs_->pages(), undo_log_, codec_,
                               [this](std::string_view text) { show_progress(text); });
    }
    set_buttons(preview_button, true);
    set_buttons(undo_button, true);
    services_.message_box(nullptr, code_page_text(texts::message_title),
                          code_page_text(outcome.summary),
                          outcome.all_succeeded() ? MessageIcon::information : MessageIcon::warning,
                          MessageButtons::ok);
    panels_[1]->clear();
}

void MainWindow::undo_command() {
    const MessageAnswer answer = services_.message_box(
        nullptr, code_page_text(texts::undo_question_title), code_page_text(texts::undo_question),
        MessageIcon::information, MessageButtons::yes_no);
    if (answer != MessageAnswer::yes) return;
    BatchOutcome outcome;
    {
        const BusyCursor busy(services_);
        outcome =
            undo_rename(list_, undo_log_, [this](std::string_view text) { show_progress(text); });
        panels_[1]->clear();
    }
    set_buttons(undo_button, false);
    services_.message_box(nullptr, code_page_text(texts::message_title),
                          code_page_text(outcome.summary),
                          outcome.all_succeeded() ? MessageIcon::information : MessageIcon::warning,
                          MessageButtons::ok);
}

}  // namespace varnel
