// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window MP3标签信息: the ID3v1 and ID3v2 tags of one MP3 file side by
// side, to edit, copy into each other, add or remove, and write back with
// 更新. Every file access opens and closes the file within one handler.
// Fixed at 564 x 384 at the default font, as much bigger as a bigger font
// needs, and no bigger than the screen (the fields then scroll).

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "id3/id3v2_builder.h"
#include "id3/tag_edit.h"
#include "id3/tag_fields.h"
#include "platform/codec.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace varnel {

class ByteFile;
class UiServices;

class TagDialog final : public QDialog {
    Q_OBJECT
public:
    // `path` is the file's full path (file-system bytes); `shown_path` its
    // code-page text; `encoding` how 更新 writes changed ID3v2 texts.
    TagDialog(std::string path, const std::string& shown_path, const Codec& codec,
              UiServices& services, QWidget* parent = nullptr,
              V2TextEncoding encoding = V2TextEncoding::code_page);

    // Reads both tags into the boxes. false, after telling the user, when
    // the file cannot be opened: the window is then not to be shown.
    bool load();

    // The group-modified flags: 0 the ID3v1 group, 1 the ID3v2 group.
    bool modified(int group) const { return modified_[static_cast<std::size_t>(group)]; }

private:
    void build();
    void build_buttons();
    QGroupBox* build_v1_group();
    QGroupBox* build_v2_group();
    void connect_changes();
    void apply_check_rule(int group);
    void group_changed(int group);
    void genre_selected(int group, int index);
    void fill_v1(const TagFields& fields);
    void fill_v2(const TagFields& fields);
    TagFields v2_fields() const;
    void copy_v1_to_v2();
    void copy_v2_to_v1();
    void update_tags();
    void add_v1_change(TagChanges& changes) const;
    void tell_outcome(int group, TagChange change, const TagEditResult& result);
    [[nodiscard]] bool finish_interrupted_edit(ByteFile& file);
    [[nodiscard]] QSize needed_size() const;
    // The reason the user is told for the error number `error`.
    [[nodiscard]] static QString reason(int error);
    void tell(const QString& text, bool failed, int error = 0);
    bool may_drop(const std::vector<std::string>& frames);
    QString text(std::string_view code_page) const;
    std::string code_page(const QString& text) const;

    std::string path_;
    const Codec& codec_;
    V2TextEncoding encoding_;
    TagFields loaded_v2_;  // as read: a box left as shown keeps its bytes
    UiServices& services_;
    std::array<bool, 2> modified_{};
    std::array<int, 2> remembered_genre_{-1, -1};

    QWidget* body_ = nullptr;  // the scrolled fields
    QBoxLayout* buttons_ = nullptr;
    QLineEdit* path_edit_ = nullptr;
    std::array<QCheckBox*, 2> present_{};
    std::array<QComboBox*, 2> genre_{};
    std::array<QPushButton*, 2> copy_{};
    std::array<std::vector<QWidget*>, 2> edits_{};
    QPushButton* update_button_ = nullptr;
    QPushButton* close_button_ = nullptr;
    // ID3v1 group
    QLineEdit* track1_ = nullptr;
    QLineEdit* title1_ = nullptr;
    QLineEdit* artist1_ = nullptr;
    QLineEdit* album1_ = nullptr;
    QLineEdit* year1_ = nullptr;
    QPlainTextEdit* comment1_ = nullptr;
    // ID3v2 group
    QLineEdit* track2_ = nullptr;
    QLineEdit* title2_ = nullptr;
    QLineEdit* artist2_ = nullptr;
    QLineEdit* album2_ = nullptr;
    QLineEdit* year2_ = nullptr;
    QPlainTextEdit* comment2_ = nullptr;
    QLineEdit* copyright_ = nullptr;
    QLineEdit* composer_ = nullptr;
    QLineEdit* original_artist_ = nullptr;
    QLineEdit* url_ = nullptr;
    QLineEdit* encoder_ = nullptr;
};

}  // namespace varnel
