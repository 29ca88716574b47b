// The library configured from W32N_WORLD, W32N_FAULTS and W32N_TRACE, as the DLL does on first use.
#include "DriverlibTestBase.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace driverlib_test {
namespace {

class EnvironmentTest : public DriverlibTestBase {
protected:
    void TearDown() override {
        for (const char* name : {"W32N_WORLD", "W32N_FAULTS", "W32N_TRACE"})
            unsetenv(name);
        for (const std::string& path : m_files)
            std::remove(path.c_str());
        driverlib::CardRack::Instance().Clear(); // the faults armed here are checked below, not at tear-down
    }
    std::string File(const std::string& name, const std::string& text) {
        const std::string path = testing::TempDir() + "driverlib_env_" + name;
        std::ofstream(path) << text;
        m_files.push_back(path);
        return path;
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> m_files;
};

TEST_F(EnvironmentTest, WithNothingSetOneCardAnswersAnyNameNearOneAccessPoint) {
    std::string error;
    ASSERT_TRUE(driverlib::ConfigureFromEnvironment(&error)) << error;
    HANDLE h = W32N_OpenAdapterA("\\Device\\{anything}");
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    std::uint8_t link[2];
    EXPECT_EQ(0u, Request(h, W32N_QUERY_INFORMATION, simcard::oid::kLinkState, link, 2));
    W32N_CloseAdapter(h);
    EXPECT_EQ(1u, driverlib::CardRack::Instance().World()->CellsAt(~0ull).size());
}

TEST_F(EnvironmentTest, WorldFaultsAndTraceFromFiles) {
    setenv("W32N_WORLD", File("w", "card bind=0003\n").c_str(), 1);
    setenv("W32N_FAULTS", File("f", "oid 0xFF010199 fail 0xC0000001\n").c_str(), 1);
    const std::string trace = File("t", "");
    setenv("W32N_TRACE", trace.c_str(), 1);
    std::string error;
    ASSERT_TRUE(driverlib::ConfigureFromEnvironment(&error)) << error;

    EXPECT_EQ(INVALID_HANDLE_VALUE, W32N_OpenAdapterA("0004"));
    HANDLE h = W32N_OpenAdapterA("0003");
    std::uint8_t link[2];
    EXPECT_EQ(0xC0000001u, Request(h, W32N_QUERY_INFORMATION, simcard::oid::kLinkState, link, 2));
    W32N_CloseAdapter(h);
    EXPECT_EQ("", driverlib::CardRack::Instance().UnfiredFaults());
    const std::string lines = Slurp(trace);
    EXPECT_NE(std::string::npos, lines.find("dev=0003 query 0xFF010199 in=2 out=0 status=0xC0000001"))
        << lines;
}

TEST_F(EnvironmentTest, ABadFileInstallsNoCardAndSaysWhere) {
    setenv("W32N_WORLD", File("bad", "card bind=0003\nap name=x\n").c_str(), 1);
    const std::string trace = File("t2", "");
    setenv("W32N_TRACE", trace.c_str(), 1);
    std::string error;
    EXPECT_FALSE(driverlib::ConfigureFromEnvironment(&error));
    EXPECT_NE(std::string::npos, error.find("driverlib_env_bad:2: cell needs ssid=")) << error;
    EXPECT_TRUE(driverlib::CardRack::Instance().Cards().empty());
    EXPECT_EQ(INVALID_HANDLE_VALUE, W32N_OpenAdapterA("0003"));
    EXPECT_NE(std::string::npos, Slurp(trace).find("W32N50: ")) << "the reason reaches the trace file too";
}

} // namespace
} // namespace driverlib_test
