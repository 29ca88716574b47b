// The real resource script holds every dialog, control, string, icon and version value the program uses,
// with the ids, kinds, texts and initial states the program relies on.
#include "ProgramResources.h"

#include <string>

namespace wlan::rc::test {
namespace {

constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr std::uint32_t WS_VISIBLE = 0x10000000;
constexpr std::uint32_t WS_DISABLED = 0x08000000;
constexpr std::uint32_t WS_POPUP = 0x80000000;
constexpr std::uint32_t WS_CAPTION = 0x00C00000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t DS_SETFONT = 0x40;
constexpr std::uint32_t DS_CONTROL = 0x400;
constexpr std::uint32_t ES_READONLY = 0x800;
constexpr std::uint32_t CBS_SORT = 0x100;
constexpr std::uint32_t TBS_AUTOTICKS = 0x1;
constexpr std::uint32_t TBS_VERT = 0x2;
constexpr std::uint32_t TBS_TOP = 0x4;
constexpr std::uint32_t LVS_TYPEMASK = 0x3;
constexpr std::uint32_t LVS_REPORT = 0x1;
constexpr std::uint32_t LVS_SINGLESEL = 0x4;
constexpr std::uint32_t LVS_SORTMASK = 0x30;

// A kind of control the program's pages are made of: the class and style that make it.
struct ControlKind {
    const char* name;
    bool (*is)(const DialogControl&);
    bool input; // reached with the Tab key
};

namespace Kind {
const ControlKind Label{
    "label", [](const DialogControl& c) { return c.className == "Static" && c.kind() <= 0x2; }, false};
const ControlKind Edit{
    "edit", [](const DialogControl& c) { return c.className == "Edit" && !c.hasStyle(ES_READONLY); }, true};
const ControlKind ReadOnlyEdit{
    "read-only edit", [](const DialogControl& c) { return c.className == "Edit" && c.hasStyle(ES_READONLY); },
    true};
// CBS_DROPDOWNLIST, unsorted and sorted; CBS_DROPDOWN (typed text) with a sorted list.
const ControlKind DropList{"drop-down list",
                           [](const DialogControl& c) {
                               return c.className == "ComboBox" && c.kind() == 0x3 && !c.hasStyle(CBS_SORT);
                           },
                           true};
const ControlKind SortedDropList{"sorted drop-down list",
                                 [](const DialogControl& c) {
                                     return c.className == "ComboBox" && c.kind() == 0x3 &&
                                            c.hasStyle(CBS_SORT);
                                 },
                                 true};
const ControlKind SortedDropDown{"sorted combo box with edit field",
                                 [](const DialogControl& c) {
                                     return c.className == "ComboBox" && c.kind() == 0x2 &&
                                            c.hasStyle(CBS_SORT);
                                 },
                                 true};
const ControlKind Button{
    "push button", [](const DialogControl& c) { return c.className == "Button" && c.kind() == 0x0; }, true};
const ControlKind GroupBox{
    "group box", [](const DialogControl& c) { return c.className == "Button" && c.kind() == 0x7; }, false};
const ControlKind RadioButton{
    "radio button starting its own group",
    [](const DialogControl& c) { return c.className == "Button" && c.kind() == 0x9 && c.hasStyle(WS_GROUP); },
    true};
const ControlKind CheckBox{
    "check box", [](const DialogControl& c) { return c.className == "Button" && c.kind() == 0x3; }, true};
const ControlKind ProgressBar{
    "progress bar", [](const DialogControl& c) { return c.className == "msctls_progress32"; }, false};
const ControlKind Trackbar{"horizontal trackbar with ticks above",
                           [](const DialogControl& c) {
                               return c.className == "msctls_trackbar32" &&
                                      c.hasStyle(TBS_AUTOTICKS | TBS_TOP) && !c.hasStyle(TBS_VERT);
                           },
                           true};
const ControlKind ReportList{"report list with single selection and no sorting",
                             [](const DialogControl& c) {
                                 return c.className == "SysListView32" &&
                                        (c.style & LVS_TYPEMASK) == LVS_REPORT && c.hasStyle(LVS_SINGLESEL) &&
                                        (c.style & LVS_SORTMASK) == 0;
                             },
                             true};
} // namespace Kind

enum class State { Shown, Hidden, Disabled };

struct ExpectedControl {
    int dialog;
    int id;
    const ControlKind& kind;
    const char* text; // nullptr: not looked at (the program sets it)
    State state;
};

const ExpectedControl kControls[] = {
    // Link Info
    {183, 1015, Kind::Button, "Re-Search", State::Shown},
    {183, 1129, Kind::ProgressBar, nullptr, State::Shown},
    {183, 1003, Kind::ReadOnlyEdit, nullptr, State::Shown},
    {183, 1002, Kind::ReadOnlyEdit, nullptr, State::Shown},
    {183, 1001, Kind::ReadOnlyEdit, nullptr, State::Shown},
    {183, 1028, Kind::ReadOnlyEdit, nullptr, State::Shown},
    {183, 1231, Kind::ReadOnlyEdit, nullptr, State::Shown},
    {183, 1029, Kind::ReadOnlyEdit, nullptr, State::Shown},
    {183, 1099, Kind::ProgressBar, nullptr, State::Shown},
    {183, 1101, Kind::Label, "", State::Shown},
    {183, 1130, Kind::Label, "", State::Shown},
    // Configuration
    {182, 1185, Kind::SortedDropDown, nullptr, State::Shown},
    {182, 1187, Kind::Button, "Create", State::Disabled},
    {182, 1188, Kind::Button, "Remove", State::Shown},
    {182, 1189, Kind::Button, "Activate", State::Disabled},
    {182, 1010, Kind::DropList, nullptr, State::Shown},
    {182, 1012, Kind::Edit, nullptr, State::Shown},
    {182, 1013, Kind::DropList, nullptr, State::Shown},
    {182, 1011, Kind::DropList, nullptr, State::Shown},
    {182, 1014, Kind::DropList, nullptr, State::Shown},
    {182, 1116, Kind::Button, "Restore Defaults", State::Shown},
    {182, 1117, Kind::Button, "Undo Changes", State::Disabled},
    {182, 1118, Kind::Button, "Apply Changes", State::Disabled},
    // Site Survey
    {188, 1015, Kind::Button, "Search", State::Shown},
    {188, 1133, Kind::Button, "Connect", State::Shown},
    {188, 1131, Kind::ReportList, nullptr, State::Shown},
    // Encryption
    {184, 61512, Kind::Label,
     "Your encryption settings must match those of your network, or your computer will be unable to "
     "communicate.",
     State::Shown},
    {184, 1119, Kind::Label, "Encryption (WEP)", State::Shown},
    {184, 1120, Kind::SortedDropList, nullptr, State::Shown},
    {184, 1135, Kind::GroupBox, "WEP Key Entry", State::Shown},
    {184, 1128, Kind::RadioButton, "Create with Passphrase", State::Hidden},
    {184, 1122, Kind::Label, "Passphrase", State::Hidden},
    {184, 1123, Kind::Edit, nullptr, State::Hidden},
    {184, 1131, Kind::RadioButton, "Manual Entry", State::Hidden},
    {184, 1092, Kind::Label, "Key 1", State::Shown},
    {184, 1093, Kind::Label, "Key 2", State::Shown},
    {184, 1094, Kind::Label, "Key 3", State::Shown},
    {184, 1095, Kind::Label, "Key 4", State::Shown},
    {184, 1031, Kind::Edit, nullptr, State::Shown},
    {184, 1037, Kind::Edit, nullptr, State::Shown},
    {184, 1043, Kind::Edit, nullptr, State::Shown},
    {184, 1048, Kind::Edit, nullptr, State::Shown},
    {184, 1136, Kind::Edit, nullptr, State::Hidden},
    {184, 1137, Kind::Edit, nullptr, State::Hidden},
    {184, 1138, Kind::Edit, nullptr, State::Hidden},
    {184, 1139, Kind::Edit, nullptr, State::Hidden},
    {184, 1096, Kind::Label, "Default Tx Key", State::Shown},
    {184, 1036, Kind::SortedDropList, nullptr, State::Shown},
    {184, 1125, Kind::Button, "Restore Defaults", State::Shown},
    {184, 1126, Kind::Button, "Undo Changes", State::Disabled},
    {184, 1127, Kind::Button, "Apply Changes", State::Disabled},
    // Advanced
    {191, 1145, Kind::Trackbar, nullptr, State::Shown},
    {191, 1148, Kind::Label, "( Disabled )", State::Hidden},
    {191, 1149, Kind::Label, "2346", State::Shown},
    {191, 1146, Kind::Trackbar, nullptr, State::Shown},
    {191, 1147, Kind::Label, "( Disabled )", State::Hidden},
    {191, 1150, Kind::Label, "2346", State::Shown},
    {191, 1153, Kind::GroupBox, "Security", State::Shown},
    {191, 1151, Kind::CheckBox, "Deny Unencrypted Data Frames", State::Shown},
    {191, 1152, Kind::Label, "Authentication Type", State::Shown},
    {191, 1141, Kind::DropList, nullptr, State::Shown},
    {191, 1143, Kind::DropList, nullptr, State::Shown},
    {191, 1140, Kind::Button, "Restore Defaults", State::Shown},
    {191, 1142, Kind::Button, "Undo Changes", State::Disabled},
    {191, 1144, Kind::Button, "Apply Changes", State::Disabled},
    // About
    {181, 1110, Kind::Label, nullptr, State::Shown},
    {181, 1106, Kind::Label, nullptr, State::Shown},
    {181, 1112, Kind::Label, nullptr, State::Shown},
    {181, 1080, Kind::Label, nullptr, State::Shown},
    {181, 1081, Kind::Label, nullptr, State::Shown},
};

// Controls without an id of their own: the labels and group boxes that name the fields.
struct ExpectedLabel {
    int dialog;
    const ControlKind& kind;
    const char* text;
};

const ExpectedLabel kLabels[] = {
    {183, Kind::Label, "State"},
    {183, Kind::Label, "Current Channel"},
    {183, Kind::Label, "Current Transfer Rate"},
    {183, Kind::Label, "Mbps"},
    {183, Kind::Label, "Current Service Set Identifier"},
    {183, Kind::GroupBox, "Throughput (Bytes/Second)"},
    {183, Kind::Label, "Transmitted"},
    {183, Kind::Label, "Received"},
    {183, Kind::Label, "Signal Strength:"},
    {183, Kind::Label, "Link Quality:"},
    {182, Kind::GroupBox, "Profile"},
    {182, Kind::GroupBox, "Configuration"},
    {182, Kind::Label, "Wireless Mode"},
    {182, Kind::Label, "Service Set Identifier\n(SSID)"},
    {182, Kind::Label, "Transfer Rate"},
    {182, Kind::Label, "Channel"},
    {182, Kind::Label, "Power Saving Mode"},
    {188, Kind::Label,
     "The list contains available Access Points and their features. To update the list, click 'Search' "
     "button. You can select a desired Access Point from the list, and click 'Connect' button to connect to "
     "the specified Access Point."},
    {191, Kind::GroupBox, "Transmit Threshold Control"},
    {191, Kind::Label, "Fragmentation Threshold"},
    {191, Kind::Label, "RTS/CTS Threshold"},
    {191, Kind::Label, "Preamble Type"},
    {181, Kind::GroupBox, "Configuration Utility"},
    {181, Kind::GroupBox, "Driver"},
    {181, Kind::GroupBox, "Firmware"},
    {181, Kind::Label, "Version:"},
    {181, Kind::Label, "Versions:"},
};

TEST(ProgramResources, TheSixPagesAreChildPagesWithTheirTabTitles) {
    const ResourceScript& script = programResources();
    const std::pair<int, const char*> pages[] = {{183, "Link Info"},   {182, "Configuration"},
                                                 {188, "Site Survey"}, {184, "Encryption"},
                                                 {191, "Advanced"},    {181, "About"}};
    EXPECT_EQ(script.dialogs.size(), 6u);
    for (const auto& [id, caption] : pages) {
        SCOPED_TRACE(id);
        const Dialog* dialog = script.dialog(id);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->caption, caption);
        EXPECT_EQ(dialog->style & (WS_CHILD | DS_CONTROL | WS_CAPTION | DS_SETFONT),
                  WS_CHILD | DS_CONTROL | WS_CAPTION | DS_SETFONT);
        EXPECT_EQ(dialog->style & (WS_POPUP | WS_VISIBLE | WS_DISABLED), 0u);
        ASSERT_TRUE(dialog->font.has_value());
        EXPECT_EQ(dialog->font->pointSize, 8);
        EXPECT_EQ(dialog->font->typeface, "MS Shell Dlg");
    }
}

TEST(ProgramResources, EveryControlHasItsIdKindTextInitialStateAndTabStop) {
    const ResourceScript& script = programResources();
    for (const ExpectedControl& e : kControls) {
        SCOPED_TRACE("dialog " + std::to_string(e.dialog) + ", control " + std::to_string(e.id));
        const Dialog* dialog = script.dialog(e.dialog);
        ASSERT_NE(dialog, nullptr);
        const DialogControl* c = dialog->control(e.id);
        ASSERT_NE(c, nullptr) << "missing";
        EXPECT_TRUE(e.kind.is(*c)) << "not a " << e.kind.name << " (class " << c->className << ", style 0x"
                                   << std::hex << c->style << ")";
        if (e.text) {
            EXPECT_EQ(c->text, e.text);
        }
        EXPECT_EQ(c->visible(), e.state != State::Hidden);
        EXPECT_EQ(c->enabled(), e.state != State::Disabled);
        if (e.kind.input) {
            EXPECT_TRUE(c->hasStyle(WS_TABSTOP)) << "cannot be reached with the Tab key";
        }
    }
}

TEST(ProgramResources, EveryFieldHasItsLabel) {
    const ResourceScript& script = programResources();
    for (const ExpectedLabel& e : kLabels) {
        SCOPED_TRACE(std::string("dialog ") + std::to_string(e.dialog) + ": " + e.text);
        const Dialog* dialog = script.dialog(e.dialog);
        ASSERT_NE(dialog, nullptr);
        bool found = false;
        for (const DialogControl& c : dialog->controls) {
            found = found || (c.text == e.text && e.kind.is(c) && c.visible());
        }
        EXPECT_TRUE(found) << "no visible " << e.kind.name;
    }
}

TEST(ProgramResources, AboutPageHasTheIconAndAnInactiveWebLink) {
    const Dialog* about = programResources().dialog(181);
    ASSERT_NE(about, nullptr);
    const DialogControl* link = about->control(1161);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->className, "Button");
    EXPECT_EQ(link->style, WS_CHILD | WS_DISABLED) << "a push button, neither visible nor enabled";

