// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "app/product.h"
#include "app/ui/font_growth.h"
#include "app/ui/list_style.h"
#include "filelist/adding.h"
#include "filelist/context_menu_state.h"
#include "filelist/ui/file_list_model.h"
#include "filelist/ui/file_list_view.h"
#include "filelist/ui/list_context_menu.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/screen_room.h"
#include "platform/ui/ui_services.h"
#include "platform/user_folders.h"
#include "rename/name_text.h"
#include "rename/preview.h"
#include "rename/ui/chain_panel.h"
#include "rename/ui/rule_tabs.h"

namespace varnel {

namespace {
constexpr int design_width = 598;
constexpr int design_height = 378;
constexpr int tab_height = 130;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
constexpr int list_height = design_height - 226;  // the list's height at the design size
constexpr int smallest_list_height = 60;          // a few rows, on a small screen
constexpr int smallest_tabs_height = 60;          // the tab bar and a scrolled strip of the page
}  // namespace

MainWindow::MainWindow(const MainWindowSetup& setup, QWidget* parent)
    : QMainWindow(parent),
      codec_(setup.codec),
      services_(setup.services),
      config_path_(setup.config_path),
      dir_txt_path_(setup.dir_txt_path),
      journal_folder_(setup.journal_folder),
      old_tag_journal_(setup.old_tag_journal) {
    auto* central = new QWidget(this);
    tabs_scroll_ = new QScrollArea(central);
    tabs_scroll_->setObjectName(QStringLiteral("选择夹滚动区"));
    tabs_scroll_->setFrameShape(QFrame::NoFrame);
    tabs_scroll_->setWidgetResizable(true);
    // The chain stands beside the pages and scrolls with them on a small screen.
    auto* rules = new QWidget(tabs_scroll_);
    tabs_ = new RuleTabs(codec_, rules);
    chain_ = new ChainPanel(codec_, rules);
    auto* rules_row = new QHBoxLayout(rules);
    rules_row->setContentsMargins(0, 0, 0, 0);
    rules_row->setSpacing(2);
    rules_row->addWidget(tabs_, 1);
    rules_row->addWidget(chain_);
    chain_->hide();
    tabs_scroll_->setWidget(rules);
    view_ = new FileListView(central);
    model_ = new FileListModel(list_, codec_, this);
    view_->setModel(model_);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 1, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(tabs_scroll_);
    layout->addWidget(view_, 1);
    setCentralWidget(central);
    preview_timer_ = new QTimer(this);
    preview_timer_->setSingleShot(true);
    preview_timer_->setInterval(preview_delay_ms);
    connect(preview_timer_, &QTimer::timeout, this, &MainWindow::preview_shown_rows);
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &MainWindow::extend_preview);
    build_menus();
    context_menu_ = new ListContextMenu(preview_action_, fix_names_action_, this);
    show_tag_batches_in_context_menu();
    build_toolbar();
    build_order_actions();
    build_status_bar();
    fit_to_font();
    resize(minimumSize());

    settings_ = load_settings(config_path_);
    tabs_->set_other_formats(settings_.other_audio_formats);
    restore_window_state();
    wire_signals();
    wire_context_menu();
    apply_settings_to_list();
    update_buttons();
    setAcceptDrops(true);
    qApp->installEventFilter(this);  // drops and command keys on every widget of the window
    setWindowTitle(
        tr("%1 - 文件批量修改器 V%2").arg(latin1(product::name), latin1(product::title_version)));
}

void MainWindow::wire_signals() {
    connect(tabs_, &RuleTabs::changed, this, &MainWindow::schedule_preview);
    connect(chain_, &ChainPanel::changed, this, &MainWindow::schedule_preview);
    connect(chain_, &ChainPanel::add_requested, this, &MainWindow::append_current_rule);
    // The page decides whether 删除无MP3标签项目 is offered.
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::update_buttons);
    // Rows added or removed, whoever did it (the model hears the list's own
    // observer), and every change of the selection.
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model_, signal, this, &MainWindow::update_buttons);
    connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::update_buttons);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::update_buttons);
    connect(view_, &FileListView::double_clicked, this, &MainWindow::list_double_clicked);
    connect(view_, &FileListView::delete_pressed, this, &MainWindow::remove_selected_items);
    connect(view_, &FileListView::select_all_pressed, view_, &QTableView::selectAll);
    connect(view_, &FileListView::context_menu_requested, this, &MainWindow::show_context_menu);
}

