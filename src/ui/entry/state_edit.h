#pragma once
// TStateEdit: a drop-down of the 54 state codes. Typed letters move through the codes
// that begin with them; Backspace and Delete clear the choice when OkToDel is on. Its
// accessible name stays its caption whatever code it holds; the code is its value.
#include <QComboBox>

#include "ui/entry/field_focus.h"

namespace qnvr {

class TStateEdit : public QComboBox {
    Q_OBJECT

public:
    explicit TStateEdit(QWidget* parent = nullptr);

    bool OkToDel() const { return okToDel_; }
    void SetOkToDel(bool on) { okToDel_ = on; }
    // A read-only field shows its code and keeps it: no key, click or wheel changes it.
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    void showPopup() override;

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
    void wheelEvent(QWheelEvent* event) override;

private:
    bool okToDel_ = true;
    bool readOnly_ = false;
    FieldVisit visit_;
};

}  // namespace qnvr
