// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menus, toolbar 工具条, the rule tab control 选择夹, the
// file list 显示超级列表框 and the status bar 状态条. Its slots translate
// the user's commands into engine calls and show what they return.

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/settings.h"
#include "app/window_state.h"
#include "filelist/file_list.h"
#include "platform/codec.h"
#include "platform/folder_names.h"
#include "platform/journal_store.h"
#include "rename/batch_history.h"
#include "rename/name_rule.h"
#include "rename/preset.h"
#include "rename/preview.h"
#include "rename/renamer.h"
#include "rename/undo_log.h"
#include "rename/undo_rows.h"

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QScrollArea;
class QTimer;
class QToolBar;

namespace varnel {

class ChainPanel;
class ProgressWindow;
struct BatchRun;
class FileListModel;
class FileListView;
class ListContextMenu;
class RuleTabs;
class UiServices;
struct ListChange;
struct TagBatchSetup;

// What the main window needs from outside; nothing is global.
struct MainWindowSetup {
    const Codec& codec;
    UiServices& services;
    std::string config_path;   // config.ini (file-system path); its folder is
    std::string dir_txt_path;  // dir.txt    created when a file is saved there
    // The folder of the undo history (platform/journal_store.h; file-system
    // path ending in '/'): each rename batch keeps its write-ahead journal
    // there. Empty: batches keep no journal and there is no history.
    std::string journal_folder = {};
    // The single tag journal of earlier versions, listed in the history
    // while it is there (file-system path); empty: none.
    std::string old_tag_journal = {};
};

// The toolbar's buttons in order: 0 选择目录, 1 加入多个文件, 2 a separator,
// 3 撤消, 4 预览, 5 开始命名 (their icons are drawn by this index).
inline constexpr int undo_button = 3;
inline constexpr int preview_button = 4;
inline constexpr int start_button = 5;

// The 文件 menu's recent presets, newest first.
inline constexpr std::size_t recent_preset_count = 5;

// Adding a folder of more files than this asks first.
inline constexpr std::size_t confirm_files_over = 10'000;

// How long typing must pause before the automatic preview runs.
inline constexpr int preview_delay_ms = 120;

// Design widths of the status bar's panels 文件个数, 进度 and 自动预览.
inline constexpr std::array<int, 3> panel_widths{80, 247, 80};

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowSetup& setup, QWidget* parent = nullptr);
    // Saves the settings: the window is about to go.
    ~MainWindow() override;

    // Commands, as the menus, the toolbar, the list and drops run them.
    void add_files();
    void add_folder();
    // Adds the files directly inside `fs_folder` (file-system bytes).
    void add_folder_at(std::string fs_folder);
    // Dropped paths (file-system bytes): the files first, each under its
    // own folder, then every file of each other path taken as a folder.
    void add_dropped_paths(const std::vector<std::string>& fs_paths);
    void refresh_preview(bool explicit_command);
    // A rule control changed: the automatic preview runs once the user
    // pauses (preview_delay_ms after the last change), for the rows the list
    // shows; further rows are computed as the list scrolls to them.
    void schedule_preview();
    // Runs a scheduled or partly shown automatic preview now, for every row
    // the settings ask for; nothing when none is pending.
    void flush_preview();
    void rename_command();
    // 撤消: asks, then undoes the newest batch of this window's session that
    // is not undone yet (a rename batch or a tag batch), each file checked
    // as undo checks it, and shows the summary. Batches other programs made
    // are reached only through 撤消历史….
    void undo_command();
    // A tag batch of this window ended; `journal_path` is its journal
    // (tag_journal_path()): 撤消 undoes it while it is the newest batch of
    // the session.
    void note_tag_batch(const std::string& journal_path);
    // 文件 → 撤消历史…: the window listing the history (undo_history_dialog.h).
    void open_undo_history();
    // 文件名转为UTF-8: the selected items whose file names are legacy
    // (not UTF-8) respelled in UTF-8, as a batch with summary and undo.
    void fix_names_command();
    // 标签转为Unicode: the window that converts the tags of the selected MP3
    // items, showing what changes before it writes.
    void fix_tags_command();
    // 文件名转为标签: the window that sets the tags of the selected audio
    // items from their names through a template (main_window_tag_batches.cpp).
    void tags_from_names_command();
    // 批量编辑标签: the window that gives the selected audio items the same
    // field values at once.
    void batch_tag_command();
    // A tag batch of a window wrote files; `journal_path` is its undo
    // journal (file-system bytes; empty when it kept none). The rows' tag
    // status and preview are computed anew.
    void tag_batch_finished(const std::string& journal_path);
    // At start: for every batch of the history that never finished (its
    // process died; rename or tag batch), newest first, says so with its
    // folders, the number of files and when, and offers to undo it
    // (question "询问："), once per journal. Yes undoes it (the journal is
    // marked undone when every file came back); No keeps it for 文件 →
    // 撤消未完成的批量更名… and 丢弃未完成的批量更名记录 (the newest such
    // batch) and for 撤消历史….
    void offer_interrupted_undo();
    // Loads the preset file at `path` (file-system bytes): one page's
    // settings set that page's controls and activate it; a chain is shown
    // and turned on. A file that is not a preset changes nothing and is
    // reported with its reason.
    void load_preset(const std::string& path);
    // The settings 保存预设… saves: the chain while it is on, else the
    // active page's settings as one step.
    Preset current_preset() const;
    const std::vector<std::string>& recent_presets() const { return recent_presets_; }
    // 文件 → 撤消未完成的批量更名…: asks again, then undoes the newest
    // unfinished batch.
    void undo_interrupted_batch();
    // 文件 → 丢弃未完成的批量更名记录: asks, then removes its journal.
    void discard_interrupted_batch();
    void remove_selected_items();
    void clear_list();
    void remove_items_without_tag();
    void open_filter();
    void open_settings();
    void open_about();
    void show_tag_info();
    void apply_settings_to_list();
    void refresh_file_count();

    // The window's commands, one action each, shared by the menus, the
    // toolbar, the list's context menu and the keys.
    QAction* add_folder_action() const { return add_folder_action_; }  // 选择目录(&D)... Ctrl+D
    QAction* add_files_action() const { return add_files_action_; }    // 添加文件(&N)... Ctrl+F
    QAction* undo_action() const { return undo_action_; }              // 撤消(&U) Ctrl+Z
    QAction* preview_action() const { return preview_action_; }        // 预览(&V) F5
    QAction* rename_action() const { return rename_action_; }          // 开始命名(&R) Ctrl+R
    QAction* fix_names_action() const { return fix_names_action_; }    // 文件名转为UTF-8
    // 文件名转为标签... and 批量编辑标签...
    QAction* tags_from_names_action() const { return tags_from_names_action_; }
    QAction* batch_tag_action() const { return batch_tag_action_; }
    // 选项 → 规则链: shows the chain beside the pages (checkable, off at
    // first); hiding it turns the chain off.
    QAction* chain_action() const { return chain_action_; }
    QAction* move_up_action() const { return move_up_action_; }          // 上移选中项 Alt+Up
    QAction* move_down_action() const { return move_down_action_; }      // 下移选中项 Alt+Down
    QAction* save_preset_action() const { return save_preset_action_; }  // 保存预设…
    QAction* load_preset_action() const { return load_preset_action_; }  // 载入预设…
    QAction* undo_history_action() const { return undo_history_action_; }  // 撤消历史…

    FileList& list() { return list_; }
    Settings& settings() { return settings_; }
    QString status_text(int panel) const;
    FileListView* list_view() const { return view_; }
    ListContextMenu* context_menu() const { return context_menu_; }
    RuleTabs* rule_tabs() const { return tabs_; }
    ChainPanel* chain_panel() const { return chain_; }

