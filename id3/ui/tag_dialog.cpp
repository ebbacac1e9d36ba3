// SPDX-License-Identifier: GPL-3.0-or-later
#include "id3/ui/tag_dialog.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QVBoxLayout>

#include "id3/genres.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "id3/safe_rewrite.h"
#include "id3/ui/byte_limit.h"
#include "platform/code_page_chars.h"
#include "platform/error_text.h"
#include "platform/tag_file_io.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/screen_room.h"
#include "platform/ui/ui_services.h"
#include "rename/name_text.h"

namespace varnel {

namespace {

constexpr int v1 = 0;
constexpr int v2 = 1;
// The window's size at the default font; a bigger font makes it bigger.
constexpr QSize design_size(564, 384);

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QLabel* label(const char* name, const QString& caption, QWidget* parent) {
    return named(new QLabel(caption, parent), name);
}

// A field never narrower than ten average characters of its font (rather
// than squeezing it, the window grows, or the fields scroll), and otherwise
// as wide as its column's share of the room, whatever its text.
void keep_readable(QWidget* field) {
    field->setMinimumWidth(10 * field->fontMetrics().averageCharWidth());
    field->setSizePolicy(QSizePolicy::Ignored, field->sizePolicy().verticalPolicy());
}

QComboBox* genre_box(const char* name, bool editable, QWidget* parent) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(editable);
    if (editable) box->setInsertPolicy(QComboBox::NoInsert);
    for (int number : genres_in_display_order()) {
        const std::string_view genre = genre_name(number);
        box->addItem(QString::fromLatin1(genre.data(), static_cast<qsizetype>(genre.size())),
                     number);
    }
    box->setCurrentIndex(-1);
    keep_readable(box);
    return box;
}

void set_background(QWidget* widget, bool white) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, white ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xC0, 0xC0, 0xC0));
    widget->setPalette(palette);
}

}  // namespace

TagDialog::TagDialog(std::string path, const std::string& shown_path, const Codec& codec,
                     UiServices& services, QWidget* parent, V2TextEncoding encoding)
    : QDialog(parent),
      path_(std::move(path)),
      codec_(codec),
      encoding_(encoding),
      services_(services) {
    setWindowTitle(tr("MP3标签信息"));
    build();
    // The fields scroll on a screen too small for the size they need; the buttons stay in view.
    setFixedSize(fitted_to_screen(*this, design_size.expandedTo(needed_size())));
    path_edit_->setText(text(shown_path));
    connect_changes();
}

QString TagDialog::text(std::string_view code_page) const {
    return to_qstring(code_page, codec_);
}

std::string TagDialog::code_page(const QString& qt_text) const {
    return from_qstring(qt_text, codec_);
}

void TagDialog::build() {
    path_edit_ = named(new QLineEdit(this), "MP3文件名编辑框");
    path_edit_->setReadOnly(true);
    QPalette blue = path_edit_->palette();
    blue.setColor(QPalette::Text, QColor(0, 0, 0x80));
    path_edit_->setPalette(blue);
    auto* file_row = new QHBoxLayout;
    file_row->addWidget(label("标签1", tr("文件："), this));
    file_row->addWidget(path_edit_);

    auto* groups = new QHBoxLayout;
    // The ID3v2 group has two columns of fields: it takes two thirds of the width.
    groups->addWidget(build_v1_group(), 1);
    groups->addWidget(build_v2_group(), 2);

    build_buttons();

    body_ = new QWidget;
    auto* fields = new QVBoxLayout(body_);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setSpacing(4);
    fields->addLayout(file_row);
    fields->addLayout(groups, 1);
    auto* scroll = named(new QScrollArea(this), "标签滚动区");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(body_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons_);
    setTabOrder(copy_[v1], copy_[v2]);
    setTabOrder(copy_[v2], update_button_);
    setTabOrder(update_button_, close_button_);
}

