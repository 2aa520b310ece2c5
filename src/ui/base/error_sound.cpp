#include "ui/base/error_sound.h"

#include <QApplication>

namespace qnvr {
namespace {
std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}
}  // namespace

void ErrorSound() {
    if (Handler()) Handler()();
    else QApplication::beep();
}

void SetErrorSoundHandler(std::function<void()> handler) { Handler() = std::move(handler); }

}  // namespace qnvr
