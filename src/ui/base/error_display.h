#pragma once
// The program's one error display. Errors the user must read are exceptions of the
// program's own classes; no window catches them. They end the command that raised them
// here: ShowError puts the message in an error box titled with the application title,
// after moving the focus to the field an EFieldException names.
//
// Commands (menu items, buttons) run through RunCommand, so that an exception never
// crosses Qt's own code; QnvrApplication catches whatever else reaches the event loop.
#include <QApplication>

#include <exception>
#include <functional>

namespace qnvr {

void ShowError(const std::exception& error);

// Runs a command; an exception it raises is shown and the command ends there.
void RunCommand(const std::function<void()>& command);

// Connects a signal to a command run through RunCommand.
template <class Sender, class Signal, class Receiver, class Slot>
void ConnectCommand(Sender* sender, Signal signal, Receiver* receiver, Slot slot) {
    QObject::connect(sender, signal, receiver, [receiver, slot] { RunCommand([&] { (receiver->*slot)(); }); });
}

// Focuses the control named fieldName (its objectName) in the active window, bringing
// it into view in a scroll area or on its page; false when there is none.
bool FocusField(const std::string& fieldName);

class QnvrApplication : public QApplication {
public:
    QnvrApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace qnvr
