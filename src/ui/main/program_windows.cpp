#include "ui/main/program_windows.h"

#include <map>

namespace qnvr {
namespace {
std::map<ProgramWindow, WindowLauncher>& Launchers() {
    static std::map<ProgramWindow, WindowLauncher> launchers;  // built before the first registration uses it
    return launchers;
}
}  // namespace

void RegisterProgramWindow(ProgramWindow window, WindowLauncher launcher) { Launchers()[window] = std::move(launcher); }

void UnregisterProgramWindow(ProgramWindow window) { Launchers().erase(window); }

const WindowLauncher* FindProgramWindow(ProgramWindow window) {
    const auto it = Launchers().find(window);
    return it == Launchers().end() ? nullptr : &it->second;
}

}  // namespace qnvr
