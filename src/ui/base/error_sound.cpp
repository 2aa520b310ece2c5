#include "ui/base/error_sound.h"

#include <QApplication>

#include "ui/base/window_ports.h"

namespace qnvr {

void ErrorSound(const QWidget* from) {
    const WindowPorts* ports = FindPorts(from);
    if (ports && ports->errorSound) ports->errorSound();
    else QApplication::beep();
}

}  // namespace qnvr
