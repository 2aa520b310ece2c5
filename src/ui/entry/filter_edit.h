#pragma once
// TFilterEdit: a text field that refuses the characters its ValidChars filter leaves
// out, keeps its text in one letter case, and offers name case (Ctrl+L) and upper case
// (Ctrl+U) of its whole text.
#include <QLineEdit>
#include <functional>

#include "core/entry/filter_keys.h"

class QValidator;

#include "ui/entry/field_focus.h"

namespace qnvr {

class TFilterEdit : public QLineEdit {
    Q_OBJECT

public:
    // The window's own key-press handler: sees each typed character after the case
    // conversion and the filter, and may change it or discard it (set it to a null QChar).
    using KeyPressHandler = std::function<void(TFilterEdit& field, QChar& key)>;

    explicit TFilterEdit(QWidget* parent = nullptr);

    // "[]" (no filter) by default; an invalid value leaves the filter as it was and reads
    // back as "Invalid format " followed by the value.
    QString ValidChars() const { return validChars_; }
    void SetValidChars(const QString& value);
    bool BeepOnInvalid() const { return beepOnInvalid_; }
    void SetBeepOnInvalid(bool on) { beepOnInvalid_ = on; }
    bool RequiredField() const { return requiredField_; }
    void SetRequiredField(bool on) { requiredField_ = on; }
    CharCase Case() const { return charCase_; }
    void SetCase(CharCase charCase);
    void SetKeyPressHandler(KeyPressHandler handler) { keyPressHandler_ = std::move(handler); }

    // Trims the text and upper-cases its first letter and every letter after a blank.
    void CapitalizeFirst();

signals:
    void Entered();
    void Exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool HandleCaseShortcut(QKeyEvent* event);
    void ShowInCase();
    void LeaveField();

    QString validChars_ = QStringLiteral("[]");
    CharSet validCharSet_;
    bool beepOnInvalid_ = false;
    bool requiredField_ = false;
    CharCase charCase_ = CharCase::Normal;
    KeyPressHandler keyPressHandler_;
    QValidator* validator_ = nullptr;
    FieldVisit visit_;
};

}  // namespace qnvr
