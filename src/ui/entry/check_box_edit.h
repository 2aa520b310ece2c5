#pragma once
// TCheckBoxEdit: a square one-character box that shows a bold "X" when checked. A click
// or the space bar toggles it (unless read-only); every other key does nothing.
#include <QLineEdit>

#include "ui/entry/field_focus.h"

namespace qnvr {

class TCheckBoxEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TCheckBoxEdit(QWidget* parent = nullptr);

    // True exactly when the text is "X". Setting it writes "X" or empty text; a change
    // of the text emits textChanged, the field's change event.
    bool Checked() const;
    void SetChecked(bool checked);

signals:
    // A mouse click on the box, read-only or not.
    void Clicked();
    void Entered();
    void Exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Toggle();

    FieldVisit visit_;
};

}  // namespace qnvr
