#pragma once

// Every text the program reports, as the user reads it: the tests' own copy, written once,
// so a changed letter in the program shows up as a failing test.
namespace report_text {

inline constexpr const char* kCaption = "Lumivaro Configure Tool";
inline constexpr const char* kChoosePort = "Please choose a serial COM port!";
inline constexpr const char* kRegistrationFailed =
    "Failed to register notification of device change, please enable UPnP!";

inline constexpr const char* kPortOpenFailed = "Failed to open the COM port!";
inline constexpr const char* kPortWriteFailed = "Failed to write the COM port!";
inline constexpr const char* kPortReadFailed = "Failed to read  the COM port!";
inline constexpr const char* kNoResponse = "Module does not response!";
inline constexpr const char* kModuleWriteFailed = "Failed to write the module!";
inline constexpr const char* kReadSucceeded = "Succeed to read the module!";
inline constexpr const char* kWriteSucceeded = "Succeed to write the module!";

inline constexpr const char* kLengthMismatch = "The configuration block length does not match!";
inline constexpr const char* kMagicMismatch =
    "The configuration block verification word does not match!";
inline constexpr const char* kCrcMismatch = "The configuration block CRC error!";

inline constexpr const char* kFileOpened = "Succeed to open the configurarion file!";
inline constexpr const char* kFileOpenFailed = "Failed to open the configurarion file!";
inline constexpr const char* kFileRead = "Succeed to read the configurarion file!";
inline constexpr const char* kFileWritten = "Succeed to write the configurarion file!";
inline constexpr const char* kFileWriteFailed = "Failed to write the configurarion file!";

}  // namespace report_text
