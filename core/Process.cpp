#include "core/Process.h"

namespace tintwright {
namespace {

Process* current = nullptr;

}  // namespace

Process& ThisProcess() {
    return current != nullptr ? *current : SystemProcess();
}

ScopedProcess::ScopedProcess(Process& process) : previous_(current) {
    current = &process;
}

ScopedProcess::~ScopedProcess() {
    current = previous_;
}

}  // namespace tintwright