// The copy buttons at the left, 更新 and 关闭 at the right: in one row where
// the screen has room for it at this font, else the copy buttons above.
void TagDialog::build_buttons() {
    copy_[v1] = named(new QPushButton(tr("ID3v1 复制到 ID3v2"), this), "v1复制到v2按钮");
    copy_[v2] = named(new QPushButton(tr("ID3v2 复制到 ID3v1"), this), "v2复制到v1按钮");
    update_button_ = named(new QPushButton(tr("更新"), this), "更新按钮");
    close_button_ = named(new QPushButton(tr("关闭"), this), "关闭按钮");
    auto* copies = new QHBoxLayout;
    for (QPushButton* button : {copy_[v1], copy_[v2]}) copies->addWidget(button);
    copies->addStretch();
    auto* writes = new QHBoxLayout;
    writes->addStretch();
    for (QPushButton* button : {update_button_, close_button_}) writes->addWidget(button);
    // 32: the window's side margins and a gap between the two halves.
    const int one_row = copies->sizeHint().width() + writes->sizeHint().width() + 32;
    buttons_ = one_row <= screen_room(*this).width() ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                                     : new QVBoxLayout;
    buttons_->addLayout(copies);
    buttons_->addLayout(writes);
    // No default button: Enter in a box neither copies nor writes.
    for (QPushButton* button : {copy_[v1], copy_[v2], update_button_, close_button_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

QGroupBox* TagDialog::build_v1_group() {
    auto* group = named(new QGroupBox(QStringLiteral("ID3v1"), this), "分组框1");
    present_[v1] = named(new QCheckBox(tr("ID3v1 标签"), group), "ID3v1选择框");
    track1_ = named(new QLineEdit(group), "音轨1编辑框");
    track1_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), track1_));
    title1_ = named(new QLineEdit(group), "歌曲名1编辑框");
    artist1_ = named(new QLineEdit(group), "艺术家1编辑框");
    album1_ = named(new QLineEdit(group), "专辑1编辑框");
    year1_ = named(new QLineEdit(group), "年代1编辑框");
    genre_[v1] = genre_box("流派1组合框", false, group);
    comment1_ = named(new QPlainTextEdit(group), "注释1编辑框");
    for (QLineEdit* edit : {title1_, artist1_, album1_}) limit_bytes(edit, 30, codec_);
    for (QLineEdit* edit : {title1_, artist1_, album1_, year1_}) keep_readable(edit);
    limit_bytes(year1_, 4, codec_);
    limit_bytes(comment1_, 30, codec_);

    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    grid->addWidget(present_[v1], 0, 0, 1, 2);
    grid->addWidget(label("音轨1标签", tr("音轨 #"), group), 0, 2);
    grid->addWidget(track1_, 0, 3);
    const std::array<std::pair<QString, QWidget*>, 6> rows{{{tr("歌曲名"), title1_},
                                                            {tr("艺术家"), artist1_},
                                                            {tr("专辑"), album1_},
                                                            {tr("年代"), year1_},
                                                            {tr("流派"), genre_[v1]},
                                                            {tr("注释"), comment1_}}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows[i].first, group), static_cast<int>(i) + 1, 0);
        grid->addWidget(rows[i].second, static_cast<int>(i) + 1, 1, 1, 3);
    }
    grid->setRowStretch(6, 1);
    edits_[v1] = {track1_, title1_, artist1_, album1_, year1_, comment1_};
    return group;
}