    const DialogControl* icon = nullptr;
    for (const DialogControl& c : about->controls) {
        if (c.className == "Static" && c.kind() == 0x3) {
            icon = &c;
        }
    }
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(icon->textOrdinal.has_value());
    EXPECT_EQ(*icon->textOrdinal, 128);
    EXPECT_LE(icon->rect.x, 10) << "top left";
    EXPECT_LE(icon->rect.y, 10) << "top left";
}

TEST(ProgramResources, StringTableHoldsEveryTextExactly) {
    const std::pair<int, const char*> strings[] = {
        {130, "Infrastructure"},
        {61488, "Fixed 1 Mbps"},
        {61489, "Fixed 2 Mbps"},
        {61490, "Fixed 5.5 Mbps"},
        {61491, "Fixed 11 Mbps"},
        {61492, "Auto Rate"},
        {61493, "Disabled"},
        {61494, "Enabled"},
        {61496, "1 or 2 Mbps"},
        {61497, "1"},
        {61498, "2"},
        {61499, "3"},
        {61500, "4"},
        {61509, "Disabled"},
        {61510, "64 Bits"},
        {61512, "128 Bits"},
        {61513, "Open System"},
        {61514, "Shared Key"},
        {61515, "Long"},
        {61516, "Short"},
        {61517, "Ad-Hoc"},
        {61518, "Auto"},
        {61522, "Failed to get WEP configuration."},
        {61523, "Failed to change WEP configuration."},
        {61524, "Failed to access the web page."},
        {61525, "No URL address."},
        {61526, "Please enter a profile name of 1 to 19 characters without a backslash."},
        {61527, "The profile is already exist. Please use a different name."},
        {61528, "Failed to open the service registry of the device."},
        {61529, "You can not remove the 'default' profile."},
        {61530, "default"},
        {61531, "Do you want to remove profile: "},
        {61532, "Failed to change device configuration."},
        {61533, "The application is already running."},
        {61534, "Invalid WEP key length. They should be 26 characters."},
        {61535, "Invalid WEP key length. They should be 10 characters."},
        {61537, "Not Available ..."},
        {61538, "Connected - BSSID = "},
        {61539, "Authenticated ..."},
        {61540, "Link Synchronized ..."},
        {61541, "Searching ..."},
        {61542, "Disconnected ..."},
        {61543, "Link Test Failed ..."},
        {61544, "Link Reg Fail ..."},
        {61545, "Unknown State"},
        {61546, "No Signal"},
        {61547, "Poor"},
        {61548, "Good"},
        {61549, "Very Good"},
        {61550, "Excellent"},
        {61551, "Hide Config Utility"},
        {61552, "Show Config Utility"},
        {61553, "Exit"},
        {61554, "The Wireless Card is NOT present!"},
        {61555, "Failed to join the selected Access Point."},
    };
    const ResourceScript& script = programResources();
    for (const auto& [id, text] : strings) {
        SCOPED_TRACE(id);
        ASSERT_NE(script.string(id), nullptr);
        EXPECT_EQ(*script.string(id), text);
    }
    // The copyright statement and the web address are ours to choose; they must exist and be plain.
    ASSERT_NE(script.string(61473), nullptr);
    EXPECT_EQ(script.string(61473)->rfind("Copyright", 0), 0u);
    ASSERT_NE(script.string(61519), nullptr);
    EXPECT_EQ(script.string(61519)->rfind("http://", 0), 0u);
    EXPECT_EQ(script.strings.size(), std::size(strings) + 2) << "no strings beyond these";
}

