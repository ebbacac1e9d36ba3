// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings window (caption "设置"): edits the program's settings record
// and applies it to the file list. Fixed at 411 x 208 at the default font,
// and as much bigger as a bigger font needs. Opened modally with exec(); the
// caller destroys it afterwards.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "app/settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace varnel {

class Codec;
class UiServices;

class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    // Fills the controls from `record` and leaves 应用按钮 disabled. `record`,
    // `codec` and `services` must outlive the window. `apply_to_list` restyles
    // the file list from `record`, re-runs the automatic preview and refreshes
    // the status texts; 确定按钮 (while 应用按钮 is enabled) and 应用按钮 call
    // it after taking the controls into `record`. 取消按钮 takes nothing, but
    // a face confirmed in the font chooser is stored in `record` at once.
    // A changed 界面语言 is taken into `record` like the rest, and the user is
    // told that it takes effect at the next start.
    SettingsDialog(Settings& record, const Codec& codec, UiServices& services,
                   std::function<void()> apply_to_list, QWidget* parent = nullptr);

private:
    // The invisible font chooser 字体通用对话框: the font it offers when opened;
    // a confirmed choice replaces all four values.
    struct FontChooser {
        std::string face;  // code page
        std::int32_t size = 0;
        bool bold = false;
        bool italic = false;
    };

    void build_preview_controls();
    void build_colour_controls();
    void build_choice_controls();
    void build_buttons();
    void lay_out();
    void set_tab_order();
    void connect_events();

    // Shows `settings` in the controls; the edit box's tag is left alone.
    // 预览数量编辑框 holds 1..200, so a count outside shows clamped (it is
    // taken back only after a change enables Apply).
    void fill_controls(const Settings& settings);
    // Enables the preview controls from 自动预览选择框 and the record's 全部预览.
    void update_preview_controls();
    // The content-change rule of 预览数量编辑框: a change enables Apply only
    // when the box's tag (its dynamic property "tag") already reads "标记";
    // every change then sets that tag. The constructor counts its fill of the
    // box as the first change, so the user's first change enables Apply.
    void count_changed();
    void choose_colour(QPushButton* picker, std::uint32_t& colour);
    void choose_font();
    void restore_defaults();
    void take_controls();
    // Tells the user that a 界面语言 other than `before` waits for the next start.
    void tell_language_change(LanguageChoice before);
    void accept_clicked();
    void apply_clicked();
    void enable_apply();

    Settings& record_;
    const Codec& codec_;
    UiServices& services_;
    std::function<void()> apply_to_list_;

    QCheckBox* auto_preview_ = nullptr;          // 自动预览选择框
    QGroupBox* preview_group_ = nullptr;         // 分组框1
    QRadioButton* preview_count_ = nullptr;      // 预览指定数量单选框
    QSpinBox* count_edit_ = nullptr;             // 预览数量编辑框
    QRadioButton* preview_all_ = nullptr;        // 预览全部单选框
    QPushButton* background_picker_ = nullptr;   // 超级列表框背景颜色选择器
    QPushButton* font_colour_picker_ = nullptr;  // 超级列表框字体颜色选择器
    QPushButton* font_button_ = nullptr;         // 字体按钮
    QComboBox* v2_encoding_ = nullptr;           // ID3v2文字编码组合框: GBK, Unicode
    QComboBox* order_ = nullptr;                 // 冲突处理组合框: 按顺序, 智能顺序
    QComboBox* slash_stand_in_ = nullptr;        // 斜杠替换组合框 (editable; '/' refused)
    QComboBox* language_ = nullptr;              // 界面语言组合框: 自动, 中文, English
    QLabel* background_label_ = nullptr;         // 标签3
    QLabel* font_colour_label_ = nullptr;        // 标签2
    QLabel* font_label_ = nullptr;               // 标签1
    QLabel* v2_encoding_label_ = nullptr;        // 标签4
    QLabel* order_label_ = nullptr;              // 标签5
    QLabel* slash_label_ = nullptr;              // 标签6
    QLabel* language_label_ = nullptr;           // 标签7
    QPushButton* default_button_ = nullptr;      // 默认按钮
    QPushButton* ok_button_ = nullptr;           // 确定按钮
    QPushButton* cancel_button_ = nullptr;       // 取消按钮
    QPushButton* apply_button_ = nullptr;        // 应用按钮

    // The pickers' colours, 0x00BBGGRR; kept whole so an untouched picker
    // gives back exactly the record's value.
    std::uint32_t background_colour_ = 0;
    std::uint32_t font_colour_ = 0;
    FontChooser font_chooser_;
};

}  // namespace varnel
