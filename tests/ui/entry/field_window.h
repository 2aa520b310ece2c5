#pragma once
// A window of input fields for the field tests: the fields in tab order behind a plain
// "Before" field, shown and active, so that a test moves into and out of a field with
// real Tab presses and clicks as a user does. Its messages go to the test's prompter.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>
#include <memory>

#include "core/base/prompter.h"
#include "ui/base/window_ports.h"
#include "ui/entry/dollar_edit.h"

namespace qnvr::testing {

class FieldWindow : public QWidget {
public:
    explicit FieldWindow(Prompter& prompter) : ports_{{{.prompter = prompter}}} {
        UsePorts(*this, ports_);
        setObjectName(QStringLiteral("FieldWindow"));
        layout_ = new QVBoxLayout(this);
        before_ = Add(new QLineEdit, "Before", "Before");
    }

    template <class Field>
    Field* Add(Field* field, const char* name, const char* caption) {
        field->setObjectName(QString::fromLatin1(name));
        field->setAccessibleName(QString::fromLatin1(caption));
        layout_->addWidget(field);
        return field;
    }

    // Shows the window active, with the focus on "Before".
    bool Open() {
        show();
        activateWindow();
        if (!QTest::qWaitForWindowActive(this)) return false;
        before_->setFocus(Qt::OtherFocusReason);
        return before_->hasFocus();
    }

    // Tab from "Before" into the first field.
    void TabIntoFirst() {
        before_->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(before_, Qt::Key_Tab);
    }

    QLineEdit* Before() const { return before_; }
    WindowPorts& Ports() { return ports_; }

private:
    WindowPorts ports_;
    QVBoxLayout* layout_;
    QLineEdit* before_;
};

// Box 1 of the W-2 as the money field tests type into it: "Amount1", 9 dollar digits,
// negatives refused.
inline TDollarEdit* AddBox1Wages(FieldWindow& window) {
    auto* money = window.Add(new TDollarEdit, "Amount1", "Box 1 Wages, tips, other compensation");
    money->SetMinusKey(false);
    return money;
}

// Presses Tab in the focused control.
inline void PressTab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

// Runs step on the next modal window once it is open (checked every few milliseconds,
// for at most five seconds, and no longer than context lives); a window the step leaves
// open is cancelled, so that a failing test never hangs.
inline void WhenModalOpens(QObject* context, std::function<void(QDialog&)> step) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [context, step, clock, weakPoll = std::weak_ptr<std::function<void()>>(poll)] {
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (auto again = weakPoll.lock(); again && clock->elapsed() < 5000)
                QTimer::singleShot(10, context, [again] { (*again)(); });
            return;
        }
        dialog->activateWindow();  // as a window manager does with a new window
        if (QTest::qWaitForWindowActive(dialog)) step(*dialog);
        if (dialog && dialog->isVisible()) dialog->reject();
    };
    QTimer::singleShot(0, context, [poll] { (*poll)(); });
}

}  // namespace qnvr::testing