TEST(ProgramResources, IconsHaveSmallAndLargePictures) {
    const ResourceScript& script = programResources();
    for (int id : {128, 186, 187}) {
        SCOPED_TRACE(id);
        const IconResource* icon = script.icon(id);
        ASSERT_NE(icon, nullptr);
        bool small = false;
        bool large = false;
        for (const IconImage& image : icon->images) {
            small = small || (image.width == 16 && image.height == 16);
            large = large || (image.width == 32 && image.height == 32);
        }
        EXPECT_TRUE(small);
        EXPECT_TRUE(large);
    }
}

TEST(ProgramResources, VersionResourceCarriesTheUtilityVersion) {
    const ResourceScript& script = programResources();
    ASSERT_TRUE(script.versionInfo.has_value());
    const VersionInfo& info = *script.versionInfo;
    const std::array<std::uint16_t, 4> version = {2, 96, 0, 1};
    EXPECT_EQ(info.fileVersion, version);
    EXPECT_EQ(info.productVersion, version);
    ASSERT_NE(info.value("FileVersion"), nullptr);
    EXPECT_EQ(*info.value("FileVersion"), "2.96.0.1");
    ASSERT_NE(info.value("ProductVersion"), nullptr);
    EXPECT_EQ(*info.value("ProductVersion"), "2.96.0.1");
    ASSERT_NE(info.value("ProductName"), nullptr);
    EXPECT_EQ(*info.value("ProductName"), "DAZE802.11d AVUD UDE Zadu Vuvivav");
}

} // namespace
} // namespace wlan::rc::test