void MainWindow::wire_context_menu() {
    const ListContextMenu& menu = *context_menu_;
    connect(menu.add_folder, &QAction::triggered, this, &MainWindow::add_folder);
    connect(menu.add_files, &QAction::triggered, this, &MainWindow::add_files);
    connect(menu.filter, &QAction::triggered, this, &MainWindow::open_filter);
    connect(menu.remove_selected, &QAction::triggered, this, &MainWindow::remove_selected_items);
    connect(menu.clear, &QAction::triggered, this, &MainWindow::clear_list);
    connect(menu.tag_info, &QAction::triggered, this, &MainWindow::show_tag_info);
    connect(menu.remove_without_tag, &QAction::triggered, this,
            &MainWindow::remove_items_without_tag);
    connect(menu.select_all, &QAction::triggered, view_, &QTableView::selectAll);
    connect(menu.fix_tags, &QAction::triggered, this, &MainWindow::fix_tags_command);
}

// The tab control keeps its design height unless its pages need more to
// show their controls unsquashed at the window's font; the window's
// minimum grows by what its parts need beyond the design. On a screen too
// small for that minimum the window shrinks to the screen: the list gives up
// height first, down to a few rows, then the tab control scrolls.
void MainWindow::fit_to_font() {
    const QSize room = screen_room(*this);
    const int tabs_width = tabs_scroll_->widget()->minimumSizeHint().width();
    int tabs_height = std::max(tab_height, tabs_->minimumSizeHint().height());
    if (!chain_->isHidden())
        tabs_height = std::max(tabs_height, chain_->minimumSizeHint().height());
    tabs_->setFixedHeight(tabs_height);
    chain_->setFixedHeight(tabs_height);
    // Tabs wider than the screen scroll sideways; their scroll bar takes no page height.
    if (tabs_width > room.width()) tabs_height += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    tabs_scroll_->setFixedHeight(tabs_height);
    view_->setMinimumHeight(list_height);
    const double scale = font_scale(*this);
    for (std::size_t i = 0; i < panels_.size(); ++i)
        if (i != 1) fit_panel(i, 0);
    if (!rule_error_shown_) panels_[1]->setFixedWidth(qRound(panel_widths[1] * scale));
    const QSize needed = layout()->totalMinimumSize();
    const QSize wanted(std::max({design_width, needed.width(), tabs_width}),
                       std::max(design_height, needed.height()));
    int excess = wanted.height() - room.height();
    if (excess > 0) {
        const int list_room = std::min(excess, list_height - smallest_list_height);
        view_->setMinimumHeight(list_height - list_room);
        excess -= list_room;
        if (excess > 0)
            tabs_scroll_->setFixedHeight(std::max(smallest_tabs_height, tabs_height - excess));
    }
    setMinimumSize(wanted.boundedTo(room));
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange && view_) fit_to_font();
}

MainWindow::~MainWindow() {
    if (!make_folder_of(config_path_)) return;
    if (const WriteResult saved = save_settings(config_path_, settings_); !saved)
        report_save_failure(config_path_, saved.error);
    else if (const WriteResult kept = save_window_state_file(); !kept)
        report_save_failure(config_path_, kept.error);
}

bool MainWindow::make_folder_of(const std::string& fs_path) {
    const std::string folder = folder_of_path(fs_path);
    if (folder.empty()) return true;
    const WriteResult made = make_folders(folder);
    if (!made) report_save_failure(folder, made.error);
    return static_cast<bool>(made);
}

void MainWindow::report_save_failure(const std::string& fs_path, int error) {
    if (save_failure_reported_) return;
    save_failure_reported_ = true;
    services_.message_box(nullptr, tr("错误"),
                          tr("无法保存 %1：%2")
                              .arg(path_to_qstring(fs_path),
                                   QString::fromLocal8Bit(system_error_text(error).c_str())),
                          MessageIcon::error, MessageButtons::ok);
}

QString MainWindow::code_page_text(std::string_view text) const {
    return to_qstring(text, codec_);
}

void MainWindow::set_buttons(int index, bool enabled) {
    QAction* const button = index == undo_button      ? undo_action_
                            : index == preview_button ? preview_action_
                            : index == start_button   ? rename_action_
                                                      : nullptr;
    if (button) button->setEnabled(enabled);
}

