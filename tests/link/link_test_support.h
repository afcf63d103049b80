#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/module_protocol.h"
#include "link/serial_session.h"
#include "model/config_frame.h"
#include "tools/module_sim/simulated_module.h"

inline constexpr const auto& kReadRequestBytes = kReadRequest;

// One exchange as a transaction makes it: send the request, read up to `expected` bytes.
struct Exchange {
    bool wrote = false;
    bool read = false;
    std::vector<std::uint8_t> answer;
    std::chrono::milliseconds took{};
};

inline Exchange Transact(SerialSession& session, std::span<const std::uint8_t> request,
                         std::size_t expected) {
    Exchange result;
    result.wrote = session.Write(request);
    result.answer.resize(expected);
    std::size_t received = 0;
    const auto start = std::chrono::steady_clock::now();
    result.read = session.Read(result.answer, received);
    result.took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    result.answer.resize(received);
    return result;
}

// A module on a fresh pseudo-terminal and a session open on it.
class ModuleOnPty : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_module.Start());
        ASSERT_EQ(m_session.Open(m_module.PortPath()), OpenOutcome::Opened);
    }

    Exchange ReadModuleFrame() { return Transact(m_session, kReadRequestBytes, kFrameSize); }
    Exchange WriteModuleFrame(const ConfigFrame& frame) { return Transact(m_session, frame, 4); }

    // A pause far beyond the quiet limit, so only the quiet limit can end a paused read early.
    static SimulatedModuleOptions Options() {
        SimulatedModuleOptions options;
        options.pause = std::chrono::milliseconds(250);
        return options;
    }

    SimulatedModule m_module{Options()};
    SerialSession m_session;
};

[[nodiscard]] inline std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}
