// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/ui/tag_batch_journal.h"

#include <QCoreApplication>

#include "platform/error_text.h"
#include "platform/language.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/ui_services.h"

namespace varnel {

std::optional<BatchJournal> start_batch_journal(QWidget* parent, UiServices& services,
                                                const QString& title, const Codec& codec) {
    BatchJournal made;
    std::string reason = say("没有主文件夹", "no home folder");
    if (const std::optional<std::string> path = tag_journal_path()) {
        made.journal = TagJournal::create(*path, reason);
        if (made.journal) made.path = *path;
    }
    if (made.journal) return made;
    const QString question =
        QCoreApplication::translate(
            "TagBatchJournal",
            "无法建立标签的撤消记录：%1\n不做记录而修改标签，以后将不能撤消。是否继续？")
            .arg(to_qstring(reason, codec));
    if (services.message_box(parent, title, question, MessageIcon::question,
                             MessageButtons::yes_no_default_no) != MessageAnswer::yes)
        return std::nullopt;
    return made;
}

QString end_batch_journal(BatchJournal& journal) {
    if (!journal.journal) return {};
    const Status finished = journal.journal->finish();
    if (finished) return {};
    return QCoreApplication::translate("varnel::TagBatchJournal", "撤消记录未能写完：%1")
        .arg(QString::fromLocal8Bit(system_error_text(finished.error().number)));
}

}  // namespace varnel