void MainWindow::refresh_file_count() {
    panels_[0]->setText(tr("%n个文件", nullptr, list_.item_count()));
    panels_[2]->setText(settings_.auto_preview ? tr("自动预览－开") : tr("自动预览－关"));
    fit_panel(0, 0);
    fit_panel(2, 0);
}

void MainWindow::fit_panel(std::size_t panel, int room) {
    QLabel* label = panels_[panel];
    const QMargins margins = label->contentsMargins();
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + margins.left() +
                       margins.right() + room;
    label->setFixedWidth(std::max(qRound(panel_widths[panel] * font_scale(*this)), needed));
}

void MainWindow::refresh_preview(bool explicit_command) {
    stop_pending_preview();
    rule_error_ = name_rule_error();
    const ListChange change =
        varnel::refresh_preview(list_, name_rule(), preview_settings(), explicit_command, codec_);
    show_rule_error(rule_error_.empty() ? change.rule_error : rule_error_);
    update_buttons();
}

void MainWindow::check_rule_input() {
    rule_error_ = name_rule_error();
    show_rule_error(rule_error_);
    update_buttons();
}

RulePages MainWindow::rule_pages() const {
    RulePages pages = tabs_->pages();
    pages.tags.slash_stand_in = settings_.slash_stand_in;
    return pages;
}

NameRule MainWindow::name_rule() const {
    if (!chain_->is_on()) return page_rule(rule_pages(), codec_);
    std::vector<RuleStep> steps = chain_->steps();
    for (RuleStep& step : steps) step.rule.tags.slash_stand_in = settings_.slash_stand_in;
    return chain_rule(std::move(steps), codec_);
}

std::string MainWindow::name_rule_error() const {
    if (!chain_->is_on()) return rule_input_error(rule_pages(), codec_);
    return chain_input_error(chain_->steps(), codec_);
}

void MainWindow::show_chain(bool shown) {
    chain_action_->setChecked(shown);
    if (!shown) chain_->set_on(false);
    chain_->setVisible(shown);
    fit_to_font();
}

void MainWindow::append_current_rule() {
    chain_->append_step(RuleStep{tabs_->pages(), true});
}

PreviewSettings MainWindow::preview_settings(std::optional<int> rows) {
    PreviewSettings preview{settings_.auto_preview, settings_.preview_all, settings_.preview_count,
                            true, rename_order()};
    if (rows) {
        preview.preview_all = false;
        preview.preview_count = *rows;
    }
    preview.read_folder = [this](const std::string& folder) { return folder_names_.read(folder); };
    return preview;
}

RenameOrder MainWindow::rename_order() const {
    return settings_.smart_order ? RenameOrder::smart : RenameOrder::in_order;
}

void MainWindow::update_buttons() {
    const std::vector<int> selected = view_->selected_rows();
    const bool mp3_selected = std::any_of(selected.begin(), selected.end(), [this](int row) {
        return has_extension(list_.old_names()[static_cast<std::size_t>(row)], "MP3");
    });
    const ContextMenuState state =
        context_menu_state(list_.item_count(), static_cast<int>(selected.size()),
                           tabs_->active_page() == RulePage::tags, mp3_selected);
    context_menu_->set_state(state);  // 预览 and 文件名转为UTF-8 among them
    update_tag_batch_actions(selected);
    rename_action_->setEnabled(state.preview && rule_error_.empty());
    undo_action_->setEnabled(session_has_undo());
    refresh_file_count();
}

// A rule's settings it cannot use (a pattern that does not compile) are
// shown whole in panel 进度, widened to hold them, until a preview succeeds
// again.
void MainWindow::show_rule_error(const std::string& error) {
    QLabel* panel = panels_[1];
    const int design = qRound(panel_widths[1] * font_scale(*this));
    if (error.empty()) {
        if (rule_error_shown_) {
            panel->clear();
            panel->setToolTip(tr("进度"));
            panel->setFixedWidth(design);
        }
        rule_error_shown_ = false;
        return;
    }
    panel->setText(code_page_text(error));
    panel->setToolTip(panel->text());
    fit_panel(1, 8);
    rule_error_shown_ = true;
}

void MainWindow::apply_settings_to_list() {
    apply_list_style(*view_, *context_menu_, settings_, codec_);
    fit_to_font();
    refresh_preview(false);
    refresh_file_count();
}

void MainWindow::clear_progress() {
    // The progress goes; a rule error stays until the rule is mended.
    if (!rule_error_shown_) panels_[1]->clear();
}

}  // namespace varnel
