#pragma once
// Answers the modal windows a test expects, in the order it expects them: each step is
// handed the window, shown, and uses it as a person would (keys, clicks). A modal window
// that opens with no step left is recorded by its title and closed with Cancel.
#include <QDialog>
#include <QStringList>
#include <QTest>

#include <deque>
#include <functional>

#include "ui/base/window_ports.h"

namespace qnvr::testing {

class ModalScript {
public:
    using Step = std::function<void(QDialog& dialog)>;

    // Answers the modal windows of the windows that use ports, for its lifetime (ports must
    // outlive it; their handler is put back as it was).
    explicit ModalScript(WindowPorts& ports);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Then(Step step);
    // Titles of the modal windows that opened, in order.
    const QStringList& Opened() const { return opened_; }
    const QStringList& Unexpected() const { return unexpected_; }
    std::size_t Pending() const { return steps_.size(); }

private:
    void Run(QDialog& dialog);
    WindowPorts& ports_;
    ModalHandler before_;
    std::deque<Step> steps_;
    QStringList opened_;
    QStringList unexpected_;
};

// The window a step expects, or a failed test (and nullptr) when another one opened.
template <class Window>
Window* Expect(QDialog& dialog) {
    auto* window = qobject_cast<Window*>(&dialog);
    if (!window)
        QTest::qFail(qPrintable(QStringLiteral("unexpected window ") + dialog.windowTitle()), __FILE__, __LINE__);
    return window;
}

// Steps a person takes in common windows.
// Pastes path into a file dialog's name field and presses Enter.
void ChooseFile(QDialog& fileDialog, const QString& path);
// Clicks the button of a dialog whose objectName is name.
void Click(QDialog& dialog, const char* buttonName);
// Clears the line edit named fieldName by keyboard and types text into it.
void TypeInto(QDialog& dialog, const char* fieldName, const QString& text);

}  // namespace qnvr::testing
