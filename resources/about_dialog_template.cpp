#include "resources/about_dialog_template.h"

#include <array>

#include "model/control_ids.h"
#include "resources/app_icon.h"

namespace {

using K = ItemKind;

constexpr std::array kItems{
    DialogItem{K::IconPicture, kNoId, "", 11, 17, 20, 20, IDR_MAINFRAME},
    DialogItem{K::LabelLeft, kNoId, "Version: 1.6", 40, 10, 119, 8},
    DialogItem{K::DefPushButton, IDOK, "OK", 192, 7, 50, 14},
    DialogItem{K::LabelLeft, kNoId, "KTR TOOL \u2013 ORBA III Configuration Software For KTR5520Q",
               40, 37, 202, 10},
    DialogItem{K::LabelLeft, kNoId, "", 40, 24, 134, 8},
};

}  // namespace

const DialogTemplate& AboutDialogTemplate() {
    static const DialogTemplate dialogTemplate{
        IDD_ABOUTBOX, "About Lumivaro Configure Tool", 249, 55, "Tahoma", 9, true, kItems, {},
    };
    return dialogTemplate;
}
