// The real manager on a copy of the sample data, connected through the drive chain to drivesim,
// which takes "set" lines on a control pipe.
#pragma once

#include <Tarveskon/TvskHostUi.h>
#include <Tarveskon/TvskManager.h>
#include <Tarveskon/TvskStrings.h>
#include <Tarveskon/tests/ManagerTestSupport.h>
#include <protocol/tests/DriveChain.h>
#include <registry/Profile.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace tvsk::testing
{

class ManagerOnDrive
{
public:
    ManagerOnDrive() : m_chain(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        CProfile::Instance().SetRegistryKey("MurnApps");
        RegisterTvskStrings();
    }
    ~ManagerOnDrive()
    {
        m_manager.reset();
        m_chain.StopDrive();
    }
    ManagerOnDrive(const ManagerOnDrive&) = delete;
    ManagerOnDrive& operator=(const ManagerOnDrive&) = delete;

    // Starts drivesim with the options and the control pipe, opens the sample file of the
    // program folder and connects.
    ::testing::AssertionResult Start(const std::vector<std::string>& driveOptions, const char* sample)
    {
        if (!m_chain.Error().empty())
            return ::testing::AssertionFailure() << m_chain.Error();
        if (::mkfifo(Control().c_str(), 0600) != 0)
            return ::testing::AssertionFailure() << "no control pipe";
        std::vector<std::string> options = driveOptions;
        options.insert(options.end(), {"--control", Control()});
        if (!m_chain.StartDrive(options))
            return ::testing::AssertionFailure() << m_chain.Error();
        m_manager = std::make_unique<CTvskManager>(m_folder.Dir().c_str());
        m_manager->SetHostUi(&m_ui);
        if (m_manager->OpenFile(m_folder.Path(sample).c_str()) != 0)
            return ::testing::AssertionFailure() << "cannot open " << sample;
        m_manager->ParDb().SetCommSettings(ChainSettings(0, kPatientReplyTimeOut).c_str());
        if (m_manager->Connect("") != 0)
            return ::testing::AssertionFailure() << "cannot connect";
        return ::testing::AssertionSuccess();
    }

    // Sends control lines ("set 33 300\n") to drivesim; returns once drivesim has taken them.
    void SendControl(const std::string& lines) const
    {
        EXPECT_TRUE(SendDriveControl(Control(), lines)) << lines;
    }
    // A 16-bit word of the drive through host command 14; -1 when the read failed.
    double Word(int address) const
    {
        double value = -1;
        EXPECT_EQ(m_manager->SendCommand(14, (16L << 16) + address, reinterpret_cast<long>(&value)), 0);
        return value;
    }

    // Ends drivesim now (a test that must end at once leaves no drive behind).
    void StopDrive() { m_chain.StopDrive(); }
    CTvskManager& Manager() const { return *m_manager; }
    const ProgramFolder& Folder() const { return m_folder; }

private:
    std::string Control() const { return m_folder.Path("control"); }

    CDriveChain m_chain;
    ProgramFolder m_folder;
    CTvskHeadlessUi m_ui;
    std::unique_ptr<CTvskManager> m_manager;
};

} // namespace tvsk::testing
