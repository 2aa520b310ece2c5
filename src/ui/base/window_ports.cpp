#include "ui/base/window_ports.h"

#include <QObject>
#include <QVariant>
#include <QWidget>

#include <stdexcept>
#include <string>

namespace qnvr {
namespace {
constexpr const char* kPortsProperty = "qnvrWindowPorts";
}

void UsePorts(QWidget& window, const WindowPorts& ports) {
    window.setProperty(kPortsProperty, QVariant::fromValue(const_cast<void*>(static_cast<const void*>(&ports))));
}

const WindowPorts* FindPorts(const QObject* object) {
    for (; object; object = object->parent()) {
        const QVariant ports = object->property(kPortsProperty);
        if (ports.isValid()) return static_cast<const WindowPorts*>(ports.value<void*>());
    }
    return nullptr;
}

const WindowPorts& PortsOf(const QObject* widget) {
    if (const WindowPorts* ports = FindPorts(widget)) return *ports;
    throw std::logic_error("The window of " + (widget ? widget->objectName().toStdString() : std::string("nothing")) +
                           " was opened without the program's ports.");
}

}  // namespace qnvr
