#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "link/announced_ports.h"
#include "link/arrival/arrival_watcher.h"
#include "model/codec_host.h"
#include "model/config_codec.h"
#include "model/config_frame.h"
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

// The main window: it shows a settings record in its controls, builds and decodes frames with
// the codec, and runs the commands behind the buttons.
class CLVCfgDlg : public CDialog {
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
    // A field of the hidden advanced panel is shown as "Advanced>>" would show it.
    void RevealControl(int id) override;

    // The settings the controls show, as the last exchange left them.
    [[nodiscard]] ConfigSettings& Settings() { return m_settings; }
    [[nodiscard]] const ConfigSettings& Settings() const { return m_settings; }

    // Codec and data-rate defaults. A build for `purpose` follows the advanced panel as shown.
    void EncodeFrame(ConfigFrame& frame, BuildPurpose purpose);
    void DecodeFrame(const ConfigFrame& frame) { m_codec.DecodeFrame(frame); }
    void ApplyRfBaudDefaults() { m_codec.ApplyRfBaudDefaults(); }
    void ApplyRfBaudMaxDefaults() { m_codec.ApplyRfBaudMaxDefaults(); }

    // Window commands.
    void OnApply();
    void OnAdvanced();
    void OnAutoConfig();
    void EnableEditing(bool enable);
    [[nodiscard]] int OnQueryDragIcon() const { return m_hIcon; }

    // Configuration files.
    void OnOpen();
    void OnSave();

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

    // The window's own state.
    CRect m_rcFull;                 // the full window, taken once at initialisation
    bool m_bAdvancedShown = false;  // the advanced panel is shown
    bool m_bAutoConfig = false;     // Auto Config mode: every arriving module is written
    int m_hIcon;                    // the window's icon resource
    // The frame that is built, sent and saved; and the frame read from a module by Write or
    // from a file by Open.
    ConfigFrame m_workFrame{};
    ConfigFrame m_moduleFrame{};

  private:
    class CodecWindow;
    class WindowModuleSteps;
    void ShowModuleIdentity();
    void ReportPortFailure(const PortOpening& opening);
    // The text of the port box, as Read and Write take it.
    [[nodiscard]] std::string PortText() const;

    // Window initialisation step 4: asks to be told of COM ports that come and go. On failure
    // it reports the error box and disables Auto Config for the run.
    void RegisterForDeviceChanges();
    void OnDeviceEventsReadable();
    // The Write for an arrival whose turn has come: COMn back into the port box, then OnWrite.
    void WriteArrivedModule(int portNumber);

    ConfigSettings m_settings;
    std::unique_ptr<CodecWindow> m_codecWindow;
    ConfigCodec m_codec;
    ReportForms m_reports;
    LVCfgDlgServices m_services;
    std::unique_ptr<ArrivalWatcher> m_arrivalWatcher;
    CommandGuard m_commands{[this](int portNumber) { WriteArrivedModule(portNumber); }};
};
