#pragma once

#include <span>
#include <string_view>

// A dialog template as data: the window's caption, size and font, and its items in template
// order (which is also the tab order). Positions are dialog units from the top left of the
// client area. Both window backends build from these tables; nothing is positioned by hand.
enum class ItemKind {
    GroupBox,
    LabelRight,       // static text, right-aligned
    LabelCenter,      // static text, centred
    LabelLeft,        // static text, left-aligned
    IconPicture,      // static icon; `text` is empty and `iconId` names the icon
    PushButton,       // plain push button, never a default button
    DefPushButton,    // the default push button (About box OK)
    CheckBox,         // automatic two-state check box, caption at the right
    Edit,             // single-line edit with border, horizontal auto-scroll
    ReadOnlyEdit,     // single-line edit without border, read-only
    DropDownList,     // drop-down list without edit field; height is the opened list's
    EditableDropDown  // drop-down with an edit field; height is the opened list's
};

// The framework's own command ids, which an OK or Cancel button of a template carries, and the
// id of an item no one reaches (labels, group boxes, pictures).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int kNoId = -1;

struct DialogItem {
    ItemKind kind;
    int id;                 // kNoId for labels, group boxes and the icon
    std::string_view text;  // UTF-8
    int x;
    int y;
    int width;
    int height;
    int iconId = 0;
};

// The items a list receives when the window is created, index 0 first.
struct InitialList {
    int id;
    std::span<const std::string_view> items;
};

// A key combination that clicks a push button of the window while the button is enabled.
struct Accelerator {
    std::string_view keys;  // "Ctrl+O": modifiers and key joined by '+'
    int id;
};

struct DialogTemplate {
    int id;
    std::string_view caption;  // UTF-8
    int width;
    int height;
    std::string_view fontFace;
    int fontPointSize;
    bool hasSystemMenu;
    std::span<const DialogItem> items;
    std::span<const InitialList> lists;
    // Whether Enter and Escape end the dialog through its OK and Cancel commands. The main
    // window keeps a whole configuration on screen and ends only by its close box, Alt+F4 or
    // Ctrl+Q, so that a stray key cannot throw it away.
    bool endsOnEnterAndEscape = true;
    std::span<const Accelerator> accelerators = {};
};
