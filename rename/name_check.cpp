// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/name_check.h"

#include "platform/language.h"

namespace varnel {
namespace {
// Error numbers -101..-104 stand for the problems; -1 already means "no
// record" to the undo.
constexpr int first_problem_error = -100;
}  // namespace

NameProblem check_new_name(std::string_view fs_name) {
    if (fs_name.empty()) return NameProblem::empty;
    if (fs_name == "." || fs_name == "..") return NameProblem::dots;
    if (fs_name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        return NameProblem::separator;
    if (fs_name.size() > longest_name_bytes) return NameProblem::too_long;
    return NameProblem::none;
}

std::string name_problem_text(NameProblem problem) {
    switch (problem) {
        case NameProblem::none:
            return {};
        case NameProblem::empty:
            return say("新名称为空", "the new name is empty");
        case NameProblem::dots:
            return say("名称不能是.或..", "a name cannot be . or ..");
        case NameProblem::separator:
            return say("名称含有/", "the name holds a /");
        case NameProblem::too_long:
            return say("名称过长", "the name is too long");
    }
    return {};
}

int name_problem_error(NameProblem problem) {
    return first_problem_error - static_cast<int>(problem);
}

NameProblem name_problem_of(int error) {
    const int index = first_problem_error - error;
    if (index < 1 || index > static_cast<int>(NameProblem::too_long)) return NameProblem::none;
    return static_cast<NameProblem>(index);
}

}  // namespace varnel
