#include "ui/qt/qt_backend.h"

#include "ui/qt/qt_dialog_window.h"

std::unique_ptr<DialogWindow> QtBackend::CreateDialogWindow(const DialogTemplate& dialogTemplate,
                                                            DialogEvents& events,
                                                            DialogWindow* owner) {
    auto* ownerWindow = dynamic_cast<QtDialogWindow*>(owner);
    QWidget* ownerWidget = ownerWindow != nullptr ? ownerWindow->Dialog() : nullptr;
    return std::make_unique<QtDialogWindow>(dialogTemplate, events, ownerWidget);
}
