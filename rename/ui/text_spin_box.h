// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An edit box with spin buttons whose content is free text, as the rule
// pages need: the text may be empty or hold anything (the rules read it with
// to_integer), and the arrows step the number the text reads as within a
// range.

#include <QAbstractSpinBox>

namespace varnel {

class TextSpinBox final : public QAbstractSpinBox {
    Q_OBJECT
public:
    TextSpinBox(int minimum, int maximum, int max_length, const QString& text,
                QWidget* parent = nullptr);

    QString text_value() const;
    void set_text_value(const QString& text);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

signals:
    void text_changed(const QString& text);

protected:
    StepEnabled stepEnabled() const override;

private:
    int value_of_text() const;
    int minimum_;
    int maximum_;
};

}  // namespace varnel
