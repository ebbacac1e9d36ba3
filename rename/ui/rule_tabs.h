// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rule tab control 选择夹: the five rule pages, and the record of their
// controls that the engine reads.

#include <QTabWidget>

#include "platform/codec.h"
#include "rename/rule_dispatch.h"

namespace varnel {

class CasePage;
class InsertPage;
class NumberPage;
class ReplacePage;
class TagPage;

class RuleTabs final : public QTabWidget {
    Q_OBJECT
public:
    RuleTabs(const Codec& codec, QWidget* parent = nullptr);

    // The active page and the values of every page's controls.
    RulePages pages() const;
    RulePage active_page() const { return static_cast<RulePage>(currentIndex()); }
    // Shows every page's settings of `pages` and activates its page;
    // emits changed() once.
    void set_pages(const RulePages& pages);
    // The tag page's 其他音频格式 box, set without telling changed().
    void set_other_formats(bool on);

signals:
    // Anything the names depend on changed: a control of any page, or
    // the page shown (which picks the rule).
    void changed();

private:
    void set_tag_options(const TagOptions& options);

    const Codec& codec_;
    NumberPage* number_;
    ReplacePage* replace_;
    InsertPage* insert_;
    CasePage* case_;
    TagPage* tags_;
};

}  // namespace varnel
