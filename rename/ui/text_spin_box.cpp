// SPDX-License-Identifier: GPL-3.0-or-later
#include "rename/ui/text_spin_box.h"

#include <QLineEdit>
#include <algorithm>

#include "rename/name_text.h"

namespace varnel {

TextSpinBox::TextSpinBox(int minimum, int maximum, int max_length, const QString& text,
                         QWidget* parent)
    : QAbstractSpinBox(parent), minimum_(minimum), maximum_(maximum) {
    lineEdit()->setMaxLength(max_length);
    // Room for the digits a field usually holds, beside the arrows.
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * std::min(max_length, 5) +
                    30);
    lineEdit()->setText(text);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TextSpinBox::text_changed);
}

QString TextSpinBox::text_value() const {
    return lineEdit()->text();
}

void TextSpinBox::set_text_value(const QString& text) {
    lineEdit()->setText(text);
}

int TextSpinBox::value_of_text() const {
    const QByteArray latin = lineEdit()->text().toLatin1();
    return to_integer(std::string_view(latin.constData(), static_cast<std::size_t>(latin.size())));
}

void TextSpinBox::stepBy(int steps) {
    const long long next = static_cast<long long>(value_of_text()) + steps;
    const int value = static_cast<int>(std::clamp<long long>(next, minimum_, maximum_));
    lineEdit()->setText(QString::number(value));
}

QValidator::State TextSpinBox::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

void TextSpinBox::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled TextSpinBox::stepEnabled() const {
    if (!isEnabled()) return StepNone;
    const int value = value_of_text();
    StepEnabled enabled = StepNone;
    if (value < maximum_) enabled |= StepUpEnabled;
    if (value > minimum_) enabled |= StepDownEnabled;
    return enabled;
}

}  // namespace varnel
