// The base of every form. A form is created once at start-up and reused;
// each opening runs its show step (fill, preselect, load) before the form
// appears, then the modal loop: `run()` is that explicit sequence, so no
// work hides in a show event.
//
// Keys: Enter never presses a button of the form (no button is a default
// button); Escape presses the form's cancel button when it has one and
// does nothing otherwise.
#pragma once

#include <functional>

#include <QColor>
#include <QDialog>

class QAbstractButton;

namespace dorv {

class Form : public QDialog {
    Q_OBJECT

public:
    enum class Border {
        Dialog,           // fixed size, title only
        DialogMinimise,   // fixed size, title and minimise icon
        Sizeable,         // resizable, the usual icons, closable from the title bar
        SizeableNoIcons,  // resizable, title only
        None,             // no frame at all
    };

    explicit Form(QWidget *parent = nullptr);

    // One modal opening: the show step, then the modal loop. A close asked
    // for during the show step ends the opening before the form appears.
    int run();
    bool isRunning() const { return running_; }

    // Non-modal: shows the form and paints it at once.
    void showAndPaint();

    void setBorder(Border border);
    void setClientSize(int width, int height);
    void setBackground(const QColor &colour);
    void setCancelButton(QAbstractButton *button) { cancelButton_ = button; }
    void centreOnScreen();

    void done(int result) override;

protected:
    // The work of each opening; runs under the error guard.
    virtual void formShow() {}
    // Runs under the guard whenever the form closes (also when it closes
    // during its show step); frees what the opening created, so it must
    // bear a second call.
    virtual void formClose() {}

    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // The close handler of a main menu, whose window manager's close ends the
    // program through `end`: ignored while a form of the menu is open over
    // it or the program is already `ending`. Any other close is the form's
    // usual one.
    void closeAsMainMenu(QCloseEvent *event, bool ending, const std::function<void()> &end);

private:
    void clearDefaultButtons();

    Border border_ = Border::Dialog;
    QAbstractButton *cancelButton_ = nullptr;
    bool running_ = false;
    bool closeRequested_ = false;
};

// Colours the forms name.
namespace colours {
inline const QColor aqua{0, 255, 255};
inline const QColor navy{0, 0, 128};
inline const QColor teal{0, 128, 128};
inline const QColor yellow{255, 255, 0};
inline const QColor red{255, 0, 0};
inline const QColor green{0, 128, 0};
QColor buttonFace();
QColor window();  // white on the usual desktop
QColor activeCaption();
}  // namespace colours

// The text colour of a label, button or check box, while it is enabled.
void SetTextColour(QWidget *widget, const QColor &colour);
// Only the caption (and the labels) of a group, radio group or panel: the
// edit boxes and buttons inside keep their own text colours.
void SetCaptionColour(QWidget *widget, const QColor &colour);

}  // namespace dorv
