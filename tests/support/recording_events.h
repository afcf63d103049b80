#pragma once

#include <utility>
#include <vector>

#include "ui/framework/dialog_backend.h"

// Dialog events as the window delivered them, in order.
class RecordingEvents : public DialogEvents {
  public:
    void OnCommand(int id, int notifyCode) override { commands.emplace_back(id, notifyCode); }
    void OnSysCommand(unsigned commandId) override { sysCommands.push_back(commandId); }

    std::vector<std::pair<int, int>> commands;
    std::vector<unsigned> sysCommands;
};
