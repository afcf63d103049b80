#pragma once

#include "ui/framework/dialog_backend.h"

// Builds real windows on Qt Widgets. A QApplication must exist while windows live.
class QtBackend : public DialogBackend {
  public:
    std::unique_ptr<DialogWindow> CreateDialogWindow(const DialogTemplate& dialogTemplate,
                                                     DialogEvents& events,
                                                     DialogWindow* owner) override;
};
