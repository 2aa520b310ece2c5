#pragma once
// TMaskEdit: a field with a fixed layout of digits and literals (social security
// number, EIN, telephone numbers). The literals stay in the text and positions not yet
// filled read as blanks: an empty SSN field reads "   -  -    ".
#include <QLineEdit>

#include "ui/entry/field_focus.h"

namespace qnvr {

// Layouts: "9" is a digit position, any other character a literal.
inline constexpr const char* kSsnLayout = "999-99-9999";
inline constexpr const char* kEinLayout = "99-9999999";
inline constexpr const char* kPhoneLayout = "999-999-9999";

class TMaskEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TMaskEdit(const QString& layout, QWidget* parent = nullptr);

    QString Layout() const { return layout_; }
    // The text with its literals, blanks where no digit was typed.
    QString Text() const;
    void SetText(const QString& text);

signals:
    void Entered();
    void Exited();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString layout_;
    FieldVisit visit_;
};

}  // namespace qnvr
