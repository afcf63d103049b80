// Module arrival in the real window: with Auto Config ticked, a module that is plugged in is
// programmed without any click, the report reaching the window through its event loop.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <string>

#include "modal_answerer.h"
#include "model/config_frame.h"
#include "model/control_ids.h"
#include "plugged_module_session.h"
#include "tests/support/report_texts.h"

namespace {

using namespace report_text;

constexpr const char* kStartMac = "4C 56 00 00 10 FE";
constexpr const char* kNextMac = "4C 56 00 00 10 FF";
constexpr int kComNumber = 3;

class ArrivalSession : public PluggedModuleSession {
  protected:
    // Every text the status line takes from now on.
    void RecordStatus() {
        QObject::connect(qobject_cast<QLineEdit*>(&Control(IDC_STATUS)), &QLineEdit::textChanged,
                         &Dialog(), [this](const QString& text) { statuses << text; });
    }

    QStringList statuses;
};

}  // namespace

TEST_F(ArrivalSession, PluggedModuleIsProgrammedWithoutAClickAndItsRemovalIsReported) {
    std::vector<SeenModal> boxes;
    bool written = false;
    bool extracted = false;
    std::string port;
    std::string mac;
    int autoConfig = 0;
    int clicksDuringArrival = 0;
    Run([&] {
        ModalScript noBoxes(&Dialog());
        Type(IDC_MAC, kStartMac);
        Click(IDC_AUTO_CONFIG);
        autoConfig = dlg.m_bAutoConfig;
        RecordStatus();
        QObject::connect(qobject_cast<QAbstractButton*>(&Control(IDC_WRITE)),
                         &QAbstractButton::clicked, &Dialog(), [&] { ++clicksDuringArrival; });
        // The arrival comes from the loop itself, like the device manager's report.
        QTimer::singleShot(0, &Dialog(), [this] { EXPECT_TRUE(Plug(kComNumber)); });
        written = WaitForStatus(kWriteSucceeded);
        port = Shown(IDC_COM_PORT);
        mac = Shown(IDC_MAC);
        EXPECT_TRUE(Unplug(kComNumber));
        extracted = WaitForStatus(ExtractedText(kComNumber));
        boxes = noBoxes.Seen();
        Quit();
    });
    EXPECT_EQ(autoConfig, 1);
    ASSERT_TRUE(written);
    EXPECT_TRUE(extracted);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(clicksDuringArrival, 0);
    EXPECT_EQ(statuses, QStringList({InsertedText(kComNumber), kReadSucceeded, kWriteSucceeded,
                                     ExtractedText(kComNumber)}));
    EXPECT_EQ(port, "COM3");
    EXPECT_EQ(mac, kNextMac);
    EXPECT_EQ(injector->Pending(), 0U);
    const std::optional<ConfigFrame> frame = module.LastWrittenFrame();
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(CheckFrame(*frame), FrameCheck::Accepted);
    EXPECT_EQ(frame->at(FrameOffset::kMac + 5), 0xFE);
}

TEST_F(ArrivalSession, WithoutAutoConfigAnArrivalOnlyNamesThePort) {
    bool inserted = false;
    std::string port;
    std::string mac;
    Run([&] {
        Type(IDC_MAC, kStartMac);
        RecordStatus();
        QTimer::singleShot(0, &Dialog(), [this] { EXPECT_TRUE(Plug(kComNumber)); });
        inserted = WaitForStatus(InsertedText(kComNumber));
        // Anything the arrival started would run before the loop comes back here.
        QTimer::singleShot(0, &Dialog(), [&] {
            port = Shown(IDC_COM_PORT);
            mac = Shown(IDC_MAC);
            Quit();
        });
    });
    EXPECT_TRUE(inserted);
    EXPECT_EQ(statuses, QStringList({InsertedText(kComNumber)}));
    EXPECT_EQ(port, "COM3");
    EXPECT_EQ(mac, kStartMac);
    EXPECT_EQ(module.ReadRequests(), 0);
    EXPECT_EQ(module.WriteRequests(), 0);
}

// A second arrival while the error box of the first one is open is heard inside the box's own
// loop and programmed once the box is closed.
TEST_F(ArrivalSession, ArrivalWhileAnErrorBoxIsOpenIsProgrammedAfterTheBox) {
    std::vector<SeenModal> boxes;
    bool heardInsideTheBox = false;
    bool written = false;
    std::string port;
    std::string mac;
    Run([&] {
        Type(IDC_MAC, kStartMac);
        Click(IDC_AUTO_CONFIG);
        RecordStatus();
        module.MisbehaveOnce(RequestKind::Write, Misbehaviour::Silent);
        ModalScript answers(&Dialog());
        answers.Then([&](QWidget& box) {
            EXPECT_TRUE(Plug(kComNumber + 1));
            heardInsideTheBox = WaitForStatus(InsertedText(kComNumber + 1));
            ClickInBox(QMessageBox::Ok)(box);
        });
        QTimer::singleShot(0, &Dialog(), [this] { EXPECT_TRUE(Plug(kComNumber)); });
        written = WaitForStatus(kWriteSucceeded);
        port = Shown(IDC_COM_PORT);
        mac = Shown(IDC_MAC);
        boxes = answers.Seen();
        Quit();
    });
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].text, "Failed to write the module!");
    EXPECT_TRUE(heardInsideTheBox);
    EXPECT_TRUE(written);
    EXPECT_EQ(statuses,
              QStringList({InsertedText(kComNumber), kReadSucceeded, "Failed to write the module!",
                           InsertedText(kComNumber + 1), kReadSucceeded, kWriteSucceeded}));
    EXPECT_EQ(port, "COM4");
    EXPECT_EQ(mac, kNextMac);
    EXPECT_EQ(module.WriteRequests(), 2);
}
