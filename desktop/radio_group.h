// A framed group of radio buttons with one chosen item or none, addressed
// by item index as the forms do (-1 = no item chosen).
#pragma once

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QRadioButton;

namespace dorv {

class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit RadioGroup(QWidget *parent = nullptr);

    void setItems(const QStringList &items);
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton *button(int index) const;

    int itemIndex() const;
    // -1 (or any index outside the items) leaves no item chosen.
    void setItemIndex(int index);

signals:
    // The user chose an item.
    void clicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutButtons();
    std::vector<QRadioButton *> buttons_;
};

}  // namespace dorv