QGroupBox* TagDialog::build_v2_group() {
    auto* group = named(new QGroupBox(QStringLiteral("ID3v2"), this), "分组框2");
    present_[v2] = named(new QCheckBox(tr("ID3v2 标签"), group), "ID3v2选择框");
    track2_ = named(new QLineEdit(group), "音轨2编辑框");
    limit_bytes(track2_, 2, codec_);
    title2_ = named(new QLineEdit(group), "歌曲名2编辑框");
    artist2_ = named(new QLineEdit(group), "艺术家2编辑框");
    album2_ = named(new QLineEdit(group), "专辑2编辑框");
    year2_ = named(new QLineEdit(group), "年代2编辑框");
    genre_[v2] = genre_box("流派2组合框", true, group);
    comment2_ = named(new QPlainTextEdit(group), "注释2编辑框");
    copyright_ = named(new QLineEdit(group), "版权编辑框");
    composer_ = named(new QLineEdit(group), "作曲家编辑框");
    original_artist_ = named(new QLineEdit(group), "原创者编辑框");
    url_ = named(new QLineEdit(group), "URL编辑框");
    encoder_ = named(new QLineEdit(group), "编码者编辑框");

    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    grid->addWidget(present_[v2], 0, 0, 1, 2);
    grid->addWidget(label("音轨2标签", tr("音轨 #"), group), 0, 2);
    grid->addWidget(track2_, 0, 3);
    const std::array<std::pair<QString, QWidget*>, 5> left{{{tr("歌曲名"), title2_},
                                                            {tr("艺术家"), artist2_},
                                                            {tr("专辑"), album2_},
                                                            {tr("年代"), year2_},
                                                            {tr("流派"), genre_[v2]}}};
    const std::array<std::pair<QString, QWidget*>, 5> right{{{tr("版权"), copyright_},
                                                             {tr("作曲家"), composer_},
                                                             {tr("原创者"), original_artist_},
                                                             {tr("URL"), url_},
                                                             {tr("编码者"), encoder_}}};
    for (std::size_t i = 0; i < left.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid->addWidget(new QLabel(left[i].first, group), row, 0);
        grid->addWidget(left[i].second, row, 1);
        grid->addWidget(new QLabel(right[i].first, group), row, 2);
        grid->addWidget(right[i].second, row, 3);
    }
    grid->addWidget(new QLabel(tr("注释"), group), 6, 0);
    grid->addWidget(comment2_, 6, 1, 1, 3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    edits_[v2] = {track2_,    title2_,   artist2_,         album2_, year2_,  comment2_,
                  copyright_, composer_, original_artist_, url_,    encoder_};
    for (QLineEdit* edit : {title2_, artist2_, album2_, year2_, copyright_, composer_,
                            original_artist_, url_, encoder_})
        keep_readable(edit);
    return group;
}

void TagDialog::connect_changes() {
    for (int group : {v1, v2}) {
        for (QWidget* edit : edits_[static_cast<std::size_t>(group)]) {
            if (auto* line = qobject_cast<QLineEdit*>(edit))
                connect(line, &QLineEdit::textChanged, this,
                        [this, group] { group_changed(group); });
            else
                connect(static_cast<QPlainTextEdit*>(edit), &QPlainTextEdit::textChanged, this,
                        [this, group] { group_changed(group); });
        }
        connect(genre_[static_cast<std::size_t>(group)], &QComboBox::currentIndexChanged, this,
                [this, group](int index) { genre_selected(group, index); });
        connect(present_[static_cast<std::size_t>(group)], &QCheckBox::clicked, this,
                [this, group] { apply_check_rule(group); });
    }
    connect(genre_[v2], &QComboBox::editTextChanged, this, [this] { group_changed(v2); });
    connect(copy_[v1], &QPushButton::clicked, this, &TagDialog::copy_v1_to_v2);
    connect(copy_[v2], &QPushButton::clicked, this, &TagDialog::copy_v2_to_v1);
    connect(update_button_, &QPushButton::clicked, this, &TagDialog::update_tags);
    connect(close_button_, &QPushButton::clicked, this, &QDialog::reject);
}

void TagDialog::group_changed(int group) {
    update_button_->setEnabled(true);
    modified_[static_cast<std::size_t>(group)] = true;
}

void TagDialog::genre_selected(int group, int index) {
    int& remembered = remembered_genre_[static_cast<std::size_t>(group)];
    if (index == remembered) return;
    remembered = index;
    group_changed(group);
}

// A checked group is white and usable, an unchecked one silver and
// disabled; either way there is something to update.
void TagDialog::apply_check_rule(int group) {
    const auto g = static_cast<std::size_t>(group);
    const bool on = present_[g]->isChecked();
    for (QWidget* edit : edits_[g]) {
        set_background(edit, on);
        edit->setEnabled(on);
    }
    genre_[g]->setEnabled(on);
    copy_[g]->setEnabled(on);
    update_button_->setEnabled(true);
}

bool TagDialog::load() {
    // The flags start clear with every window: only what this window loads
    // or the user edits here is written back.
    modified_ = {false, false};
    // Showing only reads: an edit that a crash interrupted is told, and
    // finished by the next 更新.
    Result<ByteFile> file = open_regular_file(path_, false);
    if (!file) {
        services_.message_box(nullptr, tr("错误"),
                              tr("打开文件：%1失败！").arg(path_edit_->text()) + QLatin1Char('\n') +
                                  reason(file.error().number),
                              MessageIcon::error, MessageButtons::ok);
        return false;
    }
    if (has_unfinished_edit(*file))
        tell(tr("上一次的标签修改没有完成：%1\n更新时将完成它。").arg(path_edit_->text()), false);
    TagFields fields;
    present_[v1]->setChecked(read_id3v1_tag(*file, fields));
    if (present_[v1]->isChecked())
        fill_v1(fields);
    else
        apply_check_rule(v1);
    loaded_v2_ = TagFields{};
    present_[v2]->setChecked(read_id3v2_tag(*file, loaded_v2_, codec_));
    if (present_[v2]->isChecked())
        fill_v2(loaded_v2_);
    else
        apply_check_rule(v2);
    remembered_genre_ = {genre_[v1]->currentIndex(), genre_[v2]->currentIndex()};
    update_button_->setEnabled(false);
    return true;
}

void TagDialog::fill_v1(const TagFields& fields) {
    title1_->setText(text(fields.title));
    artist1_->setText(text(fields.artist));
    album1_->setText(text(fields.album));
    year1_->setText(text(fields.year));
    track1_->setText(text(fields.track));
    comment1_->setPlainText(text(fields.comment));
    genre_[v1]->setCurrentIndex(genre_display_position(to_integer(fields.genre)));
    modified_[v1] = true;  // loading a tag counts as a change of its group
}

void TagDialog::fill_v2(const TagFields& fields) {
    title2_->setText(text(fields.title));
    artist2_->setText(text(fields.artist));
    album2_->setText(text(fields.album));
    year2_->setText(text(fields.year));
    track2_->setText(text(fields.track));
    comment2_->setPlainText(text(fields.comment));
    genre_[v2]->setEditText(text(fields.genre));
    copyright_->setText(text(fields.copyright));
    composer_->setText(text(fields.composer));
    original_artist_->setText(text(fields.original_artist));
    url_->setText(text(fields.url));
    encoder_->setText(text(fields.encoder));
    modified_[v2] = true;
}

void TagDialog::copy_v1_to_v2() {
    present_[v2]->setChecked(true);
    apply_check_rule(v2);
    track2_->setText(track1_->text());
    title2_->setText(title1_->text());
    artist2_->setText(artist1_->text());
    album2_->setText(album1_->text());
    year2_->setText(year1_->text());
    genre_[v2]->setCurrentIndex(genre_[v1]->currentIndex());
    comment2_->setPlainText(comment1_->toPlainText());
}

void TagDialog::copy_v2_to_v1() {
    present_[v1]->setChecked(true);
    apply_check_rule(v1);
    const auto first_30 = [this](const QString& from) {
        const std::string bytes = code_page(from);
        return text(std::string_view(bytes).substr(0, whole_char_prefix(bytes, 30)));
    };
    track1_->setText(track2_->text());
    title1_->setText(first_30(title2_->text()));
    artist1_->setText(first_30(artist2_->text()));
    album1_->setText(first_30(album2_->text()));
    year1_->setText(year2_->text());
    genre_[v1]->setCurrentIndex(genre_[v2]->currentIndex());
    comment1_->setPlainText(first_30(comment2_->toPlainText()));
}

// The genre: "(N)Name" for a chosen entry, otherwise the text the box shows.
// A box that still shows what was read gives the bytes that were read, so
// that text the box cannot show exactly is not changed by showing it.
TagFields TagDialog::v2_fields() const {
    TagFields fields;
    const auto take = [this, &fields](const QString& shown, std::string TagFields::*member) {
        const std::string& loaded = loaded_v2_.*member;
        fields.*member = shown == text(loaded) ? loaded : code_page(shown);
    };
    take(track2_->text(), &TagFields::track);
    take(title2_->text(), &TagFields::title);
    take(artist2_->text(), &TagFields::artist);
    take(album2_->text(), &TagFields::album);
    take(year2_->text(), &TagFields::year);
    take(comment2_->toPlainText(), &TagFields::comment);
    take(copyright_->text(), &TagFields::copyright);
    take(composer_->text(), &TagFields::composer);
    take(original_artist_->text(), &TagFields::original_artist);
    take(url_->text(), &TagFields::url);
    take(encoder_->text(), &TagFields::encoder);
    const int index = genre_[v2]->currentIndex();
    const bool chosen = index >= 0 && genre_[v2]->currentText() == genre_[v2]->itemText(index);
    if (chosen) {
        const int number = genre_[v2]->itemData(index).toInt();
        // "(N)" made with snprintf: GCC 12 at -O3 warns of a bogus overflow
        // in "(" + std::to_string(number).
        char number_text[16];
        std::snprintf(number_text, sizeof number_text, "(%d)", number);
        fields.genre = std::string(number_text).append(genre_name(number));
    } else {
        take(genre_[v2]->currentText(), &TagFields::genre);
    }
    return fields;
}

QString TagDialog::reason(int error) {
    if (error == EWOULDBLOCK) return tr("文件正被另一个程序修改");
    return QString::fromLocal8Bit(tag_edit_error_text(error));
}

// The message, and on a second line the system's reason for a failure.
void TagDialog::tell(const QString& message, bool failed, int error) {
    const QString shown =
        failed && error != 0 ? message + QLatin1Char('\n') + reason(error) : message;
    services_.message_box(nullptr, tr("Kelto批量更名器"), shown,
                          failed ? MessageIcon::error : MessageIcon::none, MessageButtons::ok);
}

// Asks whether to write without the frames of the old tag that cannot be kept.
bool TagDialog::may_drop(const std::vector<std::string>& frames) {
    if (frames.empty()) return true;
    QString ids;
    for (const std::string& id : frames) ids += QLatin1Char(' ') + QString::fromLatin1(id.c_str());
    const QString question =
        tr("ID3v2标签中有无法保留的帧：%1\n更新将删除这些帧。是否继续？").arg(ids);
    return services_.message_box(nullptr, tr("Kelto批量更名器"), question, MessageIcon::question,
                                 MessageButtons::yes_no) == MessageAnswer::yes;
}

// The requested change of the ID3v1 group.
void TagDialog::add_v1_change(TagChanges& changes) const {
    if (!present_[v1]->isChecked()) {
        changes.v1 = TagChange::remove;
        return;
    }
    const int index = genre_[v1]->currentIndex();
    const int genre = index >= 0 ? genre_[v1]->itemData(index).toInt() : 255;
    changes.v1 = TagChange::write;
    changes.v1_block = build_id3v1_block(code_page(title1_->text()), code_page(artist1_->text()),
                                         code_page(album1_->text()), code_page(year1_->text()),
                                         code_page(comment1_->toPlainText()),
                                         to_integer(code_page(track1_->text())), genre);
}

// The outcome of one group's change, as the user is told it.
void TagDialog::tell_outcome(int group, TagChange change, const TagEditResult& result) {
    const bool first = group == v1;
    if (change == TagChange::write && result.ok)
        tell(first ? tr("ID3v1标签更新成功！") : tr("ID3v2标签更新成功！"), false);
    else if (change == TagChange::write)
        tell(first ? tr("ID3v1标签更新失败！") : tr("ID3v2标签更新失败！"), true,
             result.error.number);
    else if (change == TagChange::remove && !result.ok)
        tell(first ? tr("删除ID3v1标签失败！") : tr("删除ID3v2标签失败！"), true,
             result.error.number);
}

// An edit of the file that a crash interrupted is finished (or dropped when
// another program changed the file since) before this one, and the user is
// told which. false, after telling the user why, when that cannot be done:
// nothing is then written.
bool TagDialog::finish_interrupted_edit(ByteFile& file) {
    const Result<Recovery> found = recover_file_edit(file, path_);
    if (!found) {
        tell(tr("无法检查或完成此文件上一次的标签修改：%1\n标签没有更新。").arg(path_edit_->text()),
             true, found.error().number);
        return false;
    }
    if (*found == Recovery::finished)
        tell(tr("上一次的标签修改没有完成：%1\n现已完成。").arg(path_edit_->text()), false);
    if (*found == Recovery::discarded)
        tell(tr("上一次的标签修改没有完成：%1\n文件已被另一个程序修改，保持原样。")
                 .arg(path_edit_->text()),
             false);
    return true;
}

// The least size the fields and buttons take at the window's font.
QSize TagDialog::needed_size() const {
    const QMargins margins = layout()->contentsMargins();
    const QSize fields = body_->minimumSizeHint();
    const QSize buttons = buttons_->sizeHint();
    return QSize(std::max(fields.width(), buttons.width()) + margins.left() + margins.right(),
                 fields.height() + layout()->spacing() + buttons.height() + margins.top() +
                     margins.bottom());
}

// Both groups' changes as one edit, on the one open file. The window stays open.
void TagDialog::update_tags() {
    // Through a link into a file that is not an MP3 file nothing is written.
    const Status mp3 = leads_to_mp3_name(path_);
    Result<ByteFile> file = mp3 ? open_regular_file(path_, true) : Result<ByteFile>(mp3.error());
    TagEditResult result{false, SystemError{file ? 0 : file.error().number, {}}, {}};
    TagChanges changes;
    if (modified_[v1]) add_v1_change(changes);
    if (modified_[v2] && present_[v2]->isChecked()) {
        if (file && !may_drop(unconvertible_frames(*file))) return;
        changes.v2 = TagChange::write;
        changes.v2_fields = v2_fields();
        changes.v2_options = V2WriteOptions{encoding_, true};
    } else if (modified_[v2]) {
        changes.v2 = TagChange::remove;
    }
    if (changes.v1 == TagChange::keep && changes.v2 == TagChange::keep) return;
    if (file) {
        if (!finish_interrupted_edit(*file)) return;
        result = edit_tags(*file, path_, changes, codec_);
    }
    // A file that cannot be opened: only the writes are told (a tag that
    // cannot be read counts as absent).
    if (file || changes.v1 == TagChange::write) tell_outcome(v1, changes.v1, result);
    if (file || changes.v2 == TagChange::write) tell_outcome(v2, changes.v2, result);
}

}  // namespace varnel
