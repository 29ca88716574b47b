// Whose heap an allocation belongs to. A soak that counts the program's live heap counts what the program
// threads allocate, but not what the stand-ins keep as their record of the program (registry content, the
// events a test reads back), what the simulated card and its driver library allocate (the machine, not
// the program), nor what a test's own observers allocate on a program thread. Those places open this scope;
// without a counting allocator it costs one thread-local increment.
#pragma once

namespace hostsim {

class NotProgramHeap {
public:
    NotProgramHeap();
    ~NotProgramHeap();
    NotProgramHeap(const NotProgramHeap&) = delete;
    NotProgramHeap& operator=(const NotProgramHeap&) = delete;

    // True while no such scope is open on the calling thread.
    static bool ProgramHeap();
};

} // namespace hostsim
