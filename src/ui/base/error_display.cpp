#include "ui/base/error_display.h"

#include <QScrollArea>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "ui/base/message_box_prompter.h"
#include "ui/base/window_ports.h"

namespace qnvr {
namespace {

// The window the user is working in: the open modal window, else the active one, else
// the visible top-level window most recently shown.
QWidget* WorkingWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->isVisible()) return *it;
    return nullptr;
}

// Turns the pages and scrolls the areas between the field and its window.
void BringIntoView(QWidget* field) {
    for (QWidget* child = field, *parent = field->parentWidget(); parent; child = parent, parent = parent->parentWidget()) {
        if (auto* stack = qobject_cast<QStackedWidget*>(parent)) {
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget())) tabs->setCurrentWidget(child);
            else stack->setCurrentWidget(child);
        }
        if (auto* area = qobject_cast<QScrollArea*>(parent)) area->ensureWidgetVisible(field);
    }
}

}  // namespace

bool FocusField(const std::string& fieldName) {
    QWidget* window = WorkingWindow();
    if (!window) return false;
    auto* field = window->findChild<QWidget*>(QString::fromStdString(fieldName));
    if (!field) return false;
    BringIntoView(field);
    field->setFocus(Qt::OtherFocusReason);
    return true;
}

void ShowError(const std::exception& error) {
    if (const auto* fieldError = dynamic_cast<const EFieldException*>(&error)) FocusField(fieldError->FieldName());
    // The error goes to the ports of the window the user works in. Outside every window
    // given ports (a fault of the program) it is still shown, in a plain message box.
    if (const WindowPorts* ports = FindPorts(WorkingWindow())) {
        ShowMsg(ports->prompter, error.what(), kAppTitle, MsgStyle::Error);
        return;
    }
    MessageBoxPrompter box;
    ShowMsg(box, error.what(), kAppTitle, MsgStyle::Error);
}

void RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

QnvrApplication::QnvrApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool QnvrApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(error);
    } catch (...) {
        ShowError(EQnvrException("An unexpected error has occurred."));
    }
    return true;
}

}  // namespace qnvr
