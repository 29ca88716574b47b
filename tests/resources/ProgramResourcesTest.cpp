// What of the program's resource script no transcript shows: the style bits that make a control behave (read
// only, sorted, typed or picked, ticks, report view, reached with the Tab key), the icons' picture sizes
// and the version resource. The ids, classes, texts, states, positions and fonts of every control are in
// the dump page lines of the scenarios (sheet-pages-help-and-reshow-win2000 shows all six pages with the
// window trace, labels without an id included), and every string of the table is shown by some scenario or
// page test in a box, a list or a label.
#include "ProgramResources.h"

#include <string>

namespace wlan::rc::test {
namespace {

constexpr std::uint32_t WS_TABSTOP = 0x00010000;
constexpr std::uint32_t WS_GROUP = 0x00020000;
constexpr std::uint32_t ES_READONLY = 0x800;
constexpr std::uint32_t CBS_TYPEMASK = 0x3;
constexpr std::uint32_t CBS_DROPDOWN = 0x2;
constexpr std::uint32_t CBS_DROPDOWNLIST = 0x3;
constexpr std::uint32_t CBS_SORT = 0x100;
constexpr std::uint32_t TBS_AUTOTICKS = 0x1;
constexpr std::uint32_t TBS_VERT = 0x2;
constexpr std::uint32_t TBS_TOP = 0x4;
constexpr std::uint32_t LVS_TYPEMASK = 0x3;
constexpr std::uint32_t LVS_REPORT = 0x1;
constexpr std::uint32_t LVS_SINGLESEL = 0x4;
constexpr std::uint32_t LVS_SORTMASK = 0x30;

bool IsInput(const DialogControl& c) {
    if (c.className == "Edit" || c.className == "ComboBox" || c.className == "SysListView32" ||
        c.className == "msctls_trackbar32")
        return true;
    // Push buttons, check boxes and the first radio button of a group.
    return c.className == "Button" &&
           (c.kind() == 0x0 || c.kind() == 0x3 || (c.kind() == 0x9 && c.hasStyle(WS_GROUP)));
}

TEST(ProgramResources, EveryInputControlIsReachedWithTheTabKey) {
    const int kWebLink = 1161; // hidden and disabled: no user reaches it
    for (int page : kPageIds) {
        const Dialog* dialog = programResources().dialog(page);
        ASSERT_NE(dialog, nullptr);
        for (const DialogControl& c : dialog->controls) {
            if (IsInput(c) && c.id != kWebLink) {
                EXPECT_TRUE(c.hasStyle(WS_TABSTOP)) << "dialog " << page << ", control " << c.id;
            }
        }
    }
}

TEST(ProgramResources, ControlsHaveTheStylesTheirBehaviourNeeds) {
    struct Needed {
        int dialog;
        int id;
        std::uint32_t mask;
        std::uint32_t bits;
    };
    const std::uint32_t kCombo = CBS_TYPEMASK | CBS_SORT;
    const std::uint32_t kTrackbar = TBS_AUTOTICKS | TBS_TOP | TBS_VERT;
    const Needed needed[] = {
        // Link Info: the values are shown, not edited.
        {183, 1001, ES_READONLY, ES_READONLY},
        {183, 1002, ES_READONLY, ES_READONLY},
        {183, 1003, ES_READONLY, ES_READONLY},
        {183, 1028, ES_READONLY, ES_READONLY},
        {183, 1029, ES_READONLY, ES_READONLY},
        {183, 1231, ES_READONLY, ES_READONLY},
        // Configuration: the profile name is typed into a sorted list; the settings are picked.
        {182, 1185, kCombo, CBS_DROPDOWN | CBS_SORT},
        {182, 1010, kCombo, CBS_DROPDOWNLIST},
        {182, 1013, kCombo, CBS_DROPDOWNLIST},
        {182, 1011, kCombo, CBS_DROPDOWNLIST},
        {182, 1014, kCombo, CBS_DROPDOWNLIST},
        {182, 1012, ES_READONLY, 0},
        // Site Survey: one row at a time in the order the card reports them.
        {188, 1131, LVS_TYPEMASK | LVS_SINGLESEL | LVS_SORTMASK, LVS_REPORT | LVS_SINGLESEL},
        // Encryption: mode and transmit key picked from sorted lists; keys typed.
        {184, 1120, kCombo, CBS_DROPDOWNLIST | CBS_SORT},
        {184, 1036, kCombo, CBS_DROPDOWNLIST | CBS_SORT},
        {184, 1031, ES_READONLY, 0},
        {184, 1136, ES_READONLY, 0},
        {184, 1123, ES_READONLY, 0},
        // Advanced: horizontal sliders with ticks above; authentication and preamble picked.
        {191, 1145, kTrackbar, TBS_AUTOTICKS | TBS_TOP},
        {191, 1146, kTrackbar, TBS_AUTOTICKS | TBS_TOP},
        {191, 1141, kCombo, CBS_DROPDOWNLIST},
        {191, 1143, kCombo, CBS_DROPDOWNLIST},
    };
    for (const Needed& n : needed) {
        SCOPED_TRACE("dialog " + std::to_string(n.dialog) + ", control " + std::to_string(n.id));
        const Dialog* dialog = programResources().dialog(n.dialog);
        ASSERT_NE(dialog, nullptr);
        const DialogControl* c = dialog->control(n.id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->style & n.mask, n.bits) << std::hex << c->style;
    }
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
