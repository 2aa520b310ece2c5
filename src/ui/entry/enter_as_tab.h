#pragma once
// TEnterAsTab: makes Enter in a window move to the next field, as Tab does, and
// (when asked) Escape close the window through its normal close handling.
#include <QObject>
#include <QPointer>

class QWidget;

namespace qnvr {

class TEnterAsTab : public QObject {
    Q_OBJECT

public:
    explicit TEnterAsTab(QWidget* parentForm = nullptr);

    bool EnterAsTabKey() const { return enterAsTabKey_; }
    void SetEnterAsTabKey(bool on) { enterAsTabKey_ = on; }
    bool EscapeAsClose() const { return escapeAsClose_; }
    void SetEscapeAsClose(bool on) { escapeAsClose_ = on; }
    QWidget* ParentForm() const { return parentForm_; }
    // The window whose keys the component sees first.
    void SetParentForm(QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> parentForm_;
    bool enterAsTabKey_ = true;
    bool escapeAsClose_ = false;
};

}  // namespace qnvr
