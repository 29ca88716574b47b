#include "hostsim/HeapScope.h"

namespace hostsim {
namespace {
thread_local int t_depth = 0;
} // namespace

NotProgramHeap::NotProgramHeap() {
    ++t_depth;
}

NotProgramHeap::~NotProgramHeap() {
    --t_depth;
}

bool NotProgramHeap::ProgramHeap() {
    return t_depth == 0;
}

} // namespace hostsim
