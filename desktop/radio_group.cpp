#include "desktop/radio_group.h"

#include <QRadioButton>

namespace dorv {

RadioGroup::RadioGroup(QWidget *parent) : QGroupBox(parent) {}

void RadioGroup::setItems(const QStringList &items) {
    for (QRadioButton *b : buttons_) delete b;
    buttons_.clear();
    for (const QString &text : items) {
        auto *b = new QRadioButton(text, this);
        // Exclusive by hand: a button group could not go back to no item.
        b->setAutoExclusive(false);
        connect(b, &QRadioButton::clicked, this, [this, b] {
            for (QRadioButton *other : buttons_) other->setChecked(other == b);
            emit clicked();
        });
        b->show();
        buttons_.push_back(b);
    }
    layoutButtons();
}

QRadioButton *RadioGroup::button(int index) const { return index >= 0 && index < count() ? buttons_[index] : nullptr; }

int RadioGroup::itemIndex() const {
    for (int i = 0; i < count(); ++i)
        if (buttons_[i]->isChecked()) return i;
    return -1;
}

void RadioGroup::setItemIndex(int index) {
    for (int i = 0; i < count(); ++i) buttons_[i]->setChecked(i == index);
}

void RadioGroup::resizeEvent(QResizeEvent *event) {
    QGroupBox::resizeEvent(event);
    layoutButtons();
}

void RadioGroup::layoutButtons() {
    if (buttons_.empty()) return;
    // Items share the room below the caption evenly, one per line.
    const int top = fontMetrics().height() + 2;
    const int room = std::max(1, height() - top - 4);
    const int step = room / count();
    for (int i = 0; i < count(); ++i) buttons_[i]->setGeometry(8, top + i * step, std::max(1, width() - 16), step);
}

}  // namespace dorv
