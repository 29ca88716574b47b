#include "Environment.h"
#include "driverlib/CardRack.h"

#include <fstream>

namespace driverlib {
namespace {

// Appends trace lines to a file; shared by every card's sink.
class TraceFile {
public:
    explicit TraceFile(const std::string& path) : m_out(path, std::ios::app) {}
    bool IsOpen() const { return m_out.is_open(); }
    void Write(const std::string& line) {
        threads::Lock lock(m_mutex);
        m_out << line << '\n';
        m_out.flush();
    }

private:
    threads::Mutex m_mutex;
    std::ofstream m_out;
};

} // namespace

bool ConfigureFromEnvironment(std::string* error) {
    CardRack& rack = CardRack::Instance();
    const std::string worldPath = ReadEnvironment("W32N_WORLD");
    const std::string faultPath = ReadEnvironment("W32N_FAULTS");
    const std::string tracePath = ReadEnvironment("W32N_TRACE");

    simcard::WorldDefinition world = simcard::DefaultWorld();
    std::string problem;
    if (!worldPath.empty()) {
        simcard::WorldLoad load = simcard::LoadWorldFile(worldPath);
        if (load.ok)
            world = load.world;
        else
            problem = load.error;
    }
    simcard::FaultLoad faults;
    faults.ok = true;
    if (problem.empty() && !faultPath.empty()) {
        faults = simcard::LoadFaultFile(faultPath);
        if (!faults.ok)
            problem = faults.error;
    }
    std::shared_ptr<TraceFile> trace;
    if (!tracePath.empty()) {
        trace = std::make_shared<TraceFile>(tracePath);
        if (!trace->IsOpen()) {
            trace.reset();
            if (problem.empty())
                problem = tracePath + ": cannot be opened for the trace";
        }
    }

    if (!problem.empty()) {
        rack.Clear();
        if (trace)
            trace->Write("W32N50: " + problem);
        if (error)
            *error = problem;
        return false;
    }
    rack.SetUiThread(LoaderThreadId());
    rack.InstallWorld(world);
    for (const auto& card : rack.Cards())
        card->ArmFaults(faults.rules);
    if (trace)
        rack.SetTraceSink(
            [trace](const simcard::TraceEntry& entry) { trace->Write(FormatTraceLine(entry)); });
    return true;
}

} // namespace driverlib
