#pragma once
// TStateEdit: a drop-down of the 54 state codes. Typed letters move through the codes
// that begin with them; Backspace and Delete clear the choice when OkToDel is on.
#include <QComboBox>

#include "ui/entry/field_focus.h"

namespace qnvr {

class TStateEdit : public QComboBox {
    Q_OBJECT

public:
    explicit TStateEdit(QWidget* parent = nullptr);

    bool OkToDel() const { return okToDel_; }
    void SetOkToDel(bool on) { okToDel_ = on; }

    // The selected code; empty text when none is selected.
    QString Text() const;
    // Selects the code equal to text; none when text is no code of the list.
    void SetText(const QString& text);

signals:
    void Entered();
    void Exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool okToDel_ = true;
    FieldVisit visit_;
};

}  // namespace qnvr
