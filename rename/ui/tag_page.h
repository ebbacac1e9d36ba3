#pragma once
// Page MP3标签: the controls of the tag template rule.

#include <QWidget>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace varnel {

class TagPage final : public QWidget {
    Q_OBJECT
public:
    explicit TagPage(QWidget* parent = nullptr);

private:
    QComboBox* schemes_;
    QRadioButton* v1_first_;
    QRadioButton* v2_first_;
    QLineEdit* template_;
    QLineEdit* reference_;
};

}  // namespace varnel
