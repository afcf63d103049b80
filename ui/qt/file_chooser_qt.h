#pragma once

#include <optional>
#include <string>

class QFileDialog;
class QWidget;
struct FileChooserRequest;

// Sets up a chooser as the request asks: open or save variant, filters with the first one
// selected, initial name, default extension (where the request gives none, the extension of
// the selected filter). The save variant asks before replacing a file;
// the open variant accepts a name that does not exist (the open that follows reports it).
void ConfigureFileChooser(QFileDialog& chooser, const FileChooserRequest& request);

// Runs the chooser modally; the chosen path in the file system's encoding, or nothing on cancel.
[[nodiscard]] std::optional<std::string> RunFileChooser(QWidget* owner,
                                                        const FileChooserRequest& request);
