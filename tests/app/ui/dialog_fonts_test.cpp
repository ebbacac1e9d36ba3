// SPDX-License-Identifier: GPL-3.0-or-later
// The filter, settings, about and tag windows at the default font and at a
// big one: each keeps its design size at the default font, grows with a
// bigger one, and never cuts a caption.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <functional>
#include <memory>
#include <vector>

#include "app/settings.h"
#include "app/ui/about_dialog.h"
#include "app/ui/settings_dialog.h"
#include "filelist/ui/file_list_model.h"
#include "filelist/ui/filter_dialog.h"
#include "id3/ui/tag_dialog.h"
#include "support/fake_ui_services.h"
#include "support/list_builder.h"
#include "support/mp3_builder.h"
#include "support/temp_dir.h"

namespace varnel {
namespace {

// Runs with the application font at `points`, restoring it afterwards.
class ApplicationFontSize {
public:
    explicit ApplicationFontSize(double points) : saved_(QApplication::font()) {
        QFont font = saved_;
        font.setPointSizeF(points);
        QApplication::setFont(font);
    }
    ~ApplicationFontSize() { QApplication::setFont(saved_); }
    ApplicationFontSize(const ApplicationFontSize&) = delete;
    ApplicationFontSize& operator=(const ApplicationFontSize&) = delete;

private:
    QFont saved_;
};

QString caption_of(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    return {};
}

// What `widget` must fit in: the scrolled fields when it is among them (a
// scrolled field is reached by scrolling), otherwise its window.
const QWidget* container_of(const QWidget* widget) {
    for (const QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
        if (auto* scroll = qobject_cast<const QScrollArea*>(up)) return scroll->widget();
    return widget->window();
}

// The captioned controls of `window` whose text does not fit: narrower or
// lower than the text needs, or reaching out of the visible area.
std::vector<QString> cut_captions(const QWidget& window) {
    std::vector<QString> cut;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QString caption = caption_of(widget);
        if (caption.isEmpty() || !widget->isVisible()) continue;
        const QSize needed = widget->sizeHint();
        const QWidget* container = container_of(widget);
        const QRect where(widget->mapTo(container, QPoint(0, 0)), widget->size());
        if (widget->width() < needed.width() || widget->height() < needed.height() ||
            !container->rect().contains(where))
            cut.push_back(caption);
    }
    return cut;
}

class DialogFonts : public testing::Test {
protected:
    struct Window {
        const char* name;
        QSize design;
        std::function<std::unique_ptr<QDialog>()> make;
    };

    std::vector<Window> windows() {
        return {
            {"filter", QSize(348, 189),
             [this] { return std::make_unique<FilterDialog>(model, codec, ui); }},
            {"settings", QSize(411, 208),
             [this] { return std::make_unique<SettingsDialog>(settings, codec, ui, [] {}); }},
            {"about", QSize(290, 241),
             [this] { return std::make_unique<AboutDialog>(codec, ui, nullptr, true); }},
            {"tag", QSize(564, 384),
             [this] {
                 auto tag = std::make_unique<TagDialog>(song, song, codec, ui);
                 EXPECT_TRUE(tag->load());
                 return tag;
             }},
        };
    }

    void SetUp() override {
        files.write_file("song.mp3", test::id3v2_tag(test::text_frame("TIT2", "Song")) +
                                         test::fake_audio(200) + test::id3v1_block("Song"));
    }

    Codec codec;
    test::FakeUiServices ui;
    test::TempDir files;
    const std::string song = files.path() + "song.mp3";
    FileList list = test::list_of("/m", {"a.mp3"});
    FileListModel model{list, codec};
    Settings settings;
};

TEST_F(DialogFonts, EachKeepsItsDesignSizeAtTheDefaultFont) {
    for (const Window& w : windows()) {
        SCOPED_TRACE(w.name);
        const std::unique_ptr<QDialog> window = w.make();
        window->show();
        QApplication::processEvents();
        EXPECT_EQ(window->size(), w.design);
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_EQ(cut_captions(*window), std::vector<QString>{});
    }
}

TEST_F(DialogFonts, NoCaptionIsCutAtABigFontAndTheWindowsGrow) {
    for (const double points : {16.0, 24.0}) {
        const ApplicationFontSize font(points);
        for (const Window& w : windows()) {
            SCOPED_TRACE(testing::Message() << w.name << " at " << points << " pt");
            const std::unique_ptr<QDialog> window = w.make();
            window->show();
            QApplication::processEvents();
            EXPECT_EQ(cut_captions(*window), std::vector<QString>{});
            EXPECT_GT(window->width() * window->height(), w.design.width() * w.design.height());
        }
    }
}

// The ID3v2 fields stay wide enough to read at a big font: at least ten
// average characters (they shrank to a few at a window of fixed size).
TEST_F(DialogFonts, TagFieldsKeepAUsableWidthAtABigFont) {
    const ApplicationFontSize font(16);
    TagDialog window(song, song, codec, ui);
    ASSERT_TRUE(window.load());
    window.show();
    QApplication::processEvents();
    const int usable = 10 * QFontMetrics(window.font()).averageCharWidth();
    int fields = 0;
    for (const char* name :
         {"歌曲名2编辑框", "艺术家2编辑框", "专辑2编辑框", "年代2编辑框", "版权编辑框",
          "作曲家编辑框", "原创者编辑框", "URL编辑框", "编码者编辑框"}) {
        const auto* field = window.findChild<QLineEdit*>(QString::fromUtf8(name));
        ASSERT_NE(field, nullptr) << name;
        EXPECT_GE(field->width(), usable) << name;
        ++fields;
    }
    EXPECT_EQ(fields, 9);
}

}  // namespace
}  // namespace varnel