protected:
    void changeEvent(QEvent* event) override;
    // Drops and the window's command keys, whichever of its widgets they
    // reach: see main_window_input.cpp.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    // The commands of the toolbar, the 操作 menu and their keys; each
    // empties panel 进度 afterwards.
    void add_folder_requested();
    void add_files_requested();
    void undo_requested();
    void preview_requested();
    void rename_requested();
    // 文件名转为UTF-8, from the 文件 menu or the list's context menu.
    void fix_names_requested();
    // main_window_order.cpp
    void sort_by_section(int section);
    void move_rows_up();
    void move_rows_down();
    // Rows dragged within the list now stand at first..first+count-1: they
    // stay selected, and the preview follows.
    void rows_dropped(int first, int count);
    // 大小 or 修改时间 shown: their values are read for every row.
    void optional_column_toggled(Column column, bool shown);
    // main_window_presets.cpp
    void save_preset_requested();
    void load_preset_requested();

private:
    // main_window_menus.cpp
    void build_menus();
    void build_toolbar();
    void build_status_bar();
    // main_window.cpp
    // The preview follows the rule tabs; the commands' states follow the list
    // and its selection.
    void wire_signals();
    void wire_context_menu();
    void fit_to_font();
    void finish_adding(int first_row);
    std::string last_chosen_folder() const;
    // False when the user declines adding `fs_folder` (home folder, or
    // more than confirm_files_over files).
    bool confirm_large_folder(const std::string& fs_folder, std::size_t files);
    void add_names_of_folder(const std::string& fs_folder, std::vector<std::string> fs_names);
    void append_fs_names(const std::string& fs_folder, std::vector<std::string> fs_names,
                         bool natural_order);
    // Enables toolbar button `index` (undo_button, preview_button or
    // start_button) until update_buttons runs again.
    void set_buttons(int index, bool enabled);
    // The one place the commands' states are set: 撤消 while the session
    // has a batch to undo (session_has_undo); 预览 while the list has items; 开始命名 while it has
    // items and the rule can use its settings; the context menu's items (and
    // 文件名转为UTF-8) by context_menu_state; the file count panel. Runs
    // whenever the list's rows, the selection, the page or the undo log change.
    void update_buttons();
    // The pages' settings, with the slash stand-in of the settings record.
    RulePages rule_pages() const;
    // The rule the preview and the batch run: the chain's steps while
    // 使用规则链 is on, else the active page's rule.
    NameRule name_rule() const;
    // Why name_rule() cannot run (code page); empty when it can.
    std::string name_rule_error() const;
    // 添加当前规则: the active page's rule as the chain's last step.
    void append_current_rule();
    void show_chain(bool shown);
    // main_window_tag_batches.cpp
    // 文件名转为标签 and 批量编辑标签 in `file` and in the list's context menu.
    void build_tag_batch_actions(QMenu* file);
    void show_tag_batches_in_context_menu();
    // Both enabled while the selection holds an audio item.
    void update_tag_batch_actions(const std::vector<int>& selected);
    // The selected items the tag batches work on (file-system paths): MP3,
    // and the other audio formats while 其他音频格式 is on.
    std::vector<std::string> selected_audio_paths() const;
    bool is_audio_item(int row) const;
    TagBatchSetup tag_batch_setup();
    // main_window_order.cpp
    void build_order_actions();
    // The rows put in `order` (FileList::reorder), then the preview.
    void put_rows_in_order(const std::vector<int>& order);
    // Reads 大小 and 修改时间 of rows first_row..end_row-1 (-1: to the last
    // row; read_row_facts) while either column is shown; hidden, they cost
    // nothing.
    void read_shown_facts(int first_row, int end_row = -1);
    // main_window_state.cpp
    void restore_window_state();
    [[nodiscard]] WriteResult save_window_state_file() const;
    // main_window_presets.cpp
    std::string last_preset_folder() const;
    // `path` first in the recent presets, at most recent_preset_count kept.
    void remember_preset(const std::string& path);
    void show_recent_presets();
    // The unfinished batch of the journal at `path` (of `kind`): asks,
    // undoes, reports.
    void undo_journal_batch(const std::string& path, JournalKind kind);
    // Says that another Varnel still runs the batch of the journal.
    void tell_batch_running_elsewhere();
    // The unfinished batch the 文件 menu's two items work on; empty: none.
    void set_pending_journal(std::string path, JournalKind kind = JournalKind::rename);
    // The hooks of an undo from the history: the rows follow, progress in
    // panel 进度.
    HistoryHooks history_hooks(std::shared_ptr<RowsFollowUndo> rows);
    // The batches of these journals were undone (through the history): they
    // leave the session, the undo log with its batch, the 文件 menu's
    // unfinished batch with its.
    void forget_batches(const std::vector<std::string>& journals);
    // Whether the session has a batch that 撤消 can undo.
    bool session_has_undo() const;
    // main_window_input.cpp
    bool is_window_command_key(const QKeyEvent& key) const;
    bool take_drop(QEvent* event);
    // The rows 0..n-1 the settings ask the automatic preview for.
    int automatic_preview_rows() const;
    // The count of rows from row 0 through the last one the list shows,
    // and `pages_beyond` pages of rows more.
    int rows_through_shown(int pages_beyond) const;
    // The automatic preview of rows 0..n-1 (all when n is what the settings
    // ask for); n short of that leaves later rows for extend_preview.
    void run_automatic_preview(int n);
    void preview_shown_rows();
    // The list scrolled or grew: rows it now shows that the last automatic
    // preview left out are computed.
    void extend_preview();
    void stop_pending_preview();
    // Empties the progress panel, where no rule error stands in it.
    void clear_progress();
    // Whether the rule can use its settings: its error in the status bar
    // and 开始命名 enabled or not.
    void check_rule_input();
    void show_progress(std::string_view text);
    RenameOrder rename_order() const;
    // The preview's settings, computing rows 0..n-1 automatically when
    // `rows` is given, else as the settings ask.
    PreviewSettings preview_settings(std::optional<int> rows = std::nullopt);
    void show_rule_error(const std::string& error);
    // Status panel `panel` at its design width for the font, or wider where
    // its text and `room` more pixels need it.
    void fit_panel(std::size_t panel, int room);
    // Runs a rename batch with the write-ahead journal, the progress panel,
    // the toolbar states and the summary box of the rename command.
    void run_batch(const std::function<BatchOutcome(const BatchHooks&)>& batch);
    // A rename batch that ran with the journal `journal` joins the session.
    void note_rename_batch(const BatchRun& run, const std::string& journal);
    // Shows `done` of `count` in `progress`; whether the user wants the
    // batch stopped.
    static std::function<bool(int, int)> cancel_asker(ProgressWindow& progress);
    // The summary of a batch or an undo: information when all went well,
    // else a warning.
    void show_summary(const QString& summary, bool well);
    // Copies the view's selection into the list's marks, for the engine
    // calls that read them.
    void sync_selection_to_list();
    // Removes the rows for which `remove(row)` is true, keeping every other
    // item's new name.
    void remove_rows(const std::function<bool(int)>& remove);
    void list_double_clicked();
    void show_context_menu(const QPoint& position);
    QString code_page_text(std::string_view text) const;
    // Creates the folder of `fs_path` when missing; false (reported) when it cannot be.
    bool make_folder_of(const std::string& fs_path);
    // Tells the user once per run that a file could not be saved, and why.
    void report_save_failure(const std::string& fs_path, int error);

    const Codec& codec_;
    UiServices& services_;
    std::string config_path_;
    std::string dir_txt_path_;
    bool save_failure_reported_ = false;
    std::string journal_folder_;
    std::string old_tag_journal_;
    bool rule_error_shown_ = false;
    // Why the active rule cannot run (code page); empty when it can.
    std::string rule_error_;
    // The unfinished batch the user has not undone: its journal and kind.
    std::string pending_journal_;
    JournalKind pending_kind_ = JournalKind::rename;
    QAction* undo_journal_action_ = nullptr;
    QAction* discard_journal_action_ = nullptr;
    QAction* undo_history_action_ = nullptr;

    FileList list_;
    // The last rename batch's moves; `undo_log_journal_` is its journal
    // (empty when it ran without one).
    UndoLog undo_log_;
    std::string undo_log_journal_;
    // This session's batches, oldest first: their journals (empty for a
    // rename batch without one, which only undo_log_ holds).
    struct SessionBatch {
        JournalKind kind = JournalKind::rename;
        std::string journal;
    };
    std::vector<SessionBatch> session_batches_;
    Settings settings_;

    RuleTabs* tabs_ = nullptr;
    ChainPanel* chain_ = nullptr;         // beside tabs_, in the same scroll area
    QScrollArea* tabs_scroll_ = nullptr;  // holds tabs_; scrolls them on a small screen
    FileListView* view_ = nullptr;
    FileListModel* model_ = nullptr;
    ListContextMenu* context_menu_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QAction* add_folder_action_ = nullptr;
    QAction* add_files_action_ = nullptr;
    QAction* undo_action_ = nullptr;
    QAction* preview_action_ = nullptr;
    QAction* rename_action_ = nullptr;
    QAction* fix_names_action_ = nullptr;
    QAction* tags_from_names_action_ = nullptr;
    QAction* batch_tag_action_ = nullptr;
    QAction* chain_action_ = nullptr;
    QAction* save_preset_action_ = nullptr;
    QAction* load_preset_action_ = nullptr;
    QAction* move_up_action_ = nullptr;
    QAction* move_down_action_ = nullptr;
    int sort_section_ = -1;  // the header the list was last sorted by; -1: none
    bool sort_descending_ = false;
    // The folder chooser's last folder (file-system bytes) and its 包含子文件夹.
    std::string chooser_folder_;
    bool chooser_subfolders_ = false;
    QMenu* recent_menu_ = nullptr;             // 最近的预设
    std::vector<std::string> recent_presets_;  // file-system paths, newest first
    QAction* quit_action_ = nullptr;           // 退出(&X) Ctrl+X
    QAction* settings_action_ = nullptr;       // 设置(&S)... Ctrl+S
    QAction* about_action_ = nullptr;          // 关于(&A)...
    QTimer* preview_timer_ = nullptr;
    // The folders the conflict marks read, kept between previews.
    FolderNamesCache folder_names_;
    // Rows the last automatic preview computed while it left later rows
    // for when the list shows them; 0 when it computed all it was asked.
    int partial_preview_rows_ = 0;
    std::array<QLabel*, 3> panels_{};
};

}  // namespace varnel
