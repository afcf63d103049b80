#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <span>

#include "link/announced_ports.h"
#include "link/arrival/arrival_watcher.h"
#include "model/codec_host.h"
#include "model/config_codec.h"
#include "model/config_settings.h"
#include "station/module_port.h"
#include "ui/command_guard.h"
#include "ui/framework/cdialog.h"
#include "ui/report_forms.h"

class FileIo;

// What the main dialog is built with besides its window backend.
struct LVCfgDlgServices {
    std::time_t now = std::time(nullptr);  // the calendar time of the default MAC address
    FileIo* fileIo = nullptr;              // the system calls of .cfg files; nullptr: the real ones
    // Where reports of serial ports coming and going come from: UdevDeviceEvents in the
    // program, an injector in tests. A factory that gives nothing is a refused registration.
    // Empty: the window is not told of ports at all (tools and tests that do not need it).
    std::function<std::unique_ptr<DeviceEventSource>()> deviceEvents = nullptr;
};

// The main window: the settings record with its frames, the bindings of the controls, and the
// commands behind the buttons.
class CLVCfgDlg : public CDialog, public ConfigSettings, public CodecHost {
  public:
    // The strip at the bottom of the window that holds the advanced panel, in screen pixels.
    static constexpr int kAdvancedPanelHeight = 93;
    // The window menu command of the About item.
    static constexpr unsigned IDM_ABOUTBOX = 0x0010;

    explicit CLVCfgDlg(DialogBackend& backend, LVCfgDlgServices services = {});
    ~CLVCfgDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCommand(int id, int notifyCode) override;
    void OnSysCommand(unsigned commandId) override;

    // The exchange, warnings and RF Power list, as the codec asks for them.
    bool UpdateData(bool saveAndValidate = true) override;
    void ShowWarningBox(const char* text) override;
    void FillRfPowerList(std::span<const char* const> items) override;

    // Codec, range checks and data-rate defaults.
    void EncodeFrame(ConfigFrame& frame) { m_codec.EncodeFrame(frame); }
    void DecodeFrame(const ConfigFrame& frame) { m_codec.DecodeFrame(frame); }
    void ApplyRfBaudDefaults() { m_codec.ApplyRfBaudDefaults(); }
    void ApplyRfBaudMaxDefaults() { m_codec.ApplyRfBaudMaxDefaults(); }

    // Window commands.
    void OnApply();
    void OnAdvanced();
    void OnAutoConfig();
    void EnableEditing(bool enable);
    IconHandle OnQueryDragIcon() const { return m_hIcon; }

    // Configuration files.
    void OnOpen();
    void OnSave();
    static void XorFrame(std::uint8_t* buffer, std::size_t length);

    // Module transactions and the Read and Write commands.
    void OnRead();
    void OnWrite();
    void IncrementMac();
    [[nodiscard]] PortOpening OpenComPort();
    [[nodiscard]] int ReadModule(ConfigFrame& frame);
    [[nodiscard]] int WriteModule();
    // The ports the arrival watcher announced during this run; OpenComPort resolves "COMn"
    // through them first.
    AnnouncedPorts m_announcedPorts;

    ReportForms& Reports() { return m_reports; }

    // Module arrival: a serial port plugged in or pulled out. Arrivals while a command runs
    // queue their Write until it ends (see CommandGuard).
    void OnDeviceChange(const DeviceEvent& event);
    [[nodiscard]] std::size_t QueuedArrivalWrites() const { return m_commands.QueuedWrites(); }

  private:
    class WindowModuleSteps;
    void ShowModuleIdentity();
    void ReportPortFailure(const PortOpening& opening);

    // Window initialisation step 4: asks to be told of COM ports that come and go. On failure
    // it reports the error box and disables Auto Config for the run.
    void RegisterForDeviceChanges();
    void OnDeviceEventsReadable();
    // The Write for an arrival whose turn has come: COMn back into the port box, then OnWrite.
    void WriteArrivedModule(int portNumber);

    ConfigCodec m_codec;
    ReportForms m_reports;
    LVCfgDlgServices m_services;
    std::unique_ptr<ArrivalWatcher> m_arrivalWatcher;
    CommandGuard m_commands{[this](int portNumber) { WriteArrivedModule(portNumber); }};
};
