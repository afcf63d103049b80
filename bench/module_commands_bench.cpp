// The Read and Write commands of a headless main window against a simulated module that sends
// its answers at 115200 bit/s, and the same exchanges made straight through the link layer, in
// one run. Each reports milliseconds per module next to the wire time of its exchange:
//   wire_ms    every byte of the exchange at 10 bits per byte, both directions
//   paced_ms   the module's answers alone: a pseudo-terminal has no line rate of its own, so
//              the tool's requests cost no line time here and only the answers are paced
//   x_wire     measured time / wire_ms
//   over_paced measured time - paced_ms: what the tool and the host add beyond the line

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "link/arrival/injected_device_source.h"
#include "link/module_protocol.h"
#include "link/serial_session.h"
#include "model/config_frame.h"
#include "model/control_ids.h"
#include "tests/support/headless_backend.h"
#include "tools/module_sim/module_identity.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/lvcfg_dlg.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kMsPerByte = 10.0 * 1000.0 / 115200.0;  // 0.0868 ms
constexpr std::size_t kRequestBytes = 4;
constexpr std::size_t kAckBytes = 4;
// Write command: "ATR0", the module's frame, the written frame, "ATOK".
constexpr double kWriteWireMs = (kRequestBytes + kFrameSize + kFrameSize + kAckBytes) * kMsPerByte;
constexpr double kWritePacedMs = (kFrameSize + kAckBytes) * kMsPerByte;
// Read command: "ATR0" and the module's frame.
constexpr double kReadWireMs = (kRequestBytes + kFrameSize) * kMsPerByte;
constexpr double kReadPacedMs = kFrameSize * kMsPerByte;

SimulatedModuleOptions PacedModule() {
    SimulatedModuleOptions options;
    options.pacing = Pacing::LineRate;
    return options;
}

// Port arrivals come only from the program itself, so nothing else reaches the window.
LVCfgDlgServices Services() {
    LVCfgDlgServices services;
    services.deviceEvents = [] { return std::make_unique<InjectedDeviceSource>(); };
    return services;
}

// A main window built headlessly with the module's port typed into the port box.
struct HeadlessWindowOnModule {
    SimulatedModule module{PacedModule()};
    HeadlessBackend backend;
    CLVCfgDlg dlg{backend, Services()};
    HeadlessWindow* window = nullptr;

    bool Start() {
        if (!module.Start() || !dlg.Create()) {
            return false;
        }
        window = backend.TopWindow();
        return window != nullptr && window->Type(IDC_COM_PORT, module.PortPath());
    }
};

// `failed` counts the iterations whose exchange did not complete: on a loaded host the
// simulated module's thread can stall longer than the quiet limit mid-answer, which cuts the
// answer exactly as a real module pausing would. Their time is included.
void Report(benchmark::State& state, Clock::duration total, double wireMs, double pacedMs,
            int failed) {
    const double perModule = std::chrono::duration<double, std::milli>(total).count() /
                             static_cast<double>(state.iterations());
    state.counters["ms_per_module"] = perModule;
    state.counters["wire_ms"] = wireMs;
    state.counters["paced_ms"] = pacedMs;
    state.counters["x_wire"] = perModule / wireMs;
    state.counters["over_paced"] = perModule - pacedMs;
    state.counters["failed"] = failed;
}

// Runs `command` once per iteration and checks the status line it leaves.
template <typename Command>
void RunCommand(benchmark::State& state, Command command, const char* success, double wireMs,
                double pacedMs) {
    HeadlessWindowOnModule rig;
    if (!rig.Start()) {
        state.SkipWithError("no simulated module");
        return;
    }
    Clock::duration total{};
    int failed = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        command(rig.dlg);
        total += Clock::now() - start;
        if (rig.window->GetText(IDC_STATUS) != success) {
            ++failed;
        }
        rig.backend.ClearMessageBoxes();
    }
    Report(state, total, wireMs, pacedMs, failed);
}

void BM_WriteCommand(benchmark::State& state) {
    RunCommand(
        state, [](CLVCfgDlg& dlg) { dlg.OnWrite(); }, "Succeed to write the module!", kWriteWireMs,
        kWritePacedMs);
}

void BM_ReadCommand(benchmark::State& state) {
    RunCommand(
        state, [](CLVCfgDlg& dlg) { dlg.OnRead(); }, "Succeed to read the module!", kReadWireMs,
        kReadPacedMs);
}

// One session: send `request`, read up to `answer.size()` bytes; true when all arrived.
bool Exchange(const std::string& path, std::span<const std::uint8_t> request,
              std::span<std::uint8_t> answer) {
    SerialSession session;
    if (session.Open(path) != OpenOutcome::Opened || !session.Write(request)) {
        return false;
    }
    std::size_t received = 0;
    return session.Read(answer, received) && received == answer.size();
}

// The Write command's two sessions with nothing of the window around them.
void BM_LinkWriteExchange(benchmark::State& state) {
    SimulatedModule module(PacedModule());
    if (!module.Start()) {
        state.SkipWithError("no simulated module");
        return;
    }
    ConfigFrame frame = module.StoredFrame();
    std::array<std::uint8_t, kAckBytes> ack{};
    Clock::duration total{};
    int failed = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const bool read = Exchange(module.PortPath(), kReadRequest, frame);
        SealFrame(frame);
        const bool written = read && Exchange(module.PortPath(), frame, ack);
        total += Clock::now() - start;
        failed += written ? 0 : 1;
    }
    Report(state, total, kWriteWireMs, kWritePacedMs, failed);
}

void BM_LinkReadExchange(benchmark::State& state) {
    SimulatedModule module(PacedModule());
    if (!module.Start()) {
        state.SkipWithError("no simulated module");
        return;
    }
    ConfigFrame frame{};
    Clock::duration total{};
    int failed = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const bool read = Exchange(module.PortPath(), kReadRequest, frame);
        total += Clock::now() - start;
        failed += read ? 0 : 1;
    }
    Report(state, total, kReadWireMs, kReadPacedMs, failed);
}

}  // namespace

BENCHMARK(BM_WriteCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LinkWriteExchange)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_ReadCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LinkReadExchange)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
