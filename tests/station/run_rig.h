#pragma once

#include <unistd.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "station/production_run.h"
#include "station/serialized_station_store.h"
#include "tests/store/store_test.h"
#include "tools/module_sim/simulated_module.h"

// A production run's surroundings for a test: simulated modules on pseudo-terminals, a real
// store on the test's backend, and what the run told of each module.
template <class Param>
class RunRig : public BasicStoreTest<Param> {
  protected:
    // The pool's first MAC, one of this test program's own: a module that hangs up frees its
    // pseudo-terminal, which a module of a test running beside it may take, and that module
    // must not hold the very frame sent here.
    static inline const MacNumber kPoolStart = 0x4C5610000000 + (::getpid() & 0xFFFF) * 0x100;

    // How one attempt ended, as the run told it.
    struct Ended {
        AttemptResult result;
        ProductionRecord record;
        StoreStatus kept;
    };

    void SetUp() override {
        BasicStoreTest<Param>::SetUp();
        if (!this->IsSkipped() && !this->HasFatalFailure()) {
            m_store = std::make_unique<SerializedStationStore>(this->Open());
        }
    }

    // A module with a MAC of its own (outside any pool), started.
    SimulatedModule& AddModule() {
        SimulatedModuleOptions options;
        options.identity.mac = MacFromNumber(0x112233000000 + m_modules.size());
        auto& module = m_modules.emplace_back(std::make_unique<SimulatedModule>(options));
        EXPECT_TRUE(module->Start());
        return *module;
    }

    // What is programmed: the settings of a plain module with a network id of its own, so
    // that the block sent differs from every module's old one.
    RunSetup Setup(MacPlan macs = {}) {
        RunSetup setup;
        setup.attempt.settings = SettingsFromFrame(SimulatedModule().StoredFrame());
        setup.attempt.settings.m_nNetworkId = 0x2345;
        setup.configFile = "line.cfg";
        setup.station = "line-1";
        setup.macs = macs;
        return setup;
    }

    std::unique_ptr<ProductionRun> OpenRun(RunSetup setup) {
        auto opened = ProductionRun::Open(*m_store, std::move(setup),
                                          [this](const RunEvent& event) { Heard(event); });
        EXPECT_TRUE(opened.Ok()) << opened.message;
        return std::move(opened.value);
    }

    // Programs `module` on `run` and gives how it ended.
    Ended Program(ProductionRun& run, SimulatedModule& module) {
        EXPECT_TRUE(run.Program(module.PortPath()));
        run.Wait();
        const std::lock_guard lock(m_mutex);
        return m_ended.empty() ? Ended{} : m_ended.back();
    }

    MacState StateOf(MacNumber mac) { return m_store->StateOf(mac).value; }

    std::unique_ptr<SerializedStationStore> m_store;
    std::vector<std::unique_ptr<SimulatedModule>> m_modules;

  private:
    void Heard(const RunEvent& event) {
        if (event.kind == RunEventKind::Ended) {
            const std::lock_guard lock(m_mutex);
            m_ended.push_back({*event.result, *event.record, *event.kept});
        }
    }

    std::mutex m_mutex;
    std::vector<Ended> m_ended;
};
