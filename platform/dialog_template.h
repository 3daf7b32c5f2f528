#pragma once

#include <cstddef>

// Dialog templates as plain data: what a language module supplies and the user interface turns into
// windows. Sizes and positions are in dialog units (a quarter of the average character width
// horizontally, an eighth of the character height vertically).

enum class ControlKind : unsigned {
    PushButton,
    DefPushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Static,
    Edit,
    ComboBox,
    ListBox,
    ListView,
    TabControl,
    ProgressBar,
    Trackbar,
    UpDown,
    // An empty frame that marks where the program places a control of its own.
    Placeholder,
};

// Style flags of a control; they combine.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleHidden = 1u << 0,
    kStyleDisabled = 1u << 1,
    kStyleGroup = 1u << 2,         // starts a new group of radio buttons
    kStyleReadOnly = 1u << 3,      // edit
    kStyleRight = 1u << 4,         // static / edit text alignment
    kStyleCenter = 1u << 5,        // static / edit text alignment
    kStyleMultiLine = 1u << 6,     // edit
    kStylePushLike = 1u << 7,      // check box / radio button drawn as a push button
    kStyleNoHeader = 1u << 8,      // list view without column headings
    kStyleSingleSel = 1u << 9,     // list view / list box
    kStyleVertical = 1u << 10,     // trackbar
    kStyleBorder = 1u << 11,       // static with a sunken frame
    kStyleSetBuddyInt = 1u << 12,  // up-down writes its position into its buddy
    kStyleAutoBuddy = 1u << 13,    // up-down takes the control before it as buddy
    kStyleAlignRight = 1u << 14,   // up-down sits inside the right edge of its buddy
    kStyleArrowKeys = 1u << 15,    // up-down reacts to the arrow keys in its buddy
    kStyleNoThousands = 1u << 16,  // up-down writes no thousands separator
    kStyleSort = 1u << 17,         // combo box / list box sorted
    kStyleNoTicks = 1u << 18,      // trackbar
};

// Dialog kinds.
enum DialogStyle : unsigned {
    kDialogPopup = 0,  // a top-level dialog with a title bar and close box
    kDialogChild = 1,  // a frameless page placed inside another dialog
};

struct DialogControl {
    int id;  // -1 for labels nobody addresses
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
};

struct DialogTemplate {
    unsigned id;
    const char* caption;
    int cx, cy;
    unsigned style;
    const DialogControl* controls;
    std::size_t controlCount;
};
